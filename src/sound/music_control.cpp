// The `music` command and the music player's life: tracks by number, the deferral while the
// game is in the background, fades, and the pump of every timer tick.
#include "engine/engine.h"
#include "sound/sound.h"

#include <cstdio>

namespace orv {

namespace {

// The coded bytes of a music entry, read from its archive as the ring needs them.
class ArchiveEntrySource final : public CodedSource {
public:
    ArchiveEntrySource(const Archives& archives, const ArchiveIndex& index, int pos)
        : m_archives(archives), m_index(index), m_pos(pos) {}

    bool Read(uint64_t offset, std::span<uint8_t> out) override {
        return m_archives.ReadEntryRange(m_index, m_pos, offset, out);
    }
    uint64_t Size() const override {
        return m_pos >= 0 && static_cast<size_t>(m_pos) < m_index.Sizes.size()
                   ? m_index.Sizes[static_cast<size_t>(m_pos)]
                   : 0;
    }

private:
    const Archives& m_archives;
    const ArchiveIndex& m_index;
    int m_pos;
};

constexpr int32_t kDeferTicks = 3;
// The primary volume is set again every this many ticks, as another program may change it.
constexpr int32_t kMasterRefreshTicks = 8;

} // namespace

void Sound::SetMusic(int32_t n) {
    VariableStore& vars = m_engine.vars;
    int32_t track = n > 0 ? n : 0;
    vars.S(cell::MusicRequested) = track;
    if (track == vars.S(cell::MusicPlaying)) {
        return;
    }
    if (!m_engine.settings.BGM_ENA) {
        if (vars.S(cell::MusicPlaying) != 0) {
            StopMusic();
        }
        vars.S(cell::MusicPlaying) = 0;
        return;
    }
    if (track > 0) {
        PlayMusic(track);
    } else if (n < 0) {
        FadeOutMusic(-n);
    } else {
        StopMusic();
    }
    vars.S(cell::MusicPlaying) = track;
}

bool Sound::PlayMusic(int32_t n) {
    if (!SoundReady) {
        return true;
    }
    if (!m_engine.Host().IsActiveWindow()) {
        PendingTrack = n;
        PendingState = kDeferTicks;
        return true;
    }
    PendingState = 0;
    char name[16];
    std::snprintf(name, sizeof name, "M%02d", n);
    const ArchiveIndex& index = m_engine.archives.Bgm;
    int pos = FindEntry(index, name);
    if (pos < 0) {
        return true;
    }
    StartMusicStream(n, index, pos);
    return false;
}

void Sound::StartMusicStream(int32_t /*track*/, const ArchiveIndex& index, int pos) {
    StopMusic();
    StopSlot(sound_slot::MusicSpare);
    m_archiveMusic = std::make_unique<ArchiveEntrySource>(m_engine.archives, index, pos);
    if (!music.Start(*m_archiveMusic, music_source::Archive, m_engine.settings.MusicVolume)) {
        m_archiveMusic.reset();
    }
}

void Sound::StopMusic() {
    // A track still waiting for the window to come back is not wanted any more either.
    PendingState = 0;
    if (!SoundReady) {
        return;
    }
    music.Stop();
    m_archiveMusic.reset();
}

void Sound::StopMusicQuiet() {
    PendingState = 0;
    if (SoundReady) {
        music.Stop();
    }
}

void Sound::FadeOutMusic(int32_t step) {
    PendingState = 0;
    if (SoundReady) {
        music.FadeOut(step);
    }
}

void Sound::DeferredMusicTick() {
    if (PendingState == 0) {
        return;
    }
    if (--PendingState == 0) {
        PlayMusic(PendingTrack);
    }
}

void Sound::PumpMusic() {
    if (!SoundReady || !music.Playing()) {
        return;
    }
    if (++m_pumpCount % kMasterRefreshTicks == 0 && !Muted) {
        mixer.SetMasterAttenuation(MasterVolume);
    }
    if (!music.Pump(m_engine.settings.MusicVolume)) {
        m_archiveMusic.reset();
        return;
    }
    mixer.SetAttenuation(sound_slot::Music, music.CurrentMusicVolume);
    mixer.SetAttenuation(sound_slot::AnimSound, music.CurrentMusicVolume);
}

} // namespace orv
