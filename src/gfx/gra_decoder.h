#pragma once
// Decoding of GRA pictures (gra_format.h) into 24-bit surfaces. The data comes from the
// archives and is untrusted: a damaged entry never makes the decoder read or write outside
// its buffers; it yields what it decoded up to the damage and zeros after it.

#include "base/bytes.h"
#include "gfx/gra_format.h"
#include "gfx/surface.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace orv {

// Pictures with more pixels than this are refused: no game draws one, and a damaged header
// must not make the engine allocate gigabytes.
constexpr uint64_t kMaxPicturePixels = uint64_t{4096} * 4096;

enum class GraStatus {
    Complete, // every stage reached its target
    Damaged,  // the data ended early or broke a rule; the target holds what was decoded
    Refused,  // no header, or a picture too large; the target is unchanged
};

// How far one stage got.
struct GraStageResult {
    size_t Produced = 0; // bytes written (up to the end of the last whole token or run)
    bool Damaged = false;
};

// Extra bytes past a stage's spare bytes that the copy loops may scribble on. Buffers given
// to the stage functions hold target + kGraSpareBytes + kGraCopySlack bytes.
constexpr size_t kGraCopySlack = 64;

// The LZ stage: decodes `coded` into `out` until `target` bytes are reached (the last token
// may end up to kGraSpareBytes past it). Stops, damaged, when the coded data ends early, a
// back-reference reaches before the start, or a token would end further past the target;
// the bytes from Produced up to the target are then zeros.
GraStageResult DecodeGraLz(ByteSpan coded, std::span<uint8_t> out, size_t target);
// The token-by-token loop, for comparison with the fast one.
GraStageResult DecodeGraLzPlain(ByteSpan coded, std::span<uint8_t> out, size_t target);

// The run-length stage: decodes `in` into `out` until `raw` bytes are reached. A run that
// would pass `raw` is shortened to whole units. Bytes left unwritten up to `raw` are zeros.
GraStageResult DecodeGraRuns(ByteSpan in, std::span<uint8_t> out, size_t raw);

// The delta stage over `bytes` bytes from `in` to `out` (which may be the same buffer). The
// first byte is in lane 0; `sums` holds the running sum of each lane and is carried from
// call to call, so that a picture may be undone a row at a time.
void UndoGraDelta(const uint8_t* in, uint8_t* out, size_t bytes, uint8_t sums[3]);
// The plain loop, for comparison with the fast one.
void UndoGraDeltaPlain(const uint8_t* in, uint8_t* out, size_t bytes, uint8_t sums[3]);

// False for a header the decoder refuses: more pixels than `maxPixels`, or more than 4
// bytes a pixel (no picture the engine can draw, only a damaged header asking for
// gigabytes).
bool GraHeaderAcceptable(const GraHeader& header, uint64_t maxPixels = kMaxPicturePixels);

// How many coded bytes after the header are worth reading for `header`: its coded length,
// but never more than the LZ stage could use (a literal costs 9 bits), so that a damaged
// length does not make the engine read a whole archive.
uint64_t GraCodedBytesWanted(const GraHeader& header);

// Decodes whole pictures, keeping its stage buffers from one picture to the next.
class GraDecoder {
public:
    // Decodes the GRA entry `entry` (header first) into `target`, which takes the picture's
    // size.
    GraStatus Decode(ByteSpan entry, Surface& target, uint64_t maxPixels = kMaxPicturePixels);

private:
    Bytes m_lz;
    Bytes m_raw;
};

// Decodes one entry with buffers of its own.
GraStatus DecodeGraPicture(ByteSpan entry, Surface& target, uint64_t maxPixels = kMaxPicturePixels);

} // namespace orv
