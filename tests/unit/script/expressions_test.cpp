#include "script/expressions.h"
#include "script/random.h"
#include "script/variables.h"

#include <climits>
#include <string>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

class CountingHooks : public AssignHooks {
public:
    void MenuCellsAssigned() override { ++Calls; }
    int Calls = 0;
};

class ExpressionsTest : public ::testing::Test {
protected:
    ExpressionsTest() { m_random.Seed(12345); }

    VariableStore m_vars;
    RandomGenerator m_random;
    CountingHooks m_hooks;
    Expressions m_expr{m_vars, m_random, m_hooks};
};

TEST_F(ExpressionsTest, EvaluatesStrictlyLeftToRightWithoutPrecedence) {
    EXPECT_EQ(m_expr.Evaluate("2+3*4"), 20);
    EXPECT_EQ(m_expr.Evaluate("10-2-3"), 5);
    EXPECT_EQ(m_expr.Evaluate("1+2*3-4/2"), 2);
    EXPECT_EQ(m_expr.Evaluate(""), 0);
    EXPECT_EQ(m_expr.Evaluate("42"), 42);
}

TEST_F(ExpressionsTest, MinusSignsApplyToAZeroOperand) {
    m_vars.V(1) = 7;
    EXPECT_EQ(m_expr.Evaluate("-5"), -5);
    EXPECT_EQ(m_expr.Evaluate("V001*-2"), -2);
    // An operator right after another applies the first to 0: (5*0)+3.
    EXPECT_EQ(m_expr.Evaluate("5*+3"), 3);
}

TEST_F(ExpressionsTest, DivisionTruncatesTowardZeroAndByZeroGivesZero) {
    EXPECT_EQ(m_expr.Evaluate("7/0"), 0);
    EXPECT_EQ(m_expr.Evaluate("7%0"), 0);
    EXPECT_EQ(m_expr.Evaluate("7/0+3"), 3);
    EXPECT_EQ(m_expr.Evaluate("-7/2"), -3);
    EXPECT_EQ(m_expr.Evaluate("-7%2"), -1);
    // "%-2" is a remainder by the zero before the minus, then minus 2.
    EXPECT_EQ(m_expr.Evaluate("7%-2"), -2);
}

TEST_F(ExpressionsTest, ArithmeticWrapsAroundAtThirtyTwoBits) {
    EXPECT_EQ(m_expr.Evaluate("2147483647+1"), INT_MIN);
    EXPECT_EQ(m_expr.Evaluate("65536*65536"), 0);
    EXPECT_EQ(m_expr.Evaluate("4294967297"), 1);
    // INT_MIN / -1 and INT_MIN % -1 overflow in C++; here they wrap and give 0.
    m_vars.V(1) = -1;
    EXPECT_EQ(m_expr.Evaluate("0-2147483647-1/V001"), INT_MIN);
    EXPECT_EQ(m_expr.Evaluate("0-2147483647-1%V001"), 0);
}

TEST_F(ExpressionsTest, AVariableReplacesDigitsWrittenBeforeIt) {
    m_vars.V(1) = 9;
    EXPECT_EQ(m_expr.Evaluate("5V001"), 9);
    // Digits after it extend it like any operand.
    EXPECT_EQ(m_expr.Evaluate("V0012"), 92);
}

TEST_F(ExpressionsTest, ReadsEveryOperandForm) {
    m_vars.V(12) = 3;
    m_vars.S(26) = 4;
    m_vars.G(7) = 5;
    m_vars.SetFlag(FlagKind::E, 10);
    m_vars.SetFlag(FlagKind::F, 999);
    m_vars.SetFlag(FlagKind::T, 9999);
    EXPECT_EQ(m_expr.Evaluate("V012"), 3);
    EXPECT_EQ(m_expr.Evaluate("S026"), 4);
    EXPECT_EQ(m_expr.Evaluate("G7"), 5);
    EXPECT_EQ(m_expr.Evaluate("E010+E011"), 1);
    EXPECT_EQ(m_expr.Evaluate("F999"), 1);
    EXPECT_EQ(m_expr.Evaluate("T9999+T0000"), 1);
}

TEST_F(ExpressionsTest, IndirectOperandsReachEveryCellAndNothingElse) {
    m_vars.Cells[1500] = 11; // reachable only this way
    m_vars.S(28) = 12;
    m_vars.G(9) = 13;
    m_vars.V(1) = 1500;
    EXPECT_EQ(m_expr.Evaluate("P001"), 11);
    m_vars.V(1) = VariableStore::kS + 28;
    EXPECT_EQ(m_expr.Evaluate("P001"), 12);
    m_vars.V(1) = 3009;
    EXPECT_EQ(m_expr.Evaluate("P001"), 13);
    m_vars.V(1) = 3010;
    EXPECT_EQ(m_expr.Evaluate("P001"), 0);
    m_vars.V(1) = -1;
    EXPECT_EQ(m_expr.Evaluate("P001"), 0);
    m_vars.V(1) = INT_MIN;
    EXPECT_EQ(m_expr.Evaluate("P001+1"), 1);
}

TEST_F(ExpressionsTest, BitwiseOperatorsTakeTwoCharacters) {
    EXPECT_EQ(m_expr.Evaluate("12_&10"), 8);
    EXPECT_EQ(m_expr.Evaluate("12_|3"), 15);
    EXPECT_EQ(m_expr.Evaluate("12_X10"), 6);
    EXPECT_EQ(m_expr.Evaluate("1+2_&6"), 2);
    EXPECT_EQ(m_expr.Evaluate("12_Y10"), 0);
    EXPECT_EQ(m_expr.Evaluate("12_"), 0);
}

TEST_F(ExpressionsTest, EndsBeforeAnEndingCharacterAndReportsWhere) {
    ExpressionValue value = m_expr.EvaluatePrefix("3+4=7");
    EXPECT_EQ(value.Value, 7);
    EXPECT_EQ(value.End, 3u);
    for (char end : std::string("=<>;!&|],")) {
        std::string text = std::string("2*3") + end + "100";
        value = m_expr.EvaluatePrefix(text);
        EXPECT_EQ(value.Value, 6) << text;
        EXPECT_EQ(value.End, 3u) << text;
    }
    EXPECT_EQ(m_expr.EvaluatePrefix("12").End, 2u);
}

TEST_F(ExpressionsTest, AnyOtherCharacterMakesTheWholeExpressionZero) {
    m_vars.V(1) = 5;
    EXPECT_EQ(m_expr.Evaluate("3+A"), 0);
    EXPECT_EQ(m_expr.Evaluate("v001"), 0); // letters must be upper case
    EXPECT_EQ(m_expr.Evaluate("V01"), 0);  // too few digits
    EXPECT_EQ(m_expr.Evaluate("1 + 2"), 0);
    EXPECT_EQ(m_expr.Evaluate("(1)"), 0);
    // The end is still found, past a double-byte character whose trail byte is '|'.
    ExpressionValue value = m_expr.EvaluatePrefix("1\x81|2=3");
    EXPECT_EQ(value.Value, 0);
    EXPECT_EQ(value.End, 4u);
}

TEST_F(ExpressionsTest, RandomOperandsStayBelowTheirBound) {
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(m_expr.Evaluate("R1"), 0);
        int32_t value = m_expr.Evaluate("R100");
        EXPECT_GE(value, 0);
        EXPECT_LT(value, 100);
    }
    EXPECT_EQ(m_expr.Evaluate("R0"), 0);
    EXPECT_EQ(m_expr.Evaluate("R"), 0);
}

TEST_F(ExpressionsTest, RandomOperandsDrawFromTheScriptGenerator) {
    RandomGenerator twin;
    twin.Seed(12345);
    EXPECT_EQ(m_expr.Evaluate("R999999"), twin.Next() % 999999);
    EXPECT_EQ(m_expr.Evaluate("R7"), twin.Next() % 7);
    // Six digits at most: the seventh extends the operand.
    EXPECT_EQ(m_expr.Evaluate("R1000001"), (twin.Next() % 100000) * 10 + 1);
}

TEST_F(ExpressionsTest, ConditionsDecideAtTheFirstDecidingComparison) {
    const char* condition = "V001=1|V002=1&V003=1";
    m_vars.V(1) = 1; // true without looking further
    m_vars.V(2) = 0;
    m_vars.V(3) = 0;
    EXPECT_TRUE(m_expr.Condition(condition));
    m_vars.V(1) = 0; // V002 = 0: false
    EXPECT_FALSE(m_expr.Condition(condition));
    m_vars.V(2) = 1; // then it is V003 = 1
    EXPECT_FALSE(m_expr.Condition(condition));
    m_vars.V(3) = 1;
    EXPECT_TRUE(m_expr.Condition(condition));
}

TEST_F(ExpressionsTest, ConditionsKnowEveryComparison) {
    m_vars.V(1) = 5;
    EXPECT_TRUE(m_expr.Condition("V001=5"));
    EXPECT_TRUE(m_expr.Condition("V001==5"));
    EXPECT_TRUE(m_expr.Condition("V001!4"));
    EXPECT_TRUE(m_expr.Condition("V001!=4"));
    EXPECT_FALSE(m_expr.Condition("V001!=5"));
    EXPECT_TRUE(m_expr.Condition("V001<6"));
    EXPECT_FALSE(m_expr.Condition("V001<5"));
    EXPECT_TRUE(m_expr.Condition("V001<=5"));
    EXPECT_TRUE(m_expr.Condition("V001>4"));
    EXPECT_FALSE(m_expr.Condition("V001>5"));
    EXPECT_TRUE(m_expr.Condition("V001>=5"));
    EXPECT_TRUE(m_expr.Condition("V001+1=2*3"));
    EXPECT_TRUE(m_expr.Condition("-1<0")); // signed
}

TEST_F(ExpressionsTest, ConditionsAreUpperCasedStrippedAndEndAtTheClosingParenthesis) {
    m_vars.V(1) = 1;
    EXPECT_TRUE(m_expr.Condition("(V001=1) *go a"));
    EXPECT_TRUE(m_expr.Condition("( v001 = 1 )"));
    EXPECT_TRUE(m_expr.Condition("(V001=1)|1=0"));
    EXPECT_FALSE(m_expr.Condition("(V001=2) V001=1"));
}

TEST_F(ExpressionsTest, AConditionWithoutAComparisonIsFalse) {
    m_vars.V(1) = 1;
    EXPECT_FALSE(m_expr.Condition(""));
    EXPECT_FALSE(m_expr.Condition("()"));
    EXPECT_FALSE(m_expr.Condition("V001"));
    EXPECT_FALSE(m_expr.Condition("(1)"));
    // After a comparison the last one made counts.
    EXPECT_TRUE(m_expr.Condition("V001=1&"));
    EXPECT_FALSE(m_expr.Condition("V001=0|V001"));
}

TEST_F(ExpressionsTest, ConditionsReadAtMostFourHundredCharacters) {
    std::string chain;
    for (int i = 0; i < 100; ++i) {
        chain += "1=1&";
    }
    // The deciding comparison after 400 characters is never read.
    EXPECT_TRUE(m_expr.Condition(chain + "1=0"));
    EXPECT_FALSE(m_expr.Condition(chain.substr(4) + "1=0"));
}

TEST_F(ExpressionsTest, AssignmentsRunEveryStatementInOrder) {
    m_expr.Assign("V001=3;V002=V001+1");
    EXPECT_EQ(m_vars.V(1), 3);
    EXPECT_EQ(m_vars.V(2), 4);
    m_expr.Assign(";;V003=7;");
    EXPECT_EQ(m_vars.V(3), 7);
}

TEST_F(ExpressionsTest, AssignmentsDropBlanksTabsAndFullWidthSpaces) {
    m_expr.Assign("V001=1\x81\x40");
    EXPECT_EQ(m_vars.V(1), 1);
    m_expr.Assign(" v 0 0 2 =\t2 + 3 ");
    EXPECT_EQ(m_vars.V(2), 5);
    m_expr.Assign("V003=\x81\x40"
                  "4");
    EXPECT_EQ(m_vars.V(3), 4);
}

TEST_F(ExpressionsTest, AssignmentsTakeTheExpressionAfterAFixedPrefix) {
    m_expr.Assign("G1=7;T1234=1;S026=9");
    EXPECT_EQ(m_vars.G(1), 7);
    EXPECT_TRUE(m_vars.TestFlag(FlagKind::T, 1234));
    EXPECT_EQ(m_vars.S(26), 9);
    // The character where '=' stands is not checked.
    m_expr.Assign("V001:5;G2+6");
    EXPECT_EQ(m_vars.V(1), 5);
    EXPECT_EQ(m_vars.G(2), 6);
    // Too few index digits: nothing is stored, and the next statement still runs.
    m_vars.V(1) = 8;
    m_expr.Assign("V1=3;V004=1");
    EXPECT_EQ(m_vars.V(1), 8);
    EXPECT_EQ(m_vars.V(4), 1);
}

TEST_F(ExpressionsTest, FlagsTakeOnlyZeroOrOne) {
    m_expr.Assign("F010=1;E010=1;T0010=1");
    m_expr.Assign("F010=2;E010=2;T0010=-1");
    EXPECT_TRUE(m_vars.TestFlag(FlagKind::F, 10));
    EXPECT_TRUE(m_vars.TestFlag(FlagKind::E, 10));
    EXPECT_TRUE(m_vars.TestFlag(FlagKind::T, 10));
    m_expr.Assign("F010=0;E010=0;T0010=0");
    m_expr.Assign("F010=2;E010=2");
    EXPECT_FALSE(m_vars.TestFlag(FlagKind::F, 10));
    EXPECT_FALSE(m_vars.TestFlag(FlagKind::E, 10));
    EXPECT_FALSE(m_vars.TestFlag(FlagKind::T, 10));
}

TEST_F(ExpressionsTest, IndirectAssignmentsStayInsideTheStore) {
    m_vars.V(1) = VariableStore::kS + 5;
    m_expr.Assign("P001=9");
    EXPECT_EQ(m_vars.S(5), 9);
    VariableStore before = m_vars;
    for (int32_t target : {3010, -1, INT_MIN, INT_MAX}) {
        m_vars.V(1) = target;
        before.V(1) = target;
        m_expr.Assign("P001=77");
        EXPECT_EQ(m_vars.Cells, before.Cells) << target;
    }
}

TEST_F(ExpressionsTest, ErrorsStoreZeroOrNothing) {
    m_vars.V(1) = 5;
    m_expr.Assign("V001=ABC");
    EXPECT_EQ(m_vars.V(1), 0); // an invalid expression is 0, and 0 is stored
    m_vars.V(2) = 5;
    m_expr.Assign("X002=1;Q;V002=6");
    EXPECT_EQ(m_vars.V(2), 6);
}

TEST_F(ExpressionsTest, AssigningTheMenuCellsRefreshesTheMenus) {
    m_expr.Assign("S001=1;V000=1;S100=1");
    EXPECT_EQ(m_hooks.Calls, 0);
    m_expr.Assign("S000=0");
    EXPECT_EQ(m_hooks.Calls, 1);
    m_expr.Assign("S028=1;S000=3");
    EXPECT_EQ(m_hooks.Calls, 3);
    m_vars.V(1) = VariableStore::kS + 28;
    m_expr.Assign("P001=0");
    EXPECT_EQ(m_hooks.Calls, 4);
}

TEST(SplitFieldsTest, ValuesAreNumbersWrittenPlainly) {
    FieldList fields;
    EXPECT_EQ(SplitFields("B001,100,,x", fields), 4);
    EXPECT_EQ(fields.Text(0), "B001");
    EXPECT_EQ(fields.Value(0), FieldList::kNoValue);
    EXPECT_EQ(fields.Value(1), 100);
    EXPECT_EQ(fields.Text(2), "");
    EXPECT_EQ(fields.Value(2), FieldList::kNoValue);
    EXPECT_EQ(fields.Value(3), FieldList::kNoValue);

    EXPECT_EQ(SplitFields("0,-0,-12,007", fields), 4);
    EXPECT_EQ(fields.Value(0), 0);
    EXPECT_EQ(fields.Value(1), FieldList::kNoValue);
    EXPECT_EQ(fields.Value(2), -12);
    EXPECT_EQ(fields.Value(3), 7);
}

TEST(SplitFieldsTest, BlanksAreSkippedAndColonsSeparateToo) {
    FieldList fields;
    EXPECT_EQ(SplitFields("  NAME : 12,  34", fields), 3);
    EXPECT_EQ(fields.Text(0), "NAME ");
    EXPECT_EQ(fields.Value(1), 12);
    EXPECT_EQ(fields.Text(2), "34");
    EXPECT_EQ(SplitFields("", fields), 0);
    EXPECT_EQ(fields.Text(0), ""); // every field emptied
    EXPECT_EQ(fields.Value(0), FieldList::kNoValue);
    EXPECT_EQ(SplitFields(",", fields), 2);
}

TEST(SplitFieldsTest, LimitsAreKeptWithoutWritingPastThem) {
    FieldList fields;
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += std::to_string(i + 1) + ",";
    }
    EXPECT_EQ(SplitFields(many, fields), FieldList::kCount);
    EXPECT_EQ(fields.Value(31), 32);
    EXPECT_EQ(fields.Value(32), FieldList::kNoValue);

    std::string longField(29, 'a');
    longField += "\x82\xa0"; // a double-byte character across the 30-byte limit
    EXPECT_EQ(SplitFields(longField + "tail,5", fields), 2);
    EXPECT_EQ(fields.Text(0), std::string(29, 'a'));
    EXPECT_EQ(fields.Value(1), 5);
}

} // namespace
} // namespace orv::test
