#pragma once
// Ogg Vorbis voices, decoded whole from an entry held in memory through libvorbisfile.

#include "sound/pcm.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace orv {

// Decodes the whole stream; the playable length is trimmed of trailing silence as the games
// expect (see the implementation). False when the stream cannot be opened or its length is
// not plausible for the entry.
bool DecodeOggVoice(std::span<const uint8_t> entry, PcmClip& out);

struct OggInfo {
    int32_t Channels = 0;
    uint32_t Rate = 0;
    int64_t Frames = 0;
};
std::optional<OggInfo> ReadOggInfo(std::span<const uint8_t> entry);

// The channels, the rate and the frame count that DecodeOggVoice would give, for a run that
// nobody hears. Where the stream's pages and packets are whole, only its end is decoded (the
// trimming needs the end's samples); otherwise the whole voice is, as DecodeOggVoice does.
std::optional<OggInfo> MeasureOggVoice(std::span<const uint8_t> entry);

// The stream libvorbisfile reads an entry through. Reads copy whole items and never past the
// entry; a seek to a position outside the entry is refused and leaves the position as it was.
class OggEntryStream {
public:
    explicit OggEntryStream(std::span<const uint8_t> entry) : m_entry(entry) {}

    // Copies up to size x count bytes; returns the number of whole items copied.
    size_t Read(void* to, size_t size, size_t count);
    // whence: 0 from the start, 1 from the current position, 2 from the end. 0 when the
    // position moved, -1 when it was refused.
    int Seek(int64_t offset, int whence);
    int64_t Tell() const { return static_cast<int64_t>(m_position); }

private:
    std::span<const uint8_t> m_entry;
    size_t m_position = 0;
};

// How many bytes of a decoded voice are played: the whole of a buffer shorter than 30001
// bytes; of a longer one, the 32-bit words of zeros at its end are dropped, but never more
// than half of it. The games' voices carry silence at their ends that this removes.
size_t PlayableVoiceBytes(std::span<const uint8_t> decoded);

} // namespace orv
