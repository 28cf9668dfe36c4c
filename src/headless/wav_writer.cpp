#include "headless/wav_writer.h"

#include "base/files.h"

#include <algorithm>

namespace orv {

namespace {

void PutTag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

} // namespace

Bytes EncodeWav(std::span<const int16_t> samples) {
    constexpr uint16_t kBytesPerSample = 2;
    constexpr uint16_t kBlockAlign = kMixChannels * kBytesPerSample;
    // A longer mix is cut, never wrapped.
    size_t frames = std::min(samples.size() / kMixChannels, kMaxWavFrames);
    uint32_t dataBytes = static_cast<uint32_t>(frames * kBlockAlign);

    Bytes out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    AppendU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    AppendU32(out, 16);
    AppendU16(out, 1); // PCM
    AppendU16(out, kMixChannels);
    AppendU32(out, kMixRate);
    AppendU32(out, kMixRate * kBlockAlign);
    AppendU16(out, kBlockAlign);
    AppendU16(out, 8 * kBytesPerSample);
    PutTag(out, "data");
    AppendU32(out, dataBytes);
    for (size_t i = 0; i < frames * kMixChannels; ++i) {
        AppendU16(out, static_cast<uint16_t>(samples[i]));
    }
    return out;
}

std::string WriteWav(const std::filesystem::path& path, std::span<const int16_t> samples) {
    return WriteFileAtomic(path, EncodeWav(samples));
}

} // namespace orv
