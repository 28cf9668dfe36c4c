#include "tool_common.h"

#include <algorithm>

#include "base/cp932.h"
#include "base/files.h"
#include "sound/wav_file.h"

#include <cstdio>
#include <unistd.h>

namespace orv::tool {

namespace {

const OptionSpec* FindLong(std::span<const OptionSpec> specs, std::string_view name) {
    for (const auto& spec : specs) {
        if (spec.Long == name) {
            return &spec;
        }
    }
    return nullptr;
}

const OptionSpec* FindShort(std::span<const OptionSpec> specs, char letter) {
    for (const auto& spec : specs) {
        if (spec.Short != 0 && spec.Short == letter) {
            return &spec;
        }
    }
    return nullptr;
}

// Set while a progress line stands unfinished on the terminal; messages clear it first.
bool g_progressLineOpen = false;

void ClearProgressLine() {
    if (g_progressLineOpen) {
        std::fputs("\r\033[K", stderr);
        g_progressLineOpen = false;
    }
}

} // namespace

bool Arguments::Parse(std::span<char* const> args, std::span<const OptionSpec> specs,
                      std::string& error) {
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        // A lone "-" is a positional argument, as in most tools.
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            m_positional.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            m_help = true;
            continue;
        }
        const OptionSpec* spec = nullptr;
        std::string value;
        bool hasValue = false;
        if (arg.starts_with("--")) {
            std::string_view name = arg.substr(2);
            if (size_t eq = name.find('='); eq != std::string_view::npos) {
                value = name.substr(eq + 1);
                hasValue = true;
                name = name.substr(0, eq);
            }
            spec = FindLong(specs, name);
        } else {
            spec = FindShort(specs, arg[1]);
            if (spec && arg.size() > 2) {
                if (!spec->TakesValue) {
                    spec = nullptr; // one-letter options are not bundled
                } else {
                    value = arg.substr(2);
                    hasValue = true;
                }
            }
        }
        if (!spec) {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
        std::string shown = "--" + std::string(spec->Long);
        if (spec->TakesValue && !hasValue) {
            if (i + 1 >= args.size()) {
                error = "the option " + shown + " needs a value";
                return false;
            }
            value = args[++i];
        } else if (!spec->TakesValue && hasValue) {
            error = "the option " + shown + " takes no value";
            return false;
        }
        m_options.emplace_back(std::string(spec->Long), std::move(value));
    }
    return true;
}

bool Arguments::Has(std::string_view name) const {
    for (const auto& option : m_options) {
        if (option.first == name) {
            return true;
        }
    }
    return false;
}

std::optional<std::string> Arguments::Value(std::string_view name) const {
    std::optional<std::string> value;
    for (const auto& option : m_options) {
        if (option.first == name) {
            value = option.second;
        }
    }
    return value;
}

void PrintError(std::string_view message) {
    ClearProgressLine();
    std::fprintf(stderr, "orvtool: %.*s\n", static_cast<int>(message.size()), message.data());
}

void PrintWarning(std::string_view message) {
    ClearProgressLine();
    std::fprintf(stderr, "orvtool: warning: %.*s\n", static_cast<int>(message.size()),
                 message.data());
}

int UsageError(std::string_view verb, std::string_view message) {
    PrintError(message);
    std::fprintf(stderr, "Try 'orvtool %.*s--help'.\n", static_cast<int>(verb.size()), verb.data());
    return kExitUsage;
}

namespace {

// "decode, encode or info".
std::string ActionList(std::span<const Action> actions) {
    std::string list;
    for (size_t i = 0; i < actions.size(); ++i) {
        if (i > 0) {
            list += i + 1 == actions.size() ? " or " : ", ";
        }
        list += actions[i].Name;
    }
    return list;
}

} // namespace

std::optional<size_t> ParseAction(std::span<char* const> args, std::string_view verb,
                                  std::span<const Action> actions, std::string_view usage,
                                  Arguments& arguments, int& status) {
    std::string name(verb);
    std::string prefix = name + " ";
    if (args.empty()) {
        status = UsageError(prefix, name + " needs " + ActionList(actions));
        return std::nullopt;
    }
    std::string_view given = args[0];
    if (given == "-h" || given == "--help") {
        status = PrintUsage(usage);
        return std::nullopt;
    }
    auto found = std::find_if(actions.begin(), actions.end(),
                              [given](const Action& action) { return action.Name == given; });
    if (found == actions.end()) {
        status = UsageError(prefix, name + " takes " + ActionList(actions) + ", not '" +
                                        std::string(given) + "'");
        return std::nullopt;
    }
    std::string error;
    if (!arguments.Parse(args.subspan(1), found->Options, error)) {
        status = UsageError(prefix, error);
        return std::nullopt;
    }
    if (arguments.WantsHelp()) {
        status = PrintUsage(usage);
        return std::nullopt;
    }
    if (arguments.Positional().size() != found->Files) {
        status = UsageError(prefix, prefix + std::string(found->Name) + " takes " +
                                        std::string(found->FilesText));
        return std::nullopt;
    }
    return static_cast<size_t>(found - actions.begin());
}

std::optional<Bytes> ReadInput(const std::string& path) {
    auto bytes = ReadWholeFile(path);
    if (!bytes || !IsRegularFile(path)) {
        PrintError("cannot read " + path);
        return std::nullopt;
    }
    return bytes;
}

bool ReadWavInput(const std::string& path, PcmClip& pcm) {
    bool truncated = false;
    if (std::string error = ReadWav(path, pcm, truncated); !error.empty()) {
        PrintError(error);
        return false;
    }
    if (truncated) {
        PrintWarning(path + ": the data chunk ends early; encoding the frames it holds");
    }
    return true;
}

int PrintUsage(std::string_view usage) {
    std::fwrite(usage.data(), 1, usage.size(), stdout);
    return kExitOk;
}

std::optional<IndexForm> ParseForm(std::string_view text) {
    if (text == "a" || text == "A") {
        return IndexForm::A;
    }
    if (text == "b" || text == "B") {
        return IndexForm::B;
    }
    return std::nullopt;
}

char FormLetter(IndexForm form) {
    return form == IndexForm::A ? 'A' : 'B';
}

std::string DisplayName(std::string_view sjis) {
    std::string utf8 = cp932::ToUtf8(sjis);
    for (char& c : utf8) {
        if (static_cast<uint8_t>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return utf8;
}

Progress::Progress(std::string_view verb, size_t total)
    : m_verb(verb), m_total(total), m_terminal(::isatty(STDERR_FILENO) == 1) {}

void Progress::Step(size_t done, std::string_view name) {
    if (!m_terminal) {
        return;
    }
    auto now = std::chrono::steady_clock::now();
    if (g_progressLineOpen && done < m_total && now - m_lastDraw < std::chrono::milliseconds(100)) {
        return;
    }
    m_lastDraw = now;
    g_progressLineOpen = true;
    // Keep the line short enough not to wrap, cutting the name at a character boundary.
    std::string shown = DisplayName(name);
    if (shown.size() > 48) {
        size_t cut = 48;
        while (cut > 0 && (static_cast<uint8_t>(shown[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        shown = shown.substr(0, cut) + "...";
    }
    std::fprintf(stderr, "\r\033[K%s %zu/%zu %s", m_verb.c_str(), done, m_total, shown.c_str());
    std::fflush(stderr);
}

void Progress::Finish(std::string_view summary) {
    ClearProgressLine();
    std::fprintf(stderr, "%.*s\n", static_cast<int>(summary.size()), summary.data());
}

} // namespace orv::tool
