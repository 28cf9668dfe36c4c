// The trees of "seltree": levels from leading spaces, the tree and text ends, and which
// items a row shows as its children.
#include "screens/selection_tree.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

std::unique_ptr<SelectionTreeData> Read(const std::string& text) {
    auto data = std::make_unique<SelectionTreeData>();
    ReadSelectionTrees(text, *data);
    return data;
}

std::vector<std::string> Labels(const SelectionTreeData::Tree& tree, std::span<const int> items) {
    std::vector<std::string> labels;
    for (int i : items) {
        labels.emplace_back(tree.Items[static_cast<size_t>(i)].TreeLabel());
    }
    return labels;
}

TEST(SelectionTreeFormatTest, FieldsLevelsAndEndsAreRead) {
    auto data = Read("Top,7,script:label,ignored\n"
                     "            Deep,1,x\n"
                     "\n"
                     " end \n"
                     "Second,2,y\n"
                     "ALLEND\n"
                     "Never,3,z\n");
    const auto& first = data->Trees[0];
    ASSERT_EQ(first.Count, 2);
    EXPECT_EQ(first.Items[0].TreeLabel(), "Top");
    EXPECT_EQ(first.Items[0].TreeNumber, 7);
    EXPECT_EQ(first.Items[0].TreeTarget(), "script:label");
    EXPECT_EQ(first.Items[0].TreeLevel, 0);
    // Twelve spaces count as nine levels.
    EXPECT_EQ(first.Items[1].TreeLevel, 9);
    EXPECT_EQ(data->Trees[1].Count, 1);
    EXPECT_EQ(data->Trees[2].Count, 0);
}

TEST(SelectionTreeFormatTest, TreesAndItemsBeyondTheirRoomAreDropped) {
    std::string text;
    for (int tree = 0; tree < SelectionTreeData::kTrees + 2; ++tree) {
        text += "a,1,b\nEND\n";
    }
    for (int i = 0; i < SelectionTreeData::kItems + 10; ++i) {
        text += "x,1,y\n";
    }
    auto data = Read(text);
    EXPECT_EQ(data->Trees[SelectionTreeData::kTrees - 1].Count, 1);
    auto many = Read(text.substr(text.find("x,1")));
    EXPECT_EQ(many->Trees[0].Count, SelectionTreeData::kItems);
}

struct ChildrenCase {
    const char* Text;
    int Parent;
    std::vector<std::string> Children;
};

class SelectionTreeChildrenTest : public ::testing::TestWithParam<ChildrenCase> {};

TEST_P(SelectionTreeChildrenTest, ChildrenAreTheFollowingItemsAtTheNextItemsLevel) {
    const ChildrenCase& c = GetParam();
    auto data = Read(c.Text);
    std::array<int, SelectionTree::kRows> out{};
    size_t count = ChildItemsOf(data->Trees[0], c.Parent, out);
    EXPECT_EQ(Labels(data->Trees[0], std::span(out.data(), count)), c.Children);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, SelectionTreeChildrenTest,
    ::testing::Values(
        // An item two levels down among the children is skipped; a lower level ends them.
        ChildrenCase{"A,1,a\n B,1,b\n  C,1,c\n D,1,d\nE,1,e\n F,1,f\n", 0, {"B", "D"}},
        // The next item two levels down sets the children's level.
        ChildrenCase{"A,1,a\n  B,1,b\n  C,1,c\n D,1,d\n", 0, {"B", "C"}},
        // A top-level item followed by another: every following top-level item.
        ChildrenCase{"A,1,a\nB,1,b\n C,1,c\nD,1,d\n", 0, {"B", "D"}},
        // The last item has none; six children show as five.
        ChildrenCase{"A,1,a\n", 0, {}},
        ChildrenCase{
            "A,1,a\n1,1,x\n2,1,x\n3,1,x\n4,1,x\n5,1,x\n6,1,x\n", 0, {"1", "2", "3", "4", "5"}}));

} // namespace
} // namespace orv
