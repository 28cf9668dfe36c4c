#pragma once
// Handlers of the command table, one family to a file, and the argument readers they share.

#include "script/command_table.h"

#include <cstdint>
#include <string_view>

namespace orv {

// Arguments are read from fixed offsets of the line.

// A decimal number after optional leading blanks, with an optional sign; 0 when there is
// none. Wraps around at 32 bits as the original's integer reads do.
int32_t ArgumentNumber(std::string_view text);
// The text up to the first blank (a name, a label).
std::string_view FirstWord(std::string_view text);
// The text without trailing blanks.
std::string_view TrimEnd(std::string_view text);
// True when only blanks (or nothing) follow.
bool IsBlankText(std::string_view text);
// Skip mode is on and the EFX_CUT setting suppresses effects while skipping.
bool SkippingWithEffectCut(const Engine& engine);

// commands_control.cpp
StepResult CmdGo(Engine& engine, const CommandArgs& args);
StepResult CmdChain(Engine& engine, const CommandArgs& args);
StepResult CmdCalc(Engine& engine, const CommandArgs& args);
StepResult CmdIf(Engine& engine, const CommandArgs& args);
StepResult CmdCall(Engine& engine, const CommandArgs& args);
StepResult CmdEnd(Engine& engine, const CommandArgs& args);
StepResult CmdGameInit(Engine& engine, const CommandArgs& args);
StepResult CmdGameClear(Engine& engine, const CommandArgs& args);
StepResult CmdMark(Engine& engine, const CommandArgs& args);
StepResult CmdSleep(Engine& engine, const CommandArgs& args);
StepResult CmdString(Engine& engine, const CommandArgs& args);
StepResult CmdBackTo(Engine& engine, const CommandArgs& args);
StepResult CmdBreak(Engine& engine, const CommandArgs& args);
StepResult CmdExitGame(Engine& engine, const CommandArgs& args);
StepResult CmdRecord(Engine& engine, const CommandArgs& args);
StepResult CmdExit(Engine& engine, const CommandArgs& args);
StepResult CmdWeb(Engine& engine, const CommandArgs& args);
StepResult CmdMovie(Engine& engine, const CommandArgs& args);

// commands_picture.cpp
StepResult CmdGra(Engine& engine, const CommandArgs& args);
StepResult CmdGrb(Engine& engine, const CommandArgs& args);
StepResult CmdClearPictures(Engine& engine, const CommandArgs& args);
StepResult CmdSprite(Engine& engine, const CommandArgs& args);
StepResult CmdPartsSet(Engine& engine, const CommandArgs& args);
StepResult CmdPartsLoad(Engine& engine, const CommandArgs& args);
StepResult CmdBackground(Engine& engine, const CommandArgs& args);
StepResult CmdFix(Engine& engine, const CommandArgs& args);
StepResult CmdDirect(Engine& engine, const CommandArgs& args);
StepResult CmdOverlay(Engine& engine, const CommandArgs& args);
StepResult CmdBackgroundLoop(Engine& engine, const CommandArgs& args);
StepResult CmdAnimation(Engine& engine, const CommandArgs& args);
StepResult CmdShake(Engine& engine, const CommandArgs& args);
StepResult CmdObject(Engine& engine, const CommandArgs& args);
StepResult CmdScroll(Engine& engine, const CommandArgs& args);
StepResult CmdChangeParameters(Engine& engine, const CommandArgs& args);
StepResult CmdUnlockAllPictures(Engine& engine, const CommandArgs& args);
StepResult CmdEffect(Engine& engine, const CommandArgs& args);
StepResult CmdMangaSymbol(Engine& engine, const CommandArgs& args);
StepResult CmdMoveCharacters(Engine& engine, const CommandArgs& args);
StepResult CmdEffectAnimation(Engine& engine, const CommandArgs& args);
StepResult CmdWipeSet(Engine& engine, const CommandArgs& args);
StepResult CmdFadeIn(Engine& engine, const CommandArgs& args);
StepResult CmdFadeOut(Engine& engine, const CommandArgs& args);
StepResult CmdSpecial(Engine& engine, const CommandArgs& args);

// commands_sound.cpp
StepResult CmdMusic(Engine& engine, const CommandArgs& args);
StepResult CmdVoice(Engine& engine, const CommandArgs& args);
StepResult CmdWaitVoiceEnd(Engine& engine, const CommandArgs& args);
StepResult CmdSoundEffect(Engine& engine, const CommandArgs& args);
StepResult CmdSoundLoop(Engine& engine, const CommandArgs& args);
StepResult CmdSoundOff(Engine& engine, const CommandArgs& args);

// commands_text.cpp
StepResult CmdMode(Engine& engine, const CommandArgs& args);
StepResult CmdWindowClose(Engine& engine, const CommandArgs& args);
StepResult CmdWindowOpen(Engine& engine, const CommandArgs& args);
StepResult CmdTitle(Engine& engine, const CommandArgs& args);
StepResult CmdTextWindowSet(Engine& engine, const CommandArgs& args);

// commands_screens.cpp
StepResult CmdSelect(Engine& engine, const CommandArgs& args);
StepResult CmdClickMap(Engine& engine, const CommandArgs& args);
StepResult CmdSwitch(Engine& engine, const CommandArgs& args);
StepResult CmdComputedJump(Engine& engine, const CommandArgs& args);
StepResult CmdLoad(Engine& engine, const CommandArgs& args);
StepResult CmdSave(Engine& engine, const CommandArgs& args);
StepResult CmdSelectionTree(Engine& engine, const CommandArgs& args);
StepResult CmdMap(Engine& engine, const CommandArgs& args);
StepResult CmdStaffRoll(Engine& engine, const CommandArgs& args);
StepResult CmdCreditsRoll(Engine& engine, const CommandArgs& args);
StepResult CmdSetName(Engine& engine, const CommandArgs& args);
StepResult CmdViewer(Engine& engine, const CommandArgs& args);
StepResult CmdRecollection(Engine& engine, const CommandArgs& args);
StepResult CmdConfig(Engine& engine, const CommandArgs& args);

} // namespace orv
