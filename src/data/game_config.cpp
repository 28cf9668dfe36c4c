#include "data/game_config.h"

#include "base/cp932.h"
#include "data/decimal_text.h"
#include "data/game_config_keys.h"
#include "script/script_state.h"

#include <algorithm>
#include <charconv>

namespace orv {

namespace {

// The widest list of integers in the key table (CFG_RIGHT_CLICK, CFG_HSE).
constexpr size_t kMaxIntFields = 12;
constexpr int kQuickButtonColumns = 7;

class ConfigReader {
public:
    ConfigReader(GameConfig& config, std::vector<ConfigLineNote>* notes)
        : m_config(config), m_notes(notes) {}

    // Takes the next line of the entry; false when reading stops there.
    bool Line(std::string_view line);

    std::optional<GameConfigError> Error;

private:
    bool Apply(const ConfigKey& key, std::string_view value);
    bool ReadInt(std::string_view text, int32_t& out);
    bool ReadFields(std::string_view value, std::span<int32_t> out);
    bool ApplyQuickButton(int index, std::string_view value);
    bool ApplySpeakerName(std::string_view value);
    void Note(ConfigLineOutcome outcome, std::string key);

    GameConfig& m_config;
    std::vector<ConfigLineNote>* m_notes;
    int32_t m_line = 0;
    std::string m_key; // upper-cased key of the current line
};

bool ConfigReader::Line(std::string_view line) {
    ++m_line;
    if (line == "END") {
        return false;
    }
    if (line.empty() || line[0] == ';' || line[0] == '*') {
        return true;
    }
    // ':' and ',' are never the second byte of a double-byte character, so plain byte
    // searches split code page 932 text correctly.
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        Note(ConfigLineOutcome::NoColon, std::string(line));
        return true;
    }
    m_key = cp932::UpperCase(line.substr(0, colon));
    const ConfigKey* key = FindConfigKey(m_key);
    if (!key) {
        Note(ConfigLineOutcome::UnknownKey, m_key);
        return true;
    }
    return Apply(*key, line.substr(colon + 1));
}

bool ConfigReader::Apply(const ConfigKey& key, std::string_view value) {
    switch (key.Kind) {
    case ConfigKind::Text:
        key.Texts(m_config)[0] = std::string(value);
        break;
    case ConfigKind::Int:
        if (!ReadInt(value, key.Ints(m_config)[0])) {
            return false;
        }
        break;
    case ConfigKind::IntFields:
        if (!ReadFields(value, key.Ints(m_config))) {
            return false;
        }
        break;
    case ConfigKind::TextFields: {
        std::span<std::string> texts = key.Texts(m_config);
        for (size_t k = 0; k < texts.size(); ++k) {
            texts[k] = std::string(ConfigField(value, static_cast<int>(k)));
        }
        break;
    }
    case ConfigKind::QuickButton:
        return ApplyQuickButton(key.Button, value);
    case ConfigKind::SpeakerName:
        return ApplySpeakerName(value);
    }
    Note(ConfigLineOutcome::Set, m_key);
    return true;
}

bool ConfigReader::ReadInt(std::string_view text, int32_t& out) {
    if (ParseDecimal(text, out)) {
        return true;
    }
    Error = GameConfigError{m_line, m_key, std::string(text)};
    return false;
}

// All fields are read before any is stored, so that a line with a bad field changes nothing.
bool ConfigReader::ReadFields(std::string_view value, std::span<int32_t> out) {
    std::array<int32_t, kMaxIntFields> fields{};
    for (size_t k = 0; k < out.size() && k < fields.size(); ++k) {
        if (!ReadInt(ConfigField(value, static_cast<int>(k)), fields[k])) {
            return false;
        }
    }
    std::copy_n(fields.begin(), std::min(out.size(), fields.size()), out.begin());
    return true;
}

bool ConfigReader::ApplyQuickButton(int index, std::string_view value) {
    std::array<int32_t, kQuickButtonColumns> columns{};
    if (!ReadInt(ConfigField(value, 0), columns[0])) {
        return false;
    }
    QuickButtonConfig& button = m_config.QuickButtons[static_cast<size_t>(index)];
    // Without a button the rest of the line is not looked at, whatever it holds, and the
    // other columns keep what they had.
    if (columns[0] == 0) {
        button.Placement = 0;
    } else {
        if (!ReadFields(value, std::span(columns))) {
            return false;
        }
        button = QuickButtonConfig{columns[0], columns[1], columns[2], columns[3],
                                   columns[4], columns[5], columns[6]};
    }
    Note(ConfigLineOutcome::Set, m_key);
    return true;
}

bool ConfigReader::ApplySpeakerName(std::string_view value) {
    int32_t n = 0;
    if (!ReadInt(ConfigField(value, 0), n)) {
        return false;
    }
    if (n < 0 || n >= kSpeakerNameCount) {
        Note(ConfigLineOutcome::NameOutOfRange, m_key);
        return true;
    }
    SpeakerName& name = m_config.Names[static_cast<size_t>(n)];
    name.Used = true;
    name.Text = std::string(ConfigField(value, 1));
    name.Colour = SpeakerColour(cp932::UpperCase(ConfigField(value, 2)));
    Note(ConfigLineOutcome::Set, "NAME" + std::to_string(n));
    return true;
}

void ConfigReader::Note(ConfigLineOutcome outcome, std::string key) {
    if (m_notes) {
        m_notes->push_back(ConfigLineNote{m_line, outcome, std::move(key)});
    }
}

template <typename Number>
std::string JoinNumbers(std::span<const Number> numbers) {
    std::string text;
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i > 0) {
            text += ',';
        }
        text += std::to_string(numbers[i]);
    }
    return text;
}

// NAMEn or NAMEn_COLOR with n in 1..59; false for any other name.
bool SpeakerNameValue(const GameConfig& config, std::string_view key, std::string& textOut) {
    constexpr std::string_view kPrefix = "NAME";
    constexpr std::string_view kColour = "_COLOR";
    if (key.size() <= kPrefix.size() || key.substr(0, kPrefix.size()) != kPrefix) {
        return false;
    }
    std::string_view rest = key.substr(kPrefix.size());
    bool colour =
        rest.size() > kColour.size() && rest.substr(rest.size() - kColour.size()) == kColour;
    if (colour) {
        rest.remove_suffix(kColour.size());
    }
    int n = 0;
    auto [end, error] = std::from_chars(rest.data(), rest.data() + rest.size(), n);
    if (error != std::errc() || end != rest.data() + rest.size() || rest[0] == '0' || n < 1 ||
        n >= kSpeakerNameCount) {
        return false;
    }
    const SpeakerName& name = config.Names[static_cast<size_t>(n)];
    textOut = colour ? std::to_string(name.Colour) : name.Text;
    return true;
}

std::string ClipForMessage(std::string_view sjis) {
    constexpr size_t kShown = 40;
    if (sjis.empty()) {
        return "(empty) / (空)";
    }
    std::string text;
    size_t pos = 0;
    while (pos < sjis.size() && pos < kShown) {
        pos += cp932::CharLength(sjis, pos);
    }
    text = "\"" + cp932::ToUtf8(sjis.substr(0, pos)) + (pos < sjis.size() ? "...\"" : "\"");
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20) {
            c = '?';
        }
    }
    return text;
}

} // namespace

std::optional<GameConfigError> ReadGameConfig(ScriptState& script, GameConfig& config) {
    config = GameConfig{};
    // Without the entry every key keeps its empty value, which small test games rely on.
    if (!script.LoadScript("_config", ScriptTarget::Definition)) {
        return std::nullopt;
    }
    ConfigReader reader(config, nullptr);
    int32_t pos = 0;
    while (pos < script.DefinitionSize && reader.Line(script.DefinitionLine(pos))) {
    }
    return reader.Error;
}

std::optional<GameConfigError> ParseGameConfig(std::string_view entryText, GameConfig& config,
                                               std::vector<ConfigLineNote>* notes) {
    config = GameConfig{};
    ConfigReader reader(config, notes);
    size_t pos = 0;
    while (pos < entryText.size()) {
        size_t nul = entryText.find('\0', pos);
        size_t end = nul == std::string_view::npos ? entryText.size() : nul;
        if (!reader.Line(entryText.substr(pos, end - pos))) {
            break;
        }
        pos = end + 1;
    }
    return reader.Error;
}

std::string GameConfigErrorText(const GameConfigError& error) {
    std::string line = std::to_string(error.Line);
    std::string key = cp932::ToUtf8(error.Key);
    std::string value = ClipForMessage(error.Value);
    return "_config の " + line + " 行目: " + key + " には数値を書いてください（" + value +
           "）。これより後の設定は読み込まれていません。\n_config line " + line + ": " + key +
           " needs a number, not " + value + "; the lines after it were not read.";
}

bool GameConfigValue(const GameConfig& config, std::string_view key, std::string& textOut) {
    std::string upper = cp932::UpperCase(key);
    if (SpeakerNameValue(config, upper, textOut)) {
        return true;
    }
    const ConfigKey* found = FindConfigKey(upper);
    if (!found || found->Kind == ConfigKind::SpeakerName) {
        return false;
    }
    // The accessors hand out mutable views for the reader; nothing is written through them here.
    auto& fields = const_cast<GameConfig&>(config);
    switch (found->Kind) {
    case ConfigKind::Text:
        textOut = found->Texts(fields)[0];
        return true;
    case ConfigKind::Int:
    case ConfigKind::IntFields:
        textOut = JoinNumbers(std::span<const int32_t>(found->Ints(fields)));
        return true;
    case ConfigKind::TextFields: {
        textOut.clear();
        std::span<std::string> texts = found->Texts(fields);
        for (size_t i = 0; i < texts.size(); ++i) {
            textOut += (i > 0 ? "," : "") + texts[i];
        }
        return true;
    }
    case ConfigKind::QuickButton: {
        const QuickButtonConfig& b = config.QuickButtons[static_cast<size_t>(found->Button)];
        const int32_t columns[] = {b.Placement, b.Width, b.Height, b.X, b.Y, b.CellX, b.CellY};
        textOut = JoinNumbers(std::span<const int32_t>(columns));
        return true;
    }
    case ConfigKind::SpeakerName:
        break;
    }
    return false;
}

std::span<const std::string> GameConfigKeyNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> out;
        for (const ConfigKey& key : ConfigKeys()) {
            if (key.Kind != ConfigKind::SpeakerName) {
                out.emplace_back(key.Name);
                continue;
            }
            for (int n = 1; n < kSpeakerNameCount; ++n) {
                out.push_back("NAME" + std::to_string(n));
                out.push_back("NAME" + std::to_string(n) + "_COLOR");
            }
        }
        return out;
    }();
    return names;
}

} // namespace orv
