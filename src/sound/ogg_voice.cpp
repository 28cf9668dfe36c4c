// Ogg Vorbis voices. libvorbisfile reads the entry through OggEntryStream; the voice is decoded
// whole into one buffer sized from the stream's own frame count, which an entry from the
// archives may state falsely: the count is checked against the entry's size first, and the
// decoder stops when the buffer is full, whatever the stream still holds.
#include "sound/ogg_voice.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <vector>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

namespace orv {

namespace {

// The most frames an entry of n bytes can plausibly hold: Vorbis packs long silence into a
// few bytes a packet of 1024 frames, so this is generous even for a voice that is mostly
// silence.
constexpr int64_t kMaxFramesPerByte = 2000;
constexpr int64_t kMaxSeconds = 3600;
constexpr uint32_t kMinRate = 8000;
constexpr uint32_t kMaxRate = 192000;
// Buffers shorter than this are played whole, trailing silence and all.
constexpr size_t kUntrimmedBelow = 30001;
// One call of ov_read decodes at most this much; it takes an int length.
constexpr size_t kReadChunk = 1 << 16;

size_t ReadCallback(void* to, size_t size, size_t count, void* source) {
    return static_cast<OggEntryStream*>(source)->Read(to, size, count);
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
    return static_cast<OggEntryStream*>(source)->Seek(offset, whence);
}

// The stream belongs to the caller of ov_open_callbacks and outlives the decoder.
int CloseCallback(void*) {
    return 0;
}

long TellCallback(void* source) {
    return static_cast<long>(static_cast<OggEntryStream*>(source)->Tell());
}

constexpr ov_callbacks kCallbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

// An opened decoder over an entry; ov_clear when it goes.
class OpenVoice {
public:
    explicit OpenVoice(std::span<const uint8_t> entry)
        : m_stream(entry), m_entryBytes(entry.size()) {
        // On failure libvorbisfile has already cleared the file itself.
        m_open = ov_open_callbacks(&m_stream, &m_file, nullptr, 0, kCallbacks) == 0;
    }
    ~OpenVoice() {
        if (m_open) {
            ov_clear(&m_file);
        }
    }
    OpenVoice(const OpenVoice&) = delete;
    OpenVoice& operator=(const OpenVoice&) = delete;

    // Channels, rate and frames when the stream opened and they are within what a voice of
    // this entry can be.
    std::optional<OggInfo> Info() {
        if (!m_open) {
            return std::nullopt;
        }
        const vorbis_info* info = ov_info(&m_file, -1);
        ogg_int64_t frames = ov_pcm_total(&m_file, -1);
        if (!info || info->channels < 1 || info->channels > 2 || info->rate < long{kMinRate} ||
            info->rate > long{kMaxRate} || frames <= 0) {
            return std::nullopt;
        }
        int64_t maxFrames =
            std::min<int64_t>(static_cast<int64_t>(m_entryBytes) * kMaxFramesPerByte,
                              int64_t{info->rate} * kMaxSeconds);
        if (frames > maxFrames) {
            return std::nullopt;
        }
        return OggInfo{info->channels, static_cast<uint32_t>(info->rate), frames};
    }

    // Moves to `frame`, from which the next decode starts. False when the stream cannot seek.
    bool SeekToFrame(int64_t frame) { return m_open && ov_pcm_seek(&m_file, frame) == 0; }

    // Decodes into `buffer` until the stream ends, fails or the buffer is full; the number
    // of bytes decoded.
    size_t DecodeInto(std::span<uint8_t> buffer) {
        constexpr int kBigEndian = std::endian::native == std::endian::big ? 1 : 0;
        size_t filled = 0;
        int section = 0;
        while (filled < buffer.size()) {
            int length = static_cast<int>(std::min(buffer.size() - filled, kReadChunk));
            long got = ov_read(&m_file, reinterpret_cast<char*>(buffer.data() + filled), length,
                               kBigEndian, 2, 1, &section);
            if (got <= 0) {
                break;
            }
            filled += std::min(static_cast<size_t>(got), buffer.size() - filled);
        }
        return filled;
    }

private:
    OggEntryStream m_stream;
    size_t m_entryBytes;
    OggVorbis_File m_file{};
    bool m_open = false;
};

} // namespace

size_t OggEntryStream::Read(void* to, size_t size, size_t count) {
    if (size == 0 || count == 0 || !to) {
        return 0;
    }
    size_t items = std::min(count, (m_entry.size() - m_position) / size);
    // An empty entry has no data pointer to copy from, even for no bytes.
    if (items == 0) {
        return 0;
    }
    std::memcpy(to, m_entry.data() + m_position, items * size);
    m_position += items * size;
    return items;
}

int OggEntryStream::Seek(int64_t offset, int whence) {
    int64_t base = 0;
    switch (whence) {
    case 0:
        base = 0;
        break;
    case 1:
        base = static_cast<int64_t>(m_position);
        break;
    case 2:
        base = static_cast<int64_t>(m_entry.size());
        break;
    default:
        return -1;
    }
    // Both terms are within the entry's size or within int64_t, so the checks cannot wrap.
    if (offset < -base || offset > static_cast<int64_t>(m_entry.size()) - base) {
        return -1;
    }
    m_position = static_cast<size_t>(base + offset);
    return 0;
}

namespace {

// The trimming of PlayableVoiceBytes over a buffer of `size` bytes of which only those from
// `tailStart` on are known (`tail`); nothing when it would need a byte before `tailStart`.
std::optional<size_t> PlayableBytesFromTail(size_t size, size_t tailStart,
                                            std::span<const uint8_t> tail) {
    size_t length = size - 4;
    while (length > size / 2) {
        if (length < tailStart) {
            return std::nullopt;
        }
        const uint8_t* word = tail.data() + (length - tailStart);
        if ((word[0] | word[1] | word[2] | word[3]) != 0) {
            break;
        }
        length -= 4;
    }
    return length;
}

} // namespace

size_t PlayableVoiceBytes(std::span<const uint8_t> decoded) {
    size_t size = decoded.size();
    if (size < kUntrimmedBelow) {
        return size;
    }
    return *PlayableBytesFromTail(size, 0, decoded);
}

namespace {

// True when every page of the entry is whole (its checksum right, one stream, no page
// missing) and every sound packet names a mode of the stream: then libvorbisfile decodes the
// stream without a hole or a skipped packet, and the samples at its end are the same whether
// it decodes from the start or from a position it seeks to.
// The packets a page completed: the three headers first, then sound packets, each of which
// must name a mode of the stream. False at a hole or a packet that does not.
bool PacketsAreWhole(ogg_stream_state& stream, vorbis_info& info, vorbis_comment& comment,
                     int& headers) {
    ogg_packet packet;
    int got;
    while ((got = ogg_stream_packetout(&stream, &packet)) != 0) {
        if (got < 0) {
            return false;
        }
        if (headers < 3) {
            ++headers;
            if (vorbis_synthesis_headerin(&info, &comment, &packet) != 0) {
                return false;
            }
        } else if (vorbis_packet_blocksize(&info, &packet) <= 0) {
            return false;
        }
    }
    return true;
}

bool StreamIsWhole(std::span<const uint8_t> entry) {
    ogg_sync_state sync;
    ogg_stream_state stream;
    vorbis_info info;
    vorbis_comment comment;
    ogg_sync_init(&sync);
    vorbis_info_init(&info);
    vorbis_comment_init(&comment);
    bool streamOpen = false;
    bool whole = true;
    long expectedPage = 0;
    int headers = 0;
    char* buffer = ogg_sync_buffer(&sync, static_cast<long>(entry.size()));
    if (buffer == nullptr) {
        whole = false;
    } else {
        if (!entry.empty()) {
            std::memcpy(buffer, entry.data(), entry.size());
        }
        ogg_sync_wrote(&sync, static_cast<long>(entry.size()));
    }
    ogg_page page;
    while (whole) {
        long step = ogg_sync_pageseek(&sync, &page);
        if (step == 0) {
            break; // the rest is not a whole page
        }
        if (step < 0 || ogg_page_pageno(&page) != expectedPage) {
            whole = false;
            break;
        }
        ++expectedPage;
        if (!streamOpen) {
            ogg_stream_init(&stream, ogg_page_serialno(&page));
            streamOpen = true;
        }
        whole = ogg_stream_pagein(&stream, &page) == 0 &&
                PacketsAreWhole(stream, info, comment, headers);
    }
    // Bytes after the last whole page would be a cut page.
    whole = whole && headers == 3 && sync.fill == sync.returned;
    if (streamOpen) {
        ogg_stream_clear(&stream);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    ogg_sync_clear(&sync);
    return whole;
}

} // namespace

std::optional<OggInfo> MeasureOggVoice(std::span<const uint8_t> entry) {
    std::optional<OggInfo> info;
    {
        OpenVoice voice(entry);
        info = voice.Info();
        if (!info) {
            return std::nullopt;
        }
        const size_t frameBytes = static_cast<size_t>(info->Channels) * 2;
        const size_t frames = static_cast<size_t>(info->Frames);
        const size_t size = static_cast<size_t>(info->Channels + 2) * frames;
        if (size < kUntrimmedBelow) {
            info->Frames = static_cast<int64_t>(size / frameBytes);
            return info;
        }
        if (StreamIsWhole(entry)) {
            // From a few thousand frames before the end, twice as many each time the silence
            // reaches back further; the count never looks below half of the buffer.
            std::vector<uint8_t> tail;
            for (size_t tailFrames = 4096;; tailFrames *= 2) {
                size_t first = frames > tailFrames ? frames - tailFrames : 0;
                size_t tailStart = first * frameBytes;
                if (!voice.SeekToFrame(static_cast<int64_t>(first))) {
                    break;
                }
                // Laid out as the whole decode lays it out: a stream that goes on past its
                // count goes on into a mono buffer's spare there too.
                tail.assign(size - tailStart, 0);
                if (voice.DecodeInto(tail) < (frames - first) * frameBytes) {
                    break; // shorter than its count: the whole decode knows where it ends
                }
                if (auto bytes = PlayableBytesFromTail(size, tailStart, tail)) {
                    info->Frames = static_cast<int64_t>(*bytes / frameBytes);
                    return info;
                }
                if (first == 0) {
                    break;
                }
            }
        }
    }
    PcmClip clip;
    if (!DecodeOggVoice(entry, clip)) {
        return std::nullopt;
    }
    info->Frames = static_cast<int64_t>(clip.Frames());
    return info;
}

std::optional<OggInfo> ReadOggInfo(std::span<const uint8_t> entry) {
    OpenVoice voice(entry);
    return voice.Info();
}

bool DecodeOggVoice(std::span<const uint8_t> entry, PcmClip& out) {
    OpenVoice voice(entry);
    std::optional<OggInfo> info = voice.Info();
    if (!info) {
        return false;
    }
    // (channels + 2) bytes a frame: the exact size of stereo PCM, and half a frame more than
    // mono needs, so that a mono voice ends in zeros that the trimming then removes.
    size_t bytes = static_cast<size_t>(info->Channels + 2) * static_cast<size_t>(info->Frames);
    out.Samples.assign((bytes + 1) / 2, 0);
    std::span<uint8_t> buffer(reinterpret_cast<uint8_t*>(out.Samples.data()), bytes);
    voice.DecodeInto(buffer);

    size_t frameBytes = static_cast<size_t>(info->Channels) * 2;
    size_t frames = PlayableVoiceBytes(buffer) / frameBytes;
    out.Samples.resize(frames * static_cast<size_t>(info->Channels));
    out.Channels = info->Channels;
    out.Rate = info->Rate;
    return true;
}

} // namespace orv
