#pragma once
// Everything the engine asks of the desktop. Two implementations exist: the Qt front end
// and the headless one (virtual clock, in-memory screen). Texts passed here are UTF-8;
// the engine converts from code page 932 before calling.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "gfx/surface.h"
#include "platform/mouse_button.h"

namespace orv {

class Mixer;
class SaveListModel;
class SettingsDialogModel;
class NameEntryModel;
class SlotNameModel;

enum class MessageBoxButtons { Ok, OkCancel };
enum class MessageBoxIcon { None, Stop, Question, Information };
enum class MessageBoxResult { Ok, Cancel };

struct Point {
    int X = 0;
    int Y = 0;
};

class Platform {
public:
    virtual ~Platform() = default;

    /// Milliseconds since an arbitrary start; wraps like the 32-bit Windows counters.
    virtual uint32_t GetTickCount() = 0;
    /// The multimedia timer; the same clock as GetTickCount here.
    virtual uint32_t TimeGetTime() { return GetTickCount(); }
    /// Blocks the calling (user-interface) thread.
    virtual void Sleep(uint32_t ms) = 0;
    /// The local date and time that saves record.
    virtual std::tm LocalTime() = 0;

    /// Processes pending window messages (input, timer ticks, painting) during a blocking
    /// effect, without re-entering the idle pass.
    virtual void PumpMessages() = 0;

    /// Copies rectangle `from` of `source` to (x, y) of the paint box PB and shows it. The
    /// engine calls this only after it has put the same pixels in its own copy of PB
    /// (Graphics::PaintBoxCopy), so a front end may show that copy instead of keeping one.
    virtual void Present(const Surface& source, Rect from, int x, int y) = 0;
    /// Fills the paint box PB with one colour (0xBBGGRR).
    virtual void FillPaintBox(uint32_t bgr) = 0;

    /// A modal message box.
    virtual MessageBoxResult MessageBox(std::string_view text, std::string_view caption,
                                        MessageBoxButtons buttons, MessageBoxIcon icon) = 0;
    /// The save list dialog TForm9 over `model`, modal: returns once it has closed. The model
    /// holds the rows and does what the buttons do; the dialog shows it and passes the
    /// player's actions on. Without a dialog it closes at once.
    virtual void RunSaveList(SaveListModel& /*model*/) {}
    /// The settings dialog TForm11 over `model`, modal. The dialog sets its controls from the
    /// model and then calls model.FinishFill(): what it does before is not the player's. Its
    /// controls pass every change on to the model; closing calls model.Close(). Without a
    /// dialog it closes at once, having changed nothing.
    virtual void RunSettings(SettingsDialogModel& /*model*/) {}
    /// The name entry TForm2 over `model`, modal; it closes once model.Accept() accepted the
    /// names (it has no close box). Without a dialog the names stay as they are.
    virtual void RunNameEntry(NameEntryModel& /*model*/) {}
    /// The record slot's name TForm6 over `model`, modal: OK calls model.Accept(), Cancel
    /// and closing model.Cancel(). Without a dialog it is cancelled.
    virtual void RunSlotName(SlotNameModel& /*model*/) {}

    /// State of a menu item, pop-up item or tool-bar button, by its component name (N20,
    /// SM02, SpeedButton3, ...).
    virtual void SetMenuItemEnabled(std::string_view component, bool enabled) = 0;
    virtual void SetMenuItemVisible(std::string_view component, bool visible) = 0;
    /// Opens a pop-up menu (PopupMenu3, PopupMenu1) at a screen position.
    virtual void ShowPopupMenu(std::string_view menu, int screenX, int screenY) = 0;
    /// Closes whichever pop-up menu is open, as the Escape key does; nothing when none is.
    virtual void ClosePopupMenu() = 0;

    /// Asks the main window to close as its close box does: the front end then calls
    /// Engine::FormCloseQuery and, when that allows it, Engine::FormDestroy.
    virtual void CloseMainWindow() = 0;
    virtual void SetWindowTitle(std::string_view title) = 0;
    /// Whether the main window (or one of the engine's own dialogs) is the active window.
    virtual bool IsActiveWindow() = 0;
    virtual Rect WindowBounds() = 0;
    virtual void SetWindowBounds(Rect bounds) = 0;
    /// Whether SetWindowBounds moves the window on the screen: not in full screen, and not
    /// where the desktop places windows itself (Wayland). Effects that move the window
    /// (the window shake) draw inside PB instead.
    virtual bool CanMoveWindow() { return true; }
    /// Size of the screen the window is on.
    virtual Rect ScreenBounds() = 0;
    /// Borderless full screen over the current screen; false when it could not be done.
    virtual bool SetFullScreen(bool on) = 0;
    virtual void ShowToolBar(bool shown) = 0;

    /// The pointer's shape over PB: 0 the default arrow; other numbers are the game's own
    /// cursors (click maps use 29 and up), shown as a pointing hand where the desktop has no
    /// such cursor.
    virtual void SetCursorShape(int32_t cursor) = 0;
    virtual Point GetCursorPos() = 0;
    virtual void SetCursorPos(Point screen) = 0;
    /// Screen position of the paint box's top-left pixel.
    virtual Point PaintBoxOrigin() = 0;

    /// Movie hand-off: open a file into the 800 by 600 movie panel.
    virtual bool OpenMovie(const std::string& path) = 0;
    virtual void PlayMovie() = 0;
    virtual bool IsMoviePlaying() = 0;
    virtual void StopMovie() = 0;
    virtual void CloseMovie() = 0;
    /// Shows the movie panel Panel2 instead of PB, or PB again.
    virtual void ShowMoviePanel(bool shown) = 0;

    /// Opens a file or address with the desktop's default handler, passed as one argument
    /// (never through a shell).
    virtual bool OpenWithDesktop(const std::string& target) = 0;

    /// Starts pulling the mix from `mixer` on the audio device (its own thread calls
    /// Mixer::Mix), or on the front end's clock. False when there is no device: the engine
    /// then runs silently. The mixer outlives the output; StopAudio ends it.
    virtual bool StartAudio(Mixer& /*mixer*/) { return false; }
    virtual void StopAudio() {}
};

} // namespace orv
