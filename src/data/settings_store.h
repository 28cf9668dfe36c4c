#pragma once
// The settings store. Games address the player's settings as registry keys, every value
// as text; here each key is an INI file under a root directory, named after the key's path,
// one `name=value` line per value. Key and section names come from game data, so every file
// name built from them stays inside the root.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A key path as the game names it ("Software\Maker", backslash-separated) and the sub-key
// that holds the values. Both are code page 932 texts.
struct SettingsLocation {
    std::string Key;
    std::string Section;
};

// The clear counter is kept under one fixed key, whatever the game's configuration names.
inline constexpr std::string_view kClearCounterKey = "Software\\Vantrell";
inline constexpr std::string_view kClearCounterSection = "tesk";
inline SettingsLocation ClearCounterLocation() {
    return {std::string(kClearCounterKey), std::string(kClearCounterSection)};
}

// The values of one key. Names are compared without regard to ASCII case; values are texts,
// UTF-8 in the file and code page 932 to the engine.
class SettingsValues {
public:
    // Reads `name=value` lines. Blanks around names and values are dropped and a value in
    // double quotes keeps what is inside them, as Windows INI files have it; section headers
    // and `;` or `#` comments are skipped; a line without `=` or holding a NUL is skipped;
    // of two lines with one name the first counts.
    static SettingsValues Parse(std::string_view fileText);
    // The file text: a `[sectionName]` header, then one line per value.
    std::string Serialize(std::string_view sectionName) const;

    // The value in code page 932 (characters it cannot hold become '?'), or nothing.
    std::optional<std::string> Text(std::string_view name) const;
    // Sets or adds a value given in code page 932; an existing name keeps its spelling. A
    // name that cannot stand in the file (empty, with '=', a line break or a leading '[',
    // ';', '#' or blank) is refused.
    bool Set(std::string_view name, std::string_view value);
    size_t Count() const { return m_entries.size(); }

private:
    struct Entry {
        std::string Name;
        std::string Value; // UTF-8, without the quotes the file may put around it
    };
    const Entry* Find(std::string_view name) const;

    std::vector<Entry> m_entries;
};

// A text value, or `fallback` when the value is missing.
std::string ReadSettingText(const SettingsValues& values, std::string_view name,
                            std::string_view fallback);
// A decimal integer (blanks around it allowed), or `fallback` when the value is missing or
// is not a valid 32-bit integer.
int32_t ReadSettingInt(const SettingsValues& values, std::string_view name, int32_t fallback);

class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path root) : m_root(std::move(root)) {}

    const std::filesystem::path& Root() const { return m_root; }

    // The file of `location`: Root()/<key path>/<section>.ini, each name converted to UTF-8,
    // with control characters replaced, overlong names cut, names of dots only prefixed
    // with '_' and empty ones dropped, so that it never leaves Root(). Directories and files
    // that exist already are matched without regard to case, as registry keys are.
    std::filesystem::path FileFor(const SettingsLocation& location) const;

    // The values of `location`; none when its file is missing or unreadable. Only the
    // beginning of an oversized file is read.
    SettingsValues Load(const SettingsLocation& location) const;

    // Writes one value (code page 932) through a temporary file renamed into place. False
    // when it could not be written.
    bool Write(const SettingsLocation& location, std::string_view name,
               std::string_view value) const;

private:
    std::filesystem::path m_root;
};

// Where the store lives: `dataDirectory`/settings when a data directory is given (headless
// runs and tests); otherwise $XDG_CONFIG_HOME/orvell, or ~/.config/orvell.
std::filesystem::path SettingsRoot(const std::filesystem::path& dataDirectory);

} // namespace orv
