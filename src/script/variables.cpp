#include "script/variables.h"

#include "save/save_io.h"

#include "base/cp932.h"

#include <algorithm>

namespace orv {

int32_t VariableStore::Cell(int index) const {
    if (index < 0 || index >= kCellCount) {
        return 0;
    }
    return Cells[static_cast<size_t>(index)];
}

bool VariableStore::SetCell(int index, int32_t value) {
    if (index < 0 || index >= kCellCount) {
        return false;
    }
    Cells[static_cast<size_t>(index)] = value;
    return true;
}

bool VariableStore::TestFlag(FlagKind kind, int n) const {
    switch (kind) {
    case FlagKind::E:
        return TestBit(EFlags, n, kEFlags);
    case FlagKind::F:
        return TestBit(FFlags, n, kFFlags);
    case FlagKind::T:
        return TestBit(TFlags, n, kTFlags);
    }
    return false;
}

void VariableStore::WriteFlag(FlagKind kind, int n, bool on) {
    switch (kind) {
    case FlagKind::E:
        SetBit(EFlags, n, on, kEFlags);
        break;
    case FlagKind::F:
        SetBit(FFlags, n, on, kFFlags);
        break;
    case FlagKind::T:
        SetBit(TFlags, n, on, kTFlags);
        break;
    }
}

void VariableStore::ClearFlags(FlagKind kind) {
    switch (kind) {
    case FlagKind::E:
        EFlags.fill(0);
        break;
    case FlagKind::F:
        FFlags.fill(0);
        break;
    case FlagKind::T:
        TFlags.fill(0);
        break;
    }
}

void VariableStore::ClearGameVariables() {
    std::fill(Cells.begin() + kV, Cells.begin() + kV + 1000, 0);
}

void VariableStore::Exchange(SaveIo& io) {
    io.Bytes(save_layout::kFFlags, FFlags);
    io.Ints(save_layout::kVCells, std::span(Cells).subspan(kV, 1000));
    io.Ints(save_layout::kSCells, std::span(Cells).subspan(kS, cell::kSavedCells));
    io.Bytes(save_layout::kReadMarks, ReadMarks);
    io.Bytes(save_layout::kTFlags, TFlags);
    static_assert(sizeof Strings == save_layout::kStringsSize);
    io.Bytes(save_layout::kStrings, std::span(&Strings[0][0], sizeof Strings));
    if (io.Reading()) {
        // Every string ends inside its 64 bytes, whatever the file held.
        for (auto& text : Strings) {
            text[kStringSize - 1] = '\0';
        }
    }
}

void VariableStore::ResetForNewGame() {
    ClearFlags(FlagKind::F);
    ClearFlags(FlagKind::T);
    ClearGameVariables();
    V(200) = G(6);
    V(201) = G(7);
    V(202) = G(8);
}

void VariableStore::ClearSavedSystemCells() {
    std::fill(Cells.begin() + kS, Cells.begin() + kS + cell::kSavedCells, 0);
}

std::string_view VariableStore::String(int n) const {
    if (n < 0 || n >= kStringCount) {
        return {};
    }
    return {Strings[n], ::strnlen(Strings[n], kStringSize)};
}

void VariableStore::SetString(int n, std::string_view text) {
    if (n < 0 || n >= kStringCount) {
        return;
    }
    size_t length = cp932::CutToWholeChars(text, kStringSize - 1).size();
    // The text may be a view of this very string (a script copying $n onto itself).
    std::memmove(Strings[n], text.data(), length);
    std::memset(Strings[n] + length, 0, kStringSize - length);
}

} // namespace orv
