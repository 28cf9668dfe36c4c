#pragma once
// A screen that owns input and the idle pass while it is on top of the screen stack: the game
// at the bottom, and over it the screens that take the game over (the hidden message window,
// page review, the staff roll, the status and map screens, the gallery, the scrolling
// picture, the recollection) or that lie over it (the backlog, the config screen).
//
// The engine's input handlers keep the checks that come before any screen (a click
// override, a running effect, the yes/no prompt, the panic picture, Busy) and then hand the
// event to the screen on top. Every handler does nothing unless a screen has a use for it.

#include "platform/mouse_button.h"

#include <cstdint>

namespace orv {

// Where a screen sits in the routing of input.
enum class ScreenLayer {
    // The game and the screens that take its place: the engine's own reactions to the
    // pointer, the keys and the wheel (the tool bar, the prompt, the global keys) come first.
    Game,
    // The backlog: it takes the keys, the wheel and the idle pass itself, even while a prompt
    // is open.
    Modal,
    // The config screen: it takes everything right after the engine's first checks, before
    // anything the engine itself does with a click (a click over it stops no voice), a move
    // (no tool bar, no prompt) or a tick (no manga symbol).
    Exclusive,
};

// What the engine does after a screen's idle pass.
enum class AfterPass {
    FrameLoopAndPace, // advance the background loop, then fill the pass up to 20 ms
    Pace,             // fill the pass up to 20 ms
    AutoPace,         // auto mode paces a pass that stepped the script by its level
};

class Screen {
public:
    virtual ~Screen() = default;

    // The ScreenMode number the screen stands for; -1 for a screen that lies over another
    // without a mode of its own (the backlog, the config screen).
    virtual int32_t Mode() const = 0;
    virtual ScreenLayer Layer() const { return ScreenLayer::Game; }
    // True for a screen that shows a picture of its own in place of the scene (the backlog,
    // an earlier page): the scene's timed drawing (the manga symbol) must not reach PB.
    virtual bool CoversScene() const { return false; }

    // Pointer positions are game pixels of PB.
    virtual void Press(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    virtual void Move(int /*x*/, int /*y*/) {}
    virtual void Release(MouseButton /*button*/, int /*x*/, int /*y*/) {}
    // D > 0 is a turn upward.
    virtual void Wheel(int /*delta*/) {}
    // A key going down (key codes of engine/keys.h) and a typed character. A screen in the
    // game's place that takes a character returns true: the engine's own keys then leave it.
    virtual void KeyDown(int /*key*/) {}
    virtual bool KeyPress(char /*key*/) { return false; }
    virtual AfterPass Pass() { return AfterPass::FrameLoopAndPace; }
    virtual void Tick() {}
    // PB needs its picture again. False leaves it to the engine, which shows BackBuffer.
    virtual bool Paint() { return false; }
    // The screen is taken off the stack without the player closing it (the title return).
    virtual void Close() {}
};

} // namespace orv
