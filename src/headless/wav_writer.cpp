#include "headless/wav_writer.h"

#include "base/files.h"
#include "sound/wav_file.h"

namespace orv {

Bytes EncodeWav(std::span<const int16_t> samples) {
    // A longer mix is cut, never wrapped.
    return WavBytes(samples.first(std::min(samples.size(), kMaxWavFrames * kMixChannels)),
                    kMixChannels, kMixRate);
}

std::string WriteWav(const std::filesystem::path& path, std::span<const int16_t> samples) {
    return WriteFileAtomic(path, EncodeWav(samples));
}

} // namespace orv
