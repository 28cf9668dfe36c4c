#pragma once
// Music, sound effects and voices. Every sound is looked up by name in the archives, decoded
// by the engine (Ogg voices and WADY effects whole, music block by block) and played through
// the engine's own mixer on one of its channel slots; the platform only carries the mix to
// the audio device. Volumes are attenuations in hundredths of a decibel, as the settings
// store them.

#include "data/archive_index.h"
#include "sound/mixer.h"
#include "sound/music_player.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

// The channel slots of the mixer.
namespace sound_slot {
constexpr int Voice = 0;      // Ogg voices
constexpr int Effect = 1;     // one-shot effects (SE slots 0 and 1)
constexpr int Loop = 2;       // looping effects (SE slot 2)
constexpr int Music = 3;      // the music ring
constexpr int MusicSpare = 4; // stopped with the music; nothing fills it
constexpr int AnimSound = 5;  // one-shot sounds of an animation
} // namespace sound_slot

class Sound {
public:
    static constexpr int32_t kSilent = -9999;
    static constexpr size_t kNameSize = 30;
    static constexpr size_t kPageVoicesSize = 256;

    explicit Sound(Engine& engine);
    ~Sound();
    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    // Whether an audio output may exist; sound is off without one. InitSound finds out.
    bool DetectOutputDevice() { return true; }
    // Once, when the first script starts: the output and the work buffers. False (with one
    // diagnostic line) when there is no audio device; everything below is then silent.
    bool InitSound();

    // ---- Voices and effects.
    // A voice (Ogg slots 2, 1, 0) or a sound effect (SE slots 0, 1, 2; slot 2 loops) by
    // name: 0 when it played or was skipped by the rules, 1 when no searched archive holds
    // it, effects are off, or the entry cannot be read.
    int PlayVoice(std::string_view name);
    // The voice or the one-shot effect is still playing.
    bool IsVoicePlaying() const;
    void StopVoice();
    // Stops the looping effect and forgets its name.
    void StopLoop();
    void StopAllChannels();

    // ---- Music.
    // The `music` command: n > 0 plays track n, 0 stops, n < 0 fades out by -n a tick.
    void SetMusic(int32_t n);
    // Track n ("M%02d" of the music archive); true when it was not started (not found, or
    // deferred while the game is in the background).
    bool PlayMusic(int32_t n);
    void StopMusic();
    // The same without closing the animation file the stream came from.
    void StopMusicQuiet();
    void FadeOutMusic(int32_t step);
    // Once a timer tick: streaming, the fade, the volumes.
    void PumpMusic();
    // A track requested while the program was inactive, tried again after three ticks.
    void DeferredMusicTick();

    // ---- Volumes.
    void ApplyVolumes();
    // Silences the whole mix, and gives the volumes back (the panic screen).
    void Mute();
    void Unmute();

    // ---- Sounds of an animation, from its open file.
    // A whole stream-coded sound, played once.
    void PlayAnimSound(std::span<const uint8_t> entry);
    // Music streamed from the animation file (the source outlives the stream). 0 when sound
    // is off, 1 when the data is not a WADY stream, 2 when it plays.
    int32_t StartAnimMusic(CodedSource& source);
    void StopAnimSound();

    // ---- Sounds by name, for the script, the choices and the menus (sound_names.cpp).
    // Plays nothing while skip mode is on.
    void PlaySoundByName(std::string_view name);
    // A voice of the script (`cv`, the `[v` tag): kept as LastVoice and in the page's voice
    // list for the backlog, then played.
    void PlayScriptVoice(std::string_view name);
    // True when any voice or sound archive holds the name (any case).
    bool SoundExists(std::string_view name) const;

    // A saved game keeps LastVoice and the looping effect's name; the track is S005.
    void Exchange(SaveIo& io);

    bool OutputDeviceExists = false;
    bool SoundReady = false;
    bool Muted = false;
    // False when nothing can hear the mix (a headless auto play without --audio-out): voices
    // are then measured rather than decoded, and play their length in silence.
    bool SamplesHeard = true;
    int32_t MasterVolume = 0;
    char LastVoice[kNameSize] = {};
    char LoopName[kNameSize] = {};
    char PageVoices[kPageVoicesSize] = {}; // voices of this page, each followed by a blank
    int32_t PendingState = 0;              // 3, 2, 1: ticks before a deferred track
    int32_t PendingTrack = 0;

    Mixer mixer;
    MusicPlayer music;

private:
    void NoteVoice(std::string_view name);
    bool PlayOggEntry(const ArchiveIndex& index, int pos);
    bool PlayEffectEntry(const ArchiveIndex& index, int pos, int slot);
    void StartMusicStream(int32_t track, const ArchiveIndex& index, int pos);
    // The music slots' volume: the fade's while one runs.
    int32_t MusicSlotVolume() const;
    void StopSlot(int slot);

    Engine& m_engine;
    bool m_audioStarted = false;
    int32_t m_pumpCount = 0;
    std::unique_ptr<CodedSource> m_archiveMusic;
};

} // namespace orv
