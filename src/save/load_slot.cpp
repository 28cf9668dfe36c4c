// Loading a game: the slot file read and checked whole, the running game taken down, every
// subsystem's exchange from the image, and what cannot be stored rebuilt from the names (the
// script text, the pictures, the music, the looping sound).
#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"
#include "save/save_slots.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

// "ロードします"
constexpr std::string_view kLoadingBanner = "\x83\x8d\x81\x5b\x83\x68\x82\xb5\x82\xdc\x82\xb7";
constexpr int32_t kLoadingBannerMs = 300;
constexpr std::string_view kLoadFailed = "ロードできませんでした。";
constexpr int32_t kLoadTransition = 10;
// A file must reach past the name of its script to be loaded at all.
constexpr size_t kMinimumFileSize = save_layout::name::CurrentScriptName + save_layout::name::kSize;

std::string_view FieldAt(const SaveImage& image, size_t offset, size_t width) {
    const auto* at = reinterpret_cast<const char*>(image.Bytes().data() + offset);
    return {at, ::strnlen(at, width)};
}

// se and seloop take no sound of a switched-off scene category; nor does a load.
bool CategoryAllows(const UserSettings& settings, std::string_view name) {
    std::string upper = cp932::UpperCase(name);
    if (upper.size() > 3 && upper.starts_with("SEH") && upper[3] >= '0' && upper[3] <= '4') {
        return settings.SE[static_cast<size_t>(upper[3] - '0')];
    }
    return true;
}

} // namespace

std::string SaveSlots::CheckLoadable(size_t fileSize) const {
    if (fileSize < kMinimumFileSize) {
        return "the file is too short to be a saved game";
    }
    std::string_view script = FieldAt(Image, save_layout::name::CurrentScriptName,
                                      save_layout::name::kSize);
    if (script.empty() || !m_engine.archives.HasTextEntry(script)) {
        return "the game has no script named \"" + cp932::ToUtf8(script) + "\"";
    }
    return {};
}

bool SaveSlots::LoadSlot(int32_t slot, bool quiet) {
    Engine& e = m_engine;
    if (slot < 1 || slot > kLastSlot) {
        return false;
    }
    std::filesystem::path path = Location.SlotPath(slot);
    if (!IsRegularFile(path)) {
        return false;
    }
    std::optional<Bytes> file = ReadWholeFile(path);
    if (!file) {
        Failed(kLoadFailed, "cannot read " + path.string());
        return false;
    }
    // A short file reads as zeros where it ends; a longer one as far as the layout goes.
    Image.Clear();
    std::copy_n(file->begin(), std::min(file->size(), save_layout::kFileSize),
                Image.Bytes().begin());
    if (std::string problem = CheckLoadable(file->size()); !problem.empty()) {
        Failed(kLoadFailed, path.string() + ": " + problem);
        return false;
    }

    BusyScope busy(e.blocking);
    TearDownForLoad();
    e.sound.SetMusic(0);
    if (slot <= kLastSoundSlot) {
        e.sound.PlaySoundByName("SSE06");
    }
    if (!quiet) {
        e.prompts.ShowBanner(kLoadingBanner, kLoadingBannerMs);
    }
    int32_t trackBefore = e.vars.S(cell::MusicPlaying);

    SaveIo io(Image, SaveIo::Direction::Read);
    ExchangeGameState(io);
    int32_t resume = e.script.ReadPos;
    uint8_t running = e.ScriptRunning;
    uint8_t needLine = e.script.NeedLine;

    Bytes record(e.choices.Record.Choices.size(), 0);
    std::optional<Bytes> recordFile = ReadWholeFile(RecordPath(slot));
    if (recordFile && recordFile->size() == record.size()) {
        std::copy(recordFile->begin(), recordFile->end(), e.choices.Record.Choices.begin());
    } else if (e.vars.S(cell::ChoiceRecordMode) == ChoiceRecord::kReplaying) {
        // Without the choices that were recorded, a replay cannot go on: it records again.
        e.choices.Record.ResumeRecording();
    }
    RestoreAfterLoad(resume, running, needLine, trackBefore);
    return true;
}

void SaveSlots::TearDownForLoad() {
    Engine& e = m_engine;
    e.sound.StopAllChannels();
    e.text.ForgetWindow();
    e.dispatcher.StopSkipAndAuto(true);
    e.sound.StopLoop();
    // A saved game does not record a background loop: its frames belong to the game left.
    e.gfx.StopBackgroundLoop();
    e.choices.Reset();
    e.wait.Reset();
    e.ScriptRunning = 0;
    e.globals.Save();
}

void SaveSlots::RestoreAfterLoad(int32_t resume, uint8_t running, uint8_t needLine,
                                 int32_t trackBefore) {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    vars.S(cell::AutoLevel) = 0;
    vars.S(cell::SkipIndicator) = 0;
    e.SkipActive = 0;
    e.choices.SelectionKind = selection_kind::None;
    Dispatcher& d = e.dispatcher;
    d.CallDepth = std::clamp(d.CallDepth, 0, Dispatcher::kCallStackSize);
    TextFlow& text = e.text;
    text.TextColumn = std::clamp(text.TextColumn, 0, TextFlow::kPageColumns);
    text.TextRow = std::clamp(text.TextRow, 0, TextFlow::kPageRows);

    // The player's names are the player's now, not those of the day of the save.
    const UserSettings& settings = e.settings;
    vars.SetString(0, settings.PlayerName);
    vars.SetString(1, settings.PlayerName2);
    vars.SetString(2, settings.PlayerName3);
    const GameConfig& config = e.config;
    bool renamed = settings.PlayerName != config.DEFAULT_NAME ||
                   settings.PlayerName2 != config.DEFAULT_NAME2 ||
                   settings.PlayerName3 != config.DEFAULT_NAME3;
    vars.S(cell::NamesChanged) = renamed ? 1 : 0;

    text.SetWindowPosition(false);
    e.globals.Save();
    if (int32_t track = vars.S(cell::MusicPlaying); track != trackBefore) {
        vars.S(cell::MusicPlaying) = 0;
        e.sound.SetMusic(track);
    }
    if (e.screens.Mode() == screen_mode::Map) {
        text.ForgetWindow();
    } else {
        e.gfx.RestoreScene();
        e.gfx.ShowScene(kLoadTransition);
    }

    ScriptState& script = e.script;
    std::string name(script.CurrentScriptNameText());
    script.LoadScript(name, ScriptTarget::Main);
    script.NeedLine = needLine != 0 ? 1 : 0;
    e.ScriptRunning = running != 0 ? 1 : 0;
    script.ReadPos = std::clamp(resume, 0, script.ScriptSize);
    d.LineStart = std::clamp(d.LineStart, 0, script.ScriptSize);

    d.PassageRead = vars.ReadMark(vars.S(cell::PassageMark)) ? 1 : 0;
    if (!d.PassageRead) {
        e.SkipActive = 0;
    }
    std::string loop(FieldText(e.sound.LoopName));
    if (!loop.empty() && CategoryAllows(settings, loop)) {
        e.sound.PlayVoice(loop);
    }
    vars.G(6) = vars.V(200);
    vars.G(7) = vars.V(201);
    vars.G(8) = vars.V(202);
    e.UpdateMenus();
}

} // namespace orv
