#include "data/optical_disc.h"

#include <fstream>
#include <iterator>
#include <string>

namespace orv {

namespace {

struct MountEntry {
    std::string Device;
    std::string MountPoint;
    std::string Type;
};

// The kernel writes space, tab, newline and backslash in mount fields as three octal digits
// after a backslash ("/media/My\040Disc").
std::string UnescapeField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i > 3) {
            int value = 0;
            bool octal = true;
            for (size_t k = 1; k <= 3; ++k) {
                char c = field[i + k];
                if (c < '0' || c > '7') {
                    octal = false;
                    break;
                }
                value = value * 8 + (c - '0');
            }
            if (octal && value < 256) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

// Splits one line into its first three blank-separated fields; false for a line with fewer.
bool ParseMountLine(std::string_view line, MountEntry& entry) {
    std::string_view fields[3];
    size_t pos = 0;
    for (auto& field : fields) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) {
            ++pos;
        }
        size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') {
            ++pos;
        }
        if (start == pos) {
            return false;
        }
        field = line.substr(start, pos - start);
    }
    entry.Device = UnescapeField(fields[0]);
    entry.MountPoint = UnescapeField(fields[1]);
    entry.Type = UnescapeField(fields[2]);
    return true;
}

// A mount point without trailing slashes ("/" stays "/").
std::string_view TrimSlashes(std::string_view mountPoint) {
    while (mountPoint.size() > 1 && mountPoint.back() == '/') {
        mountPoint.remove_suffix(1);
    }
    return mountPoint;
}

// True when the trimmed `mountPoint` is `path` or one of its ancestors, by whole components.
bool Contains(std::string_view mountPoint, std::string_view path) {
    if (mountPoint.empty() || mountPoint.front() != '/' || !path.starts_with(mountPoint)) {
        return false;
    }
    return mountPoint == "/" || path.size() == mountPoint.size() || path[mountPoint.size()] == '/';
}

bool HoldsDisc(const MountEntry& entry) {
    return entry.Type == "iso9660" || entry.Type == "udf" || entry.Device.starts_with("/dev/sr") ||
           entry.Device.starts_with("/dev/cdrom");
}

} // namespace

bool PathIsOnOpticalDisc(std::string_view mountTable, std::string_view path) {
    bool found = false;
    bool disc = false;
    size_t bestLength = 0;
    MountEntry entry;
    while (!mountTable.empty()) {
        size_t end = mountTable.find('\n');
        std::string_view line = mountTable.substr(0, end);
        mountTable.remove_prefix(end == std::string_view::npos ? mountTable.size() : end + 1);
        if (!ParseMountLine(line, entry)) {
            continue;
        }
        std::string_view mountPoint = TrimSlashes(entry.MountPoint);
        if (!Contains(mountPoint, path)) {
            continue;
        }
        // A later line with the same mount point is mounted over the earlier one.
        size_t length = mountPoint.size();
        if (!found || length >= bestLength) {
            found = true;
            bestLength = length;
            disc = HoldsDisc(entry);
        }
    }
    return disc;
}

bool DirectoryIsOnOpticalDisc(const std::filesystem::path& directory) {
    std::error_code ec;
    auto canonical = std::filesystem::canonical(directory, ec);
    if (ec || !std::filesystem::is_directory(canonical, ec)) {
        return false;
    }
    // The size of a /proc file is 0, so it is read as a stream to its end.
    std::ifstream in("/proc/self/mounts");
    if (!in) {
        return false;
    }
    std::string table((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return PathIsOnOpticalDisc(table, canonical.string());
}

} // namespace orv
