#include "base/cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <memory>
#include <mutex>

namespace orv::cp932 {

size_t CharLength(std::string_view text, size_t pos) {
    if (pos >= text.size()) {
        return 0;
    }
    if (IsLeadByte(static_cast<uint8_t>(text[pos])) && pos + 1 < text.size()) {
        return 2;
    }
    return 1;
}

std::string_view CutToWholeChars(std::string_view text, size_t limit) {
    size_t length = 0;
    while (length < text.size()) {
        size_t next = length + CharLength(text, length);
        if (next > limit) {
            break;
        }
        length = next;
    }
    return text.substr(0, length);
}

void UpperCaseInPlace(char* text, size_t length) {
    for (size_t i = 0; i < length; ++i) {
        auto b = static_cast<uint8_t>(text[i]);
        if (IsLeadByte(b)) {
            ++i; // skip the trail byte
        } else if (b >= 'a' && b <= 'z') {
            text[i] = static_cast<char>(b - 'a' + 'A');
        }
    }
}

void UpperCaseInPlace(std::string& text) { UpperCaseInPlace(text.data(), text.size()); }

std::string UpperCase(std::string_view text) {
    std::string out(text);
    UpperCaseInPlace(out);
    return out;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    bool trail = false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto x = static_cast<uint8_t>(a[i]);
        auto y = static_cast<uint8_t>(b[i]);
        if (trail) {
            trail = false;
            if (x != y) {
                return false;
            }
            continue;
        }
        if (IsLeadByte(x)) {
            trail = true;
        }
        if (x >= 'a' && x <= 'z') {
            x = static_cast<uint8_t>(x - 'a' + 'A');
        }
        if (y >= 'a' && y <= 'z') {
            y = static_cast<uint8_t>(y - 'a' + 'A');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

uint16_t CharCode(std::string_view character) {
    if (character.empty()) {
        return 0;
    }
    auto lead = static_cast<uint8_t>(character[0]);
    if (character.size() >= 2 && IsLeadByte(lead)) {
        return static_cast<uint16_t>(lead << 8 | static_cast<uint8_t>(character[1]));
    }
    return lead;
}

namespace {

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (Valid()) {
            iconv_close(m_cd);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool Valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    // Converts `in` whole; returns the number of output bytes, or -1 when iconv refuses it.
    long Convert(const char* in, size_t inLength, char* out, size_t outCapacity) {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr); // reset shift state
        char* src = const_cast<char*>(in);
        char* dst = out;
        size_t srcLeft = inLength;
        size_t dstLeft = outCapacity;
        if (iconv(m_cd, &src, &srcLeft, &dst, &dstLeft) == static_cast<size_t>(-1) || srcLeft != 0) {
            return -1;
        }
        return static_cast<long>(dst - out);
    }

private:
    iconv_t m_cd;
};

// Every character code decoded once, so that converting text never calls iconv again.
class DecodeTable {
public:
    DecodeTable() {
        Iconv cd("UTF-32LE", "CP932");
        for (uint32_t code = 0; code < 0x10000; ++code) {
            m_table[code] = Decode(cd, static_cast<uint16_t>(code));
        }
    }
    char32_t operator[](uint16_t code) const { return m_table[code]; }

private:
    static char32_t Decode(Iconv& cd, uint16_t code) {
        if (!cd.Valid()) {
            return code < 0x80 ? code : ReplacementChar;
        }
        char in[2];
        size_t length = 0;
        if (code > 0xFF) {
            if (!IsLeadByte(static_cast<uint8_t>(code >> 8))) {
                return ReplacementChar;
            }
            in[length++] = static_cast<char>(code >> 8);
        } else if (IsLeadByte(static_cast<uint8_t>(code))) {
            return ReplacementChar; // a lead byte alone
        }
        in[length++] = static_cast<char>(code & 0xFF);
        uint8_t out[8];
        long written = cd.Convert(in, length, reinterpret_cast<char*>(out), sizeof out);
        if (written != 4) {
            return ReplacementChar;
        }
        return static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
    }

    std::array<char32_t, 0x10000> m_table{};
};

const DecodeTable& Table() {
    static const auto table = std::make_unique<DecodeTable>();
    return *table;
}

// Decodes the character at `pos` and moves `pos` past it. An undefined double-byte pair
// gives one replacement and consumes only the lead byte when the trail is plain ASCII,
// so that a stray lead byte never swallows the character after it.
char32_t DecodeAt(std::string_view sjis, size_t& pos) {
    size_t length = CharLength(sjis, pos);
    uint16_t code = CharCode(sjis.substr(pos, length));
    char32_t cp = Table()[code];
    if (cp == ReplacementChar && length == 2 && static_cast<uint8_t>(sjis[pos + 1]) < 0x40) {
        length = 1;
    }
    pos += length;
    return cp;
}

// Reads one UTF-8 sequence at `pos`; returns false on a malformed one.
bool NextUtf8(std::string_view utf8, size_t& pos, char32_t& cp) {
    auto b0 = static_cast<uint8_t>(utf8[pos]);
    size_t length;
    char32_t value;
    if (b0 < 0x80) {
        length = 1;
        value = b0;
    } else if ((b0 & 0xE0) == 0xC0) {
        length = 2;
        value = b0 & 0x1F;
    } else if ((b0 & 0xF0) == 0xE0) {
        length = 3;
        value = b0 & 0x0F;
    } else if ((b0 & 0xF8) == 0xF0) {
        length = 4;
        value = b0 & 0x07;
    } else {
        return false;
    }
    if (pos + length > utf8.size()) {
        return false;
    }
    for (size_t i = 1; i < length; ++i) {
        auto b = static_cast<uint8_t>(utf8[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return false;
        }
        value = value << 6 | (b & 0x3F);
    }
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kMinimum[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    pos += length;
    cp = value;
    return true;
}

std::mutex g_encodeMutex;

// Encodes one code point; returns false when code page 932 has no character for it.
bool EncodeChar(char32_t cp, std::string& out) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
        return true;
    }
    std::lock_guard lock(g_encodeMutex);
    static Iconv cd("CP932", "UTF-32LE");
    if (!cd.Valid()) {
        return false;
    }
    char in[4] = {static_cast<char>(cp & 0xFF), static_cast<char>(cp >> 8 & 0xFF),
                  static_cast<char>(cp >> 16 & 0xFF), static_cast<char>(cp >> 24 & 0xFF)};
    char buffer[8];
    long written = cd.Convert(in, sizeof in, buffer, sizeof buffer);
    if (written <= 0) {
        return false;
    }
    out.append(buffer, static_cast<size_t>(written));
    return true;
}

} // namespace

char32_t DecodeChar(uint16_t code) { return Table()[code]; }

std::u32string ToUtf32(std::string_view sjis) {
    std::u32string out;
    out.reserve(sjis.size());
    size_t pos = 0;
    while (pos < sjis.size()) {
        out.push_back(DecodeAt(sjis, pos));
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | cp >> 6));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | cp >> 12));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | cp >> 18));
        out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

std::string ToUtf8(std::string_view sjis) {
    std::string out;
    out.reserve(sjis.size() * 3 / 2);
    size_t pos = 0;
    while (pos < sjis.size()) {
        AppendUtf8(out, DecodeAt(sjis, pos));
    }
    return out;
}

size_t EncodeUtf8(std::string_view utf8, std::string& out) {
    out.clear();
    size_t pos = 0;
    while (pos < utf8.size()) {
        size_t start = pos;
        char32_t cp = 0;
        if (!NextUtf8(utf8, pos, cp) || !EncodeChar(cp, out)) {
            return start;
        }
    }
    return std::string_view::npos;
}

std::string FromUtf8Lenient(std::string_view utf8) {
    std::string out;
    size_t pos = 0;
    while (pos < utf8.size()) {
        char32_t cp = 0;
        if (!NextUtf8(utf8, pos, cp)) {
            ++pos;
            out.push_back('?');
        } else if (!EncodeChar(cp, out)) {
            out.push_back('?');
        }
    }
    return out;
}

} // namespace orv::cp932
