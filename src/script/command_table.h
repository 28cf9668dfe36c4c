#pragma once
// The command table: the seventy command words in the order they are compared, each with
// the offset of its argument in the line and its handler. A command line matches the first
// word that its text (after the '*' or '@') begins with, ignoring ASCII case, so `exitgame`
// is found before `exit` and `*endless` runs `end`.

#include "script/dispatcher.h"

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

namespace orv {

class Engine;

struct CommandArgs {
    std::string_view Line;     // the whole line; offset 0 is the '*' or '@'
    std::string_view Argument; // from the table's offset; empty when the line is shorter
};

using CommandHandler = StepResult (*)(Engine& engine, const CommandArgs& args);

// Whether everything a command does works yet, or it still calls into a subsystem whose
// entry point does nothing.
enum class CommandStatus : uint8_t { Implemented, Pending };

struct Command {
    std::string_view Word; // a trailing blank is part of the word
    int32_t ArgumentOffset;
    CommandHandler Handler;
    CommandStatus Status;
};

constexpr int kCommandCount = 70;

std::span<const Command> CommandTable();

// The index of the first word that `text` (a command line without its first byte) begins
// with, or -1.
int FindCommand(std::string_view text);

// One line per command in table order: index, word and "implemented" or "pending".
std::string CommandListText();
void PrintCommandList(std::FILE* out);

} // namespace orv
