#include "sound/wav_file.h"

#include "base/files.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

constexpr uint16_t kPcmTag = 1;
constexpr uint16_t kExtensibleTag = 0xFFFE;

bool Tag(ByteSpan data, size_t at, const char (&tag)[5]) {
    return data.size() >= at + 4 && std::memcmp(data.data() + at, tag, 4) == 0;
}

void PutTag(Bytes& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<uint8_t>(tag[i]));
    }
}

} // namespace

std::string ParseWav(ByteSpan file, PcmClip& out, bool& truncated) {
    truncated = false;
    if (!Tag(file, 0, "RIFF") || !Tag(file, 8, "WAVE")) {
        return "not a WAV file (no RIFF/WAVE header)";
    }
    ByteSpan format;
    ByteSpan data;
    bool haveData = false;
    size_t at = 12;
    while (file.size() - at >= 8) {
        uint32_t size = LoadU32(file.data() + at + 4);
        size_t body = at + 8;
        size_t available = std::min<size_t>(size, file.size() - body);
        if (Tag(file, at, "fmt ")) {
            format = file.subspan(body, available);
        } else if (Tag(file, at, "data") && !haveData) {
            data = file.subspan(body, available);
            haveData = true;
            truncated = available < size;
        }
        if (available < size) {
            break;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
        if (at > file.size()) {
            break;
        }
    }
    if (format.size() < 16) {
        return "no format chunk";
    }
    uint16_t tag = LoadU16(format.data());
    uint16_t channels = LoadU16(format.data() + 2);
    uint32_t rate = LoadU32(format.data() + 4);
    uint16_t bits = LoadU16(format.data() + 14);
    // WAVE_FORMAT_EXTENSIBLE names the real format in the first two bytes of its GUID.
    if (tag == kExtensibleTag && format.size() >= 26) {
        tag = LoadU16(format.data() + 24);
    }
    if (tag != kPcmTag) {
        return "format tag " + std::to_string(tag) + " is not PCM: only 16-bit PCM is read";
    }
    if (bits != 16) {
        return std::to_string(bits) + "-bit samples: only 16-bit PCM is read";
    }
    if (channels != 1 && channels != 2) {
        return std::to_string(channels) + " channels: only mono and stereo are read";
    }
    if (rate == 0) {
        return "a sample rate of 0";
    }
    if (!haveData) {
        return "no data chunk";
    }
    size_t frames = data.size() / (2u * channels);
    out.Channels = channels;
    out.Rate = rate;
    out.Samples.resize(frames * channels);
    for (size_t i = 0; i < out.Samples.size(); ++i) {
        out.Samples[i] = static_cast<int16_t>(LoadU16(data.data() + 2 * i));
    }
    return {};
}

std::string ReadWav(const std::filesystem::path& path, PcmClip& out, bool& truncated) {
    auto bytes = ReadWholeFile(path);
    if (!bytes || !IsRegularFile(path)) {
        return "cannot read " + path.string();
    }
    std::string error = ParseWav(*bytes, out, truncated);
    return error.empty() ? error : path.string() + ": " + error;
}

Bytes ClipWavBytes(const PcmClip& clip) {
    return WavBytes(clip.Samples, clip.Channels, clip.Rate);
}

Bytes WavBytes(std::span<const int16_t> samples, int32_t channelCount, uint32_t rate) {
    auto channels = static_cast<uint16_t>(std::clamp(channelCount, 1, 2));
    auto blockAlign = static_cast<uint16_t>(2 * channels);
    size_t frames = std::min<size_t>(samples.size() / channels, (0xFFFFFFFFu - 36) / blockAlign);
    auto dataBytes = static_cast<uint32_t>(frames * blockAlign);
    Bytes out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    AppendU32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    AppendU32(out, 16);
    AppendU16(out, kPcmTag);
    AppendU16(out, channels);
    AppendU32(out, rate);
    AppendU32(out, rate * blockAlign);
    AppendU16(out, blockAlign);
    AppendU16(out, 16);
    PutTag(out, "data");
    AppendU32(out, dataBytes);
    for (size_t i = 0; i < frames * channels; ++i) {
        AppendU16(out, static_cast<uint16_t>(samples[i]));
    }
    return out;
}

} // namespace orv
