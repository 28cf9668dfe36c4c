#include "wav_reader.h"

#include "base/files.h"

#include <algorithm>

namespace orv::tool {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

bool TagIs(ByteSpan file, size_t at, const char (&tag)[5]) {
    return file.size() - at >= 4 && std::equal(tag, tag + 4, file.begin() + static_cast<long>(at));
}

} // namespace

bool ParseWav(ByteSpan file, PcmClip& out, std::string& error) {
    if (file.size() < 12 || !TagIs(file, 0, "RIFF") || !TagIs(file, 8, "WAVE")) {
        error = "not a WAV file (no RIFF WAVE header)";
        return false;
    }
    bool haveFormat = false;
    uint16_t channels = 0, bits = 0;
    uint32_t rate = 0;
    for (size_t at = 12; file.size() - at >= 8;) {
        uint32_t size = LoadU32(file.data() + at + 4);
        size_t body = at + 8;
        size_t available = std::min<size_t>(size, file.size() - body);
        if (TagIs(file, at, "fmt ")) {
            if (available < 16) {
                error = "the format chunk is too short";
                return false;
            }
            const uint8_t* f = file.data() + body;
            uint16_t tag = LoadU16(f);
            channels = LoadU16(f + 2);
            rate = LoadU32(f + 4);
            bits = LoadU16(f + 14);
            // WAVE_FORMAT_EXTENSIBLE names its real format in the first two bytes of the
            // sub-format GUID.
            if (tag == kFormatExtensible && available >= 26) {
                tag = LoadU16(f + 24);
            }
            if (tag != kFormatPcm || bits != 16) {
                error = "not 16-bit PCM (format " + std::to_string(tag) + ", " +
                        std::to_string(bits) + " bits)";
                return false;
            }
            if (channels < 1 || channels > 2) {
                error = std::to_string(channels) + " channels; only mono and stereo are taken";
                return false;
            }
            if (rate == 0) {
                error = "the sample rate is 0";
                return false;
            }
            haveFormat = true;
        } else if (TagIs(file, at, "data")) {
            if (!haveFormat) {
                error = "the data chunk comes before the format chunk";
                return false;
            }
            size_t frames = available / (2u * channels);
            out.Channels = channels;
            out.Rate = rate;
            out.Samples.resize(frames * channels);
            for (size_t i = 0; i < out.Samples.size(); ++i) {
                out.Samples[i] = static_cast<int16_t>(LoadU16(file.data() + body + 2 * i));
            }
            return true;
        }
        // Chunks are padded to an even length.
        size_t next = body + size_t{size} + (size & 1);
        if (next > file.size()) {
            break;
        }
        at = next;
    }
    error = haveFormat ? "no data chunk" : "no format chunk";
    return false;
}

bool ReadWav(const std::filesystem::path& path, PcmClip& out, std::string& error) {
    auto bytes = ReadWholeFile(path);
    if (!bytes || !IsRegularFile(path)) {
        error = "cannot read " + path.string();
        return false;
    }
    if (!ParseWav(*bytes, out, error)) {
        error = path.string() + ": " + error;
        return false;
    }
    return true;
}

} // namespace orv::tool
