#pragma once
// The engine's own in-game screens: the yes/no confirmation drawn over the game picture,
// the return to the title, the banner that confirms saving and loading, and the application
// of changed settings.

#include "gfx/surface.h"
#include "platform/mouse_button.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Engine;

// The script of the title screen, which the title return loads.
constexpr std::string_view kTitleScript = "STITLE";

// What an answer of yes runs; SystemMenuState holds it while the prompt is open.
namespace prompt_action {
constexpr int32_t QuickLoad = 1;
constexpr int32_t Title = 3;
} // namespace prompt_action

// The engine's questions in code page 932, as the prompt draws them.
// "クイックロードしますか？"
inline constexpr std::string_view kQuickLoadQuestion =
    "\x83\x4e\x83\x43\x83\x62\x83\x4e\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xdc\x82\xb7\x82\xa9"
    "\x81\x48";
// "タイトルへ戻りますか？"
inline constexpr std::string_view kTitleQuestion =
    "\x83\x5e\x83\x43\x83\x67\x83\x8b\x82\xd6\x96\xdf\x82\xe8\x82\xdc\x82\xb7\x82\xa9\x81\x48";

class Prompts {
public:
    // The band of the default prompt and of the banner.
    static constexpr Rect kPromptBand{0, 150, 800, 88};
    static constexpr Rect kBannerBand{0, 214, 800, 52};
    // Where the pointer means yes in the default prompt (exclusive bounds, screen pixels).
    static constexpr Rect kYesArea{300, 194, 70, 30};
    static constexpr uint32_t kHighlight = 0x00FFFF; // yellow, 0xBBGGRR
    static constexpr uint32_t kDimmed = 0x808080;

    explicit Prompts(Engine& engine) : m_engine(engine) {}
    Prompts(const Prompts&) = delete;
    Prompts& operator=(const Prompts&) = delete;

    // The panel style's pictures, once the picture archives are open.
    void LoadSystemPictures();

    // Shows the confirmation `message` (code page 932) and sets SystemMenuState = action.
    void AskYesNo(std::string_view message, int32_t action);
    // Pointer movement while the confirmation is open.
    void PromptHover(int x, int y);
    // A press while the confirmation is open: closes it and, for a left press on yes, runs
    // the action. `keepScreen` leaves the prompt's picture on the screen.
    void ClosePrompt(MouseButton button, bool keepScreen);

    // Leaves whatever runs for the title script STITLE.
    void GoToTitle();
    // The band confirming a save (hold 500 ms) or a load (300 ms), faded in and out.
    void ShowBanner(std::string_view message, int32_t holdMs);
    // After the config screen or the settings dialog changed the settings.
    void ApplySettings();
    // Stops the music and starts the same track again; S003 keeps its value.
    void RestartMusic();

    // Not 0 while the confirmation is open: the action an answer of yes runs.
    int32_t SystemMenuState = 0;
    bool IsOpen() const { return SystemMenuState != 0; }
    int32_t PromptAnswer = 0; // 0 none, 1 yes, 2 no (no only in the panel style)
    // Set by the settings dialog when the window's tint or the font changed.
    uint8_t FontChanged = 0;

    // The area of the open prompt on the screen.
    Rect PromptArea() const { return m_area; }

private:
    bool PanelStyle() const;
    void BuildDefaultPrompt(std::string_view message);
    void BuildPanelPrompt(std::string_view message);
    void ShowAnswer(int32_t answer);
    void ShowDefaultAnswer(int32_t answer);
    void ShowPanelAnswer(int32_t answer);
    int32_t DefaultAnswerAt(int x, int y) const;
    int32_t PanelAnswerAt(int x, int y) const;
    Rect ButtonArea(bool yes) const;
    void RunAction(int32_t action);
    // Fades `BannerSurface` over the saved band from `from` by `step` per 20 ms frame.
    void FadeBanner(int from, int step);

    Engine& m_engine;
    Rect m_area{};
    Surface m_promptBackground; // the screen under the prompt
    Surface m_promptSurface;    // the prompt as shown
    Surface m_promptBase;       // the prompt without its answers drawn
    Surface m_panel, m_panelYes, m_panelYesLit, m_panelNo, m_panelNoLit;
    Surface m_bannerBackground, m_bannerSurface, m_bannerFrame;
};

} // namespace orv
