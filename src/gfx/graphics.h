#pragma once
// The screen surfaces and the scene. BackBuffer is the screen as shown; the paint box only
// ever receives copies of it (or of the scene, or of the pictures that ptset and direct
// draw straight onto the screen).

#include "base/zeroed_array.h"
#include "gfx/animation.h"
#include "gfx/background_loop.h"
#include "gfx/character_layer.h"
#include "gfx/object_slots.h"
#include "gfx/pictures.h"
#include "gfx/scene.h"
#include "gfx/surface.h"
#include "gfx/transitions.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

class Graphics {
public:
    explicit Graphics(Engine& engine);
    ~Graphics();
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
    // ---- The manga symbol of `manpu` (manga_symbol.cpp), drawn over the scene on PB.
    bool MangaSymbolShown() const { return m_symbol.Enabled; }
    // Every timer tick while it is shown: mode 2 blinks it.
    void MangaSymbolTick();
    // Takes the manga symbol off the screen before the scene is presented again.
    void RemoveMangaSymbol();
    // ---- The background loop of bg_anim (background_loop.cpp).
    // The main loop's step: the frame at the current position onto PB.
    void ShowLoopFrame();
    // Every frame's window area back as it was stored, and BackBuffer the current frame: what
    // PresentFrame does instead of copying the scene while the loop runs.
    void RefreshLoopFrames();
    // The loop stopped where nothing adopts its frame (the title return, a load).
    void StopBackgroundLoop();
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
    // The same surface, for a frame drawn whole and then presented from it (PresentWhole of
    // it copies nothing): fades draw there rather than on WorkSurface and a copy.
    Surface& PaintBoxCanvas() { return m_paintBox; }

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
    // False when nothing can look at PB while an effect runs (a headless run without a play
    // file): the cross-fades then blend only their last frame. The clock, the input and the
    // end state stay as when every frame is drawn.
    bool FramesWatched = true;
    // Sleeps until the tick count reaches `deadline` (nothing when it has), then pumps.
    void WaitUntilTick(uint32_t deadline);

    // ---- Transitions (transitions.cpp). Each animates PreviousSurface into BackBuffer on
    // PB and ends with PB showing BackBuffer; a click or a close request (InterruptRequest)
    // jumps to that end.
    // Pattern n (0..22), or a cross-fade of n ms for n >= 128; negative n is pattern 1.
    // Sets S019 when a click cut the pattern short; S016 (its speed) is spent by it.
    void RunTransition(int32_t pattern);
    // A cross-fade advancing `step` of 256 every `interval` ms.
    void TimedCrossFade(int32_t step, int32_t interval);
    // The cross-fades of the page change (1), the map screens (3, 4) and the rest.
    void FadeKind(int32_t kind);
    // A cross-fade that starts at weight 48; only a close request ends it early.
    void SoftFadeIn();
    // `source` in blocks of `block` pixels, through WorkSurface onto PB.
    void Mosaic(const Surface& source, int block);

    // ---- Screen effects (screen_effects.cpp).
    // BackBuffer on PB moved by (dx, dy), the uncovered strips black.
    void DrawShifted(int dx, int dy);
    // The picture inside PB jumping up and down by 20 pixels, ten times, as `special 1`
    // shakes the window where the window cannot be moved.
    void ShakePicture();
    // The scene turned sepia and faded in (special 3 and 4).
    void SepiaEffect();

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

    void ShakeScreen(std::string_view argument);     // shake (screen_effects.cpp)
    void ScrollPicture(std::string_view argument);   // scroll (scroll_picture.cpp)
    void ShowMangaSymbol(std::string_view argument); // manpu (manga_symbol.cpp)
    void BackgroundLoop(std::string_view argument);      // bg_anim (background_loop.cpp)
    void RunEffect(std::string_view name);               // effect (effect_script.cpp)
    void PlayEffectAnimation(std::string_view argument); // efxanim (effect_animation.cpp)
    // anim and animq: name[,x[,y[,skip]]] (animation.cpp). The last frame stays in
    // BackBuffer after anim; animq leaves BackBuffer white.
    void PlayAnimation(std::string_view argument);
    void PlayEnlargedAnimation(std::string_view argument);
    void ObjectControl(std::string_view argument); // obj_ (object_slots.cpp)

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
    // The manga symbol: its picture (colour left, mask right), the scene under it and the
    // two drawn together, and where they were put.
    struct MangaSymbol {
        bool Enabled = false;
        int32_t Mode = 0; // 0 drawn once, 1 also into BackBuffer, 2 blinking
        int X = 0;
        int Y = 0;
        Surface Picture;
        Surface Backdrop;
        Surface Composed;
    };

    void PrepareWorkSurface();
    void TimedTransition(int32_t ms);
    // Draws pattern n; true when a request cut it short.
    bool RunPattern(int32_t n, const SpeedRow& speed);
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
    ZeroedObject<TransitionScratch> m_transitionScratch;
    MangaSymbol m_symbol;
    Surface m_scrollPicture; // the picture of `scroll`, while it scrolls
    Surface m_loaded;        // a picture before it is fitted to a screen surface
    AnimationBuffers m_animation;
    ObjectSlots m_objects;
};

} // namespace orv
