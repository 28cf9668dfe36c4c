// Voices of the Ogg archives are untrusted: a damaged or hostile stream, or one that lies
// about its length, must decode to a clip within its buffer (or to nothing), never crash.
// Measuring a voice (for a run that nobody hears) must give the length decoding gives.
#include "fuzz_check.h"
#include "sound/ogg_voice.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::span<const uint8_t> entry(data, size);
    orv::ReadOggInfo(entry);
    orv::PcmClip clip;
    bool decoded = orv::DecodeOggVoice(entry, clip);
    std::optional<orv::OggInfo> measured = orv::MeasureOggVoice(entry);
    orv::fuzz::Require(measured.has_value() == decoded, "ogg_voice",
                       "measuring and decoding disagree on whether the voice plays");
    if (decoded) {
        orv::fuzz::Require(measured->Frames == static_cast<int64_t>(clip.Frames()), "ogg_voice",
                           "the measured length is not the decoded one");
    }
    return 0;
}
