#pragma once
// Looking back and away from the running game: the backlog of the last 200 text lines with
// a voice button before each voiced line, page review (the last 50 message pages shown
// again as they looked, with their voices), and the message window hidden to show the whole
// scene. Each is a screen of the screen stack while it lasts; this object keeps what they
// show and does what they do. The text flow feeds the line store and takes the page
// snapshots; both travel with saved games.

#include "gfx/surface.h"
#include "platform/mouse_button.h"
#include "text/backlog_layout.h"
#include "text/backlog_store.h"
#include "text/rewind_ring.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

// The direction of a step of page review.
namespace rewind {
constexpr int32_t Back = 1;     // one page further into the past
constexpr int32_t Forward = -1; // one page toward the present; past the newest it ends
} // namespace rewind

// What the backlog screen shows while it is open.
struct BacklogView {
    enum class Drag : int32_t { None = 0, UpButton = 1, DownButton = 2, Thumb = 3 };

    // Lines scrolled back from the newest, 0 .. count - rows.
    int32_t ScrollOffset = 0;
    // The thumb's travel in pixels; 0 or less: the thumb cannot be moved.
    int32_t TrackLength = 0;
    Drag DragMode = Drag::None;
    // Idle passes counted while a scroll button is held; 0 when none is.
    int32_t RepeatCounter = 0;
    // 1 the up button, 2 the down button under the pointer; 0 neither.
    int32_t HoverButton = 0;
    // The row under the pointer in the voice-button column; 0 none (row 0 never has one).
    int32_t HoverRow = 0;
    int32_t LastThumbOffset = 0;
};

class Backlog {
public:
    static constexpr int32_t kMaxDepth = RewindRing::kPages;

    explicit Backlog(Engine& engine) : m_engine(engine) {}

    // The screen-sized surfaces, once at start-up.
    void CreateSurfaces();

    // ---- The line store, fed by the text flow (backlog.cpp).
    // Every line gone (start-up).
    void ClearBacklog();
    // Typed characters at the end of the current line.
    void AppendBacklogBytes(std::string_view bytes);
    // A voice the script played, as an entry of its own after the text before it.
    void AppendVoiceEntry(std::string_view name);
    // The current line ends (a line break, a page end, after a speaker's name).
    void CommitBacklogLine();

    // ---- The backlog screen (backlog_view.cpp). Opening it does nothing unless S028 allows
    // it and the game owns the screen.
    void OpenBacklog();
    void CloseBacklog();
    void DrawBacklog();
    // A left press scrolls, grabs the thumb or plays a row's voice; any other closes.
    void BacklogMouseDown(MouseButton button, int x, int y);
    void BacklogMouseMove(int x, int y);
    void BacklogMouseUp();
    // D > 0 a notch upward: 4 lines back.
    void BacklogWheel(int delta);
    // Every idle pass while it is open: a held scroll button repeats.
    void BacklogRepeatTick();
    // Up and Down a line, Page Up and Page Down a screen, Home the oldest, End the newest.
    void BacklogKey(int key);
    // The text lines on the screen as UTF-8, one a line (the desktop's copy command); empty
    // while the backlog is closed.
    std::string VisibleLinesUtf8() const;
    // Taken off the stack without the player (the title return): nothing is drawn.
    void ForgetBacklogScreen();
    const BacklogView& View() const { return m_view; }
    // The line in the first row.
    int32_t FirstShownLine() const;

    // ---- Page review (page_rewind.cpp).
    // The page as it stands, at a page wait; a provisional one (a line wait inside the page)
    // is replaced by the page's next snapshot, in the same slot.
    void TakePageSnapshot(bool provisional);
    // From the game, with S028 allowing it and a page before the present one.
    void EnterRewind();
    // rewind::Back or rewind::Forward.
    void StepRewind(int32_t direction);
    // Back to the game as it was when review began.
    void LeaveRewind();
    void ShowRewindPage(int32_t slot);
    void ForgetRewind();
    // Pages back from the present: 2 the page before the one that was on the screen.
    int32_t RewindDepth = 0;
    // S160 before review began.
    int32_t SavedLayoutFlag = 0;

    // ---- The hidden message window (backlog.cpp).
    void HideMessageWindow();
    // Shows again exactly what was on the screen before.
    void RestoreMessageWindow();
    void ForgetHiddenWindow() { m_hiddenKept = false; }

    // A saved game keeps the line store and the rewind ring.
    void Exchange(SaveIo& io);

    BacklogStore Lines;
    RewindRing Rewind;

private:
    enum Picture : size_t { Bar, Thumb, Voice, VoiceLit, Up, UpLit, Down, DownLit, kPictureCount };

    // The menus stay locked while any of the three screens is still open.
    void UnlockMenus();
    // Scrolls by `lines` (positive: back) within the range; true when the view moved.
    bool ScrollBy(int32_t lines);
    bool InVoiceColumn(int x, int y) const;
    int32_t RowAt(int y) const;
    // The voice of a row on the screen, empty for a text row and for row 0.
    std::string_view RowVoice(int32_t row) const;
    // The row whose voice button shows its highlight, 0 none.
    int32_t LitVoiceRow() const;
    void DrawRowText(std::string_view line, int32_t row);
    void DrawRewindText(const PageSnapshot& page);
    void KeepSceneForRewind();
    void RestoreKeptScene();

    Engine& m_engine;
    BacklogLayout m_layout;
    BacklogView m_view;
    std::array<Surface, kPictureCount> m_pictures;
    Surface m_background;   // the dimmed scene with the bar and the buttons
    Surface m_screenBefore; // the screen under the backlog
    Surface m_hidden;       // what PB showed before the window was hidden
    bool m_hiddenKept = false;

    // The scene on the screen when review began.
    struct KeptScene {
        bool Valid = false;
        Surface Background;
        std::array<int32_t, 2 * PageSnapshot::kPositions> Positions{};
        std::string Characters;
        int32_t TextColourZero = 0;
        uint32_t TextColour = 0;
    };
    KeptScene m_kept;
};

} // namespace orv
