#pragma once
// A platform for engine tests: a virtual clock, queued message-box answers, and a record
// of what the engine asked for.

#include <deque>
#include <filesystem>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "sound/mixer.h"
#include "platform/platform.h"

namespace orv::test {

class FakePlatform : public Platform {
public:
    uint32_t GetTickCount() override { return static_cast<uint32_t>(Now); }
    void Sleep(uint32_t ms) override { Now += ms; }
    std::tm LocalTime() override { return Time; }
    void PumpMessages() override { ++Pumps; }

    void Present(const Surface& source, Rect from, int x, int y) override {
        if (PB.Empty()) {
            PB.Allocate(kScreenWidth, kScreenHeight);
        }
        PB.CopyFrom(source, from, x, y);
        ++Presents;
    }
    void FillPaintBox(uint32_t bgr) override {
        if (PB.Empty()) {
            PB.Allocate(kScreenWidth, kScreenHeight);
        }
        PB.Fill(bgr);
    }

    MessageBoxResult MessageBox(std::string_view text, std::string_view caption,
                                MessageBoxButtons, MessageBoxIcon) override {
        Boxes.push_back(std::string(caption) + ": " + std::string(text));
        if (Answers.empty()) {
            return MessageBoxResult::Ok;
        }
        auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    void SetMenuItemEnabled(std::string_view component, bool enabled) override {
        Enabled[std::string(component)] = enabled;
    }
    void SetMenuItemVisible(std::string_view component, bool visible) override {
        Visible[std::string(component)] = visible;
    }
    void ShowPopupMenu(std::string_view menu, int screenX, int screenY) override {
        Popups.push_back(std::string(menu));
        PopupAt = Point{screenX, screenY};
        PopupOpen = true;
    }
    void ClosePopupMenu() override {
        PopupOpen = false;
        ++PopupCloses;
    }

    void CloseMainWindow() override {
        ++CloseRequests;
        if (Engine && Engine->FormCloseQuery()) {
            Engine->FormDestroy();
            Closed = true;
        }
    }
    void SetWindowTitle(std::string_view title) override { Title = title; }
    bool IsActiveWindow() override { return Active; }
    Rect WindowBounds() override { return Window; }
    void SetWindowBounds(Rect bounds) override {
        Window = bounds;
        ++WindowMoves;
    }
    bool CanMoveWindow() override { return WindowMovable && !FullScreen; }
    Rect ScreenBounds() override { return Screen; }
    bool SetFullScreen(bool on) override {
        if (on && !FullScreenWorks) {
            return false;
        }
        FullScreen = on;
        return true;
    }
    void ShowToolBar(bool) override {}
    void SetCursorShape(int32_t cursor) override { CursorShape = cursor; }
    Point GetCursorPos() override { return Cursor; }
    void SetCursorPos(Point screen) override { Cursor = screen; }
    Point PaintBoxOrigin() override { return {}; }

    bool OpenMovie(const std::string& path) override {
        Movie = path;
        return MovieOpens;
    }
    void PlayMovie() override { MoviePlaying = MovieOpens; }
    bool IsMoviePlaying() override { return MoviePlaying; }
    void StopMovie() override { MoviePlaying = false; }
    void CloseMovie() override {}
    void ShowMoviePanel(bool shown) override { MoviePanelShown = shown; }

    bool OpenWithDesktop(const std::string& target) override {
        Opened.push_back(target);
        return true;
    }

    // Runs one idle pass and delivers the timer ticks whose 55 ms marks it crossed.
    void Pass() {
        Engine->AppIdle();
        DeliverTicks();
    }
    void DeliverTicks() {
        while (m_tickedUpTo + 55 <= Now) {
            m_tickedUpTo += 55;
            Engine->Timer1Timer();
        }
    }

    bool StartAudio(Mixer& mixer) override {
        AudioMixer = AudioAvailable ? &mixer : nullptr;
        return AudioAvailable;
    }
    void StopAudio() override { AudioMixer = nullptr; }
    // Mixes `ms` milliseconds of the started output at its rate, as a device would.
    std::vector<int16_t> MixFor(uint32_t ms) {
        std::vector<int16_t> out(2 * (size_t{ms} * 44100 / 1000));
        if (AudioMixer) {
            AudioMixer->Mix(out);
        }
        return out;
    }

    orv::Engine* Engine = nullptr;
    std::tm Time{};
    bool Active = true;
    bool AudioAvailable = true;
    Mixer* AudioMixer = nullptr;
    uint64_t Now = 0;
    int Pumps = 0;
    int Presents = 0;
    int32_t CursorShape = 0;
    Point Cursor;
    int CloseRequests = 0;
    bool Closed = false;
    Surface PB;
    std::deque<MessageBoxResult> Answers;
    std::vector<std::string> Boxes;
    std::map<std::string, bool> Enabled;
    std::map<std::string, bool> Visible;
    std::string Title;
    Rect Window{0, 0, 808, 650};
    int WindowMoves = 0;
    bool WindowMovable = true;
    Rect Screen{0, 0, 1920, 1080};
    bool FullScreenWorks = true;
    bool FullScreen = false;
    std::string Movie;
    bool MovieOpens = true;
    bool MoviePlaying = false;
    bool MoviePanelShown = false;
    std::vector<std::string> Opened;
    std::vector<std::string> Popups;
    Point PopupAt;
    bool PopupOpen = false;
    int PopupCloses = 0;

private:
    uint64_t m_tickedUpTo = 0;
};

// An engine on the game in `game`, keeping its data in `data`, with a fixed seed, created on
// `platform` as the front ends create it (FormCreate included).
inline std::unique_ptr<orv::Engine> StartEngine(FakePlatform& platform,
                                                const std::filesystem::path& game,
                                                const std::filesystem::path& data) {
    EngineOptions options;
    options.GameDirectory = game;
    options.DataDirectory = data;
    options.Seed = 1;
    auto engine = std::make_unique<orv::Engine>(platform, options);
    platform.Engine = engine.get();
    engine->FormCreate();
    return engine;
}

} // namespace orv::test
