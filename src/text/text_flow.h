#pragma once
// The message window and the typing of script text: the page and its layouts (the window
// over the scene, or novel mode over the whole dimmed screen), the typing loop with its
// special characters and inline tags, line breaks, the speaker-name plate, waits and the
// click-wait icon, the window's fades, and the rules of auto and skip mode.

#include "gfx/surface.h"
#include "text/glyphs.h"
#include "text/text_hook.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace orv {

class Engine;
class SaveIo;

struct TextPosition {
    int X = 0;
    int Y = 0;
};

class TextFlow {
public:
    static constexpr int kPageRows = 20;
    static constexpr int kPageColumns = 100;
    static constexpr size_t kSpeakerNameSize = 20;

    explicit TextFlow(Engine& engine);

    // ---- Start-up.
    // The font from the settings, the cell surfaces and the empty glyph cache.
    void CreateFont();
    // The window, name-plate, icon and external-character pictures, then the pre-rendered
    // glyphs.
    void LoadSystemPictures();

    // ---- Text state.
    // The text state as after a script load: empty page, delay 1.
    void ResetTextState();
    // The text state, and no window on the screen (start-up).
    void Reset();
    // The scene was drawn over the window (ovr, sprmv): it no longer counts as shown, and the
    // next text opens it again.
    void ForgetWindow() { WindowShown = 0; }
    // tw_set: the page cleared and the window taken as shown or not, nothing drawn.
    void SetWindowShown(bool shown);
    // Clears the text state without drawing.
    void ResetPage();
    // Clears the page and makes sure the window is shown.
    void NewPage();
    // Text colour number n (colour 0 is S037).
    void SetTextColour(int32_t colour);

    // ---- The script step.
    // Types the current line from LinePos. True when the line is complete and the step may
    // fetch the next one in the same pass (skip mode).
    bool TypeText();
    // A speaker-name line in novel mode, typed like text from its second byte.
    bool TypeNovelSpeakerName();
    // A speaker-name line in window mode, drawn on the name plate.
    void DrawSpeakerLine(std::string_view line);
    // An empty line: the next text row.
    void AdvanceRow();
    // The page-end and line-end lines '\', '~', '+' and '='.
    void PageEndLine(char mark);

    // ---- The window.
    void OpenWindow();  // win_open
    void CloseWindow(); // win_close
    // The return to the title: the window back at its first position, and closed.
    void ResetWindow();
    // The novel-mode screen: the dimmed scene that text is typed over.
    void PrepareNovelScreen();
    // After the scene was composed into SceneSurface (and, in window mode, copied into
    // BackBuffer): the window picture is built anew and, when the window is shown, the window
    // and the page are drawn into BackBuffer. PB is left to the caller's transition.
    void PresentWindow();
    // The window's backdrop built anew from SceneSurface, without drawing.
    void BuildWindowPicture();
    // The window picture onto `target` at the window's origin.
    void DrawWindowInto(Surface& target);
    // Every character of the page again, on BackBuffer and PB (after transitions).
    void RedrawPage();
    void DrawSpeakerName(std::string_view name);
    // Selects the window's top by S079; with `toggle` flips S079 and redraws.
    void SetWindowPosition(bool toggle);
    // The origin of the message window on the screen.
    TextPosition WindowOrigin() const;

    // ---- Waits, clicks, icon.
    void AnimateClickWaitIcon();
    void EraseClickIcon();
    // Sets AutoWaitTicks for the wait that begins.
    void StartAutoWait();
    // A click while a page or line wait is pending: a page wait starts a new page, a line
    // wait takes the icon away; the wait ends. For the input handlers.
    void ContinueWait();
    // A click while characters are still being typed: the rest up to the next wait is
    // typed at once. For the input handlers.
    void ClickWhileTyping();

    // Text on PB alone ending at x = `right`, as a canvas draws it: BackBuffer keeps the
    // screen without it, so the next redraw of the area takes it away.
    void DrawTextRightAlignedOnPaintBox(std::string_view text, int32_t right, int32_t y,
                                        int32_t height, uint32_t colour);
    // Canvas text (no shadow, no cell) `height` pixels high with its top left at (x, y) of
    // `target`, and the width it takes.
    void DrawCanvasText(Surface& target, std::string_view text, int32_t x, int32_t y,
                        int32_t height, uint32_t colour);
    int32_t CanvasTextWidth(std::string_view text, int32_t height);
    // Text in glyph cells centred on `centre` at row y of `target`, in colour number
    // `colour`: with the text pitch of the layout, or with `pitch` pixels a byte.
    void DrawTextCentred(std::string_view text, int32_t centre, Surface& target, int32_t colour,
                         int32_t y);
    void DrawTextCentredPitch(Surface& target, std::string_view text, int32_t centre, int32_t y,
                              int32_t pitch, int32_t colour);
    // The text row the next character goes to.
    int32_t CurrentTextRow() const { return TextRow; }
    // After the settings dialog changed the window look: the frame from sys_tw and sys_tw1
    // in the new tint, the window picture and its cache, the font's face, size and weight,
    // and the glyph cache with the external characters in it again.
    void RebuildWindowLook();

    // Where the character at (column, row) goes in the current layout.
    TextPosition CellPosition(int32_t column, int32_t row) const;

    // A saved game keeps the page, its place on it and the window's state.
    void Exchange(SaveIo& io);

    // Every committed text line as UTF-8 (--texthook, the desktop's clipboard choice).
    void SetTextHook(TextHookSink sink) { m_hook.SetSink(std::move(sink)); }

    Glyphs glyphs;

    int Delay = 0; // typewriter delay from the settings: 0 types character by character

    // The message window is on the screen.
    uint8_t WindowShown = 0;

    // Text state.
    int32_t TextColumn = 0; // bytes
    int32_t TextRow = 0;
    std::array<std::array<char, kPageColumns>, kPageRows> PageText{};
    // The colour number each byte of PageText was typed in; saved games keep it.
    std::array<std::array<uint8_t, kPageColumns>, kPageRows> PageColours{};
    // The name on the name plate, as the speaker line gave it.
    char SpeakerName[kSpeakerNameSize] = {};
    bool PageEmpty = true;
    int32_t PageChars = 0;
    bool WideSpacing = false;
    int32_t CurrentColour = 0;
    int32_t CharDelay = 1;
    bool ShowAllNow = false;
    bool NovelName = false;
    bool IconShown = false;
    int32_t IconFrameCounter = 0;
    bool WindowCacheValid = false;

    Surface WindowPicture;
    Surface WindowPictureCache;
    Surface NovelBackdrop;
    Surface NamePlateBackground;
    Surface NamePlateSurface;

private:
    // Rows and characters stop counting far past any page, so that a script that never
    // starts a new page cannot overflow them.
    static constexpr int32_t kMaxCount = 1 << 24;
    void NextRow() { TextRow = TextRow < kMaxCount ? TextRow + 1 : TextRow; }

    bool NovelMode() const;
    bool Typewriter() const;
    bool Skipping() const;
    int32_t LineLimit() const;

    // The line from LinePos to its NUL (or the buffer's end).
    std::string_view LineRest() const;
    // `area` of `source` onto PB at the same place, clipped to the screen.
    void PresentArea(const Surface& source, Rect area);
    // What PB shows of the screen: BackBuffer, or the current frame of a running background
    // loop, which receives everything drawn into BackBuffer as well.
    const Surface& ShownScreen();
    // `from` of `source` at (x, y) of BackBuffer and of every frame of a running loop.
    void CopyToScreens(const Surface& source, Rect from, int x, int y);
    // Each loop frame's own window picture onto the frame at the window's origin.
    void DrawWindowOnLoopFrames();
    // The current glyph at (x, y) of BackBuffer and of every loop frame.
    void CompositeGlyphOnScreens(int x, int y);

    // Typing (type_text.cpp).
    enum class Flow { Next, EndStep, LineDone };
    Flow TypeOne();
    Flow SpecialCharacter(uint16_t code, size_t length);
    Flow InlineTag();
    Flow Ruby();
    Flow EndOfLine();
    void InsertIntoText(std::string_view text);
    bool PacesAfterCharacter() const;
    void StartLineWait();
    void StartPageWait(int32_t kind, bool snapshot);

    // A character onto the page (text_placement.cpp); false when it was dropped.
    bool DrawCharacter(std::string_view bytes, uint16_t code);
    void DrawGlyphToScreen(int x, int y);
    void DrawPageCharacters(bool toPaintBox);

    // The log and the text hook.
    void AppendLog(std::string_view bytes);
    void CommitLogLine();

    // The window (window_picture.cpp, window_fades.cpp).
    void LoadFramePicture();
    // The message font from the settings, and the glyphs cached before any text.
    void OpenFont();
    void CacheFixedGlyphs();
    void RecolourFrame();
    void ShowWindowFaded();
    void CrossFade(const Surface& from, const Surface& to);
    void RestorePlateArea();
    // The name plate drawn into BackBuffer, and onto PB when `toPaintBox`.
    void DrawNamePlate(std::string_view name, bool toPaintBox);
    TextPosition PlatePosition() const;

    Engine& m_engine;
    TextHook m_hook;
    Surface m_frame;         // sys_tw: colours over the opacity mask
    Surface m_frameTemplate; // sys_tw1
    Surface m_plate;         // sys_np
    Surface m_icon;          // sys_clickw: frames side by side, colours over masks
    Surface m_iconWork;
    Surface m_externalCharacters; // sys_gaiji
    // A screen-sized work surface: the screen a window fade starts from, the paint box under
    // text drawn on it alone.
    Surface m_screenScratch;
    TextPosition m_iconAt;
};

} // namespace orv
