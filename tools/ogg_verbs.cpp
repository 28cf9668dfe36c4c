// ogg info / encode: Ogg Vorbis voices as the engine plays them, and WAV files encoded into
// them with libvorbisenc.
#include "base/files.h"
#include "sound/ogg_voice.h"
#include "tool_common.h"
#include "verbs.h"
#include "sound/wav_file.h"

#include <charconv>
#include <cstdio>
#include <string>
#include <vorbis/vorbisenc.h>

namespace orv::tool {

namespace {

constexpr std::string_view kOggUsage =
    "Usage: orvtool ogg info IN\n"
    "       orvtool ogg encode [--quality Q] IN.wav OUT.ogg\n"
    "\n"
    "info: channels, rate and length of an Ogg Vorbis voice (an entry extracted from\n"
    "  ov_ogg*.orv), and how much of it the engine plays once trailing silence is trimmed.\n"
    "  Exit status 1 when the engine would not play it.\n"
    "encode: a 16-bit PCM WAV file (mono or stereo, 8000..192000 Hz) to Ogg Vorbis.\n"
    "  --quality Q   Vorbis quality from -0.1 (smallest) to 1.0 (best); default 0.3,\n"
    "                plenty for speech\n";

constexpr float kDefaultQuality = 0.3f;
// Decoded buffers of this many bytes or more lose their trailing silence.
constexpr int64_t kTrimmedFrom = 30001;
constexpr uint32_t kMinRate = 8000;
constexpr uint32_t kMaxRate = 192000;
// The same serial number in every file, so that the same WAV file always gives the same
// bytes and a rebuilt archive does not change.
constexpr int kStreamSerial = 0x4F525645;
// Frames handed to the encoder at a time.
constexpr size_t kChunkFrames = 1024;

double Seconds(int64_t frames, uint32_t rate) {
    return rate ? static_cast<double>(frames) / rate : 0.0;
}

int Info(const std::string& in) {
    auto entry = ReadInput(in);
    if (!entry) {
        return kExitDataError;
    }
    std::optional<OggInfo> info = ReadOggInfo(*entry);
    PcmClip clip;
    if (!info || !DecodeOggVoice(*entry, clip)) {
        PrintError(in + ": not an Ogg Vorbis voice the engine plays (not Vorbis, damaged, "
                        "not mono or stereo at 8000..192000 Hz, or a length the entry "
                        "cannot hold)");
        return kExitDataError;
    }
    std::printf("%s: Ogg Vorbis, %d channel%s, %u Hz\n", in.c_str(), info->Channels,
                info->Channels == 1 ? "" : "s", info->Rate);
    std::printf("  frames %lld (%.3f s)\n", static_cast<long long>(info->Frames),
                Seconds(info->Frames, info->Rate));
    auto playable = static_cast<int64_t>(clip.Frames());
    // The engine decodes into (channels + 2) bytes a frame and trims only a longer buffer.
    bool whole = (info->Channels + 2) * info->Frames < kTrimmedFrom;
    std::printf("  playable %lld frames (%.3f s)%s\n", static_cast<long long>(playable),
                Seconds(playable, clip.Rate),
                whole ? ": played whole, as a voice of under 30001 bytes of PCM is"
                      : " after trimming trailing silence");
    return kExitOk;
}

// libvorbis's encoder state, released in reverse order of its setup.
class VorbisEncoder {
public:
    VorbisEncoder() {
        vorbis_info_init(&m_info);
        vorbis_comment_init(&m_comment);
    }
    ~VorbisEncoder() {
        if (m_started) {
            ogg_stream_clear(&m_stream);
            vorbis_block_clear(&m_block);
            vorbis_dsp_clear(&m_dsp);
        }
        vorbis_comment_clear(&m_comment);
        vorbis_info_clear(&m_info);
    }
    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    // False when libvorbisenc has no mode for this rate, channel count and quality.
    bool Start(int channels, uint32_t rate, float quality) {
        if (vorbis_encode_init_vbr(&m_info, channels, static_cast<long>(rate), quality) != 0) {
            return false;
        }
        vorbis_comment_add_tag(&m_comment, "ENCODER", "orvtool");
        vorbis_analysis_init(&m_dsp, &m_info);
        vorbis_block_init(&m_dsp, &m_block);
        ogg_stream_init(&m_stream, kStreamSerial);
        m_started = true;

        ogg_packet identification, comments, codebooks;
        vorbis_analysis_headerout(&m_dsp, &m_comment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&m_stream, &identification);
        ogg_stream_packetin(&m_stream, &comments);
        ogg_stream_packetin(&m_stream, &codebooks);
        // The audio starts on a page of its own, as decoders expect.
        ogg_page page;
        while (ogg_stream_flush(&m_stream, &page) != 0) {
            AppendPage(page);
        }
        return true;
    }

    // Interleaved samples; an empty span ends the stream.
    void Write(std::span<const int16_t> samples, int channels) {
        size_t frames = samples.size() / static_cast<size_t>(channels);
        if (frames == 0) {
            vorbis_analysis_wrote(&m_dsp, 0);
        } else {
            float** planes = vorbis_analysis_buffer(&m_dsp, static_cast<int>(frames));
            for (size_t i = 0; i < frames; ++i) {
                for (int c = 0; c < channels; ++c) {
                    planes[c][i] = samples[i * static_cast<size_t>(channels) + c] / 32768.0f;
                }
            }
            vorbis_analysis_wrote(&m_dsp, static_cast<int>(frames));
        }
        Drain();
    }

    Bytes& Output() { return m_out; }

private:
    void Drain() {
        while (vorbis_analysis_blockout(&m_dsp, &m_block) == 1) {
            vorbis_analysis(&m_block, nullptr);
            vorbis_bitrate_addblock(&m_block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&m_dsp, &packet) == 1) {
                ogg_stream_packetin(&m_stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&m_stream, &page) != 0) {
                    AppendPage(page);
                }
            }
        }
    }

    void AppendPage(const ogg_page& page) {
        m_out.insert(m_out.end(), page.header, page.header + page.header_len);
        m_out.insert(m_out.end(), page.body, page.body + page.body_len);
    }

    vorbis_info m_info;
    vorbis_comment m_comment;
    vorbis_dsp_state m_dsp{};
    vorbis_block m_block{};
    ogg_stream_state m_stream{};
    bool m_started = false;
    Bytes m_out;
};

std::optional<float> ParseQuality(const std::string& text) {
    float quality = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, quality);
    if (ec != std::errc() || ptr != end || !(quality >= -0.1f && quality <= 1.0f)) {
        return std::nullopt;
    }
    return quality;
}

int Encode(const std::string& in, const std::string& out, const Arguments& arguments) {
    float quality = kDefaultQuality;
    if (auto text = arguments.Value("quality")) {
        auto parsed = ParseQuality(*text);
        if (!parsed) {
            return UsageError("ogg ",
                              "--quality takes a number from -0.1 to 1.0, not '" + *text + "'");
        }
        quality = *parsed;
    }
    PcmClip pcm;
    if (!ReadWavInput(in, pcm)) {
        return kExitDataError;
    }
    if (pcm.Rate < kMinRate || pcm.Rate > kMaxRate) {
        PrintError(in + ": " + std::to_string(pcm.Rate) +
                   " Hz; the engine plays voices at 8000..192000 Hz");
        return kExitDataError;
    }
    if (pcm.Frames() == 0) {
        PrintError(in + ": no samples; the engine plays no empty voice");
        return kExitDataError;
    }
    VorbisEncoder encoder;
    if (!encoder.Start(pcm.Channels, pcm.Rate, quality)) {
        PrintError(in + ": libvorbisenc has no mode for " + std::to_string(pcm.Channels) +
                   " channels at " + std::to_string(pcm.Rate) + " Hz");
        return kExitDataError;
    }
    std::span<const int16_t> samples = pcm.Samples;
    size_t chunk = kChunkFrames * static_cast<size_t>(pcm.Channels);
    for (size_t at = 0; at < samples.size(); at += chunk) {
        encoder.Write(samples.subspan(at, std::min(chunk, samples.size() - at)), pcm.Channels);
    }
    encoder.Write({}, pcm.Channels);
    if (std::string problem = WriteFileAtomic(out, encoder.Output()); !problem.empty()) {
        PrintError(problem);
        return kExitDataError;
    }
    std::printf("%s: %d channel%s, %u Hz, %zu frames (%.3f s), %zu bytes at quality %.2f\n",
                out.c_str(), pcm.Channels, pcm.Channels == 1 ? "" : "s", pcm.Rate, pcm.Frames(),
                Seconds(static_cast<int64_t>(pcm.Frames()), pcm.Rate), encoder.Output().size(),
                static_cast<double>(quality));
    return kExitOk;
}

} // namespace

int RunOgg(std::span<char* const> args) {
    static constexpr OptionSpec kEncodeSpecs[] = {{"quality", 'q', true}};
    static constexpr Action kActions[] = {{"info", {}, 1, "IN"},
                                          {"encode", kEncodeSpecs, 2, "IN.wav and OUT.ogg"}};
    Arguments arguments;
    int status = kExitOk;
    std::optional<size_t> action = ParseAction(args, "ogg", kActions, kOggUsage, arguments, status);
    if (!action) {
        return status;
    }
    const auto& files = arguments.Positional();
    return *action == 0 ? Info(files[0]) : Encode(files[0], files[1], arguments);
}

} // namespace orv::tool
