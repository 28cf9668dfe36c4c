#include "gfx/pictures.h"

#include "base/cp932.h"
#include "base/diagnostics.h"
#include "base/files.h"
#include "gfx/blend.h"
#include "gfx/jpeg_decoder.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace orv {

namespace {

void Report(std::string_view name, std::string_view problem) {
    Diagnostic("picture " + cp932::ToUtf8(name) + ": " + std::string(problem));
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A decimal number with an optional sign; anything that is not one gives 0, a number past
// the range of int is clamped.
int Number(std::string_view text) {
    text = Trim(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        return text.front() == '-' ? std::numeric_limits<int>::min()
                                   : std::numeric_limits<int>::max();
    }
    if (error != std::errc() || end != text.data() + text.size()) {
        return 0;
    }
    return static_cast<int>(std::clamp<int64_t>(value, std::numeric_limits<int>::min(),
                                                std::numeric_limits<int>::max()));
}

} // namespace

PictureHooks& NoPictureHooks() {
    static PictureHooks none;
    return none;
}

uint8_t ColourDigit(char digit) {
    if (digit >= '0' && digit <= '9') {
        return static_cast<uint8_t>((digit - '0') * 16);
    }
    if (digit >= 'a' && digit <= 'f') {
        return static_cast<uint8_t>((digit - 'a' + 10) * 16);
    }
    if (digit >= 'A' && digit <= 'F') {
        return static_cast<uint8_t>((digit - 'A' + 10) * 16);
    }
    return digit == 'g' || digit == 'G' ? 255 : 0;
}

uint32_t SolidColour(std::string_view name) {
    auto at = [&](size_t i) { return i < name.size() ? ColourDigit(name[i]) : uint8_t{0}; };
    return static_cast<uint32_t>(at(1)) | static_cast<uint32_t>(at(2)) << 8 |
           static_cast<uint32_t>(at(3)) << 16;
}

Pictures::Pictures(const Archives& archives, PictureHooks& hooks)
    : m_archives(archives), m_hooks(&hooks) {}

std::optional<Pictures::Location> Pictures::Find(std::string_view name) const {
    std::string upper = cp932::UpperCase(name);
    if (int pos = FindEntry(m_archives.Gjp, upper); pos >= 0) {
        return Location{&m_archives.Gjp, pos, true};
    }
    // A later slot overrides an earlier one.
    for (size_t slot = m_archives.Gra.size(); slot-- > 0;) {
        if (int pos = FindEntry(m_archives.Gra[slot], upper); pos >= 0) {
            return Location{&m_archives.Gra[slot], pos, false};
        }
    }
    return std::nullopt;
}

bool Pictures::PictureExists(std::string_view name) const {
    return Find(name).has_value();
}

bool Pictures::LoadPicture(std::string_view name, Surface& target) {
    auto where = Find(name);
    if (!where) {
        return false;
    }
    m_entry.clear();
    bool loaded = where->Jpeg ? LoadJpeg(*where, name, target) : LoadGra(*where, name, target);
    m_entry.clear();
    return loaded;
}

bool Pictures::LoadJpeg(const Location& where, std::string_view name, Surface& target) {
    if (!m_archives.ReadEntry(*where.Index, where.Position, m_entry)) {
        Report(name, "cannot read its entry of " + where.Index->FileName);
        return false;
    }
    switch (DecodeJpegPicture(m_entry, target)) {
    case JpegStatus::Complete:
        return true;
    case JpegStatus::Damaged:
        Report(name, "damaged JPEG data");
        return true;
    case JpegStatus::Refused:
        Report(name, "JPEG picture too large");
        return false;
    }
    return false;
}

bool Pictures::LoadGra(const Location& where, std::string_view name, Surface& target) {
    const ArchiveIndex& index = *where.Index;
    auto pos = static_cast<size_t>(where.Position);
    // The decoder reads as many coded bytes as the header says (up to what it can use),
    // even where a careless packer stored a smaller entry size; only the end of the file
    // limits it.
    uint8_t head[kGraHeaderSize];
    if (!m_archives.ReadEntryRange(index, where.Position, 0, head)) {
        Report(name, "GRA entry shorter than its header");
        return false;
    }
    auto header = ParseGraHeader(head);
    if (!GraHeaderAcceptable(*header)) {
        Report(name, "GRA picture too large");
        return false;
    }
    uint64_t offset = index.Offsets[pos];
    uint64_t available = index.FileSize > offset ? index.FileSize - offset : 0;
    uint64_t wanted = std::min<uint64_t>(kGraHeaderSize + GraCodedBytesWanted(*header), available);
    m_entry.resize(static_cast<size_t>(wanted));
    if (!ReadFileRange(index.FileName, offset, m_entry)) {
        Report(name, "cannot read its entry of " + index.FileName);
        return false;
    }
    switch (m_gra.Decode(m_entry, target)) {
    case GraStatus::Complete:
        return true;
    case GraStatus::Damaged:
        Report(name, "damaged GRA data");
        return true;
    case GraStatus::Refused:
        Report(name, "GRA picture too large");
        return false;
    }
    return false;
}

int Pictures::LoadLayerPicture(std::string_view name, Surface& target) {
    if (!name.empty() && (name.front() == 'S' || name.front() == 's')) {
        target.Fill(SolidColour(name));
        return 0;
    }
    if (!name.empty() && name.front() == '#') {
        return LoadComposite(name, target);
    }
    return LoadPicture(name, target) ? 0 : 1;
}

int Pictures::LoadComposite(std::string_view name, Surface& target) {
    std::string label = ":" + std::string(name.substr(1));
    auto found = std::find_if(BgSetLines.begin(), BgSetLines.end(), [&](const std::string& line) {
        return cp932::EqualsIgnoreCase(line, label);
    });
    if (found == BgSetLines.end()) {
        return 1;
    }
    auto end = found + 1 + std::min<ptrdiff_t>(kMaxCompositeLines, BgSetLines.end() - found - 1);
    for (auto line = found + 1; line != end && !(!line->empty() && line->front() == ':'); ++line) {
        std::string_view text = *line;
        size_t comma = text.find(',');
        if (comma == std::string_view::npos) {
            // A base picture: replaces the target's contents and size.
            LoadPicture(text, target);
            continue;
        }
        std::string_view rest = text.substr(comma + 1);
        size_t second = rest.find(',');
        int x = Number(rest.substr(0, second));
        std::string_view yText = second == std::string_view::npos ? "" : rest.substr(second + 1);
        int y = Number(yText.substr(0, yText.find(',')));
        // An overlay that cannot be loaded is left out, rather than blending whatever the
        // previous overlay left in the scratch surface.
        if (LoadPicture(text.substr(0, comma), m_overlay)) {
            DrawSideBySideSprite(target, x, m_overlay, y);
        }
    }
    return 0;
}

int Pictures::LoadBackground(std::string_view name, Surface& background) {
    m_hooks->BackgroundLoading(cp932::UpperCase(name));
    return LoadLayerPicture(name, background);
}

} // namespace orv
