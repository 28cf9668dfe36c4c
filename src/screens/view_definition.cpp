#include "screens/view_definition.h"

#include "base/cp932.h"
#include "data/decimal_text.h"
#include "script/variables.h"

#include <algorithm>

namespace orv {

namespace {

// A set block ends at its "}" or after this many lines, blank and "{" lines counted.
constexpr int kSetBlockLines = 51;

// The resource's lines in order, each upper-cased, the position kept between blocks.
class ViewLines {
public:
    explicit ViewLines(std::string_view text) : m_text(text) {}
    bool AtEnd() const { return m_pos >= m_text.size(); }
    std::string Next() {
        size_t end = std::min(m_text.find('\0', m_pos), m_text.size());
        std::string line = cp932::UpperCase(m_text.substr(m_pos, end - m_pos));
        m_pos = end + 1;
        return line;
    }
    void Rewind() { m_pos = 0; }
    // Moves past the line ":" + name; false when there is none.
    bool FindSection(std::string_view name) {
        Rewind();
        while (!AtEnd()) {
            std::string line = Next();
            if (line.size() == name.size() + 1 && line[0] == ':' &&
                std::string_view(line).substr(1) == name) {
                return true;
            }
        }
        return false;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

int32_t Number(std::string_view field) {
    while (!field.empty() && field.front() == ' ') {
        field.remove_prefix(1);
    }
    while (!field.empty() && field.back() == ' ') {
        field.remove_suffix(1);
    }
    int32_t value = 0;
    return ParseDecimal(field, value) ? value : 0;
}

int32_t FieldNumber(const std::vector<std::string_view>& fields, size_t k, int32_t otherwise) {
    return k < fields.size() && !fields[k].empty() ? Number(fields[k]) : otherwise;
}

std::string_view Field(const std::vector<std::string_view>& fields, size_t k) {
    return k < fields.size() ? fields[k] : std::string_view();
}

ViewRect ReadRect(const std::vector<std::string_view>& f) {
    return ViewRect{FieldNumber(f, 0, 0), FieldNumber(f, 1, 0), FieldNumber(f, 2, 0),
                    FieldNumber(f, 3, 0)};
}

// The number of a key made of `digits` digits after `prefix` ("P12", "M3", "7"), or -1.
int KeyNumber(std::string_view key, std::string_view prefix, size_t maxDigits) {
    if (!key.starts_with(prefix)) {
        return -1;
    }
    key.remove_prefix(prefix.size());
    if (key.empty() || key.size() > maxDigits) {
        return -1;
    }
    int n = 0;
    for (char c : key) {
        if (c < '0' || c > '9') {
            return -1;
        }
        n = n * 10 + (c - '0');
    }
    return n;
}

struct KeyValue {
    std::string_view Key;
    std::string_view Value;
    bool Valid = false;
};

KeyValue SplitLine(std::string_view line) {
    size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return {};
    }
    return {line.substr(0, colon), line.substr(colon + 1), true};
}

void ReadViewRegion(ViewDefinition& view, const KeyValue& kv) {
    int d = KeyNumber(kv.Key, "M", 1);
    if (d < 0) {
        return;
    }
    auto f = SplitViewFields(kv.Value);
    SetRegion& region = view.ViewRegions[static_cast<size_t>(d)];
    region.Area = ReadRect(f);
    region.First = FieldNumber(f, 4, 0);
    region.Last = FieldNumber(f, 5, 99);
}

void ReadHeaderLine(ViewDefinition& view, const KeyValue& kv) {
    std::string_view key = kv.Key;
    auto f = SplitViewFields(kv.Value);
    if (!key.empty() && key[0] >= '0' && key[0] <= '9') {
        int n = KeyNumber(key, "", 2);
        if (n >= 1 && n <= ViewDefinition::kSlots) {
            view.SlotX[static_cast<size_t>(n)] = FieldNumber(f, 0, 0);
            view.SlotY[static_cast<size_t>(n)] = FieldNumber(f, 1, 0);
        }
    } else if (key == "TYPE") {
        view.Type = std::clamp(Number(kv.Value), 0, 3);
    } else if (key == "GRA") {
        view.SetPictures[0] = std::string(kv.Value);
    } else if (key == "PLATE") {
        view.Plate = std::string(kv.Value);
    } else if (key == "PLATE2") {
        view.Plate2 = std::string(kv.Value);
        if (!view.Plate2.empty()) {
            view.GroupUnlock = false;
        }
    } else if (key == "SET") {
        view.SetCount = std::clamp(Number(kv.Value), 1, ViewDefinition::kMaxSets);
    } else if (key == "MUSIC") {
        view.Music = Number(kv.Value);
    } else if (key == "THM_SIZE") {
        view.ThumbWidth = FieldNumber(f, 0, 0);
        view.ThumbHeight = FieldNumber(f, 1, 0);
    } else if (key == "NEXT") {
        view.Next = ReadRect(f);
    } else if (key == "PREV") {
        view.Prev = ReadRect(f);
    } else if (key == "EXIT") {
        view.Exit = ReadRect(f);
    } else if (key == "CAPTION") {
        view.Caption = ReadRect(f);
    } else if (key == "PER_NUM") {
        view.Digits = std::string(kv.Value);
    } else if (key == "PER_POS") {
        view.PercentX = FieldNumber(f, 0, 0);
        view.PercentY = FieldNumber(f, 1, 0);
    } else if (int n = KeyNumber(key, "P", 2); n >= 0 && n < ViewDefinition::kSetRegions) {
        SetRegion& region = view.SetRegions[static_cast<size_t>(n)];
        region.Area = ReadRect(f);
        region.First = FieldNumber(f, 4, 0);
        region.Last = FieldNumber(f, 5, 99);
        region.Target = FieldNumber(f, 6, n);
    } else if (key.starts_with('M')) {
        ReadViewRegion(view, kv);
    }
}

struct SetReader {
    ViewDefinition& View;
    VariableStore* Vars;
    int32_t NextPicture;

    void Line(int set, const KeyValue& kv) {
        if (kv.Key == "GRA") {
            if (View.Type != view_type::MusicPlayer) {
                View.SetPictures[static_cast<size_t>(set)] = std::string(kv.Value);
            }
            return;
        }
        int n = KeyNumber(kv.Key, "", 2);
        if (n < 1 || n > ViewDefinition::kSlots) {
            return;
        }
        auto f = SplitViewFields(kv.Value);
        if (!Field(f, 1).empty()) {
            View.ReplayEntries.emplace_back(Number(f[0]), std::string(f[1]));
        }
        auto s = static_cast<size_t>(set);
        auto slot = static_cast<size_t>(n);
        switch (View.Type) {
        case view_type::Pictures:
            PictureSlot(s, slot, kv.Value, f);
            break;
        case view_type::SceneReplay: {
            View.SlotEntry[s][slot] = std::string(Field(f, 1));
            View.SlotCaption[s][slot] = std::string(Field(f, 2));
            View.TotalPictures += 1;
            bool seen = Vars && Vars->TestFlag(FlagKind::E, Number(Field(f, 0)));
            View.SlotState[s][slot] = seen ? slot_state::Open : slot_state::Locked;
            View.SeenPictures += seen ? 1 : 0;
            break;
        }
        case view_type::MusicList:
            View.SlotState[s][slot] = slot_state::PartlyOpen;
            View.SlotEntry[s][slot] = std::string(kv.Value);
            break;
        default:
            break;
        }
    }

    void PictureSlot(size_t s, size_t slot, std::string_view value,
                     const std::vector<std::string_view>& names) {
        size_t k = std::min<size_t>(names.size(), ViewDefinition::kNamesPerSlot);
        int32_t first = NextPicture;
        int32_t seen = 0;
        for (size_t i = 0; i < k; ++i) {
            View.AllPictures.emplace_back(names[i]);
            if (Vars && Vars->PictureUnlockedBit(NextPicture)) {
                ++seen;
            }
            ++NextPicture;
        }
        auto count = static_cast<int32_t>(k);
        if (View.GroupUnlock && seen > 0) {
            for (int32_t n = first; n < first + count && Vars; ++n) {
                Vars->SetPictureUnlockedBit(n, true);
            }
            seen = count;
        }
        View.SlotState[s][slot] = seen == 0       ? slot_state::Locked
                                  : seen == count ? slot_state::Open
                                                  : slot_state::PartlyOpen;
        View.TotalPictures += count;
        View.SeenPictures += seen;
        View.SlotEntry[s][slot] = std::string(value);
    }
};

} // namespace

std::array<int, 3> PercentageDigits(int32_t seen, int32_t total) {
    if (seen >= total) {
        return {1, 0, 0};
    }
    auto p = static_cast<int>(std::max<int64_t>(int64_t{seen} * 100 / total, 0));
    return {-1, p > 9 ? p / 10 : -1, p % 10};
}

std::vector<std::string_view> SplitViewFields(std::string_view value) {
    std::vector<std::string_view> fields;
    if (value.empty()) {
        return fields;
    }
    size_t start = 0;
    for (size_t i = 0; i <= value.size(); ++i) {
        if (i == value.size() || value[i] == ',' || value[i] == ':') {
            fields.push_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    return fields;
}

ViewDefinition ReadViewDefinition(std::string_view text, std::string_view name,
                                  VariableStore* vars, int32_t firstPicture) {
    ViewDefinition view;
    view.SlotX.fill(ViewDefinition::kNoPosition);
    view.SlotY.fill(ViewDefinition::kNoPosition);
    ViewLines lines(text);
    // Only the view-jump regions of VIEW_0 count: they appear in every view.
    if (lines.FindSection("VIEW_0")) {
        while (!lines.AtEnd()) {
            std::string line = lines.Next();
            if (line == "}") {
                break;
            }
            if (KeyValue kv = SplitLine(line); kv.Valid && kv.Key.starts_with('M')) {
                ReadViewRegion(view, kv);
            }
        }
    }
    if (!lines.FindSection(cp932::UpperCase(name))) {
        return view;
    }
    view.Found = true;
    view.SetCount = 0;
    while (!lines.AtEnd()) {
        std::string line = lines.Next();
        if (line == "}") {
            break;
        }
        if (KeyValue kv = SplitLine(line); kv.Valid) {
            ReadHeaderLine(view, kv);
        }
    }
    // A view without SET still has its one page: next and previous turn through at least one.
    view.SetCount = std::clamp(view.SetCount, 1, ViewDefinition::kMaxSets);
    SetReader reader{view, vars, firstPicture};
    for (int set = 0; set < view.SetCount && !lines.AtEnd(); ++set) {
        for (int count = 0; count < kSetBlockLines && !lines.AtEnd(); ++count) {
            std::string line = lines.Next();
            if (line == "}") {
                break;
            }
            if (KeyValue kv = SplitLine(line); kv.Valid) {
                reader.Line(set, kv);
            }
        }
    }
    if (view.Type == view_type::MusicPlayer) {
        std::fill(view.SlotState[0].begin() + 1, view.SlotState[0].end(), slot_state::PartlyOpen);
    }
    return view;
}

} // namespace orv
