#pragma once
// What every verb of orvtool shares: exit statuses, option parsing, messages and progress.

#include "base/bytes.h"
#include "data/archive_index.h"
#include "sound/pcm.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::tool {

constexpr int kExitOk = 0;
constexpr int kExitDataError = 1; // the data or a file could not be read, written or converted
constexpr int kExitUsage = 2;     // the command line was wrong

struct OptionSpec {
    std::string_view Long; // without the leading "--"
    char Short = 0;        // 0 when there is no one-letter form
    bool TakesValue = false;
};

// Options and positional arguments of one verb. "--name value", "--name=value", "-n value"
// and "-nvalue" are accepted; "--" ends the options. -h and --help are always known.
class Arguments {
public:
    // False with `error` set when an option is unknown or lacks its value.
    bool Parse(std::span<char* const> args, std::span<const OptionSpec> specs, std::string& error);

    bool Has(std::string_view name) const;
    // The last value given for an option.
    std::optional<std::string> Value(std::string_view name) const;
    bool WantsHelp() const { return m_help; }
    const std::vector<std::string>& Positional() const { return m_positional; }

private:
    std::vector<std::pair<std::string, std::string>> m_options;
    std::vector<std::string> m_positional;
    bool m_help = false;
};

// One action of a verb that has several (`gra decode`, `wady info`): its options and the
// files it takes.
struct Action {
    std::string_view Name;
    std::span<const OptionSpec> Options;
    size_t Files = 1;
    std::string_view FilesText = "IN"; // as the usage error names them: "IN and OUT"
};

// Parses `ACTION [options] FILES...` for `verb`: the action's index in `actions`, with its
// options and files in `arguments`; or nothing, with `status` the verb's exit status (its
// help printed, or a usage error reported).
std::optional<size_t> ParseAction(std::span<char* const> args, std::string_view verb,
                                  std::span<const Action> actions, std::string_view usage,
                                  Arguments& arguments, int& status);

// A whole input file; nothing, with the error printed, when it cannot be read.
std::optional<Bytes> ReadInput(const std::string& path);
// A WAV input file for the sound encoders; false, with the error printed, when it cannot be
// read. A data chunk cut short is taken as far as it goes, with a warning.
bool ReadWavInput(const std::string& path, PcmClip& pcm);

// "orvtool: <message>" on stderr.
void PrintError(std::string_view message);
void PrintWarning(std::string_view message);

// Reports a bad command line and points at the verb's help; returns kExitUsage.
int UsageError(std::string_view verb, std::string_view message);

// Prints `usage` to stdout; returns kExitOk.
int PrintUsage(std::string_view usage);

// "a" or "b", in either case.
std::optional<IndexForm> ParseForm(std::string_view text);
char FormLetter(IndexForm form);

// A code page 932 name as UTF-8 for the terminal: control characters become '?', so that
// a hostile archive cannot send escape sequences.
std::string DisplayName(std::string_view sjis);

// A progress line on a terminal ("packing 12/340 NAME"), redrawn in place and at most a
// few times a second; nothing until the summary when stderr is a file or a pipe.
class Progress {
public:
    Progress(std::string_view verb, size_t total);
    void Step(size_t done, std::string_view name);
    // Replaces the progress line with the summary (printed in every case).
    void Finish(std::string_view summary);

private:
    std::string m_verb;
    size_t m_total;
    bool m_terminal;
    std::chrono::steady_clock::time_point m_lastDraw{};
};

} // namespace orv::tool
