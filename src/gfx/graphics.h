#pragma once
// The screen surfaces and the scene. BackBuffer is the screen as shown; the paint box only
// ever receives copies of it.

#include "gfx/surface.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Engine;

// The background loop animation started by bg_anim.
struct FrameLoop {
    bool Active = false;
    int32_t Count = 0;
    int32_t Period = 1;
    int32_t Index = 0;
};

class Graphics {
public:
    explicit Graphics(Engine& engine) : m_engine(engine) {}

    // The 800 by 600 screen surfaces, allocated once for the whole run.
    void CreateSurfaces() { BackBuffer.Allocate(kScreenWidth, kScreenHeight); }
    void LoadSystemPictures() {}
    // MoveCharacters with INIT: the character slots back to their start positions.
    void ResetCharacterPositions() {}
    bool MangaSymbolShown() const { return false; }
    void MangaSymbolTick() {}
    // Shows the current frame of the loop animation once the effect scripts land.
    void ShowLoopFrame() {}
    // The scene picture without the message window, for the hidden-window mode.
    const Surface& SceneWithoutWindow() const { return BackBuffer; }

    // Entry points of the script commands; the argument is the command's text after its
    // word. Each does nothing until the scene, transitions, animations or effect scripts
    // land.
    // gra and grb: a background, characters or a solid colour, then the transition;
    // `prepare` (grb) composes without showing.
    void PictureCommand(std::string_view /*argument*/, bool /*prepare*/) {}
    void BackgroundCommand(std::string_view /*argument*/) {}   // bg
    void ClearPictures(std::string_view /*argument*/) {}       // clrb
    void CharacterCommand(std::string_view /*argument*/) {}    // spr and char
    void PartsSet(std::string_view /*argument*/) {}            // ptset
    void PartsLoad(std::string_view /*argument*/) {}           // partsload
    void DirectPicture(std::string_view /*argument*/) {}       // direct
    void OverlayCommand(std::string_view /*argument*/) {}      // ovr
    void FixScreen() {}                                        // fix
    void WipeSet(std::string_view /*name*/) {}                 // wipeset
    void UnlockAllPictures() {}                                // cgfull
    void MoveCharacters(std::string_view /*argument*/) {}      // sprmv
    void BackgroundLoop(std::string_view /*argument*/) {}      // bg_anim
    void PlayAnimation(std::string_view /*name*/) {}           // anim
    void PlayEnlargedAnimation(std::string_view /*name*/) {}   // animq
    void ObjectControl(std::string_view /*argument*/) {}       // obj_
    void ShakeScreen(std::string_view /*argument*/) {}         // shake
    void ScrollPicture(std::string_view /*argument*/) {}       // scroll
    void RunEffect(std::string_view /*name*/) {}               // effect
    void PlayEffectAnimation(std::string_view /*argument*/) {} // efxanim
    void ShowMangaSymbol(std::string_view /*argument*/) {}     // manpu
    void RunTransition(int32_t /*pattern*/) {}                 // fadein, mode
    void SepiaEffect() {}                                      // special 3 and 4

    Surface BackBuffer;
    FrameLoop Loop;

private:
    [[maybe_unused]] Engine& m_engine;
};

} // namespace orv
