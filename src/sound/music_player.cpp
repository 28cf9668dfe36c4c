#include "sound/music_player.h"

#include "script/variables.h"

#include <algorithm>

namespace orv {

namespace {
// S057: 1 plays the data once; it becomes 2 at the end of the data, and from 2 on the
// decoder gives silence.
constexpr int32_t kPlayOnce = 1;
constexpr int32_t kPlayedOnce = 2;
// A loop region far shorter than a block is wrapped round at most this many times in one
// refill; the rest of the block is silence rather than an endless refill.
constexpr int kMaxWrapsPerBlock = 64;
} // namespace

MusicPlayer::MusicPlayer(Mixer& mixer, VariableStore& vars, int slot)
    : m_mixer(mixer), m_vars(vars), m_slot(slot) {}

void MusicPlayer::Allocate() {
    m_coded.assign(kCodedBufferBytes, 0);
    m_pcm.assign(kPcmBufferSamples, 0);
}

bool MusicPlayer::PlayOnceSilent() const {
    return m_vars.S(cell::MusicPlayOnce) >= kPlayedOnce;
}

bool MusicPlayer::Start(CodedSource& source, int32_t kind, int32_t volume) {
    CurrentMusicVolume = volume;
    FadeLevel = 0;
    Stop();
    uint8_t bytes[kWadyHeaderSize];
    if (m_coded.empty() || !source.Read(0, bytes)) {
        return false;
    }
    std::optional<WadyHeader> header = ParseWadyHeader(bytes, source.Size());
    if (!header || !UsableAsStream(*header)) {
        return false;
    }
    m_header = *header;
    m_source = &source;
    Source = kind;
    m_blockFrames = m_header.FramesPerBlock;
    m_blockCoded = m_blockFrames * m_header.Channels;
    m_endPos = kWadyHeaderSize + uint64_t{m_header.DataLength};
    m_loopPos = kWadyHeaderSize + uint64_t{m_header.LoopStart};
    m_nextPos = kWadyHeaderSize;
    m_decoder.Start(m_header);
    m_mixer.StartRing(m_slot, m_header.Channels, m_header.Rate, kBlocks * m_blockFrames,
                      CurrentMusicVolume);
    for (int32_t block = 0; block < kBlocks; ++block) {
        RefillBlock(block);
    }
    NextBlock = 0;
    return true;
}

void MusicPlayer::Stop() {
    if (Source == music_source::None) {
        return;
    }
    Source = music_source::None;
    m_mixer.Stop(m_slot);
    m_source = nullptr;
}

void MusicPlayer::FadeOut(int32_t step) {
    FadeLevel = CurrentMusicVolume - 1;
    FadeStep = step;
}

bool MusicPlayer::Pump(int32_t musicVolume) {
    if (FadeLevel != 0) {
        FadeLevel -= FadeStep;
        if (FadeLevel < kSilentBelow) {
            Stop();
            FadeLevel = 0;
            return false;
        }
        CurrentMusicVolume = FadeLevel;
    }
    if (FadeLevel == 0) {
        CurrentMusicVolume = musicVolume;
    }
    if (m_blockFrames == 0) {
        return true;
    }
    // One block behind the play position; a tick that came very late refills at most the
    // whole ring once.
    for (int32_t refills = 0; refills < kBlocks; ++refills) {
        auto playing = static_cast<int32_t>(m_mixer.PlayPosition(m_slot) / m_blockFrames);
        if (playing == NextBlock) {
            break;
        }
        RefillBlock(NextBlock);
        NextBlock = (NextBlock + 1) % kBlocks;
    }
    return true;
}

size_t MusicPlayer::DecodeAt(uint64_t offset, size_t count, size_t samples) {
    count = std::min({count, m_coded.size(), m_pcm.size() - samples});
    if (count == 0 || !m_source->Read(offset, std::span(m_coded.data(), count))) {
        return 0;
    }
    return m_decoder.Decode(std::span(m_coded.data(), count),
                            std::span(m_pcm.data() + samples, m_pcm.size() - samples),
                            PlayOnceSilent());
}

void MusicPlayer::RefillBlock(int32_t block) {
    size_t wanted = std::min(m_blockCoded, m_pcm.size());
    size_t filled = 0;
    if (m_endPos >= m_nextPos + wanted) {
        filled = DecodeAt(m_nextPos, wanted, 0);
        m_nextPos += wanted;
    } else {
        // The end of the data comes within this block: its tail, then on from the loop
        // point with the running values the loop point had when the stream was made.
        filled = m_nextPos < m_endPos ? DecodeAt(m_nextPos, m_endPos - m_nextPos, 0) : 0;
        for (int wraps = 0; filled < wanted && wraps < kMaxWrapsPerBlock; ++wraps) {
            m_decoder.SetRunning(m_header.LoopLeft, m_header.LoopRight);
            if (m_vars.S(cell::MusicPlayOnce) == kPlayOnce) {
                m_vars.S(cell::MusicPlayOnce) = kPlayedOnce;
            }
            if (m_loopPos >= m_endPos) {
                break;
            }
            size_t take = static_cast<size_t>(std::min<uint64_t>(wanted - filled, m_endPos - m_loopPos));
            filled += DecodeAt(m_loopPos, take, filled);
            m_nextPos = m_loopPos + take;
        }
    }
    // Whatever could not be decoded (a read that failed, a loop region that is empty) plays
    // as silence rather than as the block before.
    std::fill(m_pcm.begin() + static_cast<std::ptrdiff_t>(filled),
              m_pcm.begin() + static_cast<std::ptrdiff_t>(wanted), int16_t{0});
    m_mixer.WriteRing(m_slot, static_cast<size_t>(block) * m_blockFrames,
                      std::span(m_pcm.data(), wanted));
}

} // namespace orv
