// Voices of the Ogg archives are untrusted: a damaged or hostile stream, or one that lies
// about its length, must decode to a clip within its buffer (or to nothing), never crash.
#include "sound/ogg_voice.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> entry(data, size);
    orv::ReadOggInfo(entry);
    orv::PcmClip clip;
    orv::DecodeOggVoice(entry, clip);
    return 0;
}
