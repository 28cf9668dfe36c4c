#include "choices/choice_record.h"
#include "script/variables.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

struct ChoiceRecordTest : testing::Test {
    VariableStore vars;
    ChoiceRecord record{vars};
};

TEST_F(ChoiceRecordTest, RecordsOnlyWhileRecording) {
    record.Append(2);
    EXPECT_EQ(vars.S(162), 0);
    vars.S(161) = ChoiceRecord::kRecording;
    record.Append(2);
    record.Append(1);
    EXPECT_EQ(vars.S(162), 2);
    EXPECT_EQ(record.Choices[0], 2);
    EXPECT_EQ(record.Choices[1], 1);
}

TEST_F(ChoiceRecordTest, AFullRecordTakesNoMoreChoices) {
    vars.S(161) = ChoiceRecord::kRecording;
    for (int i = 0; i < ChoiceRecord::kCapacity + 100; ++i) {
        record.Append(i % 7 + 1);
    }
    EXPECT_EQ(vars.S(162), ChoiceRecord::kCapacity);
    EXPECT_EQ(record.Choices[ChoiceRecord::kCapacity - 1], (ChoiceRecord::kCapacity - 1) % 7 + 1);
    // A count that a script set outside the record writes nothing.
    vars.S(162) = -4;
    record.Append(3);
    EXPECT_EQ(vars.S(162), -4);
    vars.S(162) = 1 << 30;
    record.Append(3);
    EXPECT_EQ(vars.S(162), 1 << 30);
}

TEST_F(ChoiceRecordTest, ReplaysInOrderAndThenRecordsOnFromTheEnd) {
    vars.S(161) = ChoiceRecord::kRecording;
    record.Append(2);
    record.Append(3);
    vars.S(161) = ChoiceRecord::kReplaying;
    vars.S(163) = 0;
    EXPECT_EQ(record.NextReplayed(), 2);
    EXPECT_EQ(vars.S(161), ChoiceRecord::kReplaying);
    EXPECT_EQ(record.NextReplayed(), 3);
    EXPECT_EQ(vars.S(161), ChoiceRecord::kRecording);
    EXPECT_EQ(vars.S(162), 2);
    EXPECT_EQ(vars.S(163), 2);
    EXPECT_EQ(record.NextReplayed(), std::nullopt);
}

TEST_F(ChoiceRecordTest, AReplayPositionOutsideTheRecordResumesRecording) {
    vars.S(161) = ChoiceRecord::kReplaying;
    vars.S(162) = 100000;
    vars.S(163) = 5000;
    EXPECT_EQ(record.NextReplayed(), std::nullopt);
    EXPECT_EQ(vars.S(161), ChoiceRecord::kRecording);
    EXPECT_EQ(vars.S(162), ChoiceRecord::kCapacity);
    vars.S(161) = ChoiceRecord::kReplaying;
    vars.S(162) = 3;
    vars.S(163) = -1;
    EXPECT_EQ(record.NextReplayed(), std::nullopt);
    EXPECT_EQ(vars.S(162), 0);
}

TEST_F(ChoiceRecordTest, KeepsTheScriptNameInItsField) {
    record.SetScriptName(std::string(100, 'n'));
    EXPECT_EQ(record.ScriptName().size(), static_cast<size_t>(ChoiceRecord::kScriptNameSize - 1));
}

} // namespace
} // namespace orv
