#include "script/expressions.h"

#include "base/cp932.h"
#include "script/random.h"
#include "script/variables.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace orv {

namespace {

constexpr size_t kConditionChars = 400;
// The comparison operator is looked for this far from the start of its comparison.
constexpr size_t kOperatorSearch = 99;
// Assignment text comes from one script line, which holds at most 2047 bytes.
constexpr size_t kAssignChars = 2047;

enum class Op { Add, Sub, Mul, Div, Mod, And, Or, Xor };
enum class Compare { Eq, Ne, Lt, Le, Gt, Ge };

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool EndsExpression(char c) {
    switch (c) {
    case '\0':
    case '=':
    case '<':
    case '>':
    case ';':
    case '!':
    case '&':
    case '|':
    case ']':
    case ',':
        return true;
    default:
        return false;
    }
}

bool IsComparison(char c) {
    return c == '=' || c == '!' || c == '<' || c == '>';
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Exactly `width` digits at `pos`.
bool ReadDigits(std::string_view text, size_t pos, int width, int& value) {
    if (pos + static_cast<size_t>(width) > text.size()) {
        return false;
    }
    value = 0;
    for (int i = 0; i < width; ++i) {
        char c = text[pos + static_cast<size_t>(i)];
        if (!IsDigit(c)) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    return true;
}

int32_t Wrap(uint32_t value) {
    return static_cast<int32_t>(value);
}

int32_t Apply(int32_t left, Op op, int32_t right) {
    auto a = static_cast<uint32_t>(left);
    auto b = static_cast<uint32_t>(right);
    switch (op) {
    case Op::Add:
        return Wrap(a + b);
    case Op::Sub:
        return Wrap(a - b);
    case Op::Mul:
        return Wrap(a * b);
    case Op::Div:
        if (right == 0) {
            return 0;
        }
        if (right == -1) {
            return Wrap(0u - a); // INT_MIN / -1 wraps to INT_MIN
        }
        return left / right;
    case Op::Mod:
        return right == 0 || right == -1 ? 0 : left % right;
    case Op::And:
        return Wrap(a & b);
    case Op::Or:
        return Wrap(a | b);
    case Op::Xor:
        return Wrap(a ^ b);
    }
    return 0;
}

bool Holds(int32_t left, Compare op, int32_t right) {
    switch (op) {
    case Compare::Eq:
        return left == right;
    case Compare::Ne:
        return left != right;
    case Compare::Lt:
        return left < right;
    case Compare::Le:
        return left <= right;
    case Compare::Gt:
        return left > right;
    case Compare::Ge:
        return left >= right;
    }
    return false;
}

// The operator at `pos`; `pos` moves past it.
Compare ReadComparison(std::string_view text, size_t& pos) {
    char first = text[pos++];
    bool withEquals = pos < text.size() && text[pos] == '=';
    if (withEquals) {
        ++pos;
    }
    switch (first) {
    case '!':
        return Compare::Ne;
    case '<':
        return withEquals ? Compare::Le : Compare::Lt;
    case '>':
        return withEquals ? Compare::Ge : Compare::Gt;
    default:
        return Compare::Eq; // '=' and '=='
    }
}

// Where the expression starting at `pos` ends, skipping whole double-byte characters so that
// a trail byte such as '|' or ']' never ends it.
size_t SkipToEnd(std::string_view text, size_t pos) {
    while (pos < text.size() && !EndsExpression(text[pos])) {
        pos += cp932::CharLength(text, pos);
    }
    return pos;
}

// Copies `text` into `out` (capacity `limit`), upper-casing ASCII letters and leaving out
// what `drop` selects; double-byte characters are copied whole or not at all.
template <typename Drop>
size_t CopyNormalised(std::string_view text, char* out, size_t limit, Drop&& drop) {
    size_t n = 0;
    size_t i = 0;
    while (i < text.size() && text[i] != '\0') {
        size_t length = cp932::CharLength(text, i);
        std::string_view character = text.substr(i, length);
        i += length;
        if (drop(character)) {
            continue;
        }
        if (n + length > limit) {
            break;
        }
        std::memcpy(out + n, character.data(), length);
        if (length == 1 && out[n] >= 'a' && out[n] <= 'z') {
            out[n] = static_cast<char>(out[n] - 'a' + 'A');
        }
        n += length;
    }
    return n;
}

} // namespace

AssignHooks& NoAssignHooks() {
    static AssignHooks none;
    return none;
}

int32_t Expressions::Random(int32_t n) {
    return m_random.Random(n);
}

ExpressionValue Expressions::EvaluatePrefix(std::string_view text) {
    int32_t accumulator = 0;
    int32_t operand = 0;
    Op pending = Op::Add;
    size_t i = 0;
    while (i < text.size() && !EndsExpression(text[i])) {
        char c = text[i];
        if (IsDigit(c)) {
            operand = Wrap(static_cast<uint32_t>(operand) * 10u + static_cast<uint32_t>(c - '0'));
            ++i;
            continue;
        }
        int index = 0;
        switch (c) {
        case 'V':
        case 'S':
        case 'P':
        case 'E':
        case 'F':
            if (!ReadDigits(text, i + 1, 3, index)) {
                return {0, SkipToEnd(text, i)};
            }
            i += 4;
            if (c == 'V') {
                operand = m_store.V(index);
            } else if (c == 'S') {
                operand = m_store.S(index);
            } else if (c == 'P') {
                operand = m_store.Cell(m_store.V(index));
            } else {
                operand = m_store.TestFlag(c == 'E' ? FlagKind::E : FlagKind::F, index) ? 1 : 0;
            }
            continue;
        case 'G':
            if (!ReadDigits(text, i + 1, 1, index)) {
                return {0, SkipToEnd(text, i)};
            }
            i += 2;
            operand = m_store.G(index);
            continue;
        case 'T':
            if (!ReadDigits(text, i + 1, 4, index)) {
                return {0, SkipToEnd(text, i)};
            }
            i += 5;
            operand = m_store.TestFlag(FlagKind::T, index) ? 1 : 0;
            continue;
        case 'R': {
            size_t digits = 0;
            int32_t n = 0;
            while (digits < 6 && i + 1 + digits < text.size() && IsDigit(text[i + 1 + digits])) {
                n = n * 10 + (text[i + 1 + digits] - '0');
                ++digits;
            }
            if (digits == 0) {
                return {0, SkipToEnd(text, i)};
            }
            i += 1 + digits;
            operand = Random(n);
            continue;
        }
        default:
            break;
        }
        Op op;
        size_t length = 1;
        switch (c) {
        case '+':
            op = Op::Add;
            break;
        case '-':
            op = Op::Sub;
            break;
        case '*':
            op = Op::Mul;
            break;
        case '/':
            op = Op::Div;
            break;
        case '%':
            op = Op::Mod;
            break;
        case '_': {
            char second = i + 1 < text.size() ? text[i + 1] : '\0';
            if (second == '&') {
                op = Op::And;
            } else if (second == '|') {
                op = Op::Or;
            } else if (second == 'X') {
                op = Op::Xor;
            } else {
                return {0, SkipToEnd(text, i + 1)};
            }
            length = 2;
            break;
        }
        default:
            return {0, SkipToEnd(text, i)};
        }
        accumulator = Apply(accumulator, pending, operand);
        operand = 0;
        pending = op;
        i += length;
    }
    return {Apply(accumulator, pending, operand), i};
}

bool Expressions::Condition(std::string_view text) {
    char buffer[kConditionChars];
    // One opening parenthesis is dropped; the text ends at the first ')'.
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) {
        ++start;
    }
    if (start < text.size() && text[start] == '(') {
        ++start;
    }
    std::string_view body = text.substr(std::min(start, text.size()));
    body = body.substr(0, std::min(body.find(')'), body.size()));
    size_t size = CopyNormalised(body, buffer, kConditionChars, [](std::string_view character) {
        return character.size() == 1 && IsBlank(character[0]);
    });
    std::string_view condition(buffer, size);

    bool last = false;
    size_t pos = 0;
    while (pos < condition.size()) {
        ExpressionValue left = EvaluatePrefix(condition.substr(pos));
        size_t op = pos + left.End;
        size_t searchEnd = std::min(condition.size(), pos + kOperatorSearch);
        while (op < searchEnd && !IsComparison(condition[op])) {
            op += cp932::CharLength(condition, op);
        }
        if (op >= searchEnd) {
            break; // no comparison: the last one made decides, false when there was none
        }
        Compare compare = ReadComparison(condition, op);
        ExpressionValue right = EvaluatePrefix(condition.substr(op));
        last = Holds(left.Value, compare, right.Value);
        size_t end = op + right.End;
        if (end >= condition.size()) {
            return last;
        }
        if (condition[end] == '&' && !last) {
            return false;
        }
        if (condition[end] == '|' && last) {
            return true;
        }
        pos = end + 1;
    }
    return last;
}

void Expressions::Assign(std::string_view text) {
    char buffer[kAssignChars];
    size_t size = CopyNormalised(text, buffer, kAssignChars, [](std::string_view character) {
        return (character.size() == 1 && IsBlank(character[0])) ||
               character == std::string_view("\x81\x40", 2); // full-width space
    });
    std::string_view statements(buffer, size);
    size_t pos = 0;
    while (pos < statements.size()) {
        // ';' is below every trail byte, so a plain search never splits a character.
        size_t end = std::min(statements.find(';', pos), statements.size());
        AssignStatement(statements.substr(pos, end - pos));
        pos = end + 1;
    }
}

void Expressions::AssignStatement(std::string_view statement) {
    if (statement.empty()) {
        return;
    }
    char kind = statement[0];
    int width = 3;
    size_t prefix = 5;
    switch (kind) {
    case 'T':
        width = 4;
        prefix = 6;
        break;
    case 'G':
        width = 1;
        prefix = 3;
        break;
    case 'V':
    case 'S':
    case 'P':
    case 'F':
    case 'E':
        break;
    default:
        return;
    }
    int index = 0;
    if (!ReadDigits(statement, 1, width, index)) {
        return;
    }
    int32_t value = Evaluate(statement.substr(std::min(prefix, statement.size())));
    switch (kind) {
    case 'V':
        m_store.V(index) = value;
        break;
    case 'S':
        m_store.S(index) = value;
        if (index == 0 || index == 28) {
            m_hooks->MenuCellsAssigned();
        }
        break;
    case 'G':
        m_store.G(index) = value;
        break;
    case 'P': {
        int target = m_store.V(index);
        if (m_store.SetCell(target, value) &&
            (target == VariableStore::kS + 0 || target == VariableStore::kS + 28)) {
            m_hooks->MenuCellsAssigned();
        }
        break;
    }
    default: {
        // Flags take 0 or 1; any other value leaves them as they are.
        FlagKind flag = kind == 'F' ? FlagKind::F : kind == 'E' ? FlagKind::E : FlagKind::T;
        if (value == 0 || value == 1) {
            m_store.WriteFlag(flag, index, value == 1);
        }
        break;
    }
    }
}

std::string_view FieldList::Text(int n) const {
    if (n < 0 || n >= kCount) {
        return {};
    }
    const auto& text = Texts[static_cast<size_t>(n)];
    return {text.data(), ::strnlen(text.data(), text.size())};
}

namespace {

// Decimal value with an optional sign, reading as far as digits go.
int32_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    uint32_t value = 0;
    while (i < text.size() && IsDigit(text[i])) {
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
        ++i;
    }
    return Wrap(negative ? 0u - value : value);
}

} // namespace

int32_t SplitFields(std::string_view text, FieldList& fields) {
    for (auto& field : fields.Texts) {
        field.fill('\0');
    }
    fields.Values.fill(FieldList::kNoValue);
    fields.Count = 0;
    text = text.substr(0, std::min(text.find('\0'), text.size()));
    if (text.empty()) {
        return 0;
    }
    int32_t count = 0;
    size_t i = 0;
    while (true) {
        while (i < text.size() && IsBlank(text[i])) {
            ++i;
        }
        size_t start = i;
        size_t kept = 0; // bytes of the field that fit its 30-byte text
        // ',' and ':' are below every trail byte; stepping by characters keeps the cut whole.
        while (i < text.size() && text[i] != ',' && text[i] != ':') {
            size_t length = cp932::CharLength(text, i);
            if (i + length - start <= FieldList::kTextSize && kept == i - start) {
                kept += length;
            }
            i += length;
        }
        if (count < FieldList::kCount) {
            std::string_view field = text.substr(start, kept);
            auto& slot = fields.Texts[static_cast<size_t>(count)];
            std::memcpy(slot.data(), field.data(), field.size());
            int32_t value = LeadingNumber(field);
            if (!field.empty() && (field[0] == '0' || value != 0)) {
                fields.Values[static_cast<size_t>(count)] = value;
            }
            ++count;
        }
        if (i >= text.size()) {
            break;
        }
        ++i; // the separator
    }
    fields.Count = count;
    return count;
}

} // namespace orv
