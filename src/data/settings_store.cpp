#include "data/settings_store.h"

#include "base/cp932.h"
#include "base/files.h"
#include "data/decimal_text.h"

#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <unordered_set>

namespace orv {

namespace fs = std::filesystem;

namespace {

// A settings file holds a few dozen short lines; anything beyond this is not ours to read.
constexpr uint64_t kMaxFileBytes = 1 << 20;
// Well under the 255 bytes a file name may take, leaving room for ".ini".
constexpr size_t kMaxNameBytes = 100;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Folded(std::string_view name) {
    std::string folded(name);
    std::transform(folded.begin(), folded.end(), folded.begin(), LowerAscii);
    return folded;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return LowerAscii(x) == LowerAscii(y);
           });
}

// A value as it is held: UTF-8 on one line.
std::string HeldValue(std::string_view sjis) {
    std::string utf8 = cp932::ToUtf8(sjis);
    for (char& c : utf8) {
        if (c == '\n' || c == '\r' || c == '\0') {
            c = ' ';
        }
    }
    return utf8;
}

// The value as it goes into the file: quoted when blanks at its ends or quotes around it
// would otherwise be lost on reading.
std::string FileValue(const std::string& held) {
    bool quote = !held.empty() && (IsBlank(held.front()) || IsBlank(held.back()) ||
                                   (held.size() >= 2 && held.front() == '"' && held.back() == '"'));
    if (!quote) {
        return held;
    }
    std::string quoted;
    quoted.reserve(held.size() + 2);
    quoted.push_back('"');
    quoted.append(held);
    quoted.push_back('"');
    return quoted;
}

// One name of a file path built from game data: UTF-8, no control characters or slashes,
// never "." or "..", never longer than kMaxNameBytes. Empty when nothing is left.
std::string SafeName(std::string_view utf8) {
    std::string name(utf8);
    for (char& c : name) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || c == '/' || c == '\\') {
            c = '_';
        }
    }
    if (name.size() > kMaxNameBytes) {
        size_t cut = kMaxNameBytes;
        // Never end inside a UTF-8 sequence.
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    if (!name.empty() && name.find_first_not_of('.') == std::string::npos) {
        std::string prefixed(1, '_');
        prefixed += name;
        name = std::move(prefixed);
    }
    return name;
}

// `dir`/`name`, taking an existing entry whose name differs only in case.
fs::path Child(const fs::path& dir, const std::string& name) {
    if (auto existing = FindFileNoCase(dir, name)) {
        return *existing;
    }
    return dir / name;
}

std::string SectionFileName(const SettingsLocation& location) {
    std::string section = SafeName(cp932::ToUtf8(location.Section));
    return (section.empty() ? std::string("_") : section) + ".ini";
}

} // namespace

SettingsValues SettingsValues::Parse(std::string_view text) {
    SettingsValues values;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    size_t pos = 0;
    // Names seen so far, folded, so that a damaged file of many lines is still read in
    // linear time.
    std::unordered_set<std::string> seen;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line = TrimBlanks(line.substr(0, line.size() - 1));
        }
        if (line.empty() || line[0] == '[' || line[0] == ';' || line[0] == '#' ||
            line.find('\0') != std::string_view::npos) {
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            continue;
        }
        std::string_view name = TrimBlanks(line.substr(0, equals));
        std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        if (name.empty() || !seen.insert(Folded(name)).second) {
            continue;
        }
        values.m_entries.push_back(Entry{std::string(name), std::string(value)});
    }
    return values;
}

std::string SettingsValues::Serialize(std::string_view sectionName) const {
    std::string header(sectionName);
    for (char& c : header) {
        if (static_cast<unsigned char>(c) < 0x20 || c == ']') {
            c = '_';
        }
    }
    std::string text = "[" + header + "]\n";
    for (const Entry& entry : m_entries) {
        text += entry.Name + "=" + FileValue(entry.Value) + "\n";
    }
    return text;
}

const SettingsValues::Entry* SettingsValues::Find(std::string_view name) const {
    for (const Entry& entry : m_entries) {
        if (EqualsAsciiNoCase(entry.Name, name)) {
            return &entry;
        }
    }
    return nullptr;
}

std::optional<std::string> SettingsValues::Text(std::string_view name) const {
    const Entry* entry = Find(name);
    if (!entry) {
        return std::nullopt;
    }
    return cp932::FromUtf8Lenient(entry->Value);
}

bool SettingsValues::Set(std::string_view name, std::string_view value) {
    if (name.empty() || name[0] == '[' || name[0] == ';' || name[0] == '#' ||
        IsBlank(name.front()) || IsBlank(name.back()) ||
        name.find_first_of(std::string_view("=\n\r\0", 4)) != std::string_view::npos) {
        return false;
    }
    std::string held = HeldValue(value);
    for (Entry& entry : m_entries) {
        if (EqualsAsciiNoCase(entry.Name, name)) {
            entry.Value = std::move(held);
            return true;
        }
    }
    m_entries.push_back(Entry{std::string(name), std::move(held)});
    return true;
}

std::string ReadSettingText(const SettingsValues& values, std::string_view name,
                            std::string_view fallback) {
    auto text = values.Text(name);
    return text ? *text : std::string(fallback);
}

int32_t ReadSettingInt(const SettingsValues& values, std::string_view name, int32_t fallback) {
    auto text = values.Text(name);
    int32_t value = fallback;
    if (text && ParseDecimal(TrimBlanks(*text), value)) {
        return value;
    }
    return fallback;
}

fs::path SettingsStore::FileFor(const SettingsLocation& location) const {
    fs::path dir = m_root;
    std::string key = cp932::ToUtf8(location.Key);
    size_t pos = 0;
    while (pos <= key.size()) {
        size_t end = key.find_first_of("\\/", pos);
        if (end == std::string::npos) {
            end = key.size();
        }
        std::string name = SafeName(std::string_view(key).substr(pos, end - pos));
        if (!name.empty()) {
            dir = Child(dir, name);
        }
        pos = end + 1;
    }
    return Child(dir, SectionFileName(location));
}

namespace {

// The text of a settings file, empty when there is none or it cannot be read.
std::string SettingsText(const fs::path& file) {
    auto size = FileSize(file);
    if (!size) {
        return {};
    }
    std::string text(static_cast<size_t>(std::min(*size, kMaxFileBytes)), '\0');
    if (!ReadFileRange(file, 0, std::span(reinterpret_cast<uint8_t*>(text.data()), text.size()))) {
        return {};
    }
    return text;
}

} // namespace

SettingsValues SettingsStore::Load(const SettingsLocation& location) const {
    return SettingsValues::Parse(SettingsText(FileFor(location)));
}

bool SettingsStore::Write(const SettingsLocation& location, std::string_view name,
                          std::string_view value) const {
    fs::path file = FileFor(location);
    std::string stored = SettingsText(file);
    SettingsValues values = SettingsValues::Parse(stored);
    if (!values.Set(name, value)) {
        return false;
    }
    std::string text = values.Serialize(cp932::ToUtf8(location.Section));
    // Games write the same values again and again (every start, every save): a file that
    // already holds them is left alone rather than synced to disk once more.
    if (text == stored) {
        return true;
    }
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) {
        return false;
    }
    return WriteFileAtomic(file, text).empty();
}

fs::path SettingsRoot(const fs::path& dataDirectory) {
    if (!dataDirectory.empty()) {
        return dataDirectory / "settings";
    }
    // XDG base directories: a relative value is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') {
        return fs::path(config) / "orvell";
    }
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/') {
        const passwd* user = ::getpwuid(::getuid());
        home = user && user->pw_dir ? user->pw_dir : "/tmp";
    }
    return fs::path(home) / ".config" / "orvell";
}

} // namespace orv
