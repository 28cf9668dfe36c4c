// The save list's model: its rows in both modes, the row it remembers, the comment, what its
// buttons do to the slot files, and its sorting.
#include "dialogs/save_list.h"

#include "base/cp932.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace orv::test {
namespace {

// Slot files in memory, with switches that make the operations fail.
class FakeSlots : public SaveListSlots {
public:
    std::optional<SlotSummary> ReadSlotSummary(int32_t slot) const override {
        auto found = Files.find(slot);
        return found == Files.end() ? std::nullopt : std::optional<SlotSummary>(found->second);
    }
    bool SaveSlot(int32_t slot) override {
        Calls.push_back("save " + std::to_string(slot));
        if (!SaveWorks) {
            return false;
        }
        // A save replaces the whole file: its comment is gone until one is set.
        Files[slot] = SlotSummary{"2026/05/01 10:00:00", " Saved", ""};
        return true;
    }
    bool LoadSlot(int32_t slot) override {
        Calls.push_back("load " + std::to_string(slot));
        return LoadWorks && Files.count(slot) != 0;
    }
    bool SetSaveComment(int32_t slot, std::string_view comment) override {
        Calls.push_back("comment " + std::to_string(slot) + " " + std::string(comment));
        auto found = Files.find(slot);
        if (found == Files.end() || !CommentWorks) {
            return false;
        }
        found->second.Comment = std::string(comment);
        return true;
    }
    bool DeleteSlot(int32_t slot) override {
        Calls.push_back("delete " + std::to_string(slot));
        if (!DeleteWorks) {
            return false;
        }
        Files.erase(slot);
        return true;
    }

    std::map<int32_t, SlotSummary> Files;
    std::vector<std::string> Calls;
    bool SaveWorks = true;
    bool LoadWorks = true;
    bool CommentWorks = true;
    bool DeleteWorks = true;
};

std::string Utf8(std::string_view cp932Text) {
    return cp932::ToUtf8(cp932Text);
}

std::string Cp932(std::string_view utf8) {
    return cp932::FromUtf8Lenient(utf8);
}

std::vector<std::string> Captions(const SaveListModel& model) {
    std::vector<std::string> captions;
    for (const SaveListRow& row : model.Rows()) {
        captions.push_back(row.Text(save_list_column::Slot));
    }
    return captions;
}

class SaveListTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_slots.Files[2] = SlotSummary{"2026/03/04 05:06:07", Cp932(" 第一章"), Cp932("森の前")};
        m_slots.Files[99] = SlotSummary{"2026/03/05 00:00:00", " Last", "Quick Save"};
    }

    FakeSlots m_slots;
    SaveListMemory m_memory;
    SaveListModel m_model{m_slots, m_memory};
};

struct ModeCase {
    int32_t Mode;
    int Rows;
    const char* Text;
};

class SaveListModeTest : public SaveListTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(SaveListModeTest, ListsItsSlotsInOrderWithTheirHeadersAndTheEmptyOnesAsUnregistered) {
    const ModeCase& mode = GetParam();
    m_model.Fill(mode.Mode);
    EXPECT_EQ(Utf8(m_model.ModeText()), mode.Text);
    ASSERT_EQ(m_model.RowCount(), mode.Rows);
    for (int row = 0; row < mode.Rows; ++row) {
        char caption[16];
        std::snprintf(caption, sizeof caption, "%02d", row + 1);
        EXPECT_EQ(m_model.Rows()[static_cast<size_t>(row)].Slot, row + 1);
        EXPECT_EQ(m_model.Rows()[static_cast<size_t>(row)].Text(save_list_column::Slot), caption);
    }
    const SaveListRow& used = m_model.Rows()[1];
    EXPECT_TRUE(used.Used);
    EXPECT_EQ(used.Text(save_list_column::Date), "2026/03/04 05:06:07");
    EXPECT_EQ(Utf8(used.Text(save_list_column::Detail)), " 第一章");
    EXPECT_EQ(Utf8(used.Text(save_list_column::Comment)), "森の前");
    const SaveListRow& empty = m_model.Rows()[0];
    EXPECT_FALSE(empty.Used);
    EXPECT_EQ(Utf8(empty.Text(save_list_column::Date)), " 未登録");
    EXPECT_EQ(empty.Text(save_list_column::Detail), " ");
    EXPECT_EQ(empty.Text(save_list_column::Comment), " ");
}

INSTANTIATE_TEST_SUITE_P(BothModes, SaveListModeTest,
                         ::testing::Values(ModeCase{save_list_mode::Save, 98, "セーブ"},
                                           ModeCase{save_list_mode::Load, 99, "ロード"}));

TEST_F(SaveListTest, TheQuickSaveSlotIsOnlyInTheLoadList) {
    m_model.Fill(save_list_mode::Load);
    EXPECT_EQ(m_model.RowOfSlot(99), 98);
    EXPECT_EQ(m_model.Rows().back().Text(save_list_column::Comment), "Quick Save");
    m_model.Fill(save_list_mode::Save);
    EXPECT_EQ(m_model.RowOfSlot(99), -1);
    EXPECT_EQ(Captions(m_model).back(), "98");
}

TEST_F(SaveListTest, ReopensOnTheRowSelectedLastEvenInTheOtherModeAndWithinTheList) {
    m_model.Fill(save_list_mode::Save);
    EXPECT_EQ(m_model.SelectedRow(), 0) << "the first showing selects the first row";
    m_model.Select(1);
    m_model.Fill(save_list_mode::Load);
    EXPECT_EQ(m_model.SelectedRow(), 1);
    EXPECT_EQ(Utf8(m_model.CommentText()), "森の前") << "the showing's selection update";
    m_model.Select(98);
    m_model.Fill(save_list_mode::Save);
    EXPECT_EQ(m_model.SelectedRow(), 97) << "at most the last row";
    EXPECT_EQ(m_memory.LastRow, 97);
    // Selecting nothing keeps the row for the next showing.
    m_model.Select(-1);
    EXPECT_EQ(m_model.SelectedRow(), -1);
    EXPECT_FALSE(m_model.CanActivate());
    m_model.Fill(save_list_mode::Save);
    EXPECT_EQ(m_model.SelectedRow(), 97);
}

TEST_F(SaveListTest, TheSelectionPutsAUsedSlotsCommentInTheEditAndEnablesTheCommentButton) {
    m_model.Fill(save_list_mode::Save);
    EXPECT_FALSE(m_model.CommentEnabled()) << "slot 1 is empty";
    EXPECT_EQ(m_model.CommentText(), "");
    m_model.Select(1);
    EXPECT_TRUE(m_model.CommentEnabled());
    EXPECT_EQ(Utf8(m_model.CommentText()), "森の前");
    m_model.SetCommentText("typed");
    m_model.Select(4);
    EXPECT_FALSE(m_model.CommentEnabled());
    EXPECT_EQ(m_model.CommentText(), "") << "an empty slot empties the edit";
}

struct CommentCase {
    const char* Typed; // UTF-8
    const char* Stored;
};

class StoredCommentTest : public ::testing::TestWithParam<CommentCase> {};

TEST_P(StoredCommentTest, IsCutToThirtyBytesOnACharacterBoundary) {
    std::string typed = Cp932(GetParam().Typed);
    std::string_view stored = SaveSlots::StoredComment(typed);
    EXPECT_LE(stored.size(), 30u);
    EXPECT_EQ(Utf8(stored), GetParam().Stored);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StoredCommentTest,
    ::testing::Values(
        CommentCase{"", ""},
        CommentCase{"123456789012345678901234567890", "123456789012345678901234567890"},
        CommentCase{"1234567890123456789012345678901", "123456789012345678901234567890"},
        // Fifteen full-width characters fill the field; the sixteenth does not fit.
        CommentCase{"あいうえおかきくけこさしすせそた", "あいうえおかきくけこさしすせそ"},
        // Byte 29 would be the first half of a character: it goes whole.
        CommentCase{"a" "あいうえおかきくけこさしすせそ", "a" "あいうえおかきくけこさしすせ"},
        CommentCase{"ab" "あいうえおかきくけこさしすせそ", "ab" "あいうえおかきくけこさしすせ"},
        // Half-width katakana are one byte each.
        CommentCase{"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏ", "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎ"}));

TEST_F(SaveListTest, SavingWritesTheCutCommentOnlyAfterTheSaveSucceeded) {
    m_model.Fill(save_list_mode::Save);
    m_model.Select(1);
    m_model.SetCommentText(Cp932("新しいコメントは三十バイトより長いです"));
    m_slots.SaveWorks = false;
    EXPECT_EQ(m_model.Activate(), SaveListActivation::Failed);
    EXPECT_EQ(m_slots.Calls, std::vector<std::string>{"save 2"});
    EXPECT_EQ(Utf8(m_slots.Files[2].Comment), "森の前") << "the old slot keeps its comment";

    m_slots.SaveWorks = true;
    m_slots.Calls.clear();
    EXPECT_EQ(m_model.Activate(), SaveListActivation::Succeeded);
    ASSERT_EQ(m_slots.Calls.size(), 2u);
    EXPECT_EQ(m_slots.Calls[0], "save 2");
    EXPECT_EQ(Utf8(m_slots.Files[2].Comment), "新しいコメントは三十バイトより");
}

TEST_F(SaveListTest, SavingIntoAnEmptySlotAsksNothingAndKeepsTheTypedComment) {
    m_model.Fill(save_list_mode::Save);
    m_model.Select(6);
    m_model.SetCommentText("first");
    ASSERT_TRUE(m_model.CanActivate());
    EXPECT_EQ(m_model.Activate(), SaveListActivation::Succeeded);
    EXPECT_EQ(m_slots.Files[7].Comment, "first");
}

TEST_F(SaveListTest, LoadingAnEmptyRowDoesNothingAndTheDialogStaysOpen) {
    m_model.Fill(save_list_mode::Load);
    m_model.Select(0);
    EXPECT_FALSE(m_model.CanActivate());
    EXPECT_EQ(m_model.Activate(), SaveListActivation::None);
    EXPECT_TRUE(m_slots.Calls.empty());

    m_model.Select(98);
    EXPECT_EQ(m_model.Activate(), SaveListActivation::Succeeded);
    EXPECT_EQ(m_slots.Calls, std::vector<std::string>{"load 99"});
    m_slots.LoadWorks = false;
    EXPECT_EQ(m_model.Activate(), SaveListActivation::Failed);
}

TEST_F(SaveListTest, TheCommentButtonStoresTheCutCommentInAUsedSlotAndShowsIt) {
    m_model.Fill(save_list_mode::Load);
    m_model.Select(0);
    m_model.SetCommentText("nothing to comment");
    EXPECT_FALSE(m_model.StoreComment());
    EXPECT_TRUE(m_slots.Calls.empty());

    m_model.Select(1);
    m_model.SetCommentText(Cp932("夕方の丘、十五文字をこえる長いコメント"));
    m_slots.CommentWorks = false;
    EXPECT_FALSE(m_model.StoreComment());
    EXPECT_EQ(Utf8(m_model.Rows()[1].Text(save_list_column::Comment)), "森の前");
    m_slots.CommentWorks = true;
    EXPECT_TRUE(m_model.StoreComment());
    EXPECT_EQ(Utf8(m_model.Rows()[1].Text(save_list_column::Comment)), "夕方の丘、十五文字をこえる長い");
    EXPECT_EQ(m_slots.Files[2].Comment, m_model.Rows()[1].Text(save_list_column::Comment));
}

TEST_F(SaveListTest, DeletingEmptiesTheRowOnlyWhenTheFileIsGone) {
    m_model.Fill(save_list_mode::Load);
    m_model.Select(1);
    m_slots.DeleteWorks = false;
    EXPECT_FALSE(m_model.DeleteSelected());
    EXPECT_TRUE(m_model.Rows()[1].Used);
    EXPECT_TRUE(m_model.CanActivate());

    m_slots.DeleteWorks = true;
    EXPECT_TRUE(m_model.DeleteSelected());
    const SaveListRow& row = m_model.Rows()[1];
    EXPECT_FALSE(row.Used);
    EXPECT_EQ(Utf8(row.Text(save_list_column::Date)), " 未登録");
    EXPECT_EQ(row.Text(save_list_column::Detail), "");
    EXPECT_EQ(row.Text(save_list_column::Comment), "");
    EXPECT_FALSE(m_model.CanActivate()) << "nothing left to load";
    EXPECT_FALSE(m_model.CommentEnabled());
    EXPECT_EQ(m_slots.Files.count(2), 0u);
}

class SaveListSortTest : public SaveListTest {
protected:
    void SetUp() override {
        m_slots.Files[1] = SlotSummary{"2026/01/03 00:00:00", " b", "banana"};
        m_slots.Files[2] = SlotSummary{"2026/01/01 00:00:00", " c", "Cherry"};
        m_slots.Files[3] = SlotSummary{"2026/01/02 00:00:00", " a", "apple"};
        m_model.Fill(save_list_mode::Load);
    }
    // The slots of the first `count` rows.
    std::vector<int32_t> FirstSlots(size_t count) {
        std::vector<int32_t> slots;
        for (size_t i = 0; i < count; ++i) {
            slots.push_back(m_model.Rows()[i].Slot);
        }
        return slots;
    }
    std::vector<int32_t> LastSlots(size_t count) {
        std::vector<int32_t> slots;
        for (size_t i = m_model.Rows().size() - count; i < m_model.Rows().size(); ++i) {
            slots.push_back(m_model.Rows()[i].Slot);
        }
        return slots;
    }
};

TEST_F(SaveListSortTest, ThreeClicksOnAHeaderSortAscendingThenDescendingThenAscending) {
    EXPECT_EQ(m_memory.SortColumn, 0);
    EXPECT_EQ(m_memory.SortState, -1);
    // " 未登録" begins with a blank: the empty slots come before every date, in slot order.
    m_model.SortBy(save_list_column::Date);
    EXPECT_EQ(m_memory.SortColumn, 1);
    EXPECT_EQ(m_memory.SortState, 1);
    EXPECT_EQ(LastSlots(3), (std::vector<int32_t>{2, 3, 1}));
    EXPECT_EQ(FirstSlots(2), (std::vector<int32_t>{4, 5}));

    m_model.SortBy(save_list_column::Date);
    EXPECT_EQ(m_memory.SortState, -1);
    EXPECT_EQ(FirstSlots(3), (std::vector<int32_t>{1, 3, 2}));

    m_model.SortBy(save_list_column::Date);
    EXPECT_EQ(m_memory.SortState, 1);
    EXPECT_EQ(LastSlots(3), (std::vector<int32_t>{2, 3, 1}));
}

TEST_F(SaveListSortTest, TextsCompareWithoutRegardToCaseAndCaptionsAsText) {
    m_model.SortBy(save_list_column::Comment);
    EXPECT_EQ(LastSlots(3), (std::vector<int32_t>{3, 1, 2})) << "apple, banana, Cherry";
    // Another column sorts ascending at its first click; the caption column sorts the
    // two-digit captions back into slot order.
    m_model.SortBy(save_list_column::Slot);
    EXPECT_EQ(m_memory.SortState, 0);
    EXPECT_EQ(FirstSlots(3), (std::vector<int32_t>{1, 2, 3}));
    m_model.SortBy(save_list_column::Slot);
    EXPECT_EQ(FirstSlots(2), (std::vector<int32_t>{99, 98}));
}

TEST_F(SaveListSortTest, TheSelectionStaysWithItsSlotAndTheSortStateOutlivesTheShowing) {
    m_model.Select(2);
    m_model.SetCommentText("typed");
    m_model.SortBy(save_list_column::Detail);
    EXPECT_TRUE(m_model.Sorted());
    EXPECT_EQ(m_model.Rows()[static_cast<size_t>(m_model.SelectedRow())].Slot, 3);
    EXPECT_EQ(m_model.CommentText(), "typed");
    EXPECT_EQ(m_memory.LastRow, 2) << "a sort is no selection update";
    // The next showing lists the slots in order; the next click on the column reverses.
    m_model.Fill(save_list_mode::Save);
    EXPECT_FALSE(m_model.Sorted());
    EXPECT_EQ(FirstSlots(3), (std::vector<int32_t>{1, 2, 3}));
    m_model.SortBy(save_list_column::Detail);
    EXPECT_FALSE(m_model.SortedAscending());
    EXPECT_EQ(FirstSlots(3), (std::vector<int32_t>{2, 1, 3}));
}

} // namespace
} // namespace orv::test
