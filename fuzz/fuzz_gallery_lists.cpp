// The "view" and "sys_flashbak" resources are outside data: any bytes give a view within
// its 18 sets and 50 slots a set, and a scene list within its 8 categories of 8 pages and
// its 2,000 entries, whose playlists end inside the list.
#include "fuzz_check.h"
#include "screens/scene_list.h"
#include "screens/view_definition.h"
#include "script/variables.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "gallery lists", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    orv::VariableStore vars;
    vars.SetPictureUnlockedBit(0, true);
    vars.SetFlag(orv::FlagKind::E, 1);
    for (std::string_view name : {"VIEW_1", "VIEW_2", "2_VIEW_1"}) {
        orv::ViewDefinition view = orv::ReadViewDefinition(text, name, &vars, 3990);
        Check(view.SetCount >= 1 && view.SetCount <= orv::ViewDefinition::kMaxSets, "sets");
        Check(view.Type >= 0 && view.Type <= 3, "a view of no type");
        Check(view.SeenPictures <= view.TotalPictures, "more seen than there are");
        for (const auto& set : view.SlotState) {
            for (uint8_t state : set) {
                Check(state <= orv::slot_state::Open, "a slot of no state");
            }
        }
        auto digits = orv::PercentageDigits(view.SeenPictures, view.TotalPictures);
        for (int d : digits) {
            Check(d >= -1 && d <= 9, "a digit past the strip");
        }
    }

    orv::SceneList list;
    list.Read(text);
    Check(list.Titles.size() == list.Scripts.size(), "titles and scripts apart");
    Check(list.Count() <= orv::SceneList::kMaxEntries, "more entries than seen bits");
    Check(list.CategoryCount >= 0 && list.CategoryCount <= orv::SceneList::kMaxCategories,
          "categories");
    for (const auto& pages : list.CategoryPages) {
        Check(pages.size() <= orv::SceneList::kMaxPages, "pages");
    }
    for (int32_t n = 0; n < list.Count(); ++n) {
        // A line ",SCRIPT" is a scene without a title: it keeps its place, as the seen bits
        // of kaiso.dat count places, and shows no name.
        int32_t heading = list.HeadingAbove(n);
        Check(heading < n, "a heading below its scene");
    }
    // The input's first bytes as a playlist from kaiso.dat.
    orv::Playlist playlist{};
    if (size > 0) {
        std::memcpy(playlist.data(), data, std::min(size, sizeof playlist));
    }
    int length = orv::PlaylistLength(playlist, list, orv::kPlaylistEntries);
    for (int k = 0; k < length; ++k) {
        Check(list.IsScene(playlist[static_cast<size_t>(k)]), "a playlist entry outside the list");
    }
    orv::DropOnPlaylist(playlist, static_cast<int>(size % 40) - 5, 1);
    orv::RemovePlaylistRow(playlist, static_cast<int>(size % 30));
    orv::CutPlaylistAtHole(playlist);
    return 0;
}
