// The picture commands of the script: what each does to the scene model, and the commands
// that draw straight onto the screen.
#include "base/cp932.h"
#include "engine/engine.h"
#include "gfx/scene_arguments.h"
#include "script/commands.h"
#include "script/dispatcher.h"

#include <algorithm>

namespace orv {

namespace {

// ptset draws this colour (red 0, green 255, blue 255) transparent.
constexpr uint8_t kTransparentBlue = 255;
constexpr uint8_t kTransparentGreen = 255;
constexpr uint8_t kTransparentRed = 0;

// direct waits in slices, so that input and timer ticks keep arriving meanwhile.
constexpr uint32_t kDirectWaitSliceMs = 10;

char FirstLetter(std::string_view name) {
    if (name.empty()) {
        return 0;
    }
    char c = name.front();
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Draws `from` of `source` at (x, y) of `target`, leaving out the transparent colour;
// clipped to both surfaces. Returns the rectangle of `target` it covered.
Rect CopyTransparent(Surface& target, const Surface& source, Rect from, int x, int y) {
    if (!ClipBlit(source, target, from, x, y)) {
        return {};
    }
    for (int row = 0; row < from.Height; ++row) {
        const uint8_t* in = source.Row(from.Y + row) + static_cast<size_t>(from.X) * 3;
        uint8_t* out = target.Row(y + row) + static_cast<size_t>(x) * 3;
        for (int column = 0; column < from.Width; ++column, in += 3, out += 3) {
            if (in[0] != kTransparentBlue || in[1] != kTransparentGreen ||
                in[2] != kTransparentRed) {
                out[0] = in[0];
                out[1] = in[1];
                out[2] = in[2];
            }
        }
    }
    return Rect{x, y, from.Width, from.Height};
}

} // namespace

void Graphics::PictureCommand(std::string_view argument, bool prepare) {
    Scene.PrepareFlag = prepare ? 1 : 0;
    RunPictureCommand(argument);
}

void Graphics::RunPictureCommand(std::string_view argument) {
    PictureArgument scanned = ScanPictureArgument(argument, true);
    switch (FirstLetter(scanned.Name)) {
    case 'A':
        BackgroundPicture(scanned.Name, scanned.Transition);
        break;
    case 'B':
        CharacterPicture(scanned.Name, scanned.Transition, scanned.Side);
        break;
    case 'S':
        SolidBackground(scanned.Name, scanned.Transition);
        break;
    default:
        break;
    }
}

void Graphics::ClearCharactersForBackground() {
    Characters.CharacterCount = 0;
    Characters.SetName(0, "");
    Characters.SetName(1, "");
    CopyName(Scene.CharacterDescription, "");
}

void Graphics::BackgroundPicture(std::string_view name, int32_t transition) {
    m_pictures.LoadBackground(cp932::UpperCase(name), BackgroundSurface);
    Scene.BackgroundChanged = true;
    CopyName(Scene.BackgroundName, name);
    if (Scene.PrepareFlag == 0 || transition > 0) {
        ClearCharactersForBackground();
        ShowScene(transition);
    }
}

void Graphics::CharacterPicture(std::string_view name, int32_t transition, char side) {
    std::string list;
    if (side != 0) {
        if (side == 'L') {
            Characters.SetName(0, name);
        } else {
            // A character on the right of one shown alone takes the pair's layout.
            if (Characters.CharacterCount == 1) {
                Characters.SetName(0, "");
            }
            Characters.SetName(1, name);
        }
        list = std::string(Characters.Name(0)) + "," + std::string(Characters.Name(1));
    } else {
        for (int position = 0; position < 4; ++position) {
            Characters.SetName(position, "");
        }
        list = std::string(name);
    }
    CopyName(Scene.CharacterDescription, list);
    if (m_engine.SkipActive == 2) {
        return;
    }
    SetCharacters(list);
    if (Scene.PrepareFlag == 0) {
        ShowScene(transition);
        Scene.PrepareFlag = 0;
    }
}

void Graphics::SolidBackground(std::string_view name, int32_t transition) {
    Scene.BackgroundChanged = true;
    BackgroundSurface.Fill(SolidColour(name));
    CopyName(Scene.BackgroundName, name);
    if (Scene.PrepareFlag != 0) {
        return;
    }
    ClearCharactersForBackground();
    ShowScene(transition);
    Scene.PrepareFlag = 0;
}

void Graphics::BackgroundCommand(std::string_view argument) {
    PictureArgument scanned = ScanPictureArgument(argument, false);
    m_pictures.LoadBackground(cp932::UpperCase(scanned.Name), BackgroundSurface);
    Scene.BackgroundChanged = true;
    CopyName(Scene.BackgroundName, scanned.Name);
    if (Scene.PrepareFlag == 0) {
        ClearCharactersForBackground();
        ShowScene(scanned.Transition);
    }
}

void Graphics::ClearPictures(std::string_view argument) {
    ClearArgument scanned = ScanClearArgument(argument);
    if (scanned.Side != 0) {
        Characters.SetName(scanned.Side == 'L' ? 0 : 1, "");
        std::string pair = std::string(Characters.Name(0)) + "," + std::string(Characters.Name(1));
        CopyName(Scene.CharacterDescription, pair);
    } else {
        Characters.SetName(0, "");
        Characters.SetName(1, "");
        Characters.CharacterCount = 0;
        CopyName(Scene.CharacterDescription, "");
    }
    ShowScene(scanned.Transition);
}

void Graphics::CharacterCommand(std::string_view argument) {
    ShowScene(SetCharacters(TrimEnd(argument)));
}

void Graphics::OverlayCommand(std::string_view argument) {
    OverlayArgument scanned = ScanOverlayArgument(argument);
    CopyName(Scene.OverlayName, scanned.Name);
    VariableStore& vars = m_engine.vars;
    if (scanned.Off) {
        vars.S(cell::OverlayShown) = 0;
    } else {
        m_pictures.LoadPicture(scanned.Name, OverlaySurface);
        vars.S(cell::OverlayShown) = 1;
    }
    if (scanned.X) {
        vars.S(cell::OverlayX) = *scanned.X;
    }
    if (scanned.Y) {
        vars.S(cell::OverlayY) = *scanned.Y;
    }
    ShowScene(scanned.Transition);
}

void Graphics::FixScreen() {
    SceneSurface.CopyFrom(m_paintBox, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    m_engine.vars.S(cell::OverlayWeight) = 0;
    BackBuffer.CopyFrom(SceneSurface, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
}

void Graphics::PartsLoad(std::string_view argument) {
    m_pictures.LoadLayerPicture(CommaField(argument, 0).value_or(""), PartsSurface);
    if (auto second = CommaField(argument, 1)) {
        m_pictures.LoadLayerPicture(*second, WorkSurface);
        m_engine.vars.S(cell::SecondPartsSheet) = 1;
    } else {
        m_engine.vars.S(cell::SecondPartsSheet) = 0;
    }
}

void Graphics::PartsSet(std::string_view argument) {
    int32_t values[6] = {};
    size_t pos = 0;
    for (int32_t& value : values) {
        if (pos > argument.size()) {
            break;
        }
        ExpressionValue evaluated =
            m_engine.dispatcher.expressions.EvaluatePrefix(argument.substr(pos));
        value = ClampCoordinate(evaluated.Value);
        pos += evaluated.End;
        // Only a comma leads on to the next expression.
        pos = pos < argument.size() && argument[pos] == ',' ? pos + 1 : argument.size() + 1;
    }
    Rect from{values[0], values[1], values[2] - values[0], values[3] - values[1]};
    Rect drawn = CopyTransparent(m_paintBox, PartsSurface, from, values[4], values[5]);
    if (drawn.Width > 0) {
        m_engine.Host().Present(m_paintBox, drawn, drawn.X, drawn.Y);
    }
}

void Graphics::DirectPicture(std::string_view argument) {
    DirectArgument scanned = ScanDirectArgument(argument);
    Platform& host = m_engine.Host();
    m_engine.ScriptRunning = 0;
    uint32_t start = host.GetTickCount();
    m_pictures.LoadPicture(scanned.Name, PartsSurface);
    Present(PartsSurface, Rect{0, 0, PartsSurface.Width(), PartsSurface.Height()},
            ClampCoordinate(scanned.X), ClampCoordinate(scanned.Y));
    int64_t wait = scanned.Milliseconds;
    while (true) {
        host.PumpMessages();
        uint32_t elapsed = host.GetTickCount() - start;
        if (elapsed >= wait) {
            break;
        }
        host.Sleep(std::min<uint32_t>(static_cast<uint32_t>(wait - elapsed), kDirectWaitSliceMs));
    }
    m_engine.ScriptRunning = 1;
}

void Graphics::WipeSet(std::string_view name) {
    // The wipe blends whole screens through the mask, so the mask stays screen-sized: a
    // picture of another size lies at its top left, black (changing last) around it.
    if (!m_pictures.LoadPicture(name, m_loaded)) {
        return;
    }
    WipeMaskSurface.Fill(0);
    WipeMaskSurface.CopyFrom(m_loaded, Rect{0, 0, m_loaded.Width(), m_loaded.Height()}, 0, 0);
}

void Graphics::UnlockAllPictures() {
    std::span<const std::string> list = m_engine.screens.gallery.PictureList();
    int count = static_cast<int>(std::min<size_t>(list.size(), VariableStore::kPictureBits));
    for (int n = 0; n < count; ++n) {
        m_engine.vars.SetPictureUnlockedBit(n, true);
    }
}

} // namespace orv
