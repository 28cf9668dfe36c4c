#pragma once
// Encoding of 24-bit pictures as GRA entries (gra_format.h), for the tools that rebuild
// game data and for tests. The LZ stage searches hash chains over the whole 16384-byte
// window and picks, for each match, the shortest token that covers it.

#include "base/bytes.h"
#include "gfx/surface.h"

#include <optional>

namespace orv {

constexpr int kGraBalancedPenalty = 16;
constexpr int kGraFastPenalty = 40;

struct GraEncodeOptions {
    bool RunLength = false; // a run-length stage before the LZ stage (flag 0x40)
    bool Delta = false;     // lane differences first (flag 0x80): smooth pictures pack better
    // Hash-chain steps tried per position: more finds longer matches, slower.
    int SearchDepth = 64;
    // What one more token costs, in bits of coded data: a match is taken only when it saves
    // more than this. Decoding spends its time per token, so a higher value trades size for
    // decoding speed; on noisy pictures 16 decodes about twice as fast as 9 for 7% more
    // bytes, and 40 about as fast as a copy.
    int TokenPenaltyBits = kGraBalancedPenalty;
};

// The whole entry (header and coded data), or nothing when the picture is wider or higher
// than 65535 pixels.
std::optional<Bytes> EncodeGraPicture(const Surface& picture, const GraEncodeOptions& options);

// The stages on their own, each the inverse of the decoder's.
Bytes EncodeGraLz(ByteSpan data, int searchDepth = 64, int tokenPenaltyBits = kGraBalancedPenalty);
Bytes EncodeGraRuns(ByteSpan data);
// Replaces each byte by its difference to the byte three before it (0 before the start).
void ApplyGraDelta(uint8_t* data, size_t size);

} // namespace orv
