#pragma once
// Where the backlog screen puts things, from the LOG_ keys of the game configuration, and
// the arithmetic of its scroll bar. The configuration is game data: every value that
// divides or counts is held to a range where it can do neither harm nor nonsense.

#include "data/game_config.h"

#include <cstdint>

namespace orv {

struct BacklogBox {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    // Right and bottom exclusive.
    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
};

struct BacklogLayout {
    static constexpr int32_t kMaxRows = 50;

    int32_t BarX = 0, BarY = 0;   // the bar picture's top left
    BacklogBox Track;             // the thumb's track, on the screen
    BacklogBox Up, Down;          // the buttons, on the screen
    int32_t TextX = 0, TextY = 0; // the first row's text (and its voice button)
    int32_t Pitch = 1;            // pixels from row to row, at least 1
    int32_t Rows = 1;             // rows shown, 1..50
    int32_t TextPixels = 1;       // the text's height in pixels

    static BacklogLayout FromConfig(const GameConfig& config);
};

// How far the view may scroll back from the newest lines.
int32_t MaxScroll(int32_t count, int32_t rows);
// The line shown in the first row.
int32_t FirstShownLine(int32_t count, int32_t rows, int32_t scroll);
// The thumb's top: at the bottom of the track for the newest lines, at its top for the
// oldest. Only meaningful while there are more lines than rows.
int32_t ThumbTop(int32_t trackTop, int32_t trackLength, int32_t scroll, int32_t count,
                 int32_t rows);
// The scroll offset for the thumb `p` pixels down its track (p held to 0..trackLength);
// a track of no length moves nothing and gives `current` back.
int32_t ScrollForThumb(int32_t p, int32_t trackLength, int32_t count, int32_t rows,
                       int32_t current);

} // namespace orv
