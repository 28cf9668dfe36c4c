#pragma once
// The engine's own mixer: up to eight sources of 16-bit PCM, each at its own rate and with
// its own volume, mixed into interleaved stereo at the output rate. The audio device's
// thread (or the headless front end's virtual clock) calls Mix; the engine's thread starts,
// stops and writes sources. Every call takes the mixer's lock, which Mix holds only while it
// mixes one buffer.

#include "sound/pcm.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>

namespace orv {

// A volume in hundredths of a decibel (0 full, more negative quieter; -9999 and below
// silent) as a linear gain: 10^(att / 2000).
float LinearGain(int32_t attenuation);

class Mixer {
public:
    static constexpr int kSlots = 8;
    // The largest ring: four music blocks of 44100 stereo frames.
    static constexpr size_t kRingCapacitySamples = 352800;

    explicit Mixer(uint32_t outputRate = 44100);
    Mixer(const Mixer&) = delete;
    Mixer& operator=(const Mixer&) = delete;
    ~Mixer();

    uint32_t OutputRate() const { return m_outputRate; }

    // A decoded sound from its first frame, once or looping; whatever the slot held stops.
    // Nothing plays for a clip of no frames, of other than 1 or 2 channels or of rate 0. A
    // clip that has played to its end keeps its memory until its slot is used again or
    // stopped: the audio thread frees nothing.
    void PlayClip(int slot, PcmClip clip, bool loop, int32_t attenuation);
    // A sound of `frames` frames without its samples, for a run that nothing hears: it plays
    // for as long as its clip would, silently.
    void PlayUnheard(int slot, size_t frames, int32_t channels, uint32_t rate,
                     int32_t attenuation);
    // A looping ring of `frames` frames, silent until written, played from frame 0; the
    // music player writes blocks into it while it plays. `frames` is cut to the capacity.
    void StartRing(int slot, int32_t channels, uint32_t rate, size_t frames, int32_t attenuation);
    // Copies interleaved samples into the ring from frame `frameOffset`; what would lie past
    // the ring's end is not written.
    void WriteRing(int slot, size_t frameOffset, std::span<const int16_t> samples);

    void Stop(int slot);
    void StopAll();
    bool IsPlaying(int slot) const;
    // The frame the slot plays next, counted from its start (within the ring for a ring,
    // within one pass of the clip for a looping clip); 0 for an empty slot.
    size_t PlayPosition(int slot) const;

    void SetAttenuation(int slot, int32_t attenuation);
    // The whole mix (the primary volume); -9999 mutes.
    void SetMasterAttenuation(int32_t attenuation);

    // Fills `stereo` (left, right, left, ...) with the next frames of the mix. A gain that
    // changed since the last call is ramped across this buffer.
    void Mix(std::span<int16_t> stereo);
    // Moves every source on by `frames` output frames, as Mix would, without producing the
    // samples: for a run that nothing hears. Ends, loops and gains come out as after Mix.
    void Advance(size_t frames);

private:
    struct Source;
    // Empties a slot under the lock. Its clip moves to `retired`, which the caller frees once
    // the lock is released, so that the audio thread never waits for a large free.
    static void Clear(Source& source, PcmClip& retired);
    Source* SlotSource(int slot) const;
    // Plays `frames` frames of `clip` from its first; without samples, silently.
    void StartClip(int slot, PcmClip clip, size_t frames, bool loop, int32_t attenuation,
                   bool withSamples);

    uint32_t m_outputRate;
    mutable std::mutex m_lock;
    float m_masterGain = 1.0f;
    // Built with the mixer, each with its ring storage, and kept for its whole life.
    std::array<std::unique_ptr<Source>, kSlots> m_sources;
};

} // namespace orv
