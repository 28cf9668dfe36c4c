#pragma once
// The effects of the "effect" resource: named sequences of flashes, colour tints, negative
// flashes and window shakes, read into a list of timed steps that `effect` plays.

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class Engine;

enum class EffectKind : uint8_t {
    None = 0,       // only waits
    MoveWindow = 1, // A, B: offset from where the window stood when the effect began
    Normal = 2,     // BackBuffer on PB
    Fill = 3,       // PB filled with colour A
    Tint = 4,       // BackBuffer tinted with colour A at weight B (0..255)
    Negative = 5,   // BackBuffer inverted
};

struct EffectStep {
    EffectKind Kind = EffectKind::None;
    int32_t A = 0;
    int32_t B = 0;
    int32_t Ms = 0;

    bool operator==(const EffectStep&) const = default;
};

struct EffectSteps {
    static constexpr int kMaxSteps = 200;
    std::array<EffectStep, kMaxSteps> Steps{};
    int32_t Count = 0;

    // False, with nothing added, once the list is full: later steps are dropped.
    bool Add(EffectStep step) {
        if (Count == kMaxSteps) {
            return false;
        }
        Steps[static_cast<size_t>(Count++)] = step;
        return true;
    }
};

// Reads the effect `name` from the text of the "effect" resource (lines ending in NUL): the
// lines after the label ":NAME" up to the next line that begins with ':'. Labels are compared
// without regard to case. False when the resource defines no such effect.
bool ReadEffectDefinition(std::string_view resource, std::string_view name, EffectSteps& steps);

// One line of a definition (F, N or S by its first letter; others add nothing).
void ReadEffectLine(std::string_view line, EffectSteps& steps);

// The argument of efxanim: name[,interval[,number,...]]. Without numbers the pictures are
// 0 to 99; at most 100 numbers are kept.
struct EffectAnimationArguments {
    std::string_view Name;
    int32_t Interval = 50; // ms
    std::array<int32_t, 100> Numbers{};
    int32_t Count = 0;
};

EffectAnimationArguments ReadEffectAnimationArguments(std::string_view argument);

// WaitFrames(interval) for the effects of this family, whose steps a script may make
// seconds long: the messages are pumped at least every 50 ms, and a close request
// (InterruptRequest 2) ends the wait at once. Returns the frames of `interval` that passed.
int32_t WaitFramesOrClose(Engine& engine, int32_t interval);

} // namespace orv
