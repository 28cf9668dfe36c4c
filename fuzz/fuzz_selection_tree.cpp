// "seltree" is outside data: any text gives twelve trees of at most 500 items whose labels
// and targets fit their fields and whose levels lie in 0..9, and every row the tree can show
// (the top level and the children of each item) is an item of that tree.
#include "fuzz_check.h"
#include "screens/selection_tree.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "selection tree", what);
}

void CheckRows(const orv::SelectionTreeData::Tree& tree, std::span<const int> rows) {
    for (int row : rows) {
        Check(row >= 0 && row < tree.Count, "a row outside the tree");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The trees are large: one allocation, as the engine makes it once at start-up.
    static auto trees = std::make_unique<orv::SelectionTreeData>();
    *trees = orv::SelectionTreeData{};
    orv::ReadSelectionTrees(std::string_view(reinterpret_cast<const char*>(data), size), *trees);
    for (const auto& tree : trees->Trees) {
        Check(tree.Count >= 0 && tree.Count <= orv::SelectionTreeData::kItems, "item count");
        for (int i = 0; i < tree.Count; ++i) {
            const orv::TreeItem& item = tree.Items[static_cast<size_t>(i)];
            Check(item.LabelLength <= orv::TreeItem::kLabelSize, "label too long");
            Check(item.TargetLength <= orv::TreeItem::kTargetSize, "target too long");
            Check(item.TreeLevel >= 0 && item.TreeLevel <= 9, "level");
        }
        std::array<int, orv::SelectionTree::kRows> rows{};
        size_t top = orv::TopLevelItems(tree, rows);
        Check(top <= rows.size(), "more top rows than room");
        CheckRows(tree, std::span<const int>(rows.data(), top));
        for (int parent = -1; parent <= tree.Count; ++parent) {
            size_t children = orv::ChildItemsOf(tree, parent, rows);
            Check(children <= rows.size(), "more child rows than room");
            CheckRows(tree, std::span<const int>(rows.data(), children));
        }
    }
    return 0;
}
