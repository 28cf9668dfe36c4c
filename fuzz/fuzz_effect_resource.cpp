// The "effect" resource and the arguments of bg_anim and efxanim are outside data: any bytes
// give a step list within its 200 steps, loop arguments within the 32 frames, and a sequence
// that names only frames that were loaded.
#include "fuzz_check.h"
#include "gfx/background_loop.h"
#include "gfx/effect_script.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition, const char* what) {
    orv::fuzz::Require(condition, "effect resource", what);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first line names the effect; the whole input is the resource.
    std::string_view name = text.substr(0, std::min(text.find('\0'), text.size()));
    if (!name.empty() && name.front() == ':') {
        name.remove_prefix(1);
    }
    orv::EffectSteps steps;
    orv::ReadEffectDefinition(text, name, steps);
    Check(steps.Count >= 0 && steps.Count <= orv::EffectSteps::kMaxSteps, "too many steps");
    for (int i = 0; i < steps.Count; ++i) {
        auto kind = static_cast<int>(steps.Steps[static_cast<size_t>(i)].Kind);
        Check(kind >= 0 && kind <= 5, "a step of no kind");
    }

    std::string_view argument = name;
    orv::LoopArguments loop = orv::ReadLoopArguments(argument);
    Check(loop.FrameCount >= 0 && loop.FrameCount <= orv::FrameLoop::kMaxFrames, "too many frames");
    std::array<uint8_t, orv::FrameLoop::kMaxSequence> sequence{};
    for (bool digitsOnly : {false, true}) {
        int32_t length = orv::ReadSequence(loop.SequenceText, loop.FrameCount, digitsOnly, sequence);
        Check(length >= 0 && length <= orv::FrameLoop::kMaxSequence, "sequence past its table");
        for (int32_t k = 0; k < length; ++k) {
            Check(sequence[static_cast<size_t>(k)] < loop.FrameCount, "a sequence entry names no frame");
        }
    }

    orv::EffectAnimationArguments animation = orv::ReadEffectAnimationArguments(argument);
    Check(animation.Count >= 1 && animation.Count <= 100, "efxanim numbers past their table");
    return 0;
}
