#pragma once
// The entries of the animation archives (ov_anim.orv, ov_anim2.orv): a header, five tables
// of frame records, the frames as JFIF streams and an optional WADY sound. Little-endian;
// offsets count from the start of the entry.
//
//   0  u32 frame count N      4  u32 frame time T (ms)   8  u32 width W   12 u32 height H
//   16 u32 sound size S       20 u32 sound offset
//   24 u16[N] kind (0 key, 1 partial, 2 catch-up marker)
//   24+2N s16[N] x    24+4N s16[N] y    24+6N u32[N] data offset    24+10N u32[N] data size
//
// Entries are untrusted: the tables must lie inside the entry, and a frame or sound that
// does not is left out rather than read.

#include "base/bytes.h"

#include <cstdint>
#include <vector>

namespace orv {

namespace anim_frame {
constexpr uint16_t Key = 0;     // covers the whole animation area
constexpr uint16_t Partial = 1; // a smaller picture at (X, Y) inside the area
constexpr uint16_t CatchUp = 2; // redraws the key frames a late player skipped
} // namespace anim_frame

constexpr uint64_t kAnimationHeaderSize = 24;
constexpr uint64_t kAnimationFrameRecordSize = 14; // bytes of the five tables per frame
// Nine hours at 30 frames a second; more frames than this are taken for a damaged count
// rather than read into memory.
constexpr int32_t kMaxAnimationFrames = 1 << 20;

struct AnimationFrame {
    uint16_t Kind = anim_frame::Key;
    int16_t X = 0;
    int16_t Y = 0;
    uint32_t Offset = 0;
    uint32_t Size = 0;
    bool Inside = false; // the frame's data lies inside the entry
};

struct AnimationEntry {
    int32_t FrameTime = 1; // at least 1: a time of 0 or less would never advance
    int32_t Width = 0;
    int32_t Height = 0;
    uint32_t SoundSize = 0; // 0 when the entry has no sound or it lies outside the entry
    uint32_t SoundOffset = 0;
    std::vector<AnimationFrame> Frames; // empty: nothing to play
};

// How many bytes from the entry's start the header and the tables take, read from the first
// kAnimationHeaderSize bytes; 0 when there is nothing to play (no frames, a negative count,
// more than kMaxAnimationFrames, a header cut short, or tables reaching past `entrySize`).
uint64_t AnimationTablesEnd(ByteSpan header, uint64_t entrySize);

// Reads the header and the tables from `head` (the entry's first AnimationTablesEnd bytes,
// or the whole entry) of an entry of `entrySize` bytes. False, with `out` emptied, when
// there is nothing to play.
bool ParseAnimationEntry(ByteSpan head, uint64_t entrySize, AnimationEntry& out);

// ---- Writing, for the demo's picture program, the tests and the fuzz seeds.
struct AnimationFrameInput {
    uint16_t Kind = anim_frame::Key;
    int16_t X = 0;
    int16_t Y = 0;
    Bytes Data;
};

// The entry of `frames` (stored in order after the tables) and `sound` (after them).
Bytes BuildAnimationEntry(int32_t frameTime, int32_t width, int32_t height,
                          const std::vector<AnimationFrameInput>& frames, ByteSpan sound = {});

} // namespace orv
