#pragma once
// The desktop's audio device: SDL2's audio subsystem alone (PipeWire, PulseAudio or ALSA,
// whichever SDL finds), opened at the mixer's rate in 16-bit stereo. SDL's own thread calls
// the mixer for every buffer.

#include <cstdint>

namespace orv {

class Mixer;

class SdlAudio {
public:
    SdlAudio() = default;
    ~SdlAudio() { Close(); }
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Opens the default device and starts pulling from `mixer`, which must outlive the
    // device. False when there is no device or no sound server: one diagnostic line says
    // so, and nothing else is printed.
    bool Open(Mixer& mixer);
    // Stops the device; once this returns the mixer is no longer called.
    void Close();
    bool IsOpen() const { return m_device != 0; }

private:
    static void Pull(void* self, uint8_t* stream, int bytes);

    Mixer* m_mixer = nullptr;
    uint32_t m_device = 0;
    // SDL's audio subsystem is up. After a refused device it stays up until Close: taking it
    // down joins the thread that SDL's ALSA driver polls for new cards with, which sleeps in
    // steps of 100 ms, and that wait would hold up the first frame.
    bool m_subsystem = false;
};

} // namespace orv
