#pragma once
// The music player: a WADY stream decoded block by block into a ring of four blocks that the
// mixer plays round and round, one block refilled behind the play position on every timer
// tick, looping back to the stream's loop point at its end. Memory stays at two work buffers
// allocated once.

#include "sound/mixer.h"
#include "sound/wady.h"

#include <cstdint>
#include <span>
#include <vector>

namespace orv {

class VariableStore;

// Where the coded bytes of a stream come from: an archive entry, or the animation file.
class CodedSource {
public:
    virtual ~CodedSource() = default;
    // `out.size()` bytes from `offset` of the stream's entry; false when they are not there.
    virtual bool Read(uint64_t offset, std::span<uint8_t> out) = 0;
    virtual uint64_t Size() const = 0;
};

// MusicSource: what the player streams from.
namespace music_source {
constexpr int32_t None = 0;
constexpr int32_t Archive = 1;
constexpr int32_t Animation = 2;
} // namespace music_source

class MusicPlayer {
public:
    static constexpr int32_t kBlocks = 4;
    static constexpr int32_t kSilentBelow = -3000; // a fade past this level stops the music
    static constexpr size_t kCodedBufferBytes = 352800;
    static constexpr size_t kPcmBufferSamples = 352800;

    MusicPlayer(Mixer& mixer, VariableStore& vars, int slot);

    // The two work buffers, once (InitSound).
    void Allocate();

    // Starts the stream of `source` at `volume` on the mixer's music slot, for the given
    // MusicSource kind. False when the entry is not a usable WADY stream (nothing plays).
    bool Start(CodedSource& source, int32_t kind, int32_t volume);
    // Stops the stream; the source is forgotten.
    void Stop();
    bool Playing() const { return Source != music_source::None; }

    // One timer tick: the fade, then the blocks the play position has left behind. Returns
    // false when the fade ran out and stopped the music.
    bool Pump(int32_t musicVolume);
    // The volume falls from the current one by `step` a tick until it passes -3000.
    void FadeOut(int32_t step);

    int32_t Source = music_source::None;
    int32_t CurrentMusicVolume = 0;
    int32_t FadeLevel = 0;
    int32_t FadeStep = 0;
    int32_t NextBlock = 0;

private:
    // Decodes the next block's coded bytes into the PCM buffer (wrapping at the end of the
    // data to the loop point) and writes it into the ring.
    void RefillBlock(int32_t block);
    // `count` coded bytes from `offset` decoded into the PCM buffer at `samples`; returns the
    // samples written.
    size_t DecodeAt(uint64_t offset, size_t count, size_t samples);
    bool PlayOnceSilent() const;

    Mixer& m_mixer;
    VariableStore& m_vars;
    int m_slot;
    CodedSource* m_source = nullptr;
    WadyHeader m_header;
    StreamDecoder m_decoder;
    size_t m_blockFrames = 0;
    size_t m_blockCoded = 0; // coded bytes of one block: a byte a sample
    uint64_t m_nextPos = 0;
    uint64_t m_endPos = 0;
    uint64_t m_loopPos = 0;
    std::vector<uint8_t> m_coded;
    std::vector<int16_t> m_pcm;
};

} // namespace orv
