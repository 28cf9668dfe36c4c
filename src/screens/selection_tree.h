#pragma once
// The selection tree (`seltree`): the branches of the story drawn as rows the player picks
// from while SelectionKind is 6. Each entry point does nothing until the tree lands.

#include <cstdint>

namespace orv {

class Engine;

class SelectionTree {
public:
    explicit SelectionTree(Engine& engine) : m_engine(engine) {}

    void Show(int32_t /*tree*/) {}
    void Hover(int /*x*/, int /*y*/) {}
    void Click() {}
    // Frees the tree's row pictures and ends the selection.
    void Close() {}

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
