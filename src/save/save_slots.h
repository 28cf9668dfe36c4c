#pragma once
// Saved games: one file a slot (save/saveNN.dat, 220738 bytes) holding what a game in
// progress needs, written by every subsystem's exchange with the save image; the quick save
// in slot 99; the comment and the deletion the save list offers. The file is outside data
// when it is read back: it is read and checked whole before the running game is touched.

#include "save/save_io.h"
#include "save/save_location.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

class Engine;

// What the save list shows of a slot: its header's texts, code page 932.
struct SlotSummary {
    std::string Date;    // bytes 0..18: "YYYY/MM/DD hh:mm:ss"
    std::string Detail;  // bytes 20..94: the chapter title, "(Map)"
    std::string Comment; // from byte 96, at most 30 bytes
};

class SaveSlots {
public:
    static constexpr int32_t kQuickSlot = 99;
    static constexpr int32_t kLastSlot = 99;
    // Slots up to this one play the save and load sounds.
    static constexpr int32_t kLastSoundSlot = 20;
    static constexpr size_t kCommentBytes = 30;

    explicit SaveSlots(Engine& engine) : m_engine(engine) {}

    // The folders, once the game configuration names the game (start-up).
    void Locate();

    // Writes slot n; `quiet` (the save list) shows no banner and plays no sound. False when
    // the file could not be written: the player is told, and the slot's old file stays.
    bool SaveSlot(int32_t slot, bool quiet);
    // Loads slot n: nothing when it does not exist; a file that cannot be loaded leaves the
    // game as it was and says why. True when the game was replaced.
    bool LoadSlot(int32_t slot, bool quiet);
    void QuickSave();
    // The quick load, after its confirmation.
    void QuickLoad() { LoadSlot(kQuickSlot, false); }
    // The comment of an existing slot (code page 932, cut to 30 bytes on a character
    // boundary); false when the slot cannot be written.
    bool SetSaveComment(int32_t slot, std::string_view comment);
    // A comment as the slot stores it: up to its first NUL, at most 30 bytes, no double-byte
    // character cut in two.
    static std::string_view StoredComment(std::string_view text);
    bool DeleteSlot(int32_t slot);
    // The slot's header, or nothing when the slot is empty.
    std::optional<SlotSummary> ReadSlotSummary(int32_t slot) const;

    // Every subsystem's share of a saved game, in file order, through one stream: the game
    // into the image when writing, the image into the game when reading.
    void ExchangeGameState(SaveIo& io);

    SaveLocation Location;
    SaveImage Image;

private:
    // The header's 128 bytes: the date line (with "(Map)" on the map), no comment.
    void WriteHeader();
    // The line a loaded game goes on at: the one of a choice or the map that is
    // waiting, else the next.
    int32_t ResumePosition() const;
    void WriteThumbnail();
    // Why the file in Image cannot be loaded, or empty.
    std::string CheckLoadable(size_t fileSize) const;
    void TearDownForLoad();
    void RestoreAfterLoad(int32_t resume, uint8_t running, uint8_t needLine,
                          int32_t trackBefore);
    // The choice record beside the slot (saveNN.rec): the layout has no room for it.
    std::filesystem::path RecordPath(int32_t slot) const;
    // Tells the player, in a message box, what failed and why.
    void Failed(std::string_view headline, std::string_view reason);

    // What only saving and loading touch: kept as read, written back unchanged.
    std::array<uint8_t, save_layout::kReservedSize> m_reserved{};
    int32_t m_keptFlag = 0;

    Engine& m_engine;
};

} // namespace orv
