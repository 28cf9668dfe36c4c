#include "screens/screen_stack.h"

#include <algorithm>

namespace orv {

ScreenStack::ScreenStack(Screen& bottom) {
    m_screens[0] = &bottom;
}

int32_t ScreenStack::Mode() const {
    for (int i = m_depth - 1; i >= 0; --i) {
        int32_t mode = m_screens[static_cast<size_t>(i)]->Mode();
        if (mode >= 0) {
            return mode;
        }
    }
    return 0;
}

bool ScreenStack::Contains(const Screen& screen) const {
    auto end = m_screens.begin() + m_depth;
    return std::find(m_screens.begin(), end, &screen) != end;
}

bool ScreenStack::Push(Screen& screen) {
    if (Contains(screen) || m_depth >= kCapacity) {
        return false;
    }
    m_screens[static_cast<size_t>(m_depth++)] = &screen;
    return true;
}

bool ScreenStack::Remove(const Screen& screen) {
    for (int i = 1; i < m_depth; ++i) {
        if (m_screens[static_cast<size_t>(i)] == &screen) {
            std::copy(m_screens.begin() + i + 1, m_screens.begin() + m_depth,
                      m_screens.begin() + i);
            m_screens[static_cast<size_t>(--m_depth)] = nullptr;
            return true;
        }
    }
    return false;
}

void ScreenStack::CloseAllAboveBottom() {
    while (m_depth > 1) {
        Screen& top = Top();
        m_screens[static_cast<size_t>(--m_depth)] = nullptr;
        top.Close();
    }
}

} // namespace orv
