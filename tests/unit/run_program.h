#pragma once
// Runs a program of the build (orvell, orvtool) as a subprocess, as players and scripts run
// it, and collects its exit status and output.

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace orv::test {

struct ProgramResult {
    int Status = -1; // exit status, or 128 + signal
    std::string Out;
    std::string Err;
};

inline std::string ReadTextFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs `program` with `args` in `dir` with no input. Output goes through files in
// `outputDir`. `env` entries NAME=VALUE are added to the environment, replacing any of the
// same name.
inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const std::filesystem::path& dir,
                                const std::filesystem::path& outputDir,
                                const std::vector<std::string>& env = {}) {
    std::string outPath = (outputDir / "program.stdout").string();
    std::string errPath = (outputDir / "program.stderr").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());

    std::vector<std::string> copies = args;
    std::vector<char*> argv;
    std::string name = program;
    argv.push_back(name.data());
    for (auto& arg : copies) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);

    std::vector<std::string> environment = env;
    for (char** entry = environ; *entry; ++entry) {
        std::string_view variable(*entry);
        std::string_view key = variable.substr(0, variable.find('=') + 1);
        bool replaced = false;
        for (const auto& added : env) {
            replaced = replaced || std::string_view(added).starts_with(key);
        }
        if (!replaced) {
            environment.emplace_back(variable);
        }
    }
    std::vector<char*> envp;
    for (auto& variable : environment) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);

    ProgramResult result;
    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.Out = ReadTextFile(outPath);
    result.Err = ReadTextFile(errPath);
    return result;
}

} // namespace orv::test
