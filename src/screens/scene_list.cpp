#include "screens/scene_list.h"

#include "base/cp932.h"

#include <algorithm>

namespace orv {

namespace {

constexpr std::string_view kEnd = ":END";
constexpr std::string_view kSetting = ":SETTING";

// Fields of a category line end at commas; those of a scene line at commas or colons.
std::vector<std::string_view> Split(std::string_view line, std::string_view separators) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || separators.find(line[i]) != std::string_view::npos) {
            fields.push_back(line.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

} // namespace

void SceneList::Read(std::string_view text) {
    Titles.clear();
    Scripts.clear();
    CategoryCount = 0;
    for (auto& pages : CategoryPages) {
        pages.clear();
    }
    bool listPart = false;
    size_t pos = 0;
    while (pos < text.size() && Count() < kMaxEntries) {
        size_t end = std::min(text.find('\0', pos), text.size());
        std::string line = cp932::UpperCase(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty()) {
            continue;
        }
        if (!listPart) {
            if (line == kSetting) {
                CategoryCount = 0;
                for (auto& pages : CategoryPages) {
                    pages.clear();
                }
                continue;
            }
            if (line[0] != ':') {
                if (CategoryCount < kMaxCategories) {
                    auto& pages = CategoryPages[static_cast<size_t>(CategoryCount)];
                    pages.clear();
                    for (std::string_view field : Split(line, ",")) {
                        if (static_cast<int>(pages.size()) < kMaxPages) {
                            pages.push_back(":" + std::string(field));
                        }
                    }
                    ++CategoryCount;
                }
                continue;
            }
            listPart = true;
        }
        if (line[0] == ':' || line[0] == '*') {
            Titles.push_back(line);
            Scripts.emplace_back();
        } else {
            std::vector<std::string_view> fields = Split(line, ",:");
            Titles.emplace_back(fields[0]);
            Scripts.emplace_back(fields.size() > 1 ? fields[1] : std::string_view());
        }
        if (line == kEnd) {
            break;
        }
    }
}

int32_t SceneList::Find(std::string_view label) const {
    auto found = std::find(Titles.begin(), Titles.end(), label);
    return found == Titles.end() ? -1 : static_cast<int32_t>(found - Titles.begin());
}

int32_t SceneList::FindScript(std::string_view upperName) const {
    if (upperName.empty()) {
        return -1;
    }
    auto found = std::find(Scripts.begin(), Scripts.end(), upperName);
    return found == Scripts.end() ? -1 : static_cast<int32_t>(found - Scripts.begin());
}

int32_t SceneList::HeadingAbove(int32_t n) const {
    for (int32_t k = std::min(n, Count()) - 1; k >= 1; --k) {
        const std::string& title = Titles[static_cast<size_t>(k)];
        if (title.size() > 1 && title[0] == '*') {
            return k;
        }
    }
    return -1;
}

int PlaylistLength(const Playlist& playlist, const SceneList& list, int limit) {
    int n = 0;
    while (n < std::min(limit, kPlaylistEntries) && list.IsScene(playlist[static_cast<size_t>(n)])) {
        ++n;
    }
    return n;
}

int32_t RemovePlaylistRow(Playlist& playlist, int row) {
    if (row < 0 || row >= kPlaylistRows) {
        return 0;
    }
    int32_t scene = playlist[static_cast<size_t>(row)];
    std::copy(playlist.begin() + row + 1, playlist.begin() + kPlaylistRows, playlist.begin() + row);
    playlist[kPlaylistRows - 1] = 0;
    return scene;
}

void DropOnPlaylist(Playlist& playlist, int row, int32_t scene) {
    row = std::clamp(row, 0, kPlaylistRows - 1);
    if (playlist[static_cast<size_t>(row)] != 0) {
        std::copy_backward(playlist.begin() + row, playlist.begin() + kPlaylistRows - 1,
                           playlist.begin() + kPlaylistRows);
        playlist[static_cast<size_t>(row)] = scene;
        return;
    }
    int at = row;
    while (at > 0 && playlist[static_cast<size_t>(at - 1)] == 0) {
        --at;
    }
    playlist[static_cast<size_t>(at)] = scene;
}

void CutPlaylistAtHole(Playlist& playlist) {
    auto hole = std::find(playlist.begin(), playlist.begin() + kPlaylistRows, 0);
    if (hole != playlist.begin() + kPlaylistRows) {
        std::fill(hole, playlist.end(), 0);
    }
}

} // namespace orv
