#include "base/decimal.h"
#include "headless/play_file.h"

#include "base/files.h"
#include "dialogs/settings_dialog.h"
#include "engine/engine.h"
#include "headless/state_fields.h"

#include <charconv>
#include <limits>

namespace orv {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The fields of one line, read left to right.
class LineFields {
public:
    explicit LineFields(std::string_view line) : m_line(line) {}

    // The next blank-separated field, or empty at the end of the line.
    std::string_view Next() {
        while (m_pos < m_line.size() && IsBlank(m_line[m_pos])) {
            ++m_pos;
        }
        size_t start = m_pos;
        while (m_pos < m_line.size() && !IsBlank(m_line[m_pos])) {
            ++m_pos;
        }
        return m_line.substr(start, m_pos - start);
    }

    // The rest of the line after the one blank that ends the last field, kept as written.
    std::string_view Rest() {
        size_t start = m_pos < m_line.size() ? m_pos + 1 : m_pos;
        m_pos = m_line.size();
        return m_line.substr(start);
    }

    bool AtEnd() const {
        for (size_t i = m_pos; i < m_line.size(); ++i) {
            if (!IsBlank(m_line[i])) {
                return false;
            }
        }
        return true;
    }

private:
    std::string_view m_line;
    size_t m_pos = 0;
};

struct CommandName {
    std::string_view Word;
    PlayCommandKind Kind;
    std::string_view Usage;
};

constexpr CommandName kCommands[] = {
    {"pass", PlayCommandKind::Pass, "pass N"},
    {"ms", PlayCommandKind::Ms, "ms N"},
    {"wait", PlayCommandKind::Wait, "wait [N]"},
    {"click", PlayCommandKind::Click, "click X Y"},
    {"rclick", PlayCommandKind::RightClick, "rclick X Y"},
    {"move", PlayCommandKind::Move, "move X Y"},
    {"leave", PlayCommandKind::Leave, "leave"},
    {"press", PlayCommandKind::Press, "press X Y"},
    {"release", PlayCommandKind::Release, "release X Y"},
    {"wheel", PlayCommandKind::Wheel, "wheel D"},
    {"key", PlayCommandKind::Key, "key NAME"},
    {"keydown", PlayCommandKind::KeyDown, "keydown NAME"},
    {"keyup", PlayCommandKind::KeyUp, "keyup NAME"},
    {"pad", PlayCommandKind::Pad, "pad BUTTON"},
    {"paddown", PlayCommandKind::PadDown, "paddown BUTTON"},
    {"padup", PlayCommandKind::PadUp, "padup BUTTON"},
    {"menu", PlayCommandKind::Menu, "menu NAME"},
    {"answer", PlayCommandKind::Answer, "answer ok|cancel"},
    {"dialog", PlayCommandKind::DialogSave,
     "dialog save N [COMMENT] | dialog load N | dialog close | "
     "dialog settings NAME VALUE ... | dialog names A [B [C]] | dialog slotname TEXT|cancel"},
    {"shot", PlayCommandKind::Shot, "shot FILE"},
    {"dump", PlayCommandKind::Dump, "dump FILE"},
    {"expect", PlayCommandKind::Expect, "expect NAME VALUE"},
    {"expect-pixel", PlayCommandKind::ExpectPixel, "expect-pixel X Y RRGGBB"},
    {"expect-audio", PlayCommandKind::ExpectAudio, "expect-audio MS silent|sound"},
    {"quit", PlayCommandKind::Quit, "quit"},
    {"echo", PlayCommandKind::Echo, "echo TEXT"},
};

const CommandName* FindCommand(std::string_view word) {
    for (const CommandName& command : kCommands) {
        if (command.Word == word) {
            return &command;
        }
    }
    return nullptr;
}

std::optional<uint32_t> ParseColour(std::string_view text) {
    if (text.size() != 6) {
        return std::nullopt;
    }
    uint32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

constexpr int64_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int64_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int64_t kCountMax = std::numeric_limits<int64_t>::max() / 2;

// Parses the arguments of one command; `error` names what is wrong.
class CommandParser {
public:
    CommandParser(LineFields& fields, const CommandName& name, PlayCommand& out, std::string& error)
        : m_fields(fields), m_name(name), m_out(out), m_error(error) {}

    bool Parse() {
        m_out.Kind = m_name.Kind;
        switch (m_name.Kind) {
        case PlayCommandKind::Pass:
        case PlayCommandKind::Ms:
            return Integer(m_out.Count, 0, kCountMax, "a count") && End();
        case PlayCommandKind::Wait:
            m_out.Count = kDefaultWaitPasses;
            if (m_fields.AtEnd()) {
                return true;
            }
            return Integer(m_out.Count, 0, kCountMax, "a count of passes") && End();
        case PlayCommandKind::Click:
        case PlayCommandKind::RightClick:
        case PlayCommandKind::Move:
        case PlayCommandKind::Press:
        case PlayCommandKind::Release:
            return Coordinates(kIntMin, kIntMax, kIntMin, kIntMax) && End();
        case PlayCommandKind::Leave:
            return End();
        case PlayCommandKind::Wheel:
            return Integer(m_out.Count, kIntMin, kIntMax, "a wheel turn") && End();
        case PlayCommandKind::Key:
        case PlayCommandKind::KeyDown:
        case PlayCommandKind::KeyUp:
            return Key() && End();
        case PlayCommandKind::Pad:
        case PlayCommandKind::PadDown:
        case PlayCommandKind::PadUp:
            return Pad() && End();
        case PlayCommandKind::Menu:
            return Menu() && End();
        case PlayCommandKind::Answer:
            return Answer() && End();
        case PlayCommandKind::DialogSave:
        case PlayCommandKind::DialogLoad:
        case PlayCommandKind::DialogClose:
        case PlayCommandKind::DialogSettings:
        case PlayCommandKind::DialogNames:
        case PlayCommandKind::DialogSlotName:
            return Dialog();
        case PlayCommandKind::Shot:
        case PlayCommandKind::Dump:
            return Word(m_out.Name) && End();
        case PlayCommandKind::Expect:
            return Expect();
        case PlayCommandKind::ExpectPixel:
            return Coordinates(0, kScreenWidth - 1, 0, kScreenHeight - 1) && Colour() && End();
        case PlayCommandKind::ExpectAudio:
            return Integer(m_out.Count, 1, kLongestAudioCheckMs, "a count of ms") && AudioState() &&
                   End();
        case PlayCommandKind::Quit:
            return End();
        case PlayCommandKind::Echo:
            m_out.Name = std::string(m_fields.Rest());
            return true;
        }
        return Fail("unhandled command");
    }

private:
    bool Fail(std::string message) {
        m_error = std::string(m_name.Word) + ": " + message;
        return false;
    }

    bool Usage() { return Fail("usage: " + std::string(m_name.Usage)); }

    bool End() { return m_fields.AtEnd() || Usage(); }

    bool Word(std::string& out) {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        out = std::string(word);
        return true;
    }

    bool Integer(int64_t& out, int64_t low, int64_t high, std::string_view what) {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        auto value = ParseIntegerInRange(word, low, high);
        if (!value) {
            return Fail("\"" + std::string(word) + "\" is not " + std::string(what) + " (from " +
                        std::to_string(low) + " to " + std::to_string(high) + ")");
        }
        out = *value;
        return true;
    }

    bool Coordinates(int64_t lowX, int64_t highX, int64_t lowY, int64_t highY) {
        int64_t x = 0, y = 0;
        if (!Integer(x, lowX, highX, "an x coordinate") ||
            !Integer(y, lowY, highY, "a y coordinate")) {
            return false;
        }
        m_out.X = static_cast<int>(x);
        m_out.Y = static_cast<int>(y);
        return true;
    }

    bool Key() {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        auto key = LookupKey(word);
        if (!key) {
            return Fail("unknown key name \"" + std::string(word) + "\"");
        }
        m_out.Key = *key;
        m_out.Name = std::string(word);
        return true;
    }

    bool Pad() {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        auto button = PadButtonNamed(word);
        if (!button) {
            return Fail("unknown pad button \"" + std::string(word) +
                        "\" (a, b, x, y, back, start, leftshoulder, rightshoulder, up, down, "
                        "left, right)");
        }
        m_out.Pad = *button;
        m_out.Name = std::string(word);
        return true;
    }

    bool Menu() {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        if (!IsMenuComponent(word)) {
            return Fail("no menu item, pop-up item or tool-bar button is called \"" +
                        std::string(word) + "\"");
        }
        m_out.Name = std::string(word);
        return true;
    }

    bool Answer() {
        std::string_view word = m_fields.Next();
        if (word == "ok" || word == "cancel") {
            m_out.AnswerOk = word == "ok";
            return true;
        }
        return Usage();
    }

    bool Dialog() {
        std::string_view action = m_fields.Next();
        if (action == "close") {
            m_out.Kind = PlayCommandKind::DialogClose;
            return End();
        }
        if (action == "settings") {
            m_out.Kind = PlayCommandKind::DialogSettings;
            return SettingsChanges();
        }
        if (action == "names") {
            m_out.Kind = PlayCommandKind::DialogNames;
            return Names();
        }
        if (action == "slotname") {
            m_out.Kind = PlayCommandKind::DialogSlotName;
            std::string_view rest = m_fields.Rest();
            if (rest.empty()) {
                return Usage();
            }
            if (rest != "cancel") {
                m_out.SlotName = std::string(rest);
            }
            return true;
        }
        if (action != "save" && action != "load") {
            return Usage();
        }
        m_out.Kind = action == "save" ? PlayCommandKind::DialogSave : PlayCommandKind::DialogLoad;
        if (!Integer(m_out.Count, 0, 999, "a save slot")) {
            return false;
        }
        if (m_out.Kind == PlayCommandKind::DialogLoad) {
            return End();
        }
        m_out.Name = std::string(m_fields.Rest());
        return true;
    }

    // The settings dialog's changes: a setting or component name and its value, the buttons
    // Default and Voice alone, and FontName taking the rest of the line.
    bool SettingsChanges() {
        while (!m_fields.AtEnd()) {
            std::string_view name = m_fields.Next();
            if (name == "Default" || name == "Voice") {
                m_out.Settings.emplace_back(std::string(name), std::string());
                continue;
            }
            if (name == "FontName") {
                std::string_view font = m_fields.Rest();
                if (font.empty()) {
                    return Fail("FontName needs a font name");
                }
                m_out.Settings.emplace_back(std::string(name), std::string(font));
                return true;
            }
            if (SettingsDialogModel::Find(name) < 0) {
                return Fail("the settings dialog has no control for \"" + std::string(name) + "\"");
            }
            int64_t value = 0;
            if (!Integer(value, kIntMin, kIntMax, "a value")) {
                return false;
            }
            m_out.Settings.emplace_back(std::string(name), std::to_string(value));
        }
        return !m_out.Settings.empty() || Usage();
    }

    bool Names() {
        while (!m_fields.AtEnd()) {
            std::string_view name = m_fields.Next();
            if (m_out.Names.size() == 3) {
                return Usage();
            }
            m_out.Names.emplace_back(name == "\"\"" ? std::string_view() : name);
        }
        return !m_out.Names.empty() || Usage();
    }

    bool Expect() {
        if (!Word(m_out.Name)) {
            return false;
        }
        auto field = FindStateField(m_out.Name);
        if (!field) {
            return Fail("unknown name \"" + m_out.Name + "\"");
        }
        if (field->Kind == FieldKind::Text) {
            m_out.Value = std::string(m_fields.Rest());
            return true;
        }
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        bool flag = field->Kind == FieldKind::Flag;
        if (!ParseIntegerInRange(word, flag ? 0 : std::numeric_limits<int64_t>::min(),
                          flag ? 1 : std::numeric_limits<int64_t>::max())) {
            return Fail(m_out.Name + " takes " + (flag ? "0 or 1" : "a decimal integer") +
                        ", not \"" + std::string(word) + "\"");
        }
        m_out.Value = std::string(word);
        return End();
    }

    bool AudioState() {
        std::string_view word = m_fields.Next();
        if (word != "silent" && word != "sound") {
            return Usage();
        }
        m_out.Value = std::string(word);
        return true;
    }

    bool Colour() {
        std::string_view word = m_fields.Next();
        if (word.empty()) {
            return Usage();
        }
        auto colour = ParseColour(word);
        if (!colour) {
            return Fail("\"" + std::string(word) + "\" is not a colour RRGGBB");
        }
        m_out.Colour = *colour;
        return true;
    }

    LineFields& m_fields;
    const CommandName& m_name;
    PlayCommand& m_out;
    std::string& m_error;
};

// Parses one line that holds a command; false with `error` set when it is wrong.
bool ParseCommandLine(std::string_view line, PlayCommand& out, std::string& error) {
    LineFields fields(line);
    std::string_view word = fields.Next();
    if (word == "in") {
        std::string_view delay = fields.Next();
        auto ms = ParseIntegerInRange(delay, 0, kCountMax);
        if (!ms) {
            error = delay.empty() ? "in: usage: in MS COMMAND"
                                  : "in: \"" + std::string(delay) + "\" is not a count of ms";
            return false;
        }
        out.DelayMs = *ms;
        word = fields.Next();
        if (word.empty()) {
            error = "in: usage: in MS COMMAND";
            return false;
        }
    }
    const CommandName* name = FindCommand(word);
    if (!name && !(out.DelayMs && word == "in")) {
        error = "unknown command \"" + std::string(word) + "\"";
        return false;
    }
    if (out.DelayMs && (!name || !CanRunLater(name->Kind))) {
        error = "in: " + std::string(word) +
                " cannot be delivered later (only click, rclick, "
                "move, press, release, wheel, key, keydown, keyup, pad, paddown, padup, menu, "
                "shot, expect-pixel, expect and quit can)";
        return false;
    }
    return CommandParser(fields, *name, out, error).Parse();
}

} // namespace

bool IsInputCommand(PlayCommandKind kind) {
    switch (kind) {
    case PlayCommandKind::Click:
    case PlayCommandKind::RightClick:
    case PlayCommandKind::Move:
    case PlayCommandKind::Leave:
    case PlayCommandKind::Press:
    case PlayCommandKind::Release:
    case PlayCommandKind::Wheel:
    case PlayCommandKind::Key:
    case PlayCommandKind::KeyDown:
    case PlayCommandKind::KeyUp:
    case PlayCommandKind::Pad:
    case PlayCommandKind::PadDown:
    case PlayCommandKind::PadUp:
    case PlayCommandKind::Menu:
        return true;
    default:
        return false;
    }
}

bool CanRunLater(PlayCommandKind kind) {
    return IsInputCommand(kind) || kind == PlayCommandKind::Shot ||
           kind == PlayCommandKind::ExpectPixel || kind == PlayCommandKind::Expect ||
           kind == PlayCommandKind::Quit;
}

bool ParsePlayFile(std::string_view text, std::string_view fileName,
                   std::vector<PlayCommand>& commands, std::string& error) {
    commands.clear();
    int lineNumber = 0;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        while (!line.empty() && IsBlank(line.front())) {
            line.remove_prefix(1);
        }
        if (line.empty() || line.front() == '#') {
            continue;
        }
        PlayCommand command;
        command.Line = lineNumber;
        std::string problem;
        if (!ParseCommandLine(line, command, problem)) {
            error = "play file " + std::string(fileName) + ":" + std::to_string(lineNumber) + ": " +
                    problem;
            commands.clear();
            return false;
        }
        commands.push_back(std::move(command));
    }
    return true;
}

bool LoadPlayFile(const std::filesystem::path& path, std::vector<PlayCommand>& commands,
                  std::string& error) {
    auto bytes = ReadWholeFile(path);
    if (!bytes) {
        error = "play file " + path.string() + ": cannot be read";
        return false;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    return ParsePlayFile(text, path.string(), commands, error);
}

} // namespace orv
