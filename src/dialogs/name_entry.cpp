// The hero's names and the record slot's name: what is accepted and where it is kept.
#include "dialogs/name_entry.h"

#include "base/cp932.h"
#include "engine/engine.h"

namespace orv {

namespace {

constexpr std::string_view kSettingNames[NameEntryModel::kNames] = {"PlayerName", "PlayerName2",
                                                                    "PlayerName3"};

bool IsTrailByte(uint8_t b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

} // namespace

bool IsValidHeroName(std::string_view name) {
    if (name.empty() || name.size() > NameEntryModel::kMaxNameBytes || name.size() % 2 != 0) {
        return false;
    }
    for (size_t i = 0; i < name.size(); i += 2) {
        if (!cp932::IsLeadByte(static_cast<uint8_t>(name[i])) ||
            !IsTrailByte(static_cast<uint8_t>(name[i + 1]))) {
            return false;
        }
    }
    return true;
}

bool ToCp932Strict(std::string_view utf8, std::string& out) {
    out.clear();
    return cp932::EncodeUtf8(utf8, out) == std::string_view::npos;
}

void NameEntryModel::Fill() {
    for (int i = 0; i < kNames; ++i) {
        m_edits[static_cast<size_t>(i)] = cp932::ToUtf8(m_engine.vars.String(i));
    }
    m_refused = -1;
    m_accepted = false;
}

std::string_view NameEntryModel::Default(int i) const {
    const GameConfig& c = m_engine.config;
    return i == 0 ? c.DEFAULT_NAME : i == 1 ? c.DEFAULT_NAME2 : c.DEFAULT_NAME3;
}

std::string& NameEntryModel::Held(int i) {
    UserSettings& s = m_engine.settings;
    return i == 0 ? s.PlayerName : i == 1 ? s.PlayerName2 : s.PlayerName3;
}

bool NameEntryModel::Used(int i) const {
    return !Default(i).empty();
}

void NameEntryModel::SetEdit(int i, std::string_view utf8) {
    if (i >= 0 && i < kNames) {
        m_edits[static_cast<size_t>(i)] = std::string(utf8);
    }
}

void NameEntryModel::Default() {
    for (int i = 0; i < kNames; ++i) {
        m_edits[static_cast<size_t>(i)] = cp932::ToUtf8(Default(i));
    }
}

NameEntryResult NameEntryModel::Accept() {
    std::array<std::string, kNames> names;
    for (int i = 0; i < kNames; ++i) {
        if (!Used(i)) {
            continue;
        }
        std::string& name = names[static_cast<size_t>(i)];
        if (!ToCp932Strict(Edit(i), name) || !IsValidHeroName(name)) {
            m_edits[static_cast<size_t>(i)] = cp932::ToUtf8(m_engine.vars.String(i));
            m_refused = i;
            return NameEntryResult::Refused;
        }
    }
    for (int i = 0; i < kNames; ++i) {
        if (Used(i)) {
            Held(i) = names[static_cast<size_t>(i)];
            m_engine.vars.SetString(i, names[static_cast<size_t>(i)]);
        }
    }
    for (int i = 0; i < kNames; ++i) {
        m_engine.WriteSetting(kSettingNames[i], Held(i));
    }
    m_refused = -1;
    m_accepted = true;
    return NameEntryResult::Accepted;
}

void SlotNameModel::Fill(std::string_view cp932Name) {
    m_remembered = std::string(cp932Name);
    m_text = cp932::ToUtf8(cp932Name);
    m_result = m_remembered;
    m_accepted = false;
}

bool SlotNameModel::SetText(std::string_view utf8) {
    std::string encoded;
    if (!ToCp932Strict(utf8, encoded)) {
        return false;
    }
    m_text = cp932::ToUtf8(cp932::CutToWholeChars(encoded, kEditBytes));
    return true;
}

void SlotNameModel::Accept() {
    std::string encoded;
    // Text() only ever holds what SetText let through.
    ToCp932Strict(m_text, encoded);
    m_result = std::string(cp932::CutToWholeChars(encoded, kStoredBytes));
    m_accepted = true;
}

void SlotNameModel::Cancel() {
    m_text = cp932::ToUtf8(m_remembered);
    m_result = m_remembered;
    m_accepted = false;
}

} // namespace orv
