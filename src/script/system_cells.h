#pragma once
// The system cells S000..S999 that the engine itself reads or writes, by name. Scripts may
// read and assign every one of them like any other cell, so the engine reads them as
// untrusted values wherever it uses them. Everywhere outside this header and the variable
// store, a system cell is named: `vars.S(cell::AutoLevel)`.

#include <cstdint>

namespace orv::cell {

// ---- Menus and saving.
// Save and load availability: 0 both, 1 load only, 2 and 3 neither. Assigning it refreshes
// the menus.
constexpr int SaveLoad = 0;
// Saving allowed; 0 disables the save items. It also allows the backlog, page review and
// hiding the message window, which do nothing while it is 0. Assigning it refreshes the menus.
constexpr int SavingAllowed = 28;
// Set to the offset of the last `backto` line: what a save made while a choice waits
// resumes at. 0 after every script load into the main buffer and every taken choice.
constexpr int ResumePoint = 10;
// The read mark of the passage a save was made at.
constexpr int PassageMark = 25;
// Times the game was finished (the `Clear` setting).
constexpr int ClearCount = 100;

// ---- Sound.
constexpr int MusicRequested = 3; // the track last asked for by `music`
constexpr int MusicPlaying = 5;   // the track playing
// 1 plays the music's data once; it becomes 2 at the end of the data, and the music is
// silent from 2 on.
constexpr int MusicPlayOnce = 57;

// ---- Player names.
// 1 when the player changed any of the three names from the game's defaults.
constexpr int NamesChanged = 6;

// A cell of the game's own scripts that the title return and the replays clear.
constexpr int ClearedOnTitle = 4;

// ---- The scene.
// In novel mode: 2 shows every new scene alone before the page comes over it, 1 only a
// scene whose background changed.
constexpr int NovelSceneAlone = 9;
constexpr int SceneFilter = 11;      // 1 darken, 2 sepia, 3 grey, 4 turned round
constexpr int FilterBrightness = 13; // sixteenths, for the darkening filter
// 1 when `partsload` loaded a second parts sheet; taking a choice clears it too.
constexpr int SecondPartsSheet = 15;
constexpr int TransitionDuration = 16; // `fadein` and `fadeout`; lasts one transition
// Set to 1 when a click cut a `sleep`, a transition or a character move short.
constexpr int CutShort = 19;
// Set to 1 when a click ended an animation that the script let the player skip.
constexpr int AnimationCut = 36;
// The overlay: 0 drawn beneath the characters, 1 above them, anything else hidden.
constexpr int OverlayPlacement = 20;
constexpr int OverlayX = 21;
constexpr int OverlayY = 22;
constexpr int OverlayWeight = 23; // 0 masked, otherwise the blend weight
constexpr int OverlayShown = 35;
// Not 0: the draw order of two and four characters is turned round.
constexpr int SwappedDrawOrder = 24;
// The position table: S080..S089 hold the horizontal centres, S090..S099 the top edges.
constexpr int PositionX = 80;
constexpr int PositionY = 90;
constexpr int kPositionEntries = 10;
// Where the manga symbol is drawn.
constexpr int MangaSymbolX = 32;
constexpr int MangaSymbolY = 33;

// ---- Auto and skip mode, and the quick buttons.
constexpr int AutoLevel = 26;         // 0 is off
constexpr int AutoLevelRestored = 27; // the level auto mode comes back with
// The quick buttons' states, S060 for button 1 to S078 for button 19: 0 normal, 1 under the
// pointer, 2 on. The first two double as the skip and auto indicators.
constexpr int FirstQuickButton = 60;
constexpr int LastQuickButton = 78;
constexpr int SkipIndicator = 60;     // 2 while skipping
constexpr int AutoIndicator = 61;     // 2 while auto mode is on
// Quick buttons held down, released with the mouse button; the last is the backlog button.
constexpr int FirstPressedButton = 63;
constexpr int LastPressedButton = 65;
constexpr int BacklogButton = 65;
// The click override for the next press: 56, 57 or 66.
constexpr int ClickOverride = 56;

// ---- Text.
constexpr int TextColourZero = 37; // 0xBBGGRR of colour number 0
// Set by every automatic line break; while set, a full-width space at the indent of a row is
// dropped. Cleared at every new page and whenever a log line is committed.
constexpr int LineBroken = 38;
// 1 while the newest page snapshot was taken at a line wait inside the page and the page's
// next snapshot replaces it; 0 after a page's final snapshot.
constexpr int ProvisionalSnapshot = 39;
constexpr int DatePanel = 50;     // copy of the DatePanel setting
constexpr int WindowStyle = 51;   // copy of the TXWStyle setting
constexpr int WindowPosition = 79; // 0 the window at TXW_OFS_Y, 1 at TXW_OFS_Y2
constexpr int NovelMode = 160;     // not 0: text over the whole screen

// ---- The choice record.
constexpr int ChoiceRecordMode = 161; // 0 off, 1 recording, 2 replaying
constexpr int ChoiceRecordCount = 162;
constexpr int ChoiceReplayPosition = 163;

// ---- Start values, set once the game configuration and the settings are read. Two of
// them (S008 and S031) have no meaning to the engine beyond this start value.
struct StartValue {
    int Cell;
    int32_t Value;
};
inline constexpr StartValue kStartValues[] = {
    {SaveLoad, 3},        {MusicPlaying, 0}, {8, 8},           {OverlayPlacement, 250},
    {OverlayX, 550},      {AutoLevelRestored, 5}, {MangaSymbolX, 520}, {MangaSymbolY, 30},
    {TextColourZero, 0xFFFFFF}, {31, 0},
};

// ---- The status and map screens. S004 (ClearedOnTitle) is set by the game's scripts while
// a day runs, and shows the day indicator.
constexpr int DayPicture = 110;          // the number of the day indicator's picture
constexpr int FirstMapEventValue = 115;  // the value of the first event chosen on the map
constexpr int SecondMapEventValue = 116; // and of the second

// The cells kept with saved games: S000..S199.
constexpr int kSavedCells = 200;

} // namespace orv::cell
