#pragma once
// Music, sound effects and voices. The entry points exist so that the engine can call them
// in their place; they do nothing until the sound engine lands.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

class Sound {
public:
    explicit Sound(Engine& engine) : m_engine(engine) {}

    // Whether any audio output device exists; sound is off without one.
    bool DetectOutputDevice() { return false; }
    bool InitSound() { return false; }
    // Music streaming and fades, once a timer tick.
    void PumpMusic() {}
    bool IsVoicePlaying() const { return false; }
    void StopVoice() {}
    void SetMusic(int32_t /*track*/) {}
    void ApplyVolumes() {}
    // A track requested while the program was inactive, tried again after three ticks.
    void DeferredMusicTick() {}
    // A voice or sound effect by name: 0 when it played or was skipped by the category
    // switches, 1 when no archive holds it. Lands with the sound engine.
    int PlayVoice(std::string_view /*name*/) { return 1; }
    // Stops the looping sound effect. Lands with the sound engine.
    void StopLoop() {}
    // Silences every channel at the primary buffer, and gives the volumes back (the panic
    // screen). Land with the sound engine.
    void Mute() {}
    void Unmute() {}

    // ---- Sounds by name, for the script, the choices and the menus.
    // Plays nothing while skip mode is on.
    void PlaySoundByName(std::string_view name);
    // A voice of the script (`cv`, the `[v` tag): kept as LastVoice and in the page's voice
    // list for the backlog, then played.
    void PlayScriptVoice(std::string_view name);
    // True when any voice or sound archive holds the name (any case).
    bool SoundExists(std::string_view name) const;

    // A saved game keeps LastVoice (and the looping sound, once it plays).
    void Exchange(SaveIo& io);

    static constexpr size_t kNameSize = 30;
    static constexpr size_t kPageVoicesSize = 256;

    bool OutputDeviceExists = false;
    char LastVoice[kNameSize] = {};
    char PageVoices[kPageVoicesSize] = {}; // voices of this page, each followed by a blank

private:
    void NoteVoice(std::string_view name);

    Engine& m_engine;
};

} // namespace orv
