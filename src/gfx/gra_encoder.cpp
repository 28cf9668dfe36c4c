// GRA encoding: lane differences, runs of 1- to 4-byte units, and LZ tokens found by hash
// chains with one step of lazy matching.
#include "gfx/gra_encoder.h"

#include "gfx/gra_format.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace orv {

namespace {

constexpr int kHashBits = 16;
constexpr size_t kMaxMatch = 4096;

// Writes tokens and their flag bytes. A flag byte is opened only when a token needs it, so
// that the stream never ends in a flag byte without tokens.
class TokenWriter {
public:
    explicit TokenWriter(Bytes& out) : m_out(out) {}

    void Literal(uint8_t byte) {
        Flag(false);
        m_out.push_back(byte);
    }
    void LiteralRun(const uint8_t* bytes, size_t count) { // 9..40
        Flag(true);
        m_out.push_back(static_cast<uint8_t>(((count - 9) << 2) | 3));
        m_out.insert(m_out.end(), bytes, bytes + count);
    }
    void Reference(size_t distance, size_t length) {
        Flag(true);
        size_t d = distance - 1;
        if (distance <= kGraMaxShortDistance && length <= 4) {
            m_out.push_back(static_cast<uint8_t>(d << 2 | (length - 2)));
        } else if (distance <= kGraMaxMiddleDistance && length <= 18) {
            m_out.push_back(static_cast<uint8_t>(0x80 | d >> 4));
            m_out.push_back(static_cast<uint8_t>((d & 0x0F) << 4 | (length - 3)));
        } else {
            m_out.push_back(static_cast<uint8_t>(0xC0 | d >> 8));
            m_out.push_back(static_cast<uint8_t>(d));
            m_out.push_back(length == 4096   ? 0xFF
                            : length == 1024 ? 0xFE
                            : length == 256  ? 0xFD
                                             : static_cast<uint8_t>(length - 3));
        }
    }

private:
    void Flag(bool set) {
        if (m_bit == 0) {
            m_flagAt = m_out.size();
            m_out.push_back(0);
            m_bit = 0x80;
        }
        if (set) {
            m_out[m_flagAt] = static_cast<uint8_t>(m_out[m_flagAt] | m_bit);
        }
        m_bit >>= 1;
    }

    Bytes& m_out;
    size_t m_flagAt = 0;
    unsigned m_bit = 0;
};

// The length a token can carry for a match of `length` bytes at `distance`: short
// references only up to distance 32 and length 4, middle ones up to 1024 and 18, long ones
// 3..255 and exactly 256, 1024 or 4096.
size_t TokenLength(size_t distance, size_t length) {
    if (length < 2) {
        return 0;
    }
    if (distance <= kGraMaxShortDistance && length <= 4) {
        return length;
    }
    if (length == 2) {
        return 0;
    }
    if (distance <= kGraMaxMiddleDistance && length <= 18) {
        return length;
    }
    return length >= 4096 ? 4096 : length >= 1024 ? 1024 : length >= 256 ? 256 : length;
}

// Bits a token costs.
size_t TokenBits(size_t distance, size_t length) {
    if (distance <= kGraMaxShortDistance && length <= 4) {
        return 9;
    }
    if (distance <= kGraMaxMiddleDistance && length <= 18) {
        return 17;
    }
    return 25;
}

struct Match {
    size_t Distance = 0;
    size_t Length = 0; // as a token can carry it
    // Bits saved against literals, less the penalty of one more token; the match with the
    // larger saving wins, and one that saves nothing is not taken. Literals travel in runs of
    // up to 40 at about 8 bits each, and a reference breaks such a run.
    long Gain(long tokenPenalty) const {
        if (Length == 0) {
            return 0;
        }
        return static_cast<long>(Length * 8) - static_cast<long>(TokenBits(Distance, Length)) -
               tokenPenalty;
    }
};

class MatchFinder {
public:
    MatchFinder(ByteSpan data, int depth, long tokenPenalty)
        : m_data(data), m_depth(std::max(depth, 1)), m_penalty(tokenPenalty),
          m_head(size_t{1} << kHashBits, -1), m_previous(data.size(), -1) {}

    // Adds every position before `pos` that is not yet in the chains.
    void InsertUpTo(size_t pos) {
        for (; m_inserted < pos && m_inserted + 3 <= m_data.size(); ++m_inserted) {
            uint32_t h = Hash(m_inserted);
            m_previous[m_inserted] = m_head[h];
            m_head[h] = static_cast<int32_t>(m_inserted);
        }
        m_inserted = std::max(m_inserted, pos);
    }

    long Gain(const Match& m) const { return m.Gain(m_penalty); }

    Match Find(size_t pos) const {
        Match best;
        const size_t remaining = m_data.size() - pos;
        if (remaining < 2) {
            return best;
        }
        const size_t maxLength = std::min(remaining, kMaxMatch);
        if (remaining >= 3) {
            int32_t candidate = m_head[Hash(pos)];
            for (int step = 0; step < m_depth && candidate >= 0; ++step) {
                size_t distance = pos - static_cast<size_t>(candidate);
                if (distance > static_cast<size_t>(kGraMaxLongDistance)) {
                    break;
                }
                size_t length = Common(static_cast<size_t>(candidate), pos, maxLength);
                Match m{distance, TokenLength(distance, length)};
                if (m.Gain(m_penalty) > best.Gain(m_penalty)) {
                    best = m;
                    if (m.Length == kMaxMatch || length == maxLength) {
                        break;
                    }
                }
                candidate = m_previous[static_cast<size_t>(candidate)];
            }
        }
        if (best.Length < 3) {
            // Two bytes only pay within the one-byte token's reach.
            size_t near = std::min(pos, static_cast<size_t>(kGraMaxShortDistance));
            for (size_t distance = 1; distance <= near; ++distance) {
                size_t length = Common(pos - distance, pos, std::min<size_t>(maxLength, 4));
                Match m{distance, TokenLength(distance, length)};
                if (m.Gain(m_penalty) > best.Gain(m_penalty)) {
                    best = m;
                }
            }
        }
        return best;
    }

private:
    uint32_t Hash(size_t pos) const {
        const uint8_t* p = m_data.data() + pos;
        uint32_t v = static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16;
        return (v * 2654435761u) >> (32 - kHashBits);
    }
    // Bytes that agree from `from` and `pos` on, up to `limit`; the ranges may overlap, as a
    // back-reference copies byte by byte.
    size_t Common(size_t from, size_t pos, size_t limit) const {
        const uint8_t* a = m_data.data() + from;
        const uint8_t* b = m_data.data() + pos;
        size_t n = 0;
        while (n + 8 <= limit) {
            uint64_t x, y;
            std::memcpy(&x, a + n, 8);
            std::memcpy(&y, b + n, 8);
            if (x != y) {
                return n + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
            }
            n += 8;
        }
        while (n < limit && a[n] == b[n]) {
            ++n;
        }
        return n;
    }

    ByteSpan m_data;
    int m_depth;
    long m_penalty;
    std::vector<int32_t> m_head;
    std::vector<int32_t> m_previous;
    size_t m_inserted = 0;
};

void FlushLiterals(TokenWriter& writer, const uint8_t* bytes, size_t count) {
    while (count >= 9) {
        size_t run = std::min<size_t>(count, kGraMaxLiteralRun);
        writer.LiteralRun(bytes, run);
        bytes += run;
        count -= run;
    }
    for (size_t i = 0; i < count; ++i) {
        writer.Literal(bytes[i]);
    }
}

void AppendLiteralRuns(Bytes& out, const uint8_t* bytes, size_t count) {
    while (count > 0) {
        size_t run = std::min<size_t>(count, kGraMaxRunLiterals);
        out.push_back(static_cast<uint8_t>(run - 1));
        out.insert(out.end(), bytes, bytes + run);
        bytes += run;
        count -= run;
    }
}

} // namespace

Bytes EncodeGraLz(ByteSpan data, int searchDepth, int tokenPenaltyBits) {
    Bytes out;
    out.reserve(data.size() / 2 + 64);
    TokenWriter writer(out);
    MatchFinder finder(data, searchDepth, tokenPenaltyBits);
    size_t pos = 0, literalsFrom = 0;
    while (pos < data.size()) {
        finder.InsertUpTo(pos);
        Match match = finder.Find(pos);
        if (match.Length > 0 && pos + 1 < data.size()) {
            // One step of lazy matching: a better match one byte on is worth a literal.
            finder.InsertUpTo(pos + 1);
            Match next = finder.Find(pos + 1);
            if (finder.Gain(next) > finder.Gain(match) + 9) {
                ++pos;
                match = next;
            }
        }
        if (match.Length == 0 || finder.Gain(match) <= 0) {
            ++pos;
            continue;
        }
        FlushLiterals(writer, data.data() + literalsFrom, pos - literalsFrom);
        writer.Reference(match.Distance, match.Length);
        pos += match.Length;
        literalsFrom = pos;
    }
    FlushLiterals(writer, data.data() + literalsFrom, pos - literalsFrom);
    return out;
}

Bytes EncodeGraRuns(ByteSpan data) {
    Bytes out;
    out.reserve(data.size() + data.size() / 64 + 16);
    const uint8_t* p = data.data();
    const size_t n = data.size();
    size_t pos = 0, literalsFrom = 0;
    while (pos < n) {
        size_t bestUnit = 0, bestCount = 0;
        for (size_t unit = 1; unit <= 4 && pos + 2 * unit <= n; ++unit) {
            size_t count = 1;
            while (count < static_cast<size_t>(kGraMaxRunCount) && pos + (count + 1) * unit <= n &&
                   std::memcmp(p + pos, p + pos + count * unit, unit) == 0) {
                ++count;
            }
            // A run costs 2 + unit bytes; it pays when it covers a few more than that.
            if (count * unit >= unit + 4 && count * unit > bestCount * bestUnit) {
                bestUnit = unit;
                bestCount = count;
            }
        }
        if (bestUnit == 0) {
            ++pos;
            continue;
        }
        AppendLiteralRuns(out, p + literalsFrom, pos - literalsFrom);
        size_t c = bestCount - 1;
        out.push_back(static_cast<uint8_t>(0x80 | (bestUnit - 1) << 5 | c >> 8));
        out.push_back(static_cast<uint8_t>(c));
        out.insert(out.end(), p + pos, p + pos + bestUnit);
        pos += bestCount * bestUnit;
        literalsFrom = pos;
    }
    AppendLiteralRuns(out, p + literalsFrom, pos - literalsFrom);
    return out;
}

void ApplyGraDelta(uint8_t* data, size_t size) {
    // Backwards, so that each byte still sees the original three before it.
    for (size_t i = size; i-- > 3;) {
        data[i] = static_cast<uint8_t>(data[i] - data[i - 3]);
    }
}

std::optional<Bytes> EncodeGraPicture(const Surface& picture, const GraEncodeOptions& options) {
    if (picture.Width() > 0xFFFF || picture.Height() > 0xFFFF) {
        return std::nullopt;
    }
    Bytes raw(static_cast<size_t>(picture.RowBytes()) * picture.Height());
    // A picture without pixels has no rows to copy (nor any memory to copy them from).
    for (int y = 0; !raw.empty() && y < picture.Height(); ++y) {
        std::memcpy(raw.data() + static_cast<size_t>(picture.RowBytes()) * y, picture.Row(y),
                    static_cast<size_t>(picture.RowBytes()));
    }
    GraHeader header;
    header.Width = static_cast<uint16_t>(picture.Width());
    header.Height = static_cast<uint16_t>(picture.Height());
    if (options.Delta) {
        header.Flags |= kGraDeltaFlag;
        ApplyGraDelta(raw.data(), raw.size());
    }
    if (options.RunLength) {
        header.Flags |= kGraRunLengthFlag;
        raw = EncodeGraRuns(raw);
        header.LzLength = static_cast<uint32_t>(raw.size());
    }
    Bytes coded = EncodeGraLz(raw, options.SearchDepth, options.TokenPenaltyBits);
    header.CodedLength = static_cast<uint32_t>(coded.size());
    Bytes out;
    out.reserve(kGraHeaderSize + coded.size());
    AppendGraHeader(out, header);
    out.insert(out.end(), coded.begin(), coded.end());
    return out;
}

} // namespace orv
