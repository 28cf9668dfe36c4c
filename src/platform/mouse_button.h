#pragma once
// The mouse buttons the engine's press and release handlers tell apart.

namespace orv {

enum class MouseButton { Left, Right, Middle };

} // namespace orv
