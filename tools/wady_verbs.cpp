// wady decode / encode / info: WADY sounds to and from WAV files.
#include "base/files.h"
#include "sound/wady.h"
#include "tool_common.h"
#include "verbs.h"
#include "sound/wav_file.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace orv::tool {

namespace {

constexpr std::string_view kWadyUsage =
    "Usage: orvtool wady decode [--packed|--stream] IN OUT.wav\n"
    "       orvtool wady encode --packed|--stream [--loop SAMPLE] [--block FRAMES] IN.wav OUT\n"
    "       orvtool wady info IN\n"
    "\n"
    "decode: a WADY sound (an entry extracted from ov_se*.orv, ov_bgm.orv, ...) to a 16-bit\n"
    "  WAV. A header usable as a stream whose data holds one byte a sample is taken as the\n"
    "  stream codec, anything else as the packed codec; --packed or --stream decides instead.\n"
    "encode: a WAV of 16-bit PCM (mono or stereo, 8000..192000 Hz) to a WADY sound, printing\n"
    "  how far the sound decoded from it lies from the WAV: the RMS and the peak difference\n"
    "  in 16-bit sample steps.\n"
    "  --packed        the sound effects' codec (ov_se*.orv): one or two bytes a code, a\n"
    "                  code for one sample or a ramp of 3 to 256\n"
    "  --stream        the music codec (ov_bgm.orv, animation sounds): one byte a sample\n"
    "  --loop SAMPLE   where the music loops back to, in sample frames from the start\n"
    "                  (default 0: the whole piece)\n"
    "  --block FRAMES  sample frames in each of the four blocks of the player's ring\n"
    "                  (default half a second; at most 44100 stereo, 88200 mono)\n"
    "info: the header of a WADY sound, the codec it is taken for and whether it decodes.\n";

// Why ParseWadyHeader refused an entry, in the player's terms.
std::string Refusal(ByteSpan entry) {
    if (entry.size() < kWadyHeaderSize) {
        return "shorter than a WADY header (48 bytes)";
    }
    if (std::memcmp(entry.data(), "WADY", 4) != 0) {
        return "not a WADY sound (it does not start with \"WADY\")";
    }
    const uint8_t* format = entry.data() + 32;
    if (uint16_t tag = LoadU16(format); tag != 1) {
        return "format tag " + std::to_string(tag) + ": the engine plays PCM (tag 1) only";
    }
    if (uint16_t bits = LoadU16(format + 14); bits != 16) {
        return std::to_string(bits) + " bits a sample: the engine plays 16-bit PCM only";
    }
    if (uint16_t channels = LoadU16(format + 2); channels != 1 && channels != 2) {
        return std::to_string(channels) + " channels: the engine plays mono and stereo only";
    }
    return std::to_string(LoadU32(format + 4)) + " Hz: the engine plays 8000..192000 Hz only";
}

// The codec an entry is taken for. Packed entries hold far fewer bytes than samples and
// are written with no frames a block; streams hold exactly one byte a sample.
bool LooksLikeStream(ByteSpan entry, const WadyHeader& header) {
    uint64_t declared = LoadU32(entry.data() + 12);
    return UsableAsStream(header) && header.Frames > 0 &&
           declared == uint64_t{header.Frames} * header.Channels;
}

// The whole coded data of a stream as the music player plays it once, from the start to
// the data length; an animation sound without a data length by its frame count.
bool DecodeStream(ByteSpan entry, const WadyHeader& header, PcmClip& out) {
    if (header.Channels != header.FormatChannels) {
        return false;
    }
    if (header.DataLength == 0) {
        return DecodeStreamSound(entry, out);
    }
    size_t samples = header.DataLength / header.Channels * header.Channels;
    out.Channels = header.Channels;
    out.Rate = header.Rate;
    out.Samples.resize(samples);
    StreamDecoder decoder;
    decoder.Start(header);
    decoder.Decode(entry.subspan(kWadyHeaderSize, samples), out.Samples, false);
    return samples > 0;
}

std::optional<uint32_t> ParseCount(const std::string& text) {
    uint32_t value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || text.empty()) {
        return std::nullopt;
    }
    return value;
}

int Decode(const std::string& in, const std::string& out, const Arguments& arguments) {
    if (arguments.Has("packed") && arguments.Has("stream")) {
        return UsageError("wady ", "--packed and --stream exclude each other");
    }
    auto entry = ReadInput(in);
    if (!entry) {
        return kExitDataError;
    }
    auto header = ParseWadyHeader(*entry);
    if (!header) {
        PrintError(in + ": " + Refusal(*entry));
        return kExitDataError;
    }
    bool stream = arguments.Has("stream") ||
                  (!arguments.Has("packed") && LooksLikeStream(*entry, *header));
    PcmClip clip;
    bool decoded = stream ? DecodeStream(*entry, *header, clip) : DecodePackedSound(*entry, clip);
    if (!decoded) {
        PrintError(in + (stream ? ": nothing to play as a stream (no coded data, or its channel "
                                  "count disagrees with the format)"
                                : ": nothing to play as a packed sound (no PCM size, or no "
                                  "channel block)"));
        return kExitDataError;
    }
    if (std::string error = WriteFileAtomic(out, ClipWavBytes(clip)); !error.empty()) {
        PrintError(error);
        return kExitDataError;
    }
    std::printf("%s: %s, %d channel%s, %u Hz, %zu frames\n", out.c_str(),
                stream ? "stream" : "packed", clip.Channels, clip.Channels == 2 ? "s" : "",
                clip.Rate, clip.Frames());
    return kExitOk;
}

int Encode(const std::string& in, const std::string& out, const Arguments& arguments) {
    bool packed = arguments.Has("packed");
    bool stream = arguments.Has("stream");
    if (packed == stream) {
        return UsageError("wady ", packed ? "--packed and --stream exclude each other"
                                          : "wady encode needs --packed or --stream");
    }
    auto loopText = arguments.Value("loop");
    auto blockText = arguments.Value("block");
    if (packed && (loopText || blockText)) {
        return UsageError("wady ", "--loop and --block belong to --stream");
    }
    std::optional<uint32_t> loop = loopText ? ParseCount(*loopText) : std::optional<uint32_t>(0);
    std::optional<uint32_t> block =
        blockText ? ParseCount(*blockText) : std::optional<uint32_t>(0);
    if (!loop || !block) {
        return UsageError("wady ", "--loop and --block take a count of sample frames");
    }

    PcmClip pcm;
    if (!ReadWavInput(in, pcm)) {
        return kExitDataError;
    }
    if (pcm.Rate < 8000 || pcm.Rate > 192000) {
        PrintError(in + ": " + std::to_string(pcm.Rate) + " Hz: the engine plays 8000..192000 Hz");
        return kExitDataError;
    }
    size_t frames = pcm.Frames();
    if (frames == 0) {
        PrintError(in + ": the WAV holds no samples");
        return kExitDataError;
    }
    if (packed && frames * 2 * static_cast<size_t>(pcm.Channels) > kWadyMaxPcmBytes) {
        PrintError(in + ": more PCM than the 64 MiB a sound effect may decode to");
        return kExitDataError;
    }
    uint32_t maxBlock = MaxStreamFramesPerBlock(pcm.Channels);
    if (blockText && (*block < 1 || *block > maxBlock)) {
        return UsageError("wady ", "--block takes 1.." + std::to_string(maxBlock) +
                                       " frames for this sound");
    }
    if (*loop >= frames) {
        return UsageError("wady ", "--loop " + std::to_string(*loop) +
                                       " lies past the last frame (" +
                                       std::to_string(frames - 1) + ")");
    }
    uint32_t framesPerBlock = blockText ? *block : std::min(maxBlock, std::max(1u, pcm.Rate / 2));

    Bytes entry = packed ? EncodePackedSound(pcm) : EncodeStreamSound(pcm, *loop, framesPerBlock);
    PcmClip back;
    bool decoded = packed ? DecodePackedSound(entry, back) : DecodeStreamSound(entry, back);
    if (entry.empty() || !decoded) {
        PrintError(in + ": the sound is too long for a WADY header");
        return kExitDataError;
    }
    CodingError error = MeasureCodingError(pcm, back);
    if (std::string problem = WriteFileAtomic(out, entry); !problem.empty()) {
        PrintError(problem);
        return kExitDataError;
    }
    std::printf("%s: %s, %d channel%s, %u Hz, %zu frames, %zu bytes (%.1f%% of the PCM)\n",
                out.c_str(), packed ? "packed" : "stream", pcm.Channels,
                pcm.Channels == 2 ? "s" : "", pcm.Rate, frames, entry.size(),
                100.0 * static_cast<double>(entry.size()) /
                    static_cast<double>(pcm.Samples.size() * 2));
    std::printf("  coding error: RMS %.2f, peak %d (of 32768)\n", error.Rms, error.Peak);
    return kExitOk;
}

int Info(const std::string& in) {
    auto entry = ReadInput(in);
    if (!entry) {
        return kExitDataError;
    }
    auto header = ParseWadyHeader(*entry);
    if (!header) {
        PrintError(in + ": " + Refusal(*entry));
        return kExitDataError;
    }
    bool stream = LooksLikeStream(*entry, *header);
    std::printf("%s: WADY sound, %s codec\n", in.c_str(),
                stream ? "stream (music)" : "packed (sound effects)");
    std::printf("  format: 16-bit PCM, %u channel%s, %u Hz (%u bytes a second, block align %u)\n",
                header->FormatChannels, header->FormatChannels == 2 ? "s" : "", header->Rate,
                header->BytesPerSecond, header->BlockAlign);
    std::printf("  frames %u, PCM %u bytes, coded data %u bytes (the header says %u)\n",
                header->Frames, header->PcmBytes, header->DataLength,
                LoadU32(entry->data() + 12));
    std::printf("  stream fields: scale %u, channels %u, %u frames a block (%s)\n", header->Scale,
                header->Channels, header->FramesPerBlock,
                UsableAsStream(*header) ? "usable as a stream" : "not usable as a stream");
    if (stream) {
        std::printf("  loop start: byte %u (frame %u), running values %d, %d\n",
                    header->LoopStart, header->LoopStart / header->Channels, header->LoopLeft,
                    header->LoopRight);
    }
    PcmClip clip;
    bool decoded = stream ? DecodeStream(*entry, *header, clip) : DecodePackedSound(*entry, clip);
    if (!decoded) {
        std::printf("  decoding: nothing to play\n");
        return kExitDataError;
    }
    std::printf("  decoding: %zu frames, %.2f s\n", clip.Frames(),
                static_cast<double>(clip.Frames()) / clip.Rate);
    return kExitOk;
}

} // namespace

int RunWady(std::span<char* const> args) {
    static constexpr OptionSpec kDecodeSpecs[] = {{"packed", 0, false}, {"stream", 0, false}};
    static constexpr OptionSpec kEncodeSpecs[] = {
        {"packed", 0, false}, {"stream", 0, false}, {"loop", 0, true}, {"block", 0, true}};
    static constexpr Action kActions[] = {{"decode", kDecodeSpecs, 2, "IN and OUT"},
                                          {"encode", kEncodeSpecs, 2, "IN and OUT"},
                                          {"info", {}, 1, "IN"}};
    Arguments arguments;
    int status = kExitOk;
    std::optional<size_t> action =
        ParseAction(args, "wady", kActions, kWadyUsage, arguments, status);
    if (!action) {
        return status;
    }
    const auto& files = arguments.Positional();
    switch (*action) {
    case 0:
        return Decode(files[0], files[1], arguments);
    case 1:
        return Encode(files[0], files[1], arguments);
    default:
        return Info(files[0]);
    }
}

} // namespace orv::tool
