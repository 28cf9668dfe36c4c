#pragma once
// The verbs of orvtool. Each takes the arguments after its own name and returns the exit
// status.

#include <span>

namespace orv::tool {

int RunList(std::span<char* const> args);
int RunExtract(std::span<char* const> args);
int RunPack(std::span<char* const> args);
int RunScript(std::span<char* const> args);
int RunGra(std::span<char* const> args);
int RunConfig(std::span<char* const> args);
int RunWady(std::span<char* const> args);
int RunOgg(std::span<char* const> args);
int RunSave(std::span<char* const> args);
int RunGlobal(std::span<char* const> args);

} // namespace orv::tool
