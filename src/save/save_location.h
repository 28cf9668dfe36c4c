#pragma once
// Where saved games and the global data live: `save/`, `save0.dat` and `kaiso.dat` beside
// the game, as the games keep them; under $XDG_DATA_HOME/orvell/GAME_ID/ when the game's
// folder cannot be written (one folder a game, so that two games never share a save0.dat);
// in the data directory when one is given. Decided once, for the whole run. Files already
// there from Windows (SAVE/SAVE01.DAT) are found without regard to case and written again
// under their own names.

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace orv {

class SaveLocation {
public:
    SaveLocation() = default;
    // `dataDirectory` empty: beside the game when that can be written, else the per-game
    // folder of the user's data.
    SaveLocation(const std::filesystem::path& gameDirectory,
                 const std::filesystem::path& dataDirectory, std::string_view gameId);

    const std::filesystem::path& Folder() const { return m_folder; }
    // The file of slot n ("save%02d.dat" in "save").
    std::filesystem::path SlotPath(int32_t slot) const;
    std::filesystem::path GlobalPath() const;       // save0.dat
    std::filesystem::path RecollectionPath() const; // kaiso.dat
    // The folder of the slot files, made when it is missing; false when it cannot be.
    bool MakeSlotFolder() const;

private:
    std::filesystem::path SlotFolder() const;
    std::filesystem::path InFolder(const std::filesystem::path& folder, std::string_view name) const;

    std::filesystem::path m_folder;
};

// True when a file can be created in `folder` (it is tried and removed again).
bool FolderIsWritable(const std::filesystem::path& folder);

} // namespace orv
