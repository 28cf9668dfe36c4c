#pragma once
// WAV files for the tools: 16-bit PCM, mono or stereo, at any rate. Other formats are
// refused with a reason rather than converted: a sound changed silently on its way into
// the game is harder to find than a refusal.

#include "base/bytes.h"
#include "sound/pcm.h"

#include <filesystem>
#include <span>
#include <string>

namespace orv {

// Reads `file` into `out`; an error text (empty on success) otherwise. A data chunk cut
// short by the end of the file gives the whole frames it holds and sets `truncated`.
std::string ParseWav(ByteSpan file, PcmClip& out, bool& truncated);
std::string ReadWav(const std::filesystem::path& path, PcmClip& out, bool& truncated);

// The file of a clip: a canonical 44-byte header and the samples. A clip too long for the
// RIFF sizes (4 GiB) is cut to whole frames that fit.
Bytes ClipWavBytes(const PcmClip& clip);
// The same for interleaved samples held elsewhere (the headless front end's whole mix).
Bytes WavBytes(std::span<const int16_t> samples, int32_t channels, uint32_t rate);

} // namespace orv
