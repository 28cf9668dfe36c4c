#pragma once
// Ogg Vorbis voices, decoded whole from an entry held in memory through libvorbisfile.

#include "sound/pcm.h"

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

} // namespace orv
