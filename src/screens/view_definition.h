#pragma once
// The gallery's view definitions (the text resource "view"): for one view its type, pages,
// buttons, regions and slots, with each slot's state computed from the pictures and flags
// seen. Everything is read from game data and bounded here: 18 sets, regions P0..P17 and
// M0..M9, slots 1..50, 50 names a slot.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class VariableStore;

namespace view_type {
constexpr int32_t Pictures = 0;
constexpr int32_t SceneReplay = 1;
constexpr int32_t MusicList = 2;
constexpr int32_t MusicPlayer = 3;
} // namespace view_type

namespace slot_state {
constexpr uint8_t Empty = 0;
constexpr uint8_t Locked = 1;
constexpr uint8_t PartlyOpen = 2;
constexpr uint8_t Open = 3;
} // namespace slot_state

// x1, y1, x2, y2 with the right and bottom outside; x1 = -1 when not defined.
struct ViewRect {
    int32_t X1 = -1, Y1 = -1, X2 = -1, Y2 = -1;
    bool Defined() const { return X1 != -1; }
    bool Holds(int x, int y) const {
        return Defined() && x >= X1 && x < X2 && y >= Y1 && y < Y2;
    }
};

// A region that reacts only while the current set lies in First..Last.
struct SetRegion {
    ViewRect Area;
    int32_t First = 0, Last = 99, Target = 0;
};

struct ViewDefinition {
    static constexpr int kMaxSets = 18;
    static constexpr int kSlots = 50; // numbered 1..50
    static constexpr int kSetRegions = 18;
    static constexpr int kViewRegions = 10;
    static constexpr int kNamesPerSlot = 50;
    static constexpr int32_t kNoPosition = -999;

    bool Found = false; // the view's section exists
    int32_t Type = view_type::Pictures;
    int32_t SetCount = 1; // 1..18 once read
    int32_t Music = 0;
    int32_t ThumbWidth = 0, ThumbHeight = 0;
    ViewRect Next, Prev, Exit, Caption;
    std::string Plate, Plate2, Digits;
    int32_t PercentX = 0, PercentY = 0;
    bool GroupUnlock = true;
    std::array<SetRegion, kSetRegions> SetRegions{};
    std::array<SetRegion, kViewRegions> ViewRegions{}; // Target unused: region d opens VIEW_d
    std::array<int32_t, kSlots + 1> SlotX{}, SlotY{};
    std::array<std::string, kMaxSets> SetPictures; // "page,hover"
    std::array<std::array<std::string, kSlots + 1>, kMaxSets> SlotEntry;
    std::array<std::array<std::string, kSlots + 1>, kMaxSets> SlotCaption;
    std::array<std::array<uint8_t, kSlots + 1>, kMaxSets> SlotState{};
    int32_t TotalPictures = 0, SeenPictures = 0;

    // Every picture name of a picture view in file order (the gallery's PictureList when the
    // view is VIEW_1), and every slot line with a script (flag, script) for the replay list.
    std::vector<std::string> AllPictures;
    std::vector<std::pair<int32_t, std::string>> ReplayEntries;
};

// The view `name` (upper-cased, without its colon) from the resource text (lines ending in
// NUL). The M lines of ":VIEW_0" come first. `vars`, when given, supplies the seen bits and
// E flags the slot states are computed from; a picture view's group unlock sets seen bits in
// it. `firstPicture` is the number of the view's first picture.
ViewDefinition ReadViewDefinition(std::string_view text, std::string_view name,
                                  VariableStore* vars, int32_t firstPicture = 0);

// The three cells of the percentage display for `seen` of `total` pictures: a digit, or -1
// for a cell left as it is. Under 10 per cent only the units show; everything seen (and a
// view without pictures) shows 100.
std::array<int, 3> PercentageDigits(int32_t seen, int32_t total);

// The fields of a definition value, split at commas and colons.
std::vector<std::string_view> SplitViewFields(std::string_view value);

} // namespace orv
