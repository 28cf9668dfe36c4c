#pragma once
// The script-visible store: integer cells, bit flags, read marks and string variables.
// It doubles as the engine's parameter block through the system cells S000..S999.

#include "script/system_cells.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace orv {

class SaveIo;

// Bit n of a flag array: byte n div 8, least significant bit first. An index at or beyond
// `count` (or beyond the array) reads 0 and writes nothing.
template <size_t N>
bool TestBit(const std::array<uint8_t, N>& bits, int n, int count = static_cast<int>(N * 8)) {
    return n >= 0 && n < count && static_cast<size_t>(n) < N * 8 && (bits[n / 8] >> (n % 8) & 1);
}
template <size_t N>
void SetBit(std::array<uint8_t, N>& bits, int n, bool on, int count = static_cast<int>(N * 8)) {
    if (n < 0 || n >= count || static_cast<size_t>(n) >= N * 8) {
        return;
    }
    if (on) {
        bits[n / 8] = static_cast<uint8_t>(bits[n / 8] | 1 << (n % 8));
    } else {
        bits[n / 8] = static_cast<uint8_t>(bits[n / 8] & ~(1 << (n % 8)));
    }
}

// The three flag families that scripts name.
enum class FlagKind { E, F, T };

class VariableStore {
public:
    static constexpr int kCellCount = 3010;
    static constexpr int kV = 0;    // V000..V999
    static constexpr int kS = 2000; // S000..S999
    static constexpr int kG = 3000; // G0..G9
    static constexpr int kEFlags = 1024;
    static constexpr int kFFlags = 1024;
    static constexpr int kTFlags = 10000;
    static constexpr int kPictureBits = 4000;
    static constexpr int kSceneBits = 2000;
    static constexpr int kReadMarks = 80001;
    static constexpr int kStringCount = 10;
    static constexpr int kStringSize = 64;

    // Cells by their script names. An index outside the family's range reaches a scratch
    // cell, which reads 0, instead of another variable or memory outside the store.
    int32_t& V(int n) { return Family(kV, 1000, n); }
    int32_t& S(int n) { return Family(kS, 1000, n); }
    int32_t& G(int n) { return Family(kG, 10, n); }
    int32_t V(int n) const { return FamilyValue(kV, 1000, n); }
    int32_t S(int n) const { return FamilyValue(kS, 1000, n); }
    int32_t G(int n) const { return FamilyValue(kG, 10, n); }

    // Any of the 3010 cells by its index, as the indirect form reaches them: 0 and no write
    // outside 0..3009.
    int32_t Cell(int index) const;
    bool SetCell(int index, int32_t value);

    bool TestFlag(FlagKind kind, int n) const;
    void SetFlag(FlagKind kind, int n) { WriteFlag(kind, n, true); }
    void ClearFlag(FlagKind kind, int n) { WriteFlag(kind, n, false); }
    void WriteFlag(FlagKind kind, int n, bool on);

    // Kept across games with the global data; set by the gallery and the recollection list.
    bool PictureUnlockedBit(int n) const { return TestBit(PictureUnlocked, n, kPictureBits); }
    void SetPictureUnlockedBit(int n, bool on) { SetBit(PictureUnlocked, n, on, kPictureBits); }
    bool SceneSeenBit(int n) const { return TestBit(ScenesSeen, n, kSceneBits); }
    void SetSceneSeenBit(int n, bool on) { SetBit(ScenesSeen, n, on, kSceneBits); }

    // Read marks 0..80000, one per text passage the script marks.
    bool ReadMark(int n) const { return TestBit(ReadMarks, n, kReadMarks); }
    void SetReadMark(int n) { SetBit(ReadMarks, n, true, kReadMarks); }

    // Every flag of one family cleared (a new game clears F and T, choice recording F).
    void ClearFlags(FlagKind kind);
    // V000..V999 back to 0.
    void ClearGameVariables();
    // S000..S199, the system cells saved games keep, back to 0.
    void ClearSavedSystemCells();
    // `gameinit`: the F and T flags and V000..V999 cleared, V200..V202 taken from G6..G8.
    void ResetForNewGame();
    // A saved game keeps the F and T flags, V000..V999, S000..S199, the read marks and the
    // string variables.
    void Exchange(SaveIo& io);

    // A string variable $0..$9 as stored (code page 932, NUL-terminated).
    std::string_view String(int n) const;
    // Copies at most 63 bytes, never cutting a double-byte character in half.
    void SetString(int n, std::string_view text);

    std::array<int32_t, kCellCount> Cells{};
    std::array<uint8_t, kEFlags / 8> EFlags{};
    std::array<uint8_t, kFFlags / 8> FFlags{};
    std::array<uint8_t, kTFlags / 8> TFlags{};
    std::array<uint8_t, 512> PictureUnlocked{};
    std::array<uint8_t, 256> ScenesSeen{};
    std::array<uint8_t, 10240> ReadMarks{};
    char Strings[kStringCount][kStringSize] = {};

private:
    int32_t& Family(int base, int span, int n) {
        if (n < 0 || n >= span) {
            m_scratch = 0;
            return m_scratch;
        }
        return Cells[static_cast<size_t>(base + n)];
    }
    int32_t FamilyValue(int base, int span, int n) const {
        return n < 0 || n >= span ? 0 : Cells[static_cast<size_t>(base + n)];
    }

    int32_t m_scratch = 0;
};

} // namespace orv
