#pragma once
// The Platform of a headless run: a virtual clock that sleeping advances at once, the 55 ms
// timer driven by that clock, the audio mix pulled by the same clock, an in-memory paint box,
// and queues that stand for the player's answers to message boxes and the save list dialog.
// Runs give the same result every time.

#include "gfx/surface.h"
#include "headless/wav_writer.h"
#include "platform/platform.h"

#include <array>
#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace orv {

class Engine;

// What the next save list dialog does (play file `dialog ...`): select the row of the slot,
// put the comment into the edit (when one is given) and press the save or load button; or
// close.
struct SaveListAction {
    enum class Kind { Save, Load, Close };
    Kind Action = Kind::Close;
    int Slot = 0;
    std::optional<std::string> Comment; // UTF-8; nothing: the edit keeps the slot's comment
};

struct MessageBoxRecord {
    std::string Text;
    std::string Caption;
    MessageBoxButtons Buttons = MessageBoxButtons::Ok;
    MessageBoxResult Result = MessageBoxResult::Ok;
};

class HeadlessPlatform : public Platform {
public:
    static constexpr uint64_t kTickIntervalMs = 55;

    // `log` receives the lines a play-test log shows (message boxes, desktop opens).
    // `startTime`: the local time at virtual time 0; nothing takes the real time now.
    explicit HeadlessPlatform(std::ostream& log, std::optional<std::tm> startTime = std::nullopt);

    // The engine that receives timer ticks, queued input and close requests.
    void Attach(Engine& engine) { m_engine = &engine; }

    // Virtual clock. Every move of it mixes the audio that fell due.
    uint64_t Now() const { return m_now; }
    void AdvanceTo(uint64_t ms);
    // Calls Timer1Timer once per multiple of 55 ms that virtual time crossed since the last
    // delivery.
    void DeliverDueTicks();
    uint64_t TicksDelivered() const { return m_ticksDelivered; }

    // Input delivered at the first message pump at or after `due` (play file `in MS ...`).
    // Inputs due at the same time arrive in the order they were queued.
    void QueueInput(uint64_t due, std::function<void()> deliver);
    size_t QueuedInputs() const { return m_inputs.size(); }
    void ClearQueuedInputs() { m_inputs.clear(); }

    void QueueAnswer(MessageBoxResult answer) { m_answers.push_back(answer); }
    void QueueSaveListAction(SaveListAction action) { m_saveListActions.push_back(action); }
    // The next queued save list action, or nothing (the dialog is then closed).
    std::optional<SaveListAction> PopSaveListAction();

    // What the next settings dialog, name entry and slot name dialog do (play file
    // `dialog settings`, `dialog names`, `dialog slotname`); an empty queue closes them.
    using SettingsChanges = std::vector<std::pair<std::string, std::string>>;
    void QueueSettingsAction(SettingsChanges changes) { m_settingsActions.push_back(std::move(changes)); }
    void QueueNameEntryAction(std::vector<std::string> names) { m_nameActions.push_back(std::move(names)); }
    // Nothing: Cancel.
    void QueueSlotNameAction(std::optional<std::string> text) { m_slotNameActions.push_back(std::move(text)); }

    // What PB shows: the engine's own record of it once its surfaces exist, so that a
    // present costs one copy, not two.
    const Surface& PaintBox() const;
    bool WindowClosed() const { return m_closed; }
    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_messageBoxes; }
    const std::vector<std::string>& DesktopOpens() const { return m_opened; }
    // Recorded states of menu items; nothing for an item never set.
    std::optional<bool> MenuItemEnabled(std::string_view component) const;
    std::optional<bool> MenuItemVisible(std::string_view component) const;
    bool FullScreen() const { return m_fullScreen; }
    bool ToolBarShown() const { return m_toolBarShown; }
    bool MoviePanelShown() const { return m_moviePanelShown; }
    const std::string& WindowTitle() const { return m_title; }
    const std::string& LastPopupMenu() const { return m_lastPopupMenu; }
    // The pop-up menu still open, or empty; a headless pop-up stays open until closed.
    const std::string& OpenPopupMenu() const { return m_openPopupMenu; }
    Point LastPopupPosition() const { return m_lastPopupPosition; }

    // The audio mix. Frame f of the mix falls due when virtual time reaches f / 44.1 ms, so
    // that a run mixes the same frames at the same virtual times every time. Without a mixer
    // the frames are silent.
    static constexpr uint64_t kRecentMixMs = 60000;
    // Keeps the whole mix from here on (--audio-out) instead of its last minute alone; called
    // before the run starts.
    void KeepWholeMix() { m_keepWholeMix = true; }
    // Nothing will listen to the mix from here on (no --audio-out, no play file to ask for its
    // peaks): the mixer's sources then only move on with the clock, unmixed. No effect while
    // the whole mix is kept.
    void MixUnheard() { m_mixHeard = m_keepWholeMix; }
    bool MixHeard() const { return m_mixHeard; }
    uint64_t FramesMixed() const { return m_framesMixed; }
    // The whole mix, interleaved left and right; empty unless KeepWholeMix was called.
    std::span<const int16_t> WholeMix() const { return m_wholeMix; }
    // The largest sample magnitude in the mix of the last `ms` virtual ms, or of as much of it
    // as is kept (the last kRecentMixMs, or everything with the whole mix kept).
    int32_t PeakOfLastMs(uint64_t ms) const;

    // Platform.
    uint32_t GetTickCount() override { return static_cast<uint32_t>(m_now); }
    void Sleep(uint32_t ms) override { AdvanceTo(m_now + ms); }
    std::tm LocalTime() override;
    void PumpMessages() override;
    void Present(const Surface& source, Rect from, int x, int y) override;
    void FillPaintBox(uint32_t bgr) override;
    MessageBoxResult MessageBox(std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) override;
    // Takes the queued actions one by one until one closes the list; an empty queue closes
    // it. Prints a line for the showing and for each action.
    void RunSaveList(SaveListModel& model) override;
    // Makes the queued changes, each as the player would (a slider dragged there and
    // released), and closes. Prints a line for the showing and for each change.
    void RunSettings(SettingsDialogModel& model) override;
    // Types the queued names and presses OK until they are accepted; an empty queue leaves
    // the names as they were.
    void RunNameEntry(NameEntryModel& model) override;
    void RunSlotName(SlotNameModel& model) override;
    void SetMenuItemEnabled(std::string_view component, bool enabled) override;
    void SetMenuItemVisible(std::string_view component, bool visible) override;
    void ShowPopupMenu(std::string_view menu, int screenX, int screenY) override;
    void ClosePopupMenu() override;
    void CloseMainWindow() override;
    void SetWindowTitle(std::string_view title) override { m_title = std::string(title); }
    bool IsActiveWindow() override { return true; }
    Rect WindowBounds() override { return m_windowBounds; }
    void SetWindowBounds(Rect bounds) override { m_windowBounds = bounds; }
    // A headless window moves, except in full screen.
    bool CanMoveWindow() override { return !m_fullScreen; }
    Rect ScreenBounds() override { return kScreen; }
    bool SetFullScreen(bool on) override;
    void ShowToolBar(bool shown) override { m_toolBarShown = shown; }
    void SetCursorShape(int32_t cursor) override { m_cursorShape = cursor; }
    int32_t CursorShape() const { return m_cursorShape; }
    Point GetCursorPos() override { return m_cursor; }
    void SetCursorPos(Point screen) override { m_cursor = screen; }
    Point PaintBoxOrigin() override;
    // A headless run has no movie player: a movie that exists opens and ends at once, so the
    // engine's countdown alone decides when it is over.
    bool OpenMovie(const std::string& path) override;
    void PlayMovie() override {}
    bool IsMoviePlaying() override { return false; }
    void StopMovie() override {}
    void CloseMovie() override {}
    void ShowMoviePanel(bool shown) override { m_moviePanelShown = shown; }
    // Records the target and runs nothing.
    bool OpenWithDesktop(const std::string& target) override;
    // Mixes from `mixer` on the virtual clock from now on; there is always an output.
    bool StartAudio(Mixer& mixer) override;
    void StopAudio() override { m_mixer = nullptr; }

private:
    static constexpr size_t kMixBufferFrames = 1024;
    static constexpr size_t kRecentMixFrames = kRecentMixMs * kMixRate / 1000;

    // Mixes the frames due at the current virtual time.
    void MixDueFrames();
    void Keep(std::span<const int16_t> samples);

    static constexpr Rect kScreen{0, 0, 1920, 1080};

    struct QueuedInput {
        uint64_t Due;
        std::function<void()> Deliver;
    };

    Engine* m_engine = nullptr;
    std::ostream& m_log;
    uint64_t m_now = 0;
    uint64_t m_ticksDelivered = 0;
    std::time_t m_startTime = 0; // seconds, read as UTC to keep the fields as given
    std::vector<QueuedInput> m_inputs;
    std::deque<MessageBoxResult> m_answers;
    std::deque<SaveListAction> m_saveListActions;
    std::deque<SettingsChanges> m_settingsActions;
    std::deque<std::vector<std::string>> m_nameActions;
    std::deque<std::optional<std::string>> m_slotNameActions;
    Surface m_pb{kScreenWidth, kScreenHeight};
    bool m_closed = false;
    bool m_closing = false;
    std::vector<MessageBoxRecord> m_messageBoxes;
    std::vector<std::string> m_opened;
    std::map<std::string, bool, std::less<>> m_menuEnabled;
    std::map<std::string, bool, std::less<>> m_menuVisible;
    std::string m_title;
    std::string m_lastPopupMenu;
    std::string m_openPopupMenu;
    Point m_lastPopupPosition;
    std::string m_movie; // the file the engine last opened as a movie
    Rect m_windowBounds{0, 0, 808, 650};
    bool m_fullScreen = false;
    bool m_toolBarShown = false;
    bool m_moviePanelShown = false;
    Point m_cursor;
    int32_t m_cursorShape = 0;

    Mixer* m_mixer = nullptr;
    uint64_t m_framesMixed = 0;
    bool m_keepWholeMix = false;
    bool m_mixHeard = true;
    std::vector<int16_t> m_wholeMix;
    // The last kRecentMixFrames frames, frame f at f % kRecentMixFrames; allocated at the
    // first frame and never initialised beyond what is written.
    std::unique_ptr<int16_t[]> m_recentMix;
    std::array<int16_t, 2 * kMixBufferFrames> m_mixBuffer{};
};

} // namespace orv
