#pragma once
// The engine's own picture format (GRA): a 16-byte header and LZ-coded data, optionally
// followed on decoding by a run-length stage and a delta stage. All numbers little-endian.
//
//   0  2 bytes  not read
//   2  1 byte   flags: 0x40 a run-length stage follows the LZ stage, 0x80 a delta stage
//   3  1 byte   bytes per pixel (3 in every picture the engine draws)
//   4  u32      length of the LZ-coded data after the header
//   8  u32      length of the LZ stage's output when flag 0x40 is set
//  12  u16      width
//  14  u16      height
//
// LZ tokens, one flag bit each (from the most significant bit of a flag byte down; after
// eight tokens the next input byte is the next flag byte):
//   bit 0                 one literal byte
//   bit 1, c < 0x80       (c & 3) == 3: (c >> 2) + 9 literal bytes (9..40)
//                         else distance (c >> 2) + 1 (1..32), length (c & 3) + 2 (2..4)
//   bit 1, c >= 0x80, d   bit 6 of c clear: distance ((c & 0x3F) << 4) + (d >> 4) + 1
//                         (1..1024), length (d & 0x0F) + 3 (3..18)
//   bit 1, c >= 0xC0, d, e  distance ((c & 0x3F) << 8) + d + 1 (1..16384); length 4096,
//                         1024, 256 for e = 0xFF, 0xFE, 0xFD, else e + 3 (3..255)
// A back-reference copies byte by byte, so it may overlap what it writes.
//
// Run-length controls: b >= 0x80: count ((b & 0x1F) << 8) + next + 1 (1..8192) of a unit
// of ((b >> 5) & 3) + 1 bytes (1..4) that follows; b < 0x80: (b & 0x7F) + 1 literal bytes.
//
// Delta: each of the byte lanes 0, 1, 2 (positions lane, lane + 3, ...) is stored as the
// differences of its bytes, one sequence over the whole picture.

#include "base/bytes.h"

#include <cstddef>
#include <cstdint>
#include <optional>

namespace orv {

constexpr size_t kGraHeaderSize = 16;
constexpr uint8_t kGraRunLengthFlag = 0x40;
constexpr uint8_t kGraDeltaFlag = 0x80;
// Stage outputs carry this many spare bytes, so that a last token may end past the target.
constexpr size_t kGraSpareBytes = 256;

constexpr int kGraMaxLiteralRun = 40;
constexpr int kGraMaxShortDistance = 32;
constexpr int kGraMaxMiddleDistance = 1024;
constexpr int kGraMaxLongDistance = 16384;
constexpr int kGraMaxRunCount = 8192;
constexpr int kGraMaxRunLiterals = 128;

struct GraHeader {
    uint8_t Flags = 0;
    uint8_t BytesPerPixel = 3;
    uint32_t CodedLength = 0;
    uint32_t LzLength = 0; // meaningful with kGraRunLengthFlag only
    uint16_t Width = 0;
    uint16_t Height = 0;

    bool RunLength() const { return (Flags & kGraRunLengthFlag) != 0; }
    bool Delta() const { return (Flags & kGraDeltaFlag) != 0; }
    uint64_t RawSize() const { return uint64_t{Width} * Height * BytesPerPixel; }
    // What the LZ stage produces: the raw size, or LzLength before a run-length stage.
    uint64_t LzTarget() const { return RunLength() ? LzLength : RawSize(); }
};

// The header at the start of `entry`, or nothing when the entry is shorter than a header.
std::optional<GraHeader> ParseGraHeader(ByteSpan entry);

// The 16 header bytes of `header`.
void AppendGraHeader(Bytes& out, const GraHeader& header);

} // namespace orv
