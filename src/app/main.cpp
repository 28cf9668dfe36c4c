// The orvell program: the desktop window, or the headless front end with --headless.
#include "app/check_run.h"
#include "data/archives.h"
#include "headless/headless_run.h"
#include "headless/run_options.h"
#include "platform/instance_lock.h"
#include "qt/desktop_main.h"
#include "script/command_table.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string_view> args(argv + 1, argv + argc);
    orv::RunOptions options;
    std::string error;
    if (!orv::ParseRunOptions(args, options, error)) {
        std::cerr << "orvell: " << error << "\n(orvell --help lists the options)\n";
        return 2;
    }
    if (options.Help) {
        std::cout << orv::UsageText();
        return 0;
    }
    if (options.ListCommands) {
        std::cout << orv::CommandListText();
        return 0;
    }
    if (options.Version) {
        std::cout << "orvell " << ORVELL_VERSION << '\n';
        return 0;
    }
    std::error_code ec;
    std::filesystem::path current = std::filesystem::current_path(ec);
    bool gameGiven = options.GameDirectory.has_value();
    options.GameDirectory =
        orv::ResolveGameDirectory(options.GameDirectory, current, orv::ExecutableDirectory());
    if (options.Check) {
        return orv::RunCheck(*options.GameDirectory, std::cout, std::cerr, ::isatty(2) != 0);
    }

    // Many headless runs go at once in tests: only the desktop program is single-instance.
    if (options.Headless) {
        return orv::RunHeadless(options, std::cout, std::cerr);
    }
    auto lock = orv::AcquireInstanceLock();
    if (!lock) {
        return 1;
    }
    orv::EngineOptions engineOptions;
    engineOptions.GameDirectory = *options.GameDirectory;
    engineOptions.DataDirectory = options.DataDirectory.value_or(std::filesystem::path());
    engineOptions.Seed = options.Seed;
    orv::DesktopChoices choices;
    choices.TextHookStdout = options.TextHookStdout;
    choices.AskForGame = !gameGiven && !orv::HoldsGameData(*options.GameDirectory);
    return orv::RunDesktop(argc, argv, engineOptions, choices);
}
