#pragma once
// The Platform on Qt: a monotonic clock, the message pump, message boxes, the audio device,
// and the engine's requests of the main window TForm1, which this forwards.

#include "platform/platform.h"
#include "qt/sdl_audio.h"

#include <QElapsedTimer>

namespace orv {

class TForm1;

class QtPlatform : public Platform {
public:
    QtPlatform();

    // The window the requests go to; nullptr once it is gone.
    void AttachWindow(TForm1* form) { m_form = form; }
    TForm1* Window() const { return m_form; }

    uint32_t GetTickCount() override;
    void Sleep(uint32_t ms) override;
    std::tm LocalTime() override;
    void PumpMessages() override;

    void Present(const Surface& source, Rect from, int x, int y) override;
    void FillPaintBox(uint32_t bgr) override;

    MessageBoxResult MessageBox(std::string_view text, std::string_view caption,
                                MessageBoxButtons buttons, MessageBoxIcon icon) override;
    void RunSaveList(SaveListModel& model) override;
    void RunSettings(SettingsDialogModel& model) override;
    void RunNameEntry(NameEntryModel& model) override;
    void RunSlotName(SlotNameModel& model) override;

    void SetMenuItemEnabled(std::string_view component, bool enabled) override;
    void SetMenuItemVisible(std::string_view component, bool visible) override;
    void ShowPopupMenu(std::string_view menu, int screenX, int screenY) override;
    void ClosePopupMenu() override;

    void CloseMainWindow() override;
    void SetWindowTitle(std::string_view title) override;
    bool IsActiveWindow() override;
    Rect WindowBounds() override;
    void SetWindowBounds(Rect bounds) override;
    bool CanMoveWindow() override;
    Rect ScreenBounds() override;
    bool SetFullScreen(bool on) override;
    void ShowToolBar(bool shown) override;

    void SetCursorShape(int32_t cursor) override;
    Point GetCursorPos() override;
    void SetCursorPos(Point screen) override;
    Point PaintBoxOrigin() override;

    bool OpenMovie(const std::string& path) override;
    void PlayMovie() override;
    bool IsMoviePlaying() override;
    void StopMovie() override;
    void CloseMovie() override;
    void ShowMoviePanel(bool shown) override;

    bool OpenWithDesktop(const std::string& target) override;

    // The SDL device; without one the game runs silently.
    bool StartAudio(Mixer& mixer) override { return m_audio.Open(mixer); }
    void StopAudio() override { m_audio.Close(); }

private:
    TForm1* m_form = nullptr;
    QElapsedTimer m_clock;
    SdlAudio m_audio;
};

} // namespace orv
