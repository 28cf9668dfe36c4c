#pragma once
// The two name dialogs: TForm2 ("名前の変更"), the hero's given name, nickname and surname
// that `setname` asks for, and TForm6 ("回想スロット"), the name of a record slot of the
// recollection. The front ends hand over what the player typed as UTF-8; the models check
// it in code page 932, the form every name is kept in.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace orv {

class Engine;

// A hero name as the games accept it: 1 to 12 bytes of code page 932, full-width characters
// only (a lead byte followed by a valid trail byte, two by two). Nothing for a text that
// code page 932 cannot hold or that breaks those rules.
bool IsValidHeroName(std::string_view cp932Name);
// The UTF-8 text in code page 932, or false when a character has no place in it (never
// replaced by '?').
bool ToCp932Strict(std::string_view utf8, std::string& out);

// What pressing OK came to.
enum class NameEntryResult {
    Accepted, // every name checked out and was stored; the dialog closes
    Refused,  // a name was refused and its stored one put back; the dialog stays open
};

class NameEntryModel {
public:
    static constexpr int kNames = 3;
    static constexpr int kMaxNameBytes = 12;

    explicit NameEntryModel(Engine& engine) : m_engine(engine) {}

    // FormShow: Edit1..Edit3 from $0..$2.
    void Fill();
    // Whether the game uses name `i` (its default is not empty): the others are neither
    // checked nor stored.
    bool Used(int i) const;
    // The edit box's text in UTF-8.
    const std::string& Edit(int i) const { return m_edits[static_cast<size_t>(i)]; }
    void SetEdit(int i, std::string_view utf8);
    // Button2 "デフォルト".
    void Default();
    // Button1 "ＯＫ": every used name is checked before any is stored, so that $0..$2 and
    // the settings never disagree. On a refusal `RefusedName()` tells which one.
    NameEntryResult Accept();
    int RefusedName() const { return m_refused; }
    bool Accepted() const { return m_accepted; }

private:
    std::string_view Default(int i) const;
    std::string& Held(int i);

    Engine& m_engine;
    std::array<std::string, kNames> m_edits;
    int m_refused = -1;
    bool m_accepted = false;
};

class SlotNameModel {
public:
    // Edit1's MaxLength, and what a stored name keeps: bytes of code page 932.
    static constexpr size_t kEditBytes = 36;
    static constexpr size_t kStoredBytes = 24;

    // FormShow with Edit1 preset to the slot's name (code page 932), remembered for Cancel.
    void Fill(std::string_view cp932Name);
    // Edit1 in UTF-8.
    const std::string& Text() const { return m_text; }
    // What the player typed: beyond 36 bytes it is cut at a character boundary; false, and
    // the text as before, when a character has no place in code page 932.
    bool SetText(std::string_view utf8);
    // BitBtn1 (OK): the name cut to 24 bytes, one fewer rather than split a character.
    void Accept();
    // BitBtn2 (Cancel), Escape or the close box: the remembered name.
    void Cancel();
    bool Accepted() const { return m_accepted; }
    // The name the caller reads back, in code page 932.
    const std::string& Result() const { return m_result; }

private:
    std::string m_remembered;
    std::string m_text;
    std::string m_result;
    bool m_accepted = false;
};

} // namespace orv
