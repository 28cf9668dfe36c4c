#pragma once
// The recollection's scene list (the text resource "sys_flashbak": categories of pages, and
// under each page label its headings and scenes) and the editing of a record slot's
// playlist. Scene numbers are positions in the list; a playlist holds scene numbers, 0 ends
// it, and only its first rows are shown and edited.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class SceneList {
public:
    static constexpr int kMaxCategories = 8;
    static constexpr int kMaxPages = 8;
    // As many entries as there are scene-seen bits.
    static constexpr int kMaxEntries = 2000;

    // Start-up; a missing resource (empty text) leaves the list empty.
    void Read(std::string_view text);

    // Titles: a scene's title, a heading ("*..."), a page label (":..."); Scripts: the
    // scene's script, empty for headings and labels.
    std::vector<std::string> Titles;
    std::vector<std::string> Scripts;
    int32_t CategoryCount = 0;
    std::array<std::vector<std::string>, kMaxCategories> CategoryPages; // ":" + page name

    int32_t Count() const { return static_cast<int32_t>(Titles.size()); }
    // A number that names a scene: inside the list and neither a heading nor a label.
    bool IsScene(int32_t n) const {
        return n > 0 && n < Count() && !Scripts[static_cast<size_t>(n)].empty();
    }
    // The position of `label` in the list, or -1.
    int32_t Find(std::string_view label) const;
    // The position of the scene whose script is `upperName`, or -1.
    int32_t FindScript(std::string_view upperName) const;
    // The heading above scene `n` that a seen scene marks too, or -1: the nearest entry
    // above it that starts with "*" and is more than "*".
    int32_t HeadingAbove(int32_t n) const;
};

// The record slots' playlists as the file holds them: 50 entries, 25 of them shown.
constexpr int kPlaylistEntries = 50;
constexpr int kPlaylistRows = 25;
using Playlist = std::array<int32_t, kPlaylistEntries>;

// How many entries from the first are scenes of `list`: an entry outside the list or naming
// a heading or label (a damaged kaiso.dat) ends the playlist as 0 does.
int PlaylistLength(const Playlist& playlist, const SceneList& list, int limit = kPlaylistRows);
// Takes row `row` out, the rows after it moving up; returns its scene.
int32_t RemovePlaylistRow(Playlist& playlist, int row);
// A scene dropped on row `row`: inserted there when the row holds one (what was on the last
// row is lost), else put right after the last entry at or before the row.
void DropOnPlaylist(Playlist& playlist, int row, int32_t scene);
// Everything after the first empty row is cleared.
void CutPlaylistAtHole(Playlist& playlist);

} // namespace orv
