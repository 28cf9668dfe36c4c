#include "headless/key_names.h"

#include "engine/keys.h"

namespace orv {

namespace {

struct NamedKey {
    std::string_view Name;
    int Code;
    char Press; // 0: the key types no character
};

constexpr NamedKey kNamedKeys[] = {
    {"Return", keys::Return, '\r'},
    {"Space", keys::Space, ' '},
    {"Escape", keys::Escape, '\x1B'},
    {"Backspace", keys::Backspace, '\b'},
    {"Tab", keys::Tab, 0},
    {"Up", keys::Up, 0},
    {"Down", keys::Down, 0},
    {"Left", keys::Left, 0},
    {"Right", keys::Right, 0},
    {"PageUp", keys::PageUp, 0},
    {"PageDown", keys::PageDown, 0},
    {"Home", keys::Home, 0},
    {"End", keys::End, 0},
    {"Control", keys::Control, 0},
    {"Shift", keys::Shift, 0},
};

// The key that types a punctuation character on a US keyboard (the OEM key codes); shifted
// digits are their digit keys.
int PunctuationKey(char c) {
    switch (c) {
    case ';':
    case ':':
        return 0xBA;
    case '=':
    case '+':
        return 0xBB;
    case ',':
    case '<':
        return 0xBC;
    case '-':
    case '_':
        return 0xBD;
    case '.':
    case '>':
        return 0xBE;
    case '/':
    case '?':
        return 0xBF;
    case '`':
    case '~':
        return 0xC0;
    case '[':
    case '{':
        return 0xDB;
    case '\\':
    case '|':
        return 0xDC;
    case ']':
    case '}':
        return 0xDD;
    case '\'':
    case '"':
        return 0xDE;
    case ')':
        return '0';
    case '!':
        return '1';
    case '@':
        return '2';
    case '#':
        return '3';
    case '$':
        return '4';
    case '%':
        return '5';
    case '^':
        return '6';
    case '&':
        return '7';
    case '*':
        return '8';
    case '(':
        return '9';
    default:
        return 0;
    }
}

} // namespace

std::optional<KeyStroke> LookupKey(std::string_view name) {
    for (const NamedKey& key : kNamedKeys) {
        if (key.Name == name) {
            return KeyStroke{key.Code, key.Press, key.Press != 0};
        }
    }
    if (name.size() != 1) {
        return std::nullopt;
    }
    char c = name[0];
    if (c <= ' ' || c > '~') {
        return std::nullopt;
    }
    int code = 0;
    if (c >= 'a' && c <= 'z') {
        code = c - 'a' + 'A';
    } else if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        code = c;
    } else {
        code = PunctuationKey(c);
    }
    if (code == 0) {
        return std::nullopt;
    }
    return KeyStroke{code, c, true};
}

} // namespace orv
