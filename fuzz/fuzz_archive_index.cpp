// Archive indexes come from files the player supplies: any bytes must parse or be refused
// without reading outside the input.
#include "data/archive_index.h"

#include <cstddef>
#include <cstdint>

namespace {

void Probe(orv::ByteSpan head, uint64_t fileSize, orv::IndexForm form) {
    orv::ArchiveIndex index;
    std::string problem;
    orv::ParseIndex(head, fileSize, form, index, &problem);
    (void)orv::IndexLength(head, fileSize, form);
    if (!index.Names.empty()) {
        orv::FindEntry(index, index.Names.front());
        orv::FindEntry(index, index.Names.back());
    }
    orv::FindEntry(index, "MAIN");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    orv::ByteSpan head(data, size);
    // The input as a whole archive, and as the head of a file that is shorter than claimed
    // by the index's own records.
    for (uint64_t fileSize : {static_cast<uint64_t>(size), static_cast<uint64_t>(size / 2)}) {
        Probe(head, fileSize, orv::IndexForm::A);
        Probe(head, fileSize, orv::IndexForm::B);
        (void)orv::DetectIndexForm(head, fileSize);
    }
    // A file claimed longer than the bytes at hand: the parser must not read past them.
    Probe(head, static_cast<uint64_t>(size) + 4096, orv::IndexForm::B);
    return 0;
}
