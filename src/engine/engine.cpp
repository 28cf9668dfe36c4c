#include "engine/engine.h"

#include <cstdlib>
#include <ctime>

#include "base/cp932.h"
#include "base/files.h"
#include "save/save_io.h"

namespace orv {

Engine::Engine(Platform& platform, EngineOptions options)
    : archives(options.GameDirectory), script(archives, m_scriptHooks), dispatcher(*this),
      choices(*this), text(*this), backlog(*this), gfx(*this), sound(*this), globals(*this),
      screens(*this), dialogs(*this), prompts(*this), saves(*this), m_platform(platform),
      m_options(std::move(options)) {}

bool Engine::SetupProgramPresent() {
    auto setup = FindFileNoCase(m_options.GameDirectory, "setup.exe");
    if (!setup || !IsRegularFile(*setup)) {
        return false;
    }
    m_platform.OpenWithDesktop(setup->string());
    return true;
}

void Engine::FormCreate() {
    QuitRequested = 0;
    // An installer beside the game runs instead of it; nothing else is set up, so that no
    // missing-data message gets in its way. The program ends at its first idle pass.
    if (SetupProgramPresent()) {
        QuitRequested = 1;
        return;
    }
    InitialiseEngine();
    m_platform.SetWindowTitle(cp932::ToUtf8(config.TITLE));
}

void Engine::ReportMissingData() {
    m_platform.MessageBox(kMissingDataText, kMissingDataCaption, MessageBoxButtons::Ok,
                          MessageBoxIcon::Stop);
    QuitRequested = 1;
    DataMissing = true;
}

void Engine::InitialiseEngine() {
    random.Seed(m_options.Seed ? *m_options.Seed : static_cast<uint32_t>(std::time(nullptr)));
    vars.ClearSavedSystemCells();
    const char* temp = std::getenv("TMPDIR");
    TempDirectory = temp && *temp ? temp : "/tmp";
    // The working directory is never changed; every path is built from the game
    // directory, so that several engines can share one process in tests.
    sound.OutputDeviceExists = sound.DetectOutputDevice();

    if (!archives.DataArchiveExists()) {
        ReportMissingData();
    }
    archives.ReadTextIndexes();
    if (auto problem = ReadGameConfig(script, config)) {
        m_platform.MessageBox(GameConfigErrorText(*problem), kMissingDataCaption,
                              MessageBoxButtons::Ok, MessageBoxIcon::Stop);
    }

    Rect screen = m_platform.ScreenBounds();
    Rect window = m_platform.WindowBounds();
    ReadUserSettings(SettingsStore(SettingsRoot(m_options.DataDirectory)), config,
                     DesktopGeometry{screen.X, screen.Y, screen.Width, screen.Height, window.Width,
                                     window.Height},
                     settings);
    window.X = settings.Left;
    window.Y = settings.Top;
    m_platform.SetWindowBounds(window);
    FullScreenMode = settings.SMode;
    text.Delay = settings.Typewriter ? 0 : 1;
    for (int i = 0; i < 10; ++i) {
        vars.G(i) = settings.GV[static_cast<size_t>(i)];
    }
    vars.S(cell::NamesChanged) = settings.PlayerNamesChanged ? 1 : 0;
    vars.S(cell::DatePanel) = settings.DatePanel;
    vars.S(cell::WindowStyle) = settings.TXWStyle;

    text.CreateFont();
    gfx.CreateSurfaces();
    backlog.CreateSurfaces();
    gfx.FillPaintBox(0x000000);

    saves.Locate();
    archives.SetCdDirectory(settings.CDDir);
    archives.OpenDataArchives(config.Ovd);
    // One message is enough when the text archive was already missing.
    if (!DataMissing && !archives.FirstImageArchiveExists()) {
        ReportMissingData();
    }

    text.LoadSystemPictures();
    gfx.LoadSystemPictures();
    choices.LoadPlates();
    gfx.LoadPictureSets();
    if (!QuitRequested) {
        globals.CreateRecollectionFileIfMissing();
        globals.ReadRecollection();
        globals.Read();
    }
    prompts.LoadSystemPictures();
    screens.quickButtons.Load();
    screens.selectionTree.Load();
    InitialSystemCells();
    UpdateMenus();
    StartRequested = 1;
    screens.gallery.CreateViews();
    screens.recollection.LoadSceneList();
}

void Engine::InitialSystemCells() {
    backlog.ClearBacklog();
    for (const cell::StartValue& start : cell::kStartValues) {
        vars.S(start.Cell) = start.Value;
    }
    vars.S(cell::ClearCount) = settings.Clear;
    vars.ClearGameVariables();
    text.Reset();
    gfx.ResetCharacterPositions();
    prompts.SystemMenuState = 0;
    screens.Close(screens.backlog);
    blocking.InterruptRequest = 0;
    vars.SetString(0, settings.PlayerName);
    vars.SetString(1, settings.PlayerName2);
    vars.SetString(2, settings.PlayerName3);
}

void Engine::StartGame() {
    if (QuitRequested) {
        m_platform.CloseMainWindow();
        return;
    }
    gfx.FillPaintBox(0x000000);
    gfx.BackBuffer.Fill(0x000000);
    if (FullScreenMode != 0) {
        EnterFullScreen();
    }
    dispatcher.CallDepth = 0;
    std::snprintf(dispatcher.ReturnScriptName, sizeof dispatcher.ReturnScriptName, "main");
    script.LoadScript("main", ScriptTarget::Main);
    if (!sound.InitSound()) {
        sound.OutputDeviceExists = false;
    }
}

void Engine::ExchangeLoopState(SaveIo& io) {
    io.Int(save_layout::RecordOffset(save_layout::record::ScriptRunning), ScriptRunning);
}

void Engine::ShowBackBuffer() {
    gfx.PresentWhole(gfx.BackBuffer);
}

void Engine::PBPaint() {
    if (!screens.InputOwner().Paint()) {
        ShowBackBuffer();
    }
    sound.ApplyVolumes();
}

void Engine::FormResize() {
    if (FullScreenActive) {
        DropFullScreen();
    }
}

void EngineScriptHooks::ReplayScriptRequested(std::string_view name) {
    m_engine.screens.gallery.ReplayScriptRequested(name);
}

void EngineScriptHooks::SceneEntered(std::string_view upperName) {
    m_engine.screens.recollection.MarkSceneSeen(upperName);
}

void EngineScriptHooks::MainScriptLoaded() {
    m_engine.ScriptRunning = 1;
    m_engine.vars.S(cell::ResumePoint) = 0;
}

} // namespace orv
