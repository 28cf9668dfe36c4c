#include "save/save_location.h"

#include "base/files.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>
#include <unistd.h>

namespace orv {

namespace {

std::filesystem::path UserDataFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data) {
        return data;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home && *home ? home : ".") / ".local" / "share";
}

// A game id as one path component: nothing that climbs out of the folder.
std::string SafeComponent(std::string_view id) {
    std::string out;
    for (char c : id) {
        auto b = static_cast<unsigned char>(c);
        out += b < 0x20 || c == '/' || c == '\\' ? '_' : c;
    }
    if (out.empty() || out == "." || out == "..") {
        out = "game";
    }
    return out;
}

} // namespace

bool FolderIsWritable(const std::filesystem::path& folder) {
    std::string probe = (folder / ".orvell-write-test.XXXXXX").string();
    int fd = ::mkstemp(probe.data());
    if (fd < 0) {
        return false;
    }
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

SaveLocation::SaveLocation(const std::filesystem::path& gameDirectory,
                           const std::filesystem::path& dataDirectory, std::string_view gameId) {
    if (!dataDirectory.empty()) {
        m_folder = dataDirectory;
    } else if (FolderIsWritable(gameDirectory)) {
        m_folder = gameDirectory;
    } else {
        m_folder = UserDataFolder() / "orvell" / SafeComponent(gameId);
    }
    std::error_code ec;
    std::filesystem::create_directories(m_folder, ec);
}

std::filesystem::path SaveLocation::InFolder(const std::filesystem::path& folder,
                                             std::string_view name) const {
    auto existing = FindFileNoCase(folder, name);
    return existing ? *existing : folder / std::string(name);
}

std::filesystem::path SaveLocation::SlotFolder() const {
    return InFolder(m_folder, "save");
}

std::filesystem::path SaveLocation::SlotPath(int32_t slot) const {
    char name[32];
    std::snprintf(name, sizeof name, "save%02d.dat", static_cast<int>(slot));
    return InFolder(SlotFolder(), name);
}

std::filesystem::path SaveLocation::GlobalPath() const {
    return InFolder(m_folder, "save0.dat");
}

std::filesystem::path SaveLocation::RecollectionPath() const {
    return InFolder(m_folder, "kaiso.dat");
}

bool SaveLocation::MakeSlotFolder() const {
    std::error_code ec;
    std::filesystem::path folder = SlotFolder();
    std::filesystem::create_directories(folder, ec);
    return std::filesystem::is_directory(folder, ec);
}

} // namespace orv
