#pragma once
// What `anim` and `animq` keep between frames and between animations, so that playing
// allocates nothing per frame: the entry's tables, the coded frame, the decoded frame, and
// animq's animation area and its enlargement.

#include "base/bytes.h"
#include "gfx/animation_entry.h"
#include "gfx/surface.h"

#include <cstdint>
#include <string_view>

namespace orv {

struct AnimationBuffers {
    AnimationEntry Entry;
    Bytes Head;     // header and tables as read
    Bytes Coded;    // the frame being decoded; grows to the largest frame and stays
    Surface Frame;  // the decoded frame
    Surface Area;   // animq: the W x H animation area the frames are drawn into
    Surface Larger; // animq: the area enlarged
};

// The argument of anim and animq: name[,x[,y[,skip]]], fields separated by "," or blanks.
struct AnimationArguments {
    std::string_view Name;
    int32_t X = 0;
    int32_t Y = 0;
    std::string_view Skip; // an expression; a click ends the animation when it is not 0
};
AnimationArguments ReadAnimationArguments(std::string_view argument);

// The frame period of animq in microseconds: T ms, except that 33 stands for 30 frames a
// second and 15 for 15.
int64_t EnlargedFramePeriod(int32_t frameTime);

} // namespace orv
