#pragma once
// WAV files of the audio mix: 16-bit stereo PCM at 44100 Hz.

#include "base/bytes.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace orv {

constexpr uint32_t kMixRate = 44100;
constexpr uint16_t kMixChannels = 2;
// The sizes of the RIFF header are 32 bits: about 6 hours 45 minutes of the mix.
constexpr size_t kMaxWavFrames = (0xFFFFFFFFu - 36) / (kMixChannels * 2);

// The whole file of interleaved left and right samples. An odd count loses its last sample:
// a frame holds both channels.
Bytes EncodeWav(std::span<const int16_t> samples);

std::string WriteWav(const std::filesystem::path& path, std::span<const int16_t> samples);

} // namespace orv
