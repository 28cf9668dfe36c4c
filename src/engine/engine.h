#pragma once
// The engine object: owns every piece of game state for the whole run, composed of one
// object per subsystem. Front ends call its handlers with plain values and draw what it
// presents through the Platform.

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "data/archives.h"
#include "data/game_config.h"
#include "data/user_settings.h"
#include "gfx/graphics.h"
#include "platform/platform.h"
#include "prompts/prompts.h"
#include "choices/choices.h"
#include "dialogs/dialogs.h"
#include "engine/blocking.h"
#include "engine/wait_state.h"
#include "save/global_data.h"
#include "save/save_slots.h"
#include "screens/screens.h"
#include "script/dispatcher.h"
#include "script/random.h"
#include "script/script_state.h"
#include "script/variables.h"
#include "sound/sound.h"
#include "text/backlog.h"
#include "text/text_flow.h"

namespace orv {

struct EngineOptions {
    std::filesystem::path GameDirectory = ".";
    // Settings store, saves and global data; empty: beside the game as the player has them.
    std::filesystem::path DataDirectory;
    std::optional<uint32_t> Seed; // fixed random seed; otherwise the time in seconds
};

// Menu items, pop-up items and tool-bar buttons together.
inline constexpr int kMenuComponentCount = 33;

class Engine;

// Loading a script reaches the gallery, the recollection list and the loop fields.
class EngineScriptHooks : public ScriptLoadHooks {
public:
    explicit EngineScriptHooks(Engine& engine) : m_engine(engine) {}
    void MainScriptLoaded() override;
    void ReplayScriptRequested(std::string_view name) override;
    void SceneEntered(std::string_view upperName) override;

private:
    Engine& m_engine;
};

class Engine {
    // Declared first: the script subsystem is built with it.
    EngineScriptHooks m_scriptHooks{*this};

public:
    Engine(Platform& platform, EngineOptions options);
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Platform& Host() { return m_platform; }
    const EngineOptions& Options() const { return m_options; }

    // Window and loop handlers, called by the front end.
    void FormCreate();
    void AppIdle();
    void Timer1Timer();
    void PBPaint();
    bool FormCloseQuery();
    void FormDestroy();
    void FormResize();

    // Input handlers; coordinates are game pixels of PB. The wheel's delta is in the units
    // the desktop reports: 120 a notch, parts of a notch adding up.
    void PBMouseDown(MouseButton button, int x, int y);
    void PBMouseMove(int x, int y);
    void PBMouseUp(MouseButton button, int x, int y);
    // The pointer left PB (the next move brings it back).
    void PBMouseLeave();
    void FormKeyDown(int key);
    void FormKeyPress(char key);
    void FormKeyUp(int key);
    void FormMouseWheel(int delta);
    // A menu item, pop-up item or tool-bar button, by component name. False when no such
    // component exists.
    bool MenuItemClick(std::string_view component);

    void StartGame();
    void EnterFullScreen();
    void LeaveFullScreen();
    void DropFullScreen();
    void PlayMovie(const std::string& fileName);
    void EndMovie();

    // Recomputes the enabled state of the menus and tool-bar buttons.
    void UpdateMenus();
    // One component's enabled state, kept here and passed to the front end.
    void SetMenuItemEnabled(std::string_view component, bool enabled);
    // As last set; true for a name that is no component.
    bool MenuItemEnabled(std::string_view component) const;

    // Game-mode reactions shared by the mouse, the keys, the menus and the quick buttons.
    // A page or line wait continues as a click continues it.
    void ContinueWait();
    void StartSkip();
    // The space bar: auto mode on at S027, or off.
    void ToggleAuto();
    // The menu items and the right-click action only switch auto mode on; S027 = `level`
    // when it is 0.
    void SwitchAutoOn(int32_t level);
    // The action the right-click setting RC_MODE chooses.
    void RightClickAction();
    // The voice that played last, once more.
    void ReplayLastVoice();
    // The screen position of the pointer, taken at every press and key press.
    void RefreshScreenOffset();
    bool BackgroundLoopRuns() const { return gfx.Loop.Active; }
    // The modal save list (mode 1 saves, 0 loads) after its system sound.
    void OpenSaveList(int32_t mode, std::string_view systemSound);
    // Writes one user setting to the settings store.
    void WriteSetting(std::string_view name, std::string_view value);
    // Writes the setting stored as `name` from the engine's settings, in the store's form.
    void StoreSetting(std::string_view name);

    // A saved game keeps whether the script runs.
    void ExchangeLoopState(SaveIo& io);

    // Presents BackBuffer whole on PB.
    void ShowBackBuffer();
    // The missing-data message and the quit that follows it.
    void ReportMissingData();
    // A close request that cut a blocking effect short (the close box refused and left the
    // question to whatever ran the effect): the player is asked now whether to quit.
    void AnswerCloseRequest();

    // Subsystems.
    Archives archives;
    ScriptState script;
    VariableStore vars;
    RandomGenerator random;
    Dispatcher dispatcher;
    Choices choices;
    TextFlow text;
    Backlog backlog;
    Graphics gfx;
    Sound sound;
    GlobalData globals;
    Screens screens;
    Dialogs dialogs;
    GameConfig config;
    UserSettings settings;
    Prompts prompts;
    SaveSlots saves;

    // The loop: what the script waits for, and the blocking work that holds input back.
    WaitState wait;
    BlockingState blocking;

    // Loop fields.
    uint8_t ScriptRunning = 0;
    int32_t SkipActive = 0;
    uint8_t QuitRequested = 0;
    uint8_t StartRequested = 0;
    uint8_t MenusLocked = 0;
    int32_t FullScreenMode = 0;
    int32_t FullScreenActive = 0;
    int32_t PassCounter = 0;
    int32_t TickCounter = 0;
    Rect SavedBounds;
    std::array<uint8_t, kMenuComponentCount> MenuDisabledStates{}; // 0: enabled
    int32_t MovieCountdown = 0; // the movie player's tag: 20 at start, 1 when it may end

    // Input fields.
    int32_t PointerX = 0; // last pointer position over PB
    int32_t PointerY = 0;
    uint8_t PointerMoved = 0;
    uint8_t PointerOutside = 0; // the pointer left PB since its last move over it
    int32_t ScreenOffsetX = 0; // screen minus PB position of the pointer
    int32_t ScreenOffsetY = 0;
    uint8_t PopupShown = 0; // PopupMenu3 is open
    uint8_t WheelBusy = 0;
    int32_t WheelRemainder = 0; // the part of a wheel notch turned so far

    // Set when start-up could not read the game data (the message has been shown).
    bool DataMissing = false;
    std::filesystem::path TempDirectory;

private:
    void InitialiseEngine();
    void InitialSystemCells();
    void AdvanceFrameLoop();
    void PaceUntil(uint32_t passStart, uint32_t minimumMs);
    bool SetupProgramPresent();
    // A left press stops the voice unless the last click just started it.
    void StopVoiceOnPress(MouseButton button);
    // The S056 click override; true when it took the press.
    bool ClickOverride(MouseButton button);
    // One whole notch of the wheel, D > 0 upward.
    void WheelNotch(int delta);

    Platform& m_platform;
    EngineOptions m_options;
};

// True for the component name of a menu item, pop-up item or tool-bar button.
bool IsMenuComponent(std::string_view component);
// Its position in the component table, or -1.
int MenuComponentIndex(std::string_view component);

// Texts of the engine's own messages (UTF-8 here; the games' own data is code page 932).
constexpr const char* kMissingDataText = "ゲームデータを読み込めません。";
constexpr const char* kMissingDataCaption = "Error!";
constexpr const char* kQuitQuestion = "ゲームを終了しますか？";
constexpr const char* kConfirmCaption = "確認";

} // namespace orv
