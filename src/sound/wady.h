#pragma once
// The engine's sound format, WADY: a 48-byte header and either the packed codec (sound
// effects, decoded whole) or the stream codec (music and animation sounds, one byte a
// sample, decoded block by block). Entries come from the archives and are untrusted: the
// header is checked before use and no decoder reads past its entry or writes past its
// output.

#include "base/bytes.h"
#include "sound/pcm.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orv {

constexpr size_t kWadyHeaderSize = 48;
// The music ring: four blocks of decoded PCM (at most 44100 stereo frames a block).
constexpr size_t kWadyRingBytes = 705600;
// Sounds decoded whole are never larger, whatever a header claims.
constexpr uint32_t kWadyMaxPcmBytes = 64u << 20;

struct WadyHeader {
    uint8_t Scale = 0;           // delta scale (stream codec)
    uint16_t Channels = 0;       // stream codec, as stored (UsableAsStream checks it)
    uint32_t FramesPerBlock = 0; // stream codec
    uint32_t DataLength = 0;     // coded bytes after the header, clamped to the entry
    uint32_t Frames = 0;         // frames of the whole stream (animation sounds)
    uint32_t PcmBytes = 0;       // bytes of the decoded 16-bit PCM
    uint32_t LoopStart = 0;      // coded bytes from offset 48 to the loop start, clamped
    int16_t LoopLeft = 0;        // running values at the loop start
    int16_t LoopRight = 0;
    // The WAVEFORMATEX of the decoded PCM.
    uint16_t FormatTag = 0;
    uint16_t FormatChannels = 0;
    uint32_t Rate = 0;
    uint32_t BytesPerSecond = 0; // not checked: nothing here depends on it
    uint16_t BlockAlign = 0;     // not checked either
    uint16_t BitsPerSample = 0;
};

// The header of an entry, or nothing when it is not WADY or does not hold a 16-bit PCM
// format with 1 or 2 channels at 8000..192000 Hz. Lengths are clamped to the entry.
std::optional<WadyHeader> ParseWadyHeader(std::span<const uint8_t> entry);
// The same from the header's 48 bytes alone, for a stream read block by block: lengths are
// clamped to an entry of `entrySize` bytes.
std::optional<WadyHeader> ParseWadyHeader(std::span<const uint8_t> header, uint64_t entrySize);
// The stream codec's further needs: the header's own channel count matches the format,
// at least one frame a block, and four blocks fit the music ring.
bool UsableAsStream(const WadyHeader& header);
// The most frames a block of `channels` channels may hold (four blocks fill the ring).
uint32_t MaxStreamFramesPerBlock(int32_t channels);
// The 48 bytes of `header` as the encoders write them; the fields are taken as they stand.
Bytes WriteWadyHeader(const WadyHeader& header);

// A sound effect whole (packed codec); false when nothing can be played.
bool DecodePackedSound(std::span<const uint8_t> entry, PcmClip& out);

// The stream codec's decoder: the running value of each channel between blocks.
class StreamDecoder {
public:
    void Start(const WadyHeader& header);
    // Decodes coded bytes (interleaved per channel) into as many samples, at most
    // out.size(); every sample is 0 while `silent`. Returns the samples written.
    size_t Decode(std::span<const uint8_t> coded, std::span<int16_t> out, bool silent);
    void SetRunning(int16_t left, int16_t right);
    int16_t Running(int channel) const;

private:
    template <bool Silent>
    size_t DecodeInto(std::span<const uint8_t> coded, std::span<int16_t> out);

    int32_t m_channels = 1;
    uint16_t m_running[2] = {};
    size_t m_next = 0; // the channel of the next byte
    // Per byte: the running value becomes (running & m_keep[b]) + m_add[b], so that the
    // absolute and the delta bytes take the same path through the inner loop.
    uint16_t m_keep[256] = {};
    uint16_t m_add[256] = {};
};

// A whole animation sound (stream codec, header frames); false when nothing can be played.
bool DecodeStreamSound(std::span<const uint8_t> entry, PcmClip& out);

// Encoders, for orvtool and the demo. Each comes as close to the PCM as its codec allows.
// `loopFrame`: where a stream loops back to (the header's loop start and running values).
// Both return nothing (an empty vector) for a clip of other than 1 or 2 channels, at a
// rate outside 8000..192000 Hz, or too long for the header's 32-bit sizes (the packed
// codec: more than kWadyMaxPcmBytes of PCM). The stream encoder cuts `framesPerBlock` to
// 1..MaxStreamFramesPerBlock; a loop frame past the last frame loops to the start.
Bytes EncodePackedSound(const PcmClip& pcm);
Bytes EncodeStreamSound(const PcmClip& pcm, std::optional<size_t> loopFrame,
                        uint32_t framesPerBlock);

// How far a decoded sound lies from the PCM it was encoded from, sample by sample (a
// sample one of them lacks counts against 0).
struct CodingError {
    double Rms = 0;
    int32_t Peak = 0;
};
CodingError MeasureCodingError(const PcmClip& original, const PcmClip& decoded);

} // namespace orv
