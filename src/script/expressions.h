#pragma once
// Expressions, conditions and assignments over the variable store, and the splitting of
// command arguments into fields.
//
// Expressions run strictly left to right with no precedence, no parentheses and no blanks:
// `2+3*4` is 20. Operands are decimal numbers, V000, S000, G0, P000 (the cell whose index
// V000 holds), E000, F000, T0000 (flag values 0 or 1) and R1..R999999 (a random number below
// n). Operators are + - * / % and the bitwise _& _| _X. Arithmetic wraps around at 32 bits;
// division and remainder by zero give 0. Any other character makes the expression 0.
// Everything a script gets wrong evaluates to 0 or false and never reaches outside the store.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orv {

class VariableStore;
class RandomGenerator;

// What an assignment changes beyond the store.
struct AssignHooks {
    virtual ~AssignHooks() = default;
    // S000 (save and load availability) or S028 (saving allowed) was assigned: the menus and
    // tool-bar buttons follow them at once.
    virtual void MenuCellsAssigned() {}
};

// Hooks that do nothing, for callers without menus (tests, tools).
AssignHooks& NoAssignHooks();

struct ExpressionValue {
    int32_t Value = 0;
    // Index of the character that ended the expression (one of = < > ; ! & | ] , or a NUL),
    // or the text's size when it ran to the end.
    size_t End = 0;
};

class Expressions {
public:
    Expressions(VariableStore& store, RandomGenerator& random, AssignHooks& hooks = NoAssignHooks())
        : m_store(store), m_random(random), m_hooks(&hooks) {}

    void SetHooks(AssignHooks& hooks) { m_hooks = &hooks; }

    // The value of the expression at the start of `text`, which may go on after it. Letters
    // must be upper case; callers that take text as written pass it unchanged.
    int32_t Evaluate(std::string_view text) { return EvaluatePrefix(text).Value; }
    ExpressionValue EvaluatePrefix(std::string_view text);

    // A list of comparisons (= == ! != < <= > >=) joined by & and | without precedence,
    // optionally in parentheses: the first comparison that decides ends it (false before &,
    // true before |), otherwise the last one counts. Upper-cased and stripped of blanks first;
    // at most 400 characters up to the first ')' are read. No comparison at all is false.
    bool Condition(std::string_view text);

    // Statements such as `V001=3;S026=0;F010=1`, separated by ';'. Upper-cased and stripped
    // of blanks, tabs and full-width spaces first. The expression starts after a fixed-width
    // prefix (T1234= six characters, G1= three, V001= five); the '=' is not checked.
    void Assign(std::string_view text);

    // 0..n-1; 0 when n is not positive.
    int32_t Random(int32_t n);

private:
    void AssignStatement(std::string_view statement);

    VariableStore& m_store;
    RandomGenerator& m_random;
    AssignHooks* m_hooks;
};

// Fields of a command argument split at ',' and ':' (pictures, character moves).
struct FieldList {
    static constexpr int kCount = 32;
    static constexpr int kTextSize = 30;
    // The value of a field that is no number, or a number not written plainly (`-0`).
    static constexpr int32_t kNoValue = -99999;

    std::array<std::array<char, kTextSize + 1>, kCount> Texts{};
    std::array<int32_t, kCount> Values{};
    int32_t Count = 0;

    std::string_view Text(int n) const;
    int32_t Value(int n) const { return n >= 0 && n < kCount ? Values[n] : kNoValue; }
};

// Splits `text` into at most 32 fields: blanks before a field are skipped, ',' and ':' end
// one, a field's text keeps at most 30 bytes. A field's value is its decimal value when it
// begins with '0' or that value is not 0, else kNoValue. Returns the number of fields: 0 for
// an empty text, otherwise one more than the number of separators (at most 32).
int32_t SplitFields(std::string_view text, FieldList& fields);

} // namespace orv
