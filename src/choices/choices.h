#pragma once
// Choices, branch groups and click maps: the choice the player makes between plates drawn
// over the screen (`select`), the region of a picture clicked (`clickmap`), the branch
// groups the script decides itself (`switch`, `cjmp`), and the record of choices taken that
// `rec` starts and replays.

#include "choices/choice_list.h"
#include "choices/choice_record.h"
#include "choices/map_definition.h"
#include "gfx/surface.h"
#include "platform/platform.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Engine;
enum class MouseButton;

// Values of SelectionKind: what the player is to choose from.
namespace selection_kind {
constexpr int32_t None = 0;
constexpr int32_t Window = 1; // select in window mode: a column of plates
constexpr int32_t Novel = 2;  // select in novel mode: plates on the text rows
constexpr int32_t ClickMap = 4;
constexpr int32_t SelectionTree = 6; // set by the selection tree screen
} // namespace selection_kind

// The column of plates of a window-mode choice.
struct ChoicePanelLayout {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Width = 0;
    int32_t RowHeight = 0;
};

class Choices {
public:
    explicit Choices(Engine& engine);
    Choices(const Choices&) = delete;
    Choices& operator=(const Choices&) = delete;

    // The choice plates sys_sw, sys_sw2, sys_sww and sys_sww2, once the archives are open.
    void LoadPlates();

    // Script commands.
    void Select(int32_t value);           // select; value 0 lets the player choose
    void ClickMap(std::string_view name); // clickmap
    void Switch(std::string_view name);   // switch
    void ComputedJump(int32_t n);         // cjmp
    // rec started or restarted the choice record in the script `name`.
    void RecordingStarted(std::string_view scriptName);

    // Called by the input handlers and the timer while SelectionKind is non-zero.
    void ChoiceHoverAt(int32_t x, int32_t y);
    void CommitChoice(MouseButton button);
    // The up and down arrows while a window-mode choice waits: the pointer moves onto the
    // previous or next choice.
    void MovePointerToChoice(bool down);
    // Takes the first choice that can be taken, as a click on it would: the automatic
    // play-through of a headless run. False when no choice waits or none can be taken.
    bool TakeFirstChoice();
    // A select left unanswered (the return to the title): the screen as it was before the
    // choices were drawn, on BackBuffer and PB.
    void RestoreScreenBeforeSelect();
    // The return to the title: a select left unanswered takes its plates away, and no
    // choice waits any longer.
    void Reset();
    // Once a timer tick while a choice waits and no prompt is open: the click map's time
    // limit.
    void SelectionTick();

    // Not 0 while a choice waits: the idle pass does not step the script meanwhile. Set by
    // this subsystem and, for its rows, by the selection tree.
    int32_t SelectionKind = selection_kind::None;
    int32_t ChoiceCount = 0;
    int32_t ChoiceHover = 0; // the choice under the pointer; 0 none, -1 before the first test
    ChoicePanelLayout ChoicePanel;
    int32_t MapTimeout = 0;       // timer ticks before the click map decides by itself
    int32_t MapTimeoutChoice = 0; // and the region it then takes
    int32_t MapCursor = 0;        // the cursor last set over a colour region

    ChoiceList List;
    MapDefinition Map;
    ChoiceBox ChoiceRects[kMaxChoices]; // novel mode: each choice's plate
    ChoiceRecord Record;

    Surface SavedScreen;     // the screen before the choices were drawn
    Surface HighlightScreen; // the same screen with every choice highlighted

private:
    // select (select.cpp).
    // Busy while the choices are drawn; false when the script goes on at once.
    bool PresentChoices(int32_t value);
    void LayOutNovelChoices();
    void DrawWindowChoices();
    void DrawNovelChoices();
    int32_t WindowChoiceAt(int32_t x, int32_t y) const;
    int32_t NovelChoiceAt(int32_t x, int32_t y) const;
    Rect RowRect(int32_t k) const;
    void RedrawRows();
    void ReplayRecordedChoice();

    // Taking a choice (commit.cpp).
    void TakeChoice(int32_t k, bool replayed);
    void TakeAtOnce(int32_t k);
    void BlinkRow(int32_t k, int32_t times);
    void FinishChoice(int32_t offset);

    // Click maps (click_map.cpp).
    void ReadMapBranches();
    int32_t RegionAt(int32_t x, int32_t y);
    void RemoveRegionHighlight(int32_t k);
    void ShowRegionHighlight(int32_t k);
    void ClickMapHoverAt(int32_t x, int32_t y);
    void SetCursor(int32_t cursor);
    const Surface& HitPicture() const;

    // The pointer over PB, in game pixels.
    Point PointerPosition();

    Engine& m_engine;
    Surface m_narrowPlate, m_narrowHighlight;
    Surface m_widePlate, m_wideHighlight;
};

} // namespace orv
