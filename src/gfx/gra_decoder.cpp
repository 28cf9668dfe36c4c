// GRA decoding: the LZ stage, the run-length stage, the delta stage and the copy into the
// target's rows. The hot loops copy in whole 8- and 16-byte steps; the spare and slack bytes
// of the stage buffers absorb what those steps write past a token's end.
#include "gfx/gra_decoder.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

// 16 bytes through a register, so that the ranges may overlap.
inline void Copy16(uint8_t* dst, const uint8_t* src) {
    uint8_t bytes[16];
    std::memcpy(bytes, src, 16);
    std::memcpy(dst, bytes, 16);
}

// Copies `length` bytes from `distance` bytes back, as a byte-by-byte copy would, so that
// an overlapping reference repeats what it has just written. May write up to 15 bytes past
// the end.
inline void CopyMatch(uint8_t* dst, size_t distance, size_t length) {
    const uint8_t* src = dst - distance;
    if (length <= distance || (distance >= 16 && length <= 64)) {
        // Each 16-byte step reads only bytes that lie before it or that an earlier step
        // wrote (what it reads past the reference's end is never kept).
        for (size_t i = 0; i < length; i += 16) {
            Copy16(dst + i, src + i);
        }
        return;
    }
    if (distance == 1) {
        std::memset(dst, src[0], length);
        return;
    }
    if (length <= 32) {
        for (size_t i = 0; i < length; ++i) {
            dst[i] = src[i];
        }
        return;
    }
    // A long overlapping reference repeats the pattern of its first `distance` bytes (a flat
    // colour is one of 3). Copying whole patterns, doubling each time, avoids reading every
    // byte right after writing it.
    std::memcpy(dst, src, distance); // the first pattern lies wholly before `dst`
    for (size_t done = distance; done < length;) {
        size_t chunk = std::min(done, length - done);
        std::memcpy(dst + done, dst, chunk);
        done += chunk;
    }
}

// Writes `count` copies of the `unit`-byte pattern at `pattern`.
inline void FillUnits(uint8_t* dst, const uint8_t* pattern, size_t unit, size_t count) {
    size_t total = unit * count;
    if (total == 0) {
        return;
    }
    if (unit == 1) {
        std::memset(dst, pattern[0], total);
        return;
    }
    std::memcpy(dst, pattern, unit);
    // Doubling copies from what is already written never overlap their source.
    for (size_t filled = unit; filled < total;) {
        size_t chunk = std::min(filled, total - filled);
        std::memcpy(dst + filled, dst, chunk);
        filled += chunk;
    }
}

} // namespace

std::optional<GraHeader> ParseGraHeader(ByteSpan entry) {
    if (entry.size() < kGraHeaderSize) {
        return std::nullopt;
    }
    const uint8_t* p = entry.data();
    GraHeader header;
    header.Flags = p[2];
    header.BytesPerPixel = p[3];
    header.CodedLength = LoadU32(p + 4);
    header.LzLength = LoadU32(p + 8);
    header.Width = LoadU16(p + 12);
    header.Height = LoadU16(p + 14);
    return header;
}

void AppendGraHeader(Bytes& out, const GraHeader& header) {
    AppendU16(out, 0);
    out.push_back(header.Flags);
    out.push_back(header.BytesPerPixel);
    AppendU32(out, header.CodedLength);
    AppendU32(out, header.LzLength);
    AppendU16(out, header.Width);
    AppendU16(out, header.Height);
}

namespace {

// The most coded bytes one token takes (a run of 40 literals and its control byte), so that
// a flag byte's eight tokens never take more than this many times eight.
constexpr size_t kMaxTokenInput = 1 + kGraMaxLiteralRun;
constexpr size_t kMaxGroupInput = 1 + 8 * kMaxTokenInput;

struct LzState {
    const uint8_t* In;
    const uint8_t* End;
    uint8_t* Out;
    size_t Pos = 0;
    size_t Limit = 0; // no token may end past this
};

// Decodes one token (`reference` is its flag bit). With kChecked false the caller has made
// sure that the coded data holds the longest token. False when the data is damaged.
template <bool kChecked>
inline bool DecodeToken(bool reference, LzState& s) {
    if (kChecked && s.In == s.End) {
        return false;
    }
    if (!reference) {
        s.Out[s.Pos++] = *s.In++;
        return true;
    }
    unsigned c = *s.In++;
    size_t distance = 0, length = 0;
    if (c < 0x80) {
        if ((c & 3) == 3) {
            size_t n = (c >> 2) + 9;
            size_t available = static_cast<size_t>(s.End - s.In);
            if ((kChecked && n > available) || n > s.Limit - s.Pos) {
                n = std::min({n, available, s.Limit - s.Pos});
                std::memcpy(s.Out + s.Pos, s.In, n);
                s.Pos += n;
                s.In += n;
                return false;
            }
            if (available >= 48) {
                std::memcpy(s.Out + s.Pos, s.In, 48); // the excess lands in the slack
            } else {
                std::memcpy(s.Out + s.Pos, s.In, n);
            }
            s.Pos += n;
            s.In += n;
            return true;
        }
        distance = (c >> 2) + 1;
        length = (c & 3) + 2;
    } else {
        if (kChecked && s.In == s.End) {
            return false;
        }
        unsigned d = *s.In++;
        if ((c & 0x40) == 0) {
            distance = ((c & 0x3F) << 4) + (d >> 4) + 1;
            length = (d & 0x0F) + 3;
        } else {
            if (kChecked && s.In == s.End) {
                return false;
            }
            unsigned e = *s.In++;
            distance = ((c & 0x3F) << 8) + d + 1;
            length = e == 0xFF ? 4096 : e == 0xFE ? 1024 : e == 0xFD ? 256 : e + 3;
        }
    }
    if (distance > s.Pos) {
        return false; // before the start of the picture: nothing there to copy
    }
    bool whole = length <= s.Limit - s.Pos;
    if (!whole) {
        length = s.Limit - s.Pos;
    }
    CopyMatch(s.Out + s.Pos, distance, length);
    s.Pos += length;
    return whole;
}

} // namespace

namespace {

inline void Copy8(uint8_t* dst, const uint8_t* src) {
    uint64_t bytes;
    std::memcpy(&bytes, src, 8);
    std::memcpy(dst, &bytes, 8);
}

inline size_t LongLength(unsigned e) {
    return e == 0xFF ? 4096 : e == 0xFE ? 1024 : e == 0xFD ? 256 : e + 3;
}

// A group needs this much room before the target for its eight tokens (none longer than 40
// bytes takes the fast path), and this much coded data for them and the wide reads.
constexpr size_t kFastGroupOutput = 8 * 48;
constexpr size_t kFastGroupInput = kMaxGroupInput + 64;

enum class GroupEnd { Continue, Target, Damaged };

// The tokens of a group left in `bits` (flag bits at the top, the marker after them), one at
// a time as the plain loop takes them; the group's coded data is known to be there.
GroupEnd FinishGroup(uint32_t bits, LzState& s, size_t target) {
    for (; bits != 0x80000000u && s.Pos < target; bits <<= 1) {
        if (!DecodeToken<false>((bits & 0x80000000u) != 0, s)) {
            return GroupEnd::Damaged;
        }
    }
    return s.Pos < target ? GroupEnd::Continue : GroupEnd::Target;
}

// Decodes the eight tokens of the flag byte `flags` far from both ends of the data. The
// literals before each reference are copied in one 8-byte step; a reference's fields are
// picked without branching on its kind where the kinds share a shape. Tells whether the
// group ended with the target reached or with damage, where the plain loop would stop.

inline GroupEnd DecodeFastGroup(unsigned flags, LzState& s, size_t target) {
    // The flag bits at the top, and a marker bit after the eighth.
    uint32_t bits = (flags << 24) | 0x00800000u;
    const uint8_t* in = s.In;
    uint8_t* const out = s.Out;
    size_t pos = s.Pos;
    GroupEnd end = GroupEnd::Continue;
    for (;;) {
        int literals = __builtin_clz(bits);
        Copy8(out + pos, in);
        in += literals;
        pos += literals;
        bits <<= literals;
        if (bits == 0x80000000u) {
            break; // the marker: the group's tokens are done
        }
        bits <<= 1;
        unsigned c = in[0];
        size_t distance, length;
        if (c < 0x80) {
            if ((c & 3) == 3) {
                size_t n = (c >> 2) + 9;
                std::memcpy(out + pos, in + 1, 48); // the excess lands in the slack
                in += 1 + n;
                pos += n;
                continue;
            }
            distance = (c >> 2) + 1;
            length = (c & 3) + 2;
            in += 1;
        } else {
            // The middle and long kinds come mixed without pattern, so the pick goes through
            // masks rather than a branch. A long kind's special lengths (e >= 0xFD) come out
            // above 32 here and are put right on the slow path below.
            size_t d = in[1], e = in[2];
            size_t isLong = (c >> 6) & 1;
            size_t longMask = 0 - isLong;
            size_t middleDistance = ((c & 0x3F) << 4) + (d >> 4) + 1;
            size_t longDistance = ((c & 0x3F) << 8) + d + 1;
            distance = (middleDistance & ~longMask) | (longDistance & longMask);
            length = (((d & 0x0F) + 3) & ~longMask) | ((e + 3) & longMask);
            in += 2 + isLong;
        }
        if (distance > pos) {
            end = GroupEnd::Damaged; // before the start of the picture
            break;
        }
        if (length <= 32 && (length <= distance || distance >= 16)) {
            // Each step reads only bytes before the token or written by the step before it.
            Copy16(out + pos, out + pos - distance);
            Copy16(out + pos + 16, out + pos - distance + 16);
            pos += length;
            continue;
        }
        if (length <= 32 && distance >= 8) {
            // Overlapping, but 8-byte steps still read only what lies behind them.
            for (size_t i = 0; i < length; i += 8) {
                Copy8(out + pos + i, out + pos - distance + i);
            }
            pos += length;
            continue;
        }
        if (c >= 0xC0) {
            length = LongLength(in[-1]);
        }
        bool whole = length <= s.Limit - pos;
        if (!whole) {
            length = s.Limit - pos;
        }
        CopyMatch(out + pos, distance, length);
        pos += length;
        if (!whole || pos >= target) {
            // The plain loop ends here too, with the remaining flag bits unread.
            end = whole ? GroupEnd::Target : GroupEnd::Damaged;
            break;
        }
        if (target - pos < kFastGroupOutput) {
            // A long reference came near the target: the rest of the group must stop at it.
            s.In = in;
            s.Pos = pos;
            return FinishGroup(bits, s, target);
        }
    }
    s.In = in;
    s.Pos = pos;
    return end;
}

// The LZ stage's loop over flag bytes; with kGroups, groups far from both ends of the data
// take the grouped decoder.
template <bool kGroups>
GraStageResult DecodeLz(ByteSpan coded, std::span<uint8_t> out, size_t target) {
    if (out.size() <= kGraCopySlack) {
        return {0, target > 0};
    }
    LzState s{coded.data(), coded.data() + coded.size(), out.data()};
    // Tokens may end up to the spare bytes past the target, never further.
    s.Limit = std::min(target + kGraSpareBytes, out.size() - kGraCopySlack);
    bool damaged = target > s.Limit;
    target = std::min(target, s.Limit);
    while (s.Pos < target && !damaged) {
        if (s.In == s.End) {
            damaged = true;
            break;
        }
        unsigned flags = *s.In++;
        size_t available = static_cast<size_t>(s.End - s.In);
        if constexpr (kGroups) {
            if (available >= kFastGroupInput && target - s.Pos >= kFastGroupOutput) {
                GroupEnd end = DecodeFastGroup(flags, s, target);
                damaged = end == GroupEnd::Damaged;
                if (end != GroupEnd::Continue) {
                    break;
                }
                continue;
            }
        }
        // With the longest tokens' worth of coded data left, no token needs to test for its
        // end.
        const bool checked = available < kMaxGroupInput;
        for (int bit = 0; bit < 8 && s.Pos < target; ++bit, flags <<= 1) {
            bool reference = (flags & 0x80) != 0;
            if (!(checked ? DecodeToken<true>(reference, s) : DecodeToken<false>(reference, s))) {
                damaged = true;
                break;
            }
        }
    }
    if (s.Pos < target) {
        std::memset(s.Out + s.Pos, 0, target - s.Pos);
    }
    return {s.Pos, damaged};
}

} // namespace

GraStageResult DecodeGraLz(ByteSpan coded, std::span<uint8_t> out, size_t target) {
    return DecodeLz<true>(coded, out, target);
}

GraStageResult DecodeGraLzPlain(ByteSpan coded, std::span<uint8_t> out, size_t target) {
    return DecodeLz<false>(coded, out, target);
}

GraStageResult DecodeGraRuns(ByteSpan in, std::span<uint8_t> out, size_t raw) {
    const size_t limit = std::min(raw + kGraSpareBytes, out.size());
    bool damaged = raw > limit;
    raw = std::min(raw, limit);
    uint8_t* o = out.data();
    const uint8_t* ip = in.data();
    const uint8_t* const end = ip + in.size();
    size_t op = 0;
    while (op < raw) {
        if (ip == end) {
            damaged = true;
            break;
        }
        unsigned b = *ip++;
        if (b >= 0x80) {
            if (ip == end) {
                damaged = true;
                break;
            }
            size_t count = ((b & 0x1F) << 8) + *ip++ + 1;
            size_t unit = ((b >> 5) & 3) + 1;
            if (count * unit > raw - op) {
                count = (raw - op) / unit;
            }
            if (static_cast<size_t>(end - ip) < unit) {
                damaged = true;
                break;
            }
            FillUnits(o + op, ip, unit, count);
            ip += unit;
            op += count * unit;
        } else {
            size_t n = (b & 0x7F) + 1;
            size_t available = static_cast<size_t>(end - ip);
            if (n > available || n > limit - op) {
                n = std::min({n, available, limit - op});
                damaged = true;
            }
            std::memcpy(o + op, ip, n);
            op += n;
            ip += n;
            if (damaged) {
                break;
            }
        }
    }
    if (op < raw) {
        std::memset(o + op, 0, raw - op);
    }
    return {op, damaged};
}

void UndoGraDeltaPlain(const uint8_t* in, uint8_t* out, size_t bytes, uint8_t sums[3]) {
    uint8_t s0 = sums[0], s1 = sums[1], s2 = sums[2];
    size_t i = 0;
    for (; i + 3 <= bytes; i += 3) {
        s0 = static_cast<uint8_t>(s0 + in[i]);
        s1 = static_cast<uint8_t>(s1 + in[i + 1]);
        s2 = static_cast<uint8_t>(s2 + in[i + 2]);
        out[i] = s0;
        out[i + 1] = s1;
        out[i + 2] = s2;
    }
    if (i < bytes) {
        s0 = static_cast<uint8_t>(s0 + in[i]);
        out[i] = s0;
    }
    if (i + 1 < bytes) {
        s1 = static_cast<uint8_t>(s1 + in[i + 1]);
        out[i + 1] = s1;
    }
    sums[0] = s0;
    sums[1] = s1;
    sums[2] = s2;
}

bool GraHeaderAcceptable(const GraHeader& header, uint64_t maxPixels) {
    return uint64_t{header.Width} * header.Height <= maxPixels && header.BytesPerPixel <= 4;
}

uint64_t GraCodedBytesWanted(const GraHeader& header) {
    uint64_t raw = header.RawSize();
    uint64_t lzTarget =
        header.RunLength() ? std::min<uint64_t>(header.LzLength, raw * 3 + 4096) : raw;
    return std::min<uint64_t>(header.CodedLength, lzTarget + lzTarget / 8 + 64);
}

GraStatus GraDecoder::Decode(ByteSpan entry, Surface& target, uint64_t maxPixels) {
    auto header = ParseGraHeader(entry);
    if (!header || !GraHeaderAcceptable(*header, maxPixels)) {
        return GraStatus::Refused;
    }
    const size_t raw = static_cast<size_t>(header->RawSize());
    const size_t rowBytes = size_t{header->Width} * 3;
    const size_t copyBytes = rowBytes * header->Height;
    ByteSpan coded = entry.subspan(kGraHeaderSize);
    if (coded.size() > header->CodedLength) {
        coded = coded.first(header->CodedLength);
    }

    static_assert(kGraSpareBytes + kGraCopySlack <= Surface::kSpareBytes);
    if (!header->RunLength() && header->BytesPerPixel == 3) {
        // The LZ stage's output is the picture itself: decoded straight into the target's
        // rows (and the spare bytes past them), with no copy and no scratch buffer.
        target.SetSize(header->Width, header->Height);
        if (target.Contiguous() && !target.Empty()) {
            GraStageResult lz = DecodeGraLz(coded, target.Buffer(), raw);
            if (header->Delta()) {
                uint8_t sums[3] = {};
                UndoGraDelta(target.Data(), target.Data(), raw, sums);
            }
            return lz.Damaged ? GraStatus::Damaged : GraStatus::Complete;
        }
    }
    // A run-length stream needs at most 3 input bytes for each output byte (a one-byte
    // unit repeated once), and no coded byte yields more than 1311 bytes (4096 from a
    // three-byte token and its flag bit): a longer LZ target can only be damage, and is not
    // worth its memory.
    uint64_t lzCap = std::min(uint64_t{raw} * 3, uint64_t{coded.size()} * 1311) + 4096;
    size_t lzTarget = header->RunLength()
                          ? static_cast<size_t>(std::min<uint64_t>(header->LzLength, lzCap))
                          : raw;
    size_t outBytes = std::max(raw, copyBytes);
    size_t extra = kGraSpareBytes + kGraCopySlack;
    m_lz.resize(std::max(lzTarget, header->RunLength() ? 0 : outBytes) + extra);
    GraStageResult lz = DecodeGraLz(coded, m_lz, lzTarget);
    bool damaged = lz.Damaged;
    uint8_t* picture = m_lz.data();
    if (header->RunLength()) {
        m_raw.resize(outBytes + extra);
        size_t lzBytes = std::min(lz.Produced, lzTarget);
        GraStageResult runs = DecodeGraRuns(ByteSpan(m_lz.data(), lzBytes), m_raw, raw);
        damaged = damaged || runs.Damaged;
        picture = m_raw.data();
    }

    target.SetSize(header->Width, header->Height);
    if (target.Empty()) {
        return damaged ? GraStatus::Damaged : GraStatus::Complete;
    }
    bool fused = header->Delta() && header->BytesPerPixel == 3;
    if (header->Delta() && !fused) {
        uint8_t sums[3] = {};
        UndoGraDelta(picture, picture, raw, sums);
    }
    if (raw < copyBytes) {
        // Fewer than 3 bytes a pixel: the rows read past the picture's bytes get zeros.
        std::memset(picture + raw, 0, copyBytes - raw);
    }
    uint8_t sums[3] = {};
    if (target.Contiguous()) {
        fused ? UndoGraDelta(picture, target.Data(), copyBytes, sums)
              : static_cast<void>(std::memcpy(target.Data(), picture, copyBytes));
    } else {
        for (int y = 0; y < target.Height(); ++y) {
            const uint8_t* row = picture + rowBytes * static_cast<size_t>(y);
            fused ? UndoGraDelta(row, target.Row(y), rowBytes, sums)
                  : static_cast<void>(std::memcpy(target.Row(y), row, rowBytes));
        }
    }
    return damaged ? GraStatus::Damaged : GraStatus::Complete;
}

GraStatus DecodeGraPicture(ByteSpan entry, Surface& target, uint64_t maxPixels) {
    GraDecoder decoder;
    return decoder.Decode(entry, target, maxPixels);
}

} // namespace orv
