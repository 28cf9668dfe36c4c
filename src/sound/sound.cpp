// The channels: starting voices and effects by name, stopping them, their volumes, and the
// sounds of animations.
#include "sound/sound.h"

#include "base/cp932.h"
#include "engine/engine.h"
#include "sound/ogg_voice.h"
#include "sound/wady.h"

#include <array>

namespace orv {

namespace {

// The sample voice of the config screen and the settings dialog plays even while another
// window has the focus: the player is adjusting its volume there.
constexpr std::string_view kSampleVoice = "SAMPLECV";

std::string UpperName(std::string_view name) {
    return cp932::UpperCase(name.substr(0, std::min(name.find('\0'), name.size())));
}

} // namespace

Sound::Sound(Engine& engine)
    : music(mixer, engine.vars, sound_slot::Music), m_engine(engine) {}

Sound::~Sound() {
    if (m_audioStarted) {
        m_engine.Host().StopAudio();
    }
}

bool Sound::InitSound() {
    if (SoundReady) {
        return true;
    }
    // The output says itself, in one line, why it could not open.
    if (!m_engine.Host().StartAudio(mixer)) {
        return false;
    }
    m_audioStarted = true;
    music.Allocate();
    MasterVolume = 0;
    mixer.SetMasterAttenuation(MasterVolume);
    SoundReady = true;
    return true;
}

int Sound::PlayVoice(std::string_view name) {
    if (!SoundReady) {
        return 0;
    }
    if (name != kSampleVoice && !m_engine.Host().IsActiveWindow()) {
        return 0;
    }
    std::string upper = UpperName(name);
    const Archives& archives = m_engine.archives;
    const UserSettings& settings = m_engine.settings;
    for (int slot = 2; slot >= 0; --slot) {
        if ((slot == 0 && !settings.CV1) || (slot == 1 && !settings.CV2)) {
            continue;
        }
        const ArchiveIndex& index = archives.Ogg[static_cast<size_t>(slot)];
        if (int pos = FindEntry(index, upper); pos >= 0) {
            return PlayOggEntry(index, pos) ? 0 : 1;
        }
    }
    if (!settings.SE_ENA) {
        return 1;
    }
    for (int slot = 0; slot < 3; ++slot) {
        const ArchiveIndex& index = archives.Se[static_cast<size_t>(slot)];
        if (int pos = FindEntry(index, upper); pos >= 0) {
            int channel = slot == 2 ? sound_slot::Loop : sound_slot::Effect;
            if (!PlayEffectEntry(index, pos, channel)) {
                return 1;
            }
            if (channel == sound_slot::Loop) {
                CopyName(LoopName, name);
            }
            return 0;
        }
    }
    return 1;
}

bool Sound::PlayOggEntry(const ArchiveIndex& index, int pos) {
    Bytes entry;
    if (!m_engine.archives.ReadEntry(index, pos, entry)) {
        return false;
    }
    if (!SamplesHeard) {
        if (auto voice = MeasureOggVoice(entry)) {
            mixer.PlayUnheard(sound_slot::Voice, static_cast<size_t>(voice->Frames),
                              voice->Channels, voice->Rate, m_engine.settings.VoiceVolume);
        }
        return true;
    }
    PcmClip clip;
    // A stream that cannot be decoded plays nothing; the entry was there all the same.
    if (DecodeOggVoice(entry, clip)) {
        mixer.PlayClip(sound_slot::Voice, std::move(clip), false,
                       m_engine.settings.VoiceVolume);
    }
    return true;
}

bool Sound::PlayEffectEntry(const ArchiveIndex& index, int pos, int slot) {
    Bytes entry;
    if (!m_engine.archives.ReadEntry(index, pos, entry)) {
        return false;
    }
    PcmClip clip;
    if (DecodePackedSound(entry, clip)) {
        mixer.PlayClip(slot, std::move(clip), slot == sound_slot::Loop,
                       m_engine.settings.EffectVolume);
    }
    return true;
}

bool Sound::IsVoicePlaying() const {
    return SoundReady &&
           (mixer.IsPlaying(sound_slot::Voice) || mixer.IsPlaying(sound_slot::Effect));
}

void Sound::StopSlot(int slot) {
    if (SoundReady) {
        mixer.Stop(slot);
    }
}

void Sound::StopVoice() {
    StopSlot(sound_slot::Voice);
}

void Sound::StopLoop() {
    LoopName[0] = '\0';
    StopSlot(sound_slot::Loop);
}

void Sound::StopAllChannels() {
    if (SoundReady) {
        music.Stop();
        mixer.StopAll();
    }
}

int32_t Sound::MusicSlotVolume() const {
    return music.FadeLevel != 0 ? music.CurrentMusicVolume : m_engine.settings.MusicVolume;
}

void Sound::ApplyVolumes() {
    if (!SoundReady) {
        return;
    }
    const UserSettings& settings = m_engine.settings;
    mixer.SetMasterAttenuation(Muted ? kSilent : MasterVolume);
    mixer.SetAttenuation(sound_slot::Voice, settings.VoiceVolume);
    mixer.SetAttenuation(sound_slot::Effect, settings.EffectVolume);
    mixer.SetAttenuation(sound_slot::Loop, settings.EffectVolume);
    // During a fade the music keeps the fade's level: the mixer would otherwise jump back
    // to full volume until the next tick.
    for (int slot : {sound_slot::Music, sound_slot::MusicSpare, sound_slot::AnimSound}) {
        mixer.SetAttenuation(slot, MusicSlotVolume());
    }
}

void Sound::Mute() {
    Muted = true;
    ApplyVolumes();
}

void Sound::Unmute() {
    Muted = false;
    ApplyVolumes();
}

void Sound::PlayAnimSound(std::span<const uint8_t> entry) {
    if (!SoundReady) {
        return;
    }
    PcmClip clip;
    if (DecodeStreamSound(entry, clip)) {
        mixer.PlayClip(sound_slot::AnimSound, std::move(clip), false,
                       m_engine.settings.EffectVolume);
    }
    music.FadeLevel = 0;
}

int32_t Sound::StartAnimMusic(CodedSource& source) {
    if (!SoundReady) {
        return 0;
    }
    if (music.Source == music_source::Archive) {
        StopMusic();
    }
    StopSlot(sound_slot::MusicSpare);
    PendingState = 0;
    return music.Start(source, music_source::Animation, m_engine.settings.MusicVolume) ? 2 : 1;
}

void Sound::StopAnimSound() {
    StopSlot(sound_slot::AnimSound);
}

} // namespace orv
