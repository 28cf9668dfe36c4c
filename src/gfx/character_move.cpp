// sprmv: characters sliding from their places in the position table to new ones.
#include "base/cp932.h"
#include "engine/engine.h"
#include "script/expressions.h"

#include <algorithm>
#include <array>
#include <string>

namespace orv {

namespace {

constexpr int32_t kMoveFrameMs = 30;

struct Move {
    int StartX = 0;
    int StartY = 0;
    int TargetX = 0;
    int TargetY = 0;
    int32_t Frames = 0;
};

bool IsInit(std::string_view field) {
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
        field.remove_suffix(1);
    }
    return cp932::EqualsIgnoreCase(field, "INIT");
}

int Between(int start, int target, int64_t t, int64_t frames) {
    return ClampCoordinate(start + (int64_t{target} - start) * t / frames);
}

} // namespace

void Graphics::MoveCharacters(std::string_view argument) {
    FieldList fields;
    int32_t count = SplitFields(argument, fields);
    if (count == 1) {
        if (IsInit(fields.Text(0))) {
            ResetCharacterPositions();
        }
        return;
    }
    if (count == 0 || count % 4 != 0) {
        return;
    }
    // One group of name, x, y and frames for each character; a scene holds at most four.
    int characters = std::min(count / 4, CharacterLayer::kMaxDrawn);
    m_engine.text.ForgetWindow();
    std::string list;
    for (int i = 0; i < characters; ++i) {
        if (i > 0) {
            list += ',';
        }
        list += fields.Text(i * 4);
    }
    SetCharacters(list);

    VariableStore& vars = m_engine.vars;
    int base = PositionBase(characters);
    std::array<Move, CharacterLayer::kMaxDrawn> moves{};
    int32_t longest = 0;
    for (int i = 0; i < characters; ++i) {
        Move& move = moves[static_cast<size_t>(i)];
        move.StartX = ClampCoordinate(vars.S(kPositionXCell + base + i));
        move.StartY = ClampCoordinate(vars.S(kPositionYCell + base + i));
        move.TargetX = ClampCoordinate(fields.Value(i * 4 + 1));
        move.TargetY = ClampCoordinate(fields.Value(i * 4 + 2));
        move.Frames = fields.Value(i * 4 + 3);
        longest = std::max(longest, move.Frames);
    }

    BlockingState& blocking = m_engine.blocking;
    InterruptibleScope interruptible(blocking);
    // S019 tells whether this move was cut short, not an earlier transition; a click that cut
    // that transition short (in the same step) has been answered and must not end the move.
    vars.S(cell::CutShort) = 0;
    if (blocking.InterruptRequest == 1) {
        blocking.InterruptRequest = 0;
    }
    StartFrameClock();
    int64_t t = 0;
    while (true) {
        if (blocking.InterruptRequest != 0) {
            // A click ends the move: every character goes to where the last frame puts it.
            // (Stepping one frame at a time to get there would take as long as the frame
            // count is large.)
            t = std::max<int64_t>(t, longest);
        }
        bool moving = false;
        for (int i = 0; i < characters; ++i) {
            const Move& move = moves[static_cast<size_t>(i)];
            int x = move.TargetX;
            int y = move.TargetY;
            if (move.Frames == 0) {
                x = move.StartX;
                y = move.StartY;
            } else if (t < move.Frames) {
                x = Between(move.StartX, move.TargetX, t, move.Frames);
                y = Between(move.StartY, move.TargetY, t, move.Frames);
                moving = true;
            }
            vars.S(kPositionXCell + base + i) = x;
            vars.S(kPositionYCell + base + i) = y;
        }
        if (blocking.InterruptRequest != 0) {
            vars.S(cell::CutShort) = 1;
        }
        ComposeScene();
        PresentWhole(SceneSurface);
        if (!moving) {
            break;
        }
        t += WaitFrames(kMoveFrameMs);
    }
    // The click has been answered; a close request stays for whoever asks the question.
    if (blocking.InterruptRequest == 1) {
        blocking.InterruptRequest = 0;
    }
    m_engine.text.BuildWindowPicture();
    BackBuffer.CopyFrom(SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
}

} // namespace orv
