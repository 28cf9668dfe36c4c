#include "script/command_table.h"

#include "script/commands.h"

#include <array>
#include <cctype>

namespace orv {

namespace {

constexpr CommandStatus Done = CommandStatus::Implemented;
constexpr CommandStatus Pending = CommandStatus::Pending;

// clang-format off
constexpr std::array<Command, kCommandCount> kCommands = {{
    {"gra ", 5, CmdGra, Done},
    {"music ", 7, CmdMusic, Done},
    {"cv ", 4, CmdVoice, Done},
    {"go ", 4, CmdGo, Done},
    {"clrb", 6, CmdClearPictures, Done},
    {"select", 7, CmdSelect, Done},           // the expression at 8 when 7 is a blank
    {"clickmap ", 10, CmdClickMap, Done},
    {"switch", 7, CmdSwitch, Done},           // the name at 8 when 7 is a blank
    {"chain ", 7, CmdChain, Done},
    {"wait_v_end", 11, CmdWaitVoiceEnd, Done},
    {"spr ", 5, CmdSprite, Done},
    {"calc ", 6, CmdCalc, Done},
    {"if ", 4, CmdIf, Done},
    {"ptset ", 7, CmdPartsSet, Done},
    {"call ", 6, CmdCall, Done},
    {"end", 4, CmdEnd, Done},
    {"mode ", 6, CmdMode, Done},
    {"load", 5, CmdLoad, Done},
    {"gameinit", 9, CmdGameInit, Done},
    {"grb ", 5, CmdGrb, Done},
    {"win_close", 10, CmdWindowClose, Done},
    {"special ", 9, CmdSpecial, Done},
    {"gameclr", 8, CmdGameClear, Done},
    {"partsload ", 11, CmdPartsLoad, Done},
    {"movie ", 7, CmdMovie, Done},
    {"mark ", 6, CmdMark, Done},
    {"bg ", 4, CmdBackground, Done},
    {"fix", 4, CmdFix, Done},
    {"sleep ", 7, CmdSleep, Done},
    {"seltree", 9, CmdSelectionTree, Done},
    {"string ", 8, CmdString, Done},          // the digit at 8, the text at 10
    {"direct ", 8, CmdDirect, Done},
    {"save", 5, CmdSave, Done},
    {"break", 6, CmdBreak, Done},
    {"win_open", 9, CmdWindowOpen, Done},
    {"title ", 7, CmdTitle, Done},
    {"backto", 7, CmdBackTo, Done},
    {"map", 5, CmdMap, Done},
    {"bg_anim", 9, CmdBackgroundLoop, Done},
    {"roll ", 6, CmdStaffRoll, Done},
    {"anim", 6, CmdAnimation, Done},       // animq: the name at 7
    {"shake", 7, CmdShake, Done},
    {"cjmp", 6, CmdComputedJump, Done},
    {"setname", 8, CmdSetName, Done},
    {"ovr", 5, CmdOverlay, Done},
    {"viewer", 8, CmdViewer, Done},
    {"se ", 4, CmdSoundEffect, Done},
    {"seloop ", 8, CmdSoundLoop, Done},
    {"seoff", 6, CmdSoundOff, Done},
    {"exitgame", 9, CmdExitGame, Done},
    {"rec", 4, CmdRecord, Done},
    {"tw_set ", 8, CmdTextWindowSet, Done},
    {"exit", 5, CmdExit, Done},
    {"obj_", 5, CmdObject, Done},
    {"sroll", 7, CmdCreditsRoll, Done},
    {"scroll ", 8, CmdScroll, Done},
    {"kaisou", 7, CmdRecollection, Done},
    {"chgprm", 7, CmdChangeParameters, Done},
    {"cgfull", 7, CmdUnlockAllPictures, Done},
    {"effect", 8, CmdEffect, Done},
    {"vend", 5, CmdExit, Done},
    {"manpu ", 7, CmdMangaSymbol, Done},
    {"sprmv ", 7, CmdMoveCharacters, Done},
    {"efxanim ", 9, CmdEffectAnimation, Done},
    {"wipeset ", 9, CmdWipeSet, Done},
    {"config", 7, CmdConfig, Done},
    {"web ", 5, CmdWeb, Done},
    {"char ", 6, CmdSprite, Done},
    {"fadein", 8, CmdFadeIn, Done},
    {"fadeout", 8, CmdFadeOut, Done},
}};
// clang-format on

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (size_t i = 0; i < word.size(); ++i) {
        if (AsciiLower(text[i]) != word[i]) {
            return false;
        }
    }
    return true;
}

} // namespace

std::span<const Command> CommandTable() {
    return kCommands;
}

int FindCommand(std::string_view text) {
    for (size_t i = 0; i < kCommands.size(); ++i) {
        if (StartsWithWord(text, kCommands[i].Word)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string CommandListText() {
    std::string out;
    char line[64];
    for (size_t i = 0; i < kCommands.size(); ++i) {
        const Command& command = kCommands[i];
        std::string_view word = command.Word;
        if (word.ends_with(' ')) {
            word.remove_suffix(1);
        }
        std::snprintf(line, sizeof line, "%2zu  %-11.*s %s\n", i, static_cast<int>(word.size()),
                      word.data(),
                      command.Status == CommandStatus::Implemented ? "implemented" : "pending");
        out += line;
    }
    return out;
}

void PrintCommandList(std::FILE* out) {
    std::string text = CommandListText();
    std::fwrite(text.data(), 1, text.size(), out);
}

} // namespace orv
