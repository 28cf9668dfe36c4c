#include "base/decimal.h"
#include "headless/run_options.h"

#include "base/files.h"
#include "data/archives.h"

#include <charconv>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace orv {

namespace {

bool IsLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Options that take a value, given as `--name VALUE` or `--name=VALUE`.
constexpr std::string_view kValueOptions[] = {"--play",      "--out",        "--data-dir",
                                              "--seed",      "--date",       "--audio-out",
                                              "--max-passes", "--texthook"};

// Options that mean something to a headless run only.
constexpr std::string_view kHeadlessOptions[] = {"--play", "--out", "--date", "--audio-out",
                                                 "--max-passes"};

bool HeadlessOnly(std::string_view name) {
    for (std::string_view option : kHeadlessOptions) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

bool TakesValue(std::string_view name) {
    for (std::string_view option : kValueOptions) {
        if (option == name) {
            return true;
        }
    }
    return false;
}

bool SetValue(std::string_view name, std::string_view value, RunOptions& out, std::string& error) {
    if (value.empty()) {
        error = std::string(name) + " needs a value";
        return false;
    }
    if (name == "--play") {
        out.PlayFile = std::filesystem::path(value);
    } else if (name == "--out") {
        out.OutDirectory = std::filesystem::path(value);
    } else if (name == "--data-dir") {
        out.DataDirectory = std::filesystem::path(value);
    } else if (name == "--audio-out") {
        out.AudioOut = std::filesystem::path(value);
    } else if (name == "--texthook") {
        // The only target so far; the value leaves room for others (a socket, a file).
        if (value != "stdout") {
            error = "--texthook takes stdout, not \"" + std::string(value) + "\"";
            return false;
        }
        out.TextHookStdout = true;
    } else if (name == "--seed") {
        auto seed = ParseIntegerInRange(value, 0, UINT32_MAX);
        if (!seed) {
            error =
                "--seed takes a number from 0 to 4294967295, not \"" + std::string(value) + "\"";
            return false;
        }
        out.Seed = static_cast<uint32_t>(*seed);
    } else if (name == "--date") {
        out.Date = ParseDateTime(value);
        if (!out.Date) {
            error = "--date takes YYYY-MM-DDTHH:MM:SS, not \"" + std::string(value) + "\"";
            return false;
        }
    } else if (name == "--max-passes") {
        auto passes = ParseIntegerInRange(value, 1, INT64_MAX / 2);
        if (!passes) {
            error = "--max-passes takes a positive number, not \"" + std::string(value) + "\"";
            return false;
        }
        out.MaxPasses = *passes;
    }
    return true;
}

} // namespace

std::optional<std::tm> ParseDateTime(std::string_view text) {
    // Positions of the separators in YYYY-MM-DDTHH:MM:SS.
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != 'T' ||
        text[13] != ':' || text[16] != ':') {
        return std::nullopt;
    }
    auto field = [&](size_t at, size_t width) -> int {
        for (size_t i = at; i < at + width; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return -1;
            }
        }
        return static_cast<int>(*ParseIntegerInRange(text.substr(at, width), 0, 9999));
    };
    int year = field(0, 4), month = field(5, 2), day = field(8, 2);
    int hour = field(11, 2), minute = field(14, 2), second = field(17, 2);
    if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
        return std::nullopt;
    }
    std::tm result{};
    result.tm_year = year - 1900;
    result.tm_mon = month - 1;
    result.tm_mday = day;
    result.tm_hour = hour;
    result.tm_min = minute;
    result.tm_sec = second;
    // Fills in the weekday and the day of the year.
    std::tm copy = result;
    std::time_t seconds = ::timegm(&copy);
    ::gmtime_r(&seconds, &result);
    return result;
}

bool ParseRunOptions(std::span<const std::string_view> args, RunOptions& out, std::string& error) {
    out = RunOptions{};
    std::string firstHeadlessOption; // the first option that needs --headless
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "--headless") {
            out.Headless = true;
        } else if (arg == "--help" || arg == "-h") {
            out.Help = true;
        } else if (arg == "--version") {
            out.Version = true;
        } else if (arg == "--list-commands") {
            out.ListCommands = true;
        } else if (arg == "--check") {
            out.Check = true;
        } else if (arg.starts_with("--")) {
            size_t equals = arg.find('=');
            std::string_view name = arg.substr(0, equals);
            if (!TakesValue(name)) {
                error = "unknown option " + std::string(name);
                return false;
            }
            std::string_view value;
            if (equals != std::string_view::npos) {
                value = arg.substr(equals + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                error = std::string(name) + " needs a value";
                return false;
            }
            if (!SetValue(name, value, out, error)) {
                return false;
            }
            if (HeadlessOnly(name) && firstHeadlessOption.empty()) {
                firstHeadlessOption = std::string(name);
            }
        } else if (arg.starts_with("-")) {
            error = "unknown option " + std::string(arg);
            return false;
        } else if (out.GameDirectory) {
            error = "more than one game directory: " + out.GameDirectory->string() + " and " +
                    std::string(arg);
            return false;
        } else {
            out.GameDirectory = std::filesystem::path(arg);
        }
    }
    if (!firstHeadlessOption.empty() && !out.Headless && !out.Help && !out.Version &&
        !out.ListCommands) {
        error = firstHeadlessOption + " needs --headless";
        return false;
    }
    if (out.Check && out.Headless) {
        error = "--check does not play the game: give it without --headless";
        return false;
    }
    return true;
}

std::string UsageText() {
    return "usage: orvell [--data-dir DIR] [--seed N] [--texthook stdout] [GAME_DIR]\n"
           "       orvell --headless [--play FILE] [--out DIR] [--data-dir DIR] [--seed N]\n"
           "              [--texthook stdout]\n"
           "              [--date YYYY-MM-DDTHH:MM:SS] [--audio-out FILE.wav] [--max-passes N]\n"
           "              [GAME_DIR]\n"
           "       orvell --check [GAME_DIR]\n"
           "       orvell --help | --version | --list-commands\n"
           "\n"
           "Plays the game in GAME_DIR: by default the current directory when it holds\n"
           "ov_data.orv, else the program's own directory when it does, else the installed\n"
           "demo game; the window asks for the game folder when none of them holds a game.\n"
           "\n"
           "  --headless      run without a window on a virtual clock\n"
           "  --play FILE     drive the run from a play file; without it every wait is\n"
           "                  clicked through\n"
           "  --out DIR       where the play file's shots and dumps go (default: .)\n"
           "  --data-dir DIR  settings, saves and global data (default: beside the game;\n"
           "                  headless: a fresh temporary directory, removed at exit)\n"
           "  --seed N        fix the random generator\n"
           "  --texthook stdout\n"
           "                  print every text line of the game as UTF-8 when it is complete\n"
           "                  (for dictionaries and screen readers)\n"
           "  --date D        the local date and time at the start of a headless run\n"
           "  --audio-out F   write the audio mix as a WAV file\n"
           "  --max-passes N  idle passes of automatic play (default 200000)\n"
           "  --list-commands the script command words in the order they are matched, each\n"
           "                  implemented or still pending\n"
           "  --check         read every archive, script and picture of the game and print\n"
           "                  one line per problem, then a summary (progress on stderr);\n"
           "                  exit status 0 when the game looks playable, 1 when not\n"
           "\n"
           "Exit status: 0 done; 1 an expect failed; 2 bad arguments or play file;\n"
           "3 a wait ran out; 4 the game data could not be read.\n";
}

std::filesystem::path ResolveGameDirectory(const std::optional<std::filesystem::path>& given,
                                           const std::filesystem::path& currentDirectory,
                                           const std::filesystem::path& executableDirectory) {
    if (given) {
        return *given;
    }
    if (HoldsGameData(currentDirectory)) {
        return currentDirectory;
    }
    if (executableDirectory.empty()) {
        return currentDirectory;
    }
    if (!HoldsGameData(executableDirectory)) {
        std::filesystem::path demo = InstalledDemoDirectory(executableDirectory);
        if (HoldsGameData(demo)) {
            return demo;
        }
    }
    return executableDirectory;
}

std::filesystem::path InstalledDemoDirectory(const std::filesystem::path& executableDirectory) {
    return (executableDirectory.parent_path() / "share" / "orvell" / "demo").lexically_normal();
}

std::filesystem::path ExecutableDirectory() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

ScratchDirectory::ScratchDirectory() {
    const char* temp = std::getenv("TMPDIR");
    std::string pattern = std::string(temp && *temp ? temp : "/tmp") + "/orvell-data-XXXXXX";
    if (::mkdtemp(pattern.data())) {
        m_path = pattern;
    }
}

ScratchDirectory::~ScratchDirectory() {
    if (!m_path.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
}

} // namespace orv
