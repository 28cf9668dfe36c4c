#pragma once
// The selection tree (`seltree`): the branches of the story drawn as two columns of rows,
// the top-level items on the left and, under the pointer, the children of one of them on
// the right. A click calls the target of the row, as `call` does. SelectionKind is 6 while
// it waits.

#include "base/zeroed_array.h"
#include "gfx/surface.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

namespace orv {

class Engine;

// One item of a tree as "seltree" lists it.
struct TreeItem {
    static constexpr size_t kLabelSize = 64;
    static constexpr size_t kTargetSize = 64;
    std::array<char, kLabelSize> LabelBuffer{};
    std::array<char, kTargetSize> TargetBuffer{};
    uint8_t LabelLength = 0;
    uint8_t TargetLength = 0;
    int32_t TreeNumber = 0; // kept with the item; nothing shows it
    int32_t TreeLevel = 0;  // 0 top level; one more a leading space, at most 9
    std::string_view TreeLabel() const { return {LabelBuffer.data(), LabelLength}; }
    std::string_view TreeTarget() const { return {TargetBuffer.data(), TargetLength}; }
};

struct SelectionTreeData {
    static constexpr int kTrees = 12;
    static constexpr int kItems = 500;
    struct Tree {
        std::array<TreeItem, kItems> Items{};
        int Count = 0;
    };
    std::array<Tree, kTrees> Trees{};
};

// Fills `data` from the text of "seltree" (lines ended by NUL or a line break): "END" ends a
// tree, "ALLEND" the text; items beyond the trees' room are dropped.
void ReadSelectionTrees(std::string_view text, SelectionTreeData& data);

// Positions of the rows a tree shows: its top-level items, or the children of the item at
// `parent` (the following items at the level of the item right after it, up to the first
// item of a lower level). At most out.size(); returns how many.
size_t TopLevelItems(const SelectionTreeData::Tree& tree, std::span<int> out);
size_t ChildItemsOf(const SelectionTreeData::Tree& tree, int parent, std::span<int> out);

class SelectionTree {
public:
    static constexpr int kRows = 5; // a column has room for five rows

    explicit SelectionTree(Engine& engine);
    ~SelectionTree();

    // LoadSelectionTrees: the trees of "seltree", once at start-up. False without it.
    bool Load();
    // ShowSelectionTree: tree n over the scene; SelectionKind 6.
    void Show(int32_t tree);
    // SelectionTreeHover and SelectionTreeClick, while SelectionKind is 6.
    void Hover(int x, int y);
    void Click();
    // FreeSelectionTreePictures: the row pictures freed and the selection ended.
    void Close();

    const SelectionTreeData* Data() const { return m_data.get(); }
    int32_t TreeHover() const { return m_hover; }
    std::string_view TreeChoice() const { return m_choice; }
    int ChildCount() const { return m_childCount; }

private:
    // The hover code under (x, y): 1..5 a top-level row, 6..10 a child row, 0 none; the
    // zone around the child column keeps the previous code.
    int32_t CodeAt(int x, int y) const;
    void ShowTopRow(int row);
    void ShowChildRow(int row);
    void ClearChildColumn();
    void DrawRow(const Surface& normal, const Surface& highlighted, const TreeItem& item, int x,
                 int row, int centre);
    const SelectionTreeData::Tree* ShownTree() const;
    void Present(const Surface& source, Rect area);

    Engine& m_engine;
    ZeroedObject<SelectionTreeData> m_data;
    int32_t m_shown = -1;
    std::array<int, kRows> m_topItems{};
    int m_topCount = 0;
    std::array<int, kRows> m_childItems{};
    int m_childCount = 0;
    int32_t m_hover = 0;
    std::string_view m_choice;
    // tree_base, the level picture, and the rows: tree1a/b, tree2a/b, tree3a/b.
    Surface m_base;
    Surface m_level;
    std::array<Surface, 6> m_rowPictures;
};

} // namespace orv
