#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace orv {

namespace {

constexpr int32_t kSilentAttenuation = -9999;
// Frames summed at a time: the 32-bit sums of one chunk live on the stack.
constexpr size_t kChunkFrames = 256;

// A sound the mixer can play: one or two channels, a rate, at least one frame.
bool Playable(int32_t channels, uint32_t rate, size_t frames) {
    return (channels == 1 || channels == 2) && rate > 0 && frames > 0;
}

int16_t Saturate(int32_t sum) {
    return static_cast<int16_t>(std::clamp<int32_t>(sum, std::numeric_limits<int16_t>::min(),
                                                    std::numeric_limits<int16_t>::max()));
}

} // namespace

float LinearGain(int32_t attenuation) {
    if (attenuation <= kSilentAttenuation) {
        return 0.0f;
    }
    // An attenuation only attenuates, as the volumes of the games never go above 0; a positive
    // value would overdrive every sample of the source.
    attenuation = std::min(attenuation, 0);
    return static_cast<float>(std::pow(10.0, attenuation / 2000.0));
}

struct Mixer::Source {
    enum class Kind : uint8_t { Empty, Clip, Ring };

    Kind State = Kind::Empty;
    bool Loop = false;
    PcmClip Clip;
    std::unique_ptr<int16_t[]> RingStorage;
    // What plays: the clip's samples or the ring's.
    const int16_t* Data = nullptr;
    size_t Frames = 0;
    int32_t Channels = 1;
    // The position is Frame + Phase / outputRate source frames and moves by exactly
    // rate / outputRate each output frame, so that a sound of an hour still ends on the
    // output frame its length says.
    size_t Frame = 0;
    uint32_t Phase = 0;
    uint32_t StepFrames = 0;
    uint32_t StepPhase = 0;
    // The slot's own gain, and the gain (times the master's) reached at the end of the last
    // buffer, where the next ramp starts.
    float Gain = 1.0f;
    float Applied = 1.0f;

    Source() : RingStorage(std::make_unique_for_overwrite<int16_t[]>(kRingCapacitySamples)) {}

    void Start(const int16_t* data, size_t frames, int32_t channels, uint32_t rate,
               uint32_t outputRate, bool loop, float gain, float master) {
        Data = data;
        Frames = frames;
        Channels = channels;
        Loop = loop;
        Frame = 0;
        Phase = 0;
        StepFrames = rate / outputRate;
        StepPhase = rate % outputRate;
        Gain = gain;
        // A fresh sound starts at its volume: a ramp from silence would soften its attack.
        Applied = gain * master;
    }

    // Moves on by `count` output frames. False when a sound played once has ended.
    bool Advance(size_t count, uint32_t outputRate) {
        uint64_t phase = Phase + uint64_t{StepPhase} * count;
        Frame += uint64_t{StepFrames} * count + phase / outputRate;
        Phase = static_cast<uint32_t>(phase % outputRate);
        return Wrap();
    }

    bool Wrap() {
        if (Frame < Frames) {
            return true;
        }
        if (!Loop) {
            return false;
        }
        Frame %= Frames;
        return true;
    }

    // Adds `count` frames, resampled by linear interpolation, into `sums` (stereo), the gain
    // moving by `delta` each frame from `gain`. False when a sound played once ended inside
    // the chunk; what follows its end stays silent.
    template <int N>
    bool MixInto(int32_t* sums, size_t count, float gain, float delta, uint32_t outputRate) {
        const float phaseScale = 1.0f / static_cast<float>(outputRate);
        size_t frame = Frame;
        uint32_t phase = Phase;
        bool playing = true;
        for (size_t k = 0; k < count; ++k) {
            float g = gain + delta * static_cast<float>(k + 1);
            float w = static_cast<float>(phase) * phaseScale;
            // Past the last frame a loop goes on with its first, a sound played once with
            // silence.
            size_t next = frame + 1;
            bool hasNext = next < Frames || Loop;
            if (next >= Frames) {
                next = 0;
            }
            for (int c = 0; c < N; ++c) {
                float a = Data[frame * N + c];
                float b = hasNext ? Data[next * N + c] : 0.0f;
                int32_t value = static_cast<int32_t>((a + (b - a) * w) * g);
                if constexpr (N == 1) {
                    sums[2 * k] += value;
                    sums[2 * k + 1] += value;
                } else {
                    sums[2 * k + c] += value;
                }
            }
            phase += StepPhase;
            frame += StepFrames;
            if (phase >= outputRate) {
                phase -= outputRate;
                ++frame;
            }
            if (frame >= Frames) {
                if (!Loop) {
                    playing = false;
                    break;
                }
                frame %= Frames;
            }
        }
        Frame = frame;
        Phase = phase;
        return playing;
    }
};

Mixer::Mixer(uint32_t outputRate) : m_outputRate(outputRate > 0 ? outputRate : 44100) {
    for (auto& source : m_sources) {
        source = std::make_unique<Source>();
    }
}

Mixer::~Mixer() = default;

Mixer::Source* Mixer::SlotSource(int slot) const {
    if (slot < 0 || slot >= kSlots) {
        return nullptr;
    }
    return m_sources[static_cast<size_t>(slot)].get();
}

void Mixer::Clear(Source& source, PcmClip& retired) {
    source.State = Source::Kind::Empty;
    source.Data = nullptr;
    source.Frames = 0;
    std::swap(source.Clip, retired);
}

void Mixer::PlayClip(int slot, PcmClip clip, bool loop, int32_t attenuation) {
    size_t frames = clip.Frames();
    StartClip(slot, std::move(clip), frames, loop, attenuation, true);
}

void Mixer::PlayUnheard(int slot, size_t frames, int32_t channels, uint32_t rate,
                        int32_t attenuation) {
    PcmClip lengthOnly;
    lengthOnly.Channels = channels;
    lengthOnly.Rate = rate;
    StartClip(slot, std::move(lengthOnly), frames, false, attenuation, false);
}

void Mixer::StartClip(int slot, PcmClip clip, size_t frames, bool loop, int32_t attenuation,
                      bool withSamples) {
    Source* source = SlotSource(slot);
    if (!source) {
        return;
    }
    bool usable = Playable(clip.Channels, clip.Rate, frames);
    // Declared before the lock, so freed after it is released.
    PcmClip retired;
    std::lock_guard guard(m_lock);
    Clear(*source, retired);
    if (!usable) {
        return;
    }
    source->Clip = std::move(clip);
    const PcmClip& held = source->Clip;
    source->Start(withSamples ? held.Samples.data() : nullptr, frames, held.Channels, held.Rate,
                  m_outputRate, loop, LinearGain(attenuation), m_masterGain);
    source->State = Source::Kind::Clip;
}

void Mixer::StartRing(int slot, int32_t channels, uint32_t rate, size_t frames,
                      int32_t attenuation) {
    Source* source = SlotSource(slot);
    if (!source) {
        return;
    }
    PcmClip retired;
    {
        // Silenced first, so that its ring can be cleared without holding up the audio
        // thread.
        std::lock_guard guard(m_lock);
        Clear(*source, retired);
    }
    if (!Playable(channels, rate, frames)) {
        return;
    }
    frames = std::min(frames, kRingCapacitySamples / static_cast<size_t>(channels));
    std::fill_n(source->RingStorage.get(), frames * static_cast<size_t>(channels), int16_t{0});
    std::lock_guard guard(m_lock);
    source->Start(source->RingStorage.get(), frames, channels, rate, m_outputRate, true,
                  LinearGain(attenuation), m_masterGain);
    source->State = Source::Kind::Ring;
}

void Mixer::WriteRing(int slot, size_t frameOffset, std::span<const int16_t> samples) {
    Source* source = SlotSource(slot);
    if (!source) {
        return;
    }
    std::lock_guard guard(m_lock);
    if (source->State != Source::Kind::Ring || frameOffset >= source->Frames) {
        return;
    }
    size_t channels = static_cast<size_t>(source->Channels);
    size_t frames = std::min(samples.size() / channels, source->Frames - frameOffset);
    std::copy_n(samples.begin(), frames * channels,
                source->RingStorage.get() + frameOffset * channels);
}

void Mixer::Stop(int slot) {
    Source* source = SlotSource(slot);
    if (!source) {
        return;
    }
    PcmClip retired;
    std::lock_guard guard(m_lock);
    Clear(*source, retired);
}

void Mixer::StopAll() {
    std::array<PcmClip, kSlots> retired;
    std::lock_guard guard(m_lock);
    for (size_t i = 0; i < m_sources.size(); ++i) {
        Clear(*m_sources[i], retired[i]);
    }
}

bool Mixer::IsPlaying(int slot) const {
    Source* source = SlotSource(slot);
    if (!source) {
        return false;
    }
    std::lock_guard guard(m_lock);
    return source->State != Source::Kind::Empty;
}

size_t Mixer::PlayPosition(int slot) const {
    Source* source = SlotSource(slot);
    if (!source) {
        return 0;
    }
    std::lock_guard guard(m_lock);
    return source->State == Source::Kind::Empty ? 0 : source->Frame;
}

void Mixer::SetAttenuation(int slot, int32_t attenuation) {
    Source* source = SlotSource(slot);
    if (!source) {
        return;
    }
    std::lock_guard guard(m_lock);
    source->Gain = LinearGain(attenuation);
}

void Mixer::SetMasterAttenuation(int32_t attenuation) {
    std::lock_guard guard(m_lock);
    m_masterGain = LinearGain(attenuation);
}

void Mixer::Mix(std::span<int16_t> stereo) {
    const size_t frames = stereo.size() / 2;
    if (stereo.size() % 2 != 0) {
        stereo.back() = 0;
    }
    if (frames == 0) {
        return;
    }
    std::lock_guard guard(m_lock);
    // Each source ramps from where its gain stood to its new gain across this buffer: a
    // volume step or a fade never jumps within a sample.
    std::array<float, kSlots> deltas{};
    for (size_t i = 0; i < m_sources.size(); ++i) {
        const Source& source = *m_sources[i];
        deltas[i] = (source.Gain * m_masterGain - source.Applied) / static_cast<float>(frames);
    }
    int32_t sums[2 * kChunkFrames];
    for (size_t done = 0; done < frames;) {
        size_t count = std::min(kChunkFrames, frames - done);
        std::fill_n(sums, 2 * count, 0);
        for (size_t i = 0; i < m_sources.size(); ++i) {
            Source& source = *m_sources[i];
            if (source.State == Source::Kind::Empty) {
                continue;
            }
            float gain = source.Applied + deltas[i] * static_cast<float>(done);
            bool playing = true;
            if ((gain == 0.0f && deltas[i] == 0.0f) || source.Data == nullptr) {
                // Silent sources keep their time, so that they come back where they would be.
                playing = source.Advance(count, m_outputRate);
            } else if (source.Channels == 1) {
                playing = source.MixInto<1>(sums, count, gain, deltas[i], m_outputRate);
            } else {
                playing = source.MixInto<2>(sums, count, gain, deltas[i], m_outputRate);
            }
            if (!playing) {
                // The clip's memory stays until the slot is reused or stopped: nothing is
                // freed on the audio thread.
                source.State = Source::Kind::Empty;
            }
        }
        for (size_t s = 0; s < 2 * count; ++s) {
            stereo[2 * done + s] = Saturate(sums[s]);
        }
        done += count;
    }
    for (auto& source : m_sources) {
        source->Applied = source->Gain * m_masterGain;
    }
}

void Mixer::Advance(size_t frames) {
    if (frames == 0) {
        return;
    }
    std::lock_guard guard(m_lock);
    for (auto& source : m_sources) {
        if (source->State != Source::Kind::Empty && !source->Advance(frames, m_outputRate)) {
            source->State = Source::Kind::Empty;
        }
        source->Applied = source->Gain * m_masterGain;
    }
}

} // namespace orv
