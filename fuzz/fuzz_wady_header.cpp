// WADY headers come from archives the player supplies: any bytes must parse or be refused,
// and a header that parses must hold only what the decoders and the music ring can use.
#include "sound/wady.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::ByteSpan entry(data, size);
    auto header = orv::ParseWadyHeader(entry);
    if (!header) {
        return 0;
    }
    if (header->FormatChannels < 1 || header->FormatChannels > 2 ||
        header->DataLength > size - orv::kWadyHeaderSize ||
        header->LoopStart > header->DataLength) {
        std::abort();
    }
    if (orv::UsableAsStream(*header) &&
        uint64_t{header->FramesPerBlock} * header->Channels * 2 * 4 > orv::kWadyRingBytes) {
        std::abort();
    }
    // Written back and read again, a header keeps every field.
    orv::Bytes again = orv::WriteWadyHeader(*header);
    again.insert(again.end(), data + orv::kWadyHeaderSize, data + size);
    auto reread = orv::ParseWadyHeader(again);
    if (!reread || reread->DataLength != header->DataLength ||
        reread->LoopStart != header->LoopStart || reread->Frames != header->Frames ||
        reread->PcmBytes != header->PcmBytes || reread->Rate != header->Rate ||
        reread->Channels != header->Channels || reread->LoopLeft != header->LoopLeft ||
        reread->LoopRight != header->LoopRight || reread->Scale != header->Scale) {
        std::abort();
    }
    return 0;
}
