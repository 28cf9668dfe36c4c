#pragma once
// Music, sound effects and voices. The entry points exist so that the engine can call them
// in their place; they do nothing until the sound engine lands.

#include <cstdint>
#include <string_view>

namespace orv {

class Engine;

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

    bool OutputDeviceExists = false;

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
