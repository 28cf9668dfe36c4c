#pragma once
// The map (ScreenMode 4, `map`): the player picks a place on the map of the current rank
// (V100), an event from its list, then a second one, and confirms; the two events' flags
// are set and their values left in S115 and S116 for the script. The events come from
// "mapctrl", read anew every time the map opens.

#include "gfx/surface.h"
#include "screens/screen.h"
#include "screens/screen_modes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string_view>

namespace orv {

class Engine;

struct MapEvent {
    static constexpr size_t kTitleSize = 48;
    std::array<char, kTitleSize> TitleBuffer{};
    size_t TitleLength = 0;
    int32_t Value = 0;
    std::string_view Title() const { return {TitleBuffer.data(), TitleLength}; }
};

struct MapEvents {
    static constexpr int kPlaces = 5;
    static constexpr int kPerPlace = 4;
    std::array<std::array<MapEvent, kPerPlace>, kPlaces + 1> Events{}; // by place, 1..5
    std::array<int, kPlaces + 1> Counts{};
};

// The events of section ":`section`" of the "mapctrl" text (lines ended by NUL or a line
// break): place, title, value and an optional flag number, kept when the flag field is
// empty or `flagSet` says the flag is set. Places outside 1..5, a fifth event of a place and
// the part of a title past its room are dropped. False when the section is not there
// before ":END" or the end.
bool ReadMapEvents(std::string_view text, int32_t section,
                   const std::function<bool(int32_t)>& flagSet, MapEvents& out);

// The place a colour of the hit map stands for: b + 2r + 4g with each channel counted when
// it is 128 or more; blue 1, red 2, magenta 3, green 4, yellow 5, anything else 0.
int PlaceForColour(uint32_t bgr);

class MapScreen final : public Screen {
public:
    explicit MapScreen(Engine& engine) : m_engine(engine) {}

    int32_t Mode() const override { return screen_mode::Map; }
    void Press(MouseButton button, int x, int y) override;
    void Move(int x, int y) override { MapHover(x, y); }
    // MapTick: the pointer is looked at again every 16 passes.
    AfterPass Pass() override;
    // MapPaint.
    bool Paint() override;
    // The title return: the map's pictures go, nothing is set.
    void Close() override { FreePictures(); }

    void OpenMap(std::string_view name); // map
    void MapHover(int x, int y);
    void MapClick(MouseButton button);

    int32_t MapStep = 1; // 1 the first event, 2 the second, 3 the confirmation
    int32_t ListOpen = 0;
    int32_t HoverPlace = 0;
    int32_t MapHoverRow = 0; // row + 1; on the confirmation 1 OK, 2 back
    int64_t PlaceFlagBase = 0;
    int64_t FirstFlag = 0;
    int64_t SecondFlag = 0;
    std::string_view FirstTitle() const { return m_firstTitle; }
    std::string_view SecondTitle() const { return m_secondTitle; }
    const MapEvents& Events() const { return m_events; }

private:
    bool LoadPictures(int32_t rank);
    void FreePictures();
    int PlaceAt(int x, int y) const;
    void Redraw();
    void DrawList();
    void DrawConfirmation();
    void HoverMap(int x, int y);
    void HoverList(int x, int y);
    void HoverConfirmation(int x, int y);
    void ChooseRow(int row);
    void Blink(int row);
    Rect RowRect(int row) const;
    // `picture` drawn as a stacked sprite at (x, y) of `target`, nothing when it is empty.
    static void Draw(Surface& target, const Surface& picture, int x, int y);
    void Show(const Surface& source, Rect area);

    Engine& m_engine;
    bool m_open = false;
    MapEvents m_events;
    std::string_view m_firstTitle;
    std::string_view m_secondTitle;
    Rect m_list{};
    int32_t m_rank = 1;

    Surface m_normal;      // the map with the rank, screen-sized
    Surface m_highlighted; // the same in its highlighted look
    Surface m_hitMap;
    std::array<Surface, MapEvents::kPlaces + 1> m_masks;
    std::array<Surface, MapEvents::kPlaces + 1> m_markers;
    Surface m_panel; // the map area under the panel, with the panel drawn over it
    Surface m_choicePanel;
    Surface m_confirm;
    Surface m_row;
    Surface m_rowLit;
    Surface m_ok;
    Surface m_okLit;
    Surface m_back;
    Surface m_backLit;
    Surface m_loaded;
};

} // namespace orv
