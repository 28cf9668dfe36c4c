#pragma once
// The screen surfaces and the scene. BackBuffer is the screen as shown; the paint box only
// ever receives copies of it (or of the scene, or of the pictures that ptset and direct
// draw straight onto the screen).

#include "gfx/character_layer.h"
#include "gfx/pictures.h"
#include "gfx/scene.h"
#include "gfx/surface.h"

#include <cstdint>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

// The background loop animation started by bg_anim.
struct FrameLoop {
    bool Active = false;
    int32_t Count = 0;
    int32_t Period = 1;
    int32_t Index = 0;
};

class Graphics {
public:
    explicit Graphics(Engine& engine);
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // The 800 by 600 screen surfaces and the character cache, allocated once for the run.
    void CreateSurfaces();
    void LoadSystemPictures() {}
    // The composite tables `_bgset` and `_sprset`, once the archives are open.
    void LoadPictureSets();
    // MoveCharacters with INIT: the position table back to its defaults.
    void ResetCharacterPositions();
    // The return to the title: the background loop stopped and the overlay taken away.
    void Reset();
    // A saved game keeps the names of the pictures in use.
    void Exchange(SaveIo& io);
    bool MangaSymbolShown() const { return false; }
    void MangaSymbolTick() {}
    // Takes the manga symbol off the screen before the scene is presented again.
    void RemoveMangaSymbol() {}
    // Shows the current frame of the loop animation once the effect scripts land.
    void ShowLoopFrame() {}
    // The scene picture without the message window, for the hidden-window mode.
    const Surface& SceneWithoutWindow() const { return SceneSurface; }

    // ---- The paint box. Every picture the engine puts on PB goes through these two, so
    // that `fix` can adopt what PB shows after ptset and direct drew on it.
    void Present(const Surface& source, Rect from, int x, int y);
    void PresentWhole(const Surface& source) {
        Present(source, Rect{0, 0, kScreenWidth, kScreenHeight}, 0, 0);
    }
    void FillPaintBox(uint32_t bgr);
    // What PB shows, as far as the engine drew it.
    const Surface& PaintBoxCopy() const { return m_paintBox; }

    // ---- The scene (scene.cpp).
    // Composes the model and presents it with transition n; 0 shows nothing.
    void ShowScene(int32_t transition);
    // Background, overlay and characters into SceneSurface.
    void ComposeScene();
    // SceneSurface into BackBuffer, then the message window.
    void PresentFrame();
    // After a load: the pictures of the saved scene description, nothing shown.
    void RestoreScene();
    // Sets the positions from a character list; returns its transition number (1 when it
    // names none, 0 for an empty list).
    int32_t SetCharacters(std::string_view list);

    // ---- Effect timing (frame_clock.cpp): the clock every animated effect paces itself by.
    void StartFrameClock();
    // Pumps messages and sleeps to the next multiple of `interval` ms on the frame clock;
    // returns how many frames have passed (more than 1 when the machine fell behind).
    int32_t WaitFrames(int32_t interval);

    // ---- Entry points of the script commands; the argument is the command's text after
    // its word (scene_commands.cpp, character_move.cpp).
    // gra and grb: a background, characters or a solid colour, then the transition;
    // `prepare` (grb) sets the prepare flag, gra clears it.
    void PictureCommand(std::string_view argument, bool prepare);
    // The same without touching the prepare flag (fadeout).
    void RunPictureCommand(std::string_view argument);
    void BackgroundCommand(std::string_view argument); // bg
    void ClearPictures(std::string_view argument);     // clrb
    void CharacterCommand(std::string_view argument);  // spr and char
    void PartsSet(std::string_view argument);          // ptset
    void PartsLoad(std::string_view argument);         // partsload
    void DirectPicture(std::string_view argument);     // direct
    void OverlayCommand(std::string_view argument);    // ovr
    void FixScreen();                                  // fix
    void WipeSet(std::string_view name);               // wipeset
    void UnlockAllPictures();                          // cgfull
    void MoveCharacters(std::string_view argument);    // sprmv

    // Each of these does nothing until transitions, animations or effect scripts land.
    void BackgroundLoop(std::string_view /*argument*/) {}      // bg_anim
    void PlayAnimation(std::string_view /*name*/) {}           // anim
    void PlayEnlargedAnimation(std::string_view /*name*/) {}   // animq
    void ObjectControl(std::string_view /*argument*/) {}       // obj_
    void ShakeScreen(std::string_view /*argument*/) {}         // shake
    void ScrollPicture(std::string_view /*argument*/) {}       // scroll
    void RunEffect(std::string_view /*name*/) {}               // effect
    void PlayEffectAnimation(std::string_view /*argument*/) {} // efxanim
    void ShowMangaSymbol(std::string_view /*argument*/) {}     // manpu
    void SepiaEffect() {}                                      // special 3 and 4
    // Animates PreviousSurface into BackBuffer on PB with pattern n. Until the transitions
    // land it shows BackBuffer at once, with the bookkeeping of a finished transition.
    void RunTransition(int32_t pattern); // fadein, mode

    // ---- The panic screen of the right-click action (panic_screen.cpp).
    void ShowPanicScreen();
    void HidePanicScreen();
    bool PanicScreenShown() const { return m_panicShown; }

    Pictures& PictureLoader() { return m_pictures; }

    Surface BackgroundSurface; // the background layer
    Surface SceneSurface;      // background, overlay and characters; no message window
    Surface BackBuffer;        // the screen as it should look
    Surface PreviousSurface;   // the screen before a transition
    Surface WorkSurface;       // blend results of effects; the second sheet of partsload
    Surface WipeMaskSurface;   // the mask of the wipe transition (wipeset)
    Surface OverlaySurface;    // the ovr picture
    Surface ScratchSurface;    // a side-by-side character picture before it is split
    Surface PartsSurface;      // the parts sheet of partsload and ptset, the picture of direct

    SceneDescription Scene;
    CharacterLayer Characters;
    FrameLoop Loop;
    uint32_t FrameClock = 0; // milliseconds of timeGetTime

private:
    void DrawOverlay();
    void DrawCharacter(int position, int x, int y);
    void DrawComposite(std::string_view name, int x, int y);
    CharacterPictureLoader CharacterLoader();
    // Empties the characters that a new background replaces.
    void ClearCharactersForBackground();
    void BackgroundPicture(std::string_view name, int32_t transition);
    void CharacterPicture(std::string_view name, int32_t transition, char side);
    void SolidBackground(std::string_view name, int32_t transition);

    Engine& m_engine;
    Pictures m_pictures;
    Surface m_paintBox;    // what PB shows
    Surface m_partPicture; // an offset part of a composite character, not cached
    Surface m_partMask;
    Surface m_panicKept; // BackBuffer while the panic screen covers it
    bool m_panicShown = false;
};

} // namespace orv
