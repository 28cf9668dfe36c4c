#include "qt/sdl_audio.h"

#include "base/diagnostics.h"
#include "sound/mixer.h"

#include <SDL.h>
#include <dlfcn.h>
#include <span>
#include <string>

namespace orv {

namespace {

// About 23 ms at 44100 Hz: short enough that a click's sound follows the click, long enough
// that a busy desktop does not starve the device.
constexpr Uint16 kBufferFrames = 1024;

// With no sound card (containers, CI machines) ALSA's library prints eight lines of its own
// to standard error while SDL tries it ("ALSA lib confmisc.c:855:(parse_card) cannot find
// card '0'", ...). SDL loads the library with dlopen, so its handler is set on the same copy
// here, and given back once the device is open or refused.
class QuietAlsa {
public:
    QuietAlsa() {
        m_library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (m_library) {
            m_setHandler =
                reinterpret_cast<SetHandler>(::dlsym(m_library, "snd_lib_error_set_handler"));
        }
        if (m_setHandler) {
            m_setHandler(&Ignore);
        }
    }
    ~QuietAlsa() {
        if (m_setHandler) {
            m_setHandler(nullptr);
        }
        if (m_library) {
            ::dlclose(m_library);
        }
    }
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    static void Ignore(const char*, int, const char*, int, const char*, ...) {}

    void* m_library = nullptr;
    SetHandler m_setHandler = nullptr;
};

void ReportNoOutput(const char* what) {
    Diagnostic(std::string("no audio output (") + what + ": " + SDL_GetError() +
               "); playing without sound");
}

} // namespace

bool SdlAudio::Open(Mixer& mixer) {
    Close();
    // The name sound servers show in their mixers, unless the player set SDL's own.
    SDL_SetHintWithPriority(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Orvell", SDL_HINT_DEFAULT);
    QuietAlsa quiet;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        ReportNoOutput("SDL audio");
        return false;
    }
    m_subsystem = true;
    SDL_AudioSpec wanted{};
    wanted.freq = static_cast<int>(mixer.OutputRate());
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = kBufferFrames;
    wanted.callback = &SdlAudio::Pull;
    wanted.userdata = this;
    m_mixer = &mixer;
    // No changes allowed: SDL converts to whatever the device takes, so the mixer always
    // fills 16-bit stereo at its own rate.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        ReportNoOutput("audio device");
        m_mixer = nullptr;
        return false;
    }
    m_device = device;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

void SdlAudio::Close() {
    if (m_device != 0) {
        // Returns once the callback has run for the last time.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
        m_mixer = nullptr;
    }
    if (m_subsystem) {
        m_subsystem = false;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
}

void SdlAudio::Pull(void* self, uint8_t* stream, int bytes) {
    auto* audio = static_cast<SdlAudio*>(self);
    std::span<int16_t> samples(reinterpret_cast<int16_t*>(stream),
                               static_cast<size_t>(bytes) / sizeof(int16_t));
    audio->m_mixer->Mix(samples);
}

} // namespace orv
