// Page review: snapshots of the message page taken at its waits, and the earlier pages shown
// again one at a time over the scene they had, with their first voice.
#include "engine/engine.h"
#include "text/backlog.h"
#include "text/text_rules.h"

#include <algorithm>
#include <cstring>

namespace orv {

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;
// The text of an earlier page is drawn in palette colour 4.
constexpr int32_t kReviewTextColour = 4;
// The first voice of a page names at most this many bytes.
constexpr size_t kMaxVoiceName = 128;

const Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

int32_t& PositionCell(VariableStore& vars, int i) {
    return vars.S(i < PageSnapshot::kPositions ? cell::PositionX + i
                                               : cell::PositionY + i - PageSnapshot::kPositions);
}

} // namespace

void Backlog::TakePageSnapshot(bool provisional) {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    PageSnapshot& page = Rewind.NextSlot();
    page.PageText = e.text.PageText;
    // The two names fit whole: 29 and 59 bytes at most.
    const SceneDescription& model = e.gfx.Scene;
    std::string_view background = FieldText(model.BackgroundName);
    std::string_view characters = FieldText(model.CharacterDescription);
    static_assert(sizeof model.BackgroundName + sizeof model.CharacterDescription <=
                  PageSnapshot::kSceneSize);
    std::fill(std::begin(page.Scene), std::end(page.Scene), '\0');
    std::memcpy(page.Scene, background.data(), background.size());
    page.Scene[background.size()] = ',';
    std::memcpy(page.Scene + background.size() + 1, characters.data(), characters.size());
    page.OverlayWeight = vars.S(cell::OverlayWeight);
    page.LayoutFlag = vars.S(cell::NovelMode);
    vars.S(cell::ProvisionalSnapshot) = 0;
    for (int i = 0; i < PageSnapshot::kPositions; ++i) {
        page.PositionsX[static_cast<size_t>(i)] = vars.S(cell::PositionX + i);
        page.PositionsY[static_cast<size_t>(i)] = vars.S(cell::PositionY + i);
    }
    CopyName(page.Voices, FieldText(e.sound.PageVoices));
    // The page goes on after a line wait: its voices so far stay for its final snapshot.
    if (!provisional) {
        std::fill(std::begin(e.sound.PageVoices), std::end(e.sound.PageVoices), '\0');
    }
    Rewind.Advance();
    if (provisional) {
        vars.S(cell::ProvisionalSnapshot) = 1;
        Rewind.Retreat();
    }
}

void Backlog::KeepSceneForRewind() {
    Engine& e = m_engine;
    m_kept.Background.CopyFrom(e.gfx.BackgroundSurface, kWholeScreen, 0, 0);
    for (int i = 0; i < 2 * PageSnapshot::kPositions; ++i) {
        m_kept.Positions[static_cast<size_t>(i)] = PositionCell(e.vars, i);
    }
    m_kept.Characters = FieldText(e.gfx.Scene.CharacterDescription);
    m_kept.TextColourZero = e.vars.S(cell::TextColourZero);
    m_kept.TextColour = e.text.glyphs.TextColour();
    m_kept.Valid = true;
}

void Backlog::EnterRewind() {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    int32_t provisional = vars.S(cell::ProvisionalSnapshot);
    if (vars.S(cell::SavingAllowed) == 0 || e.screens.Mode() != screen_mode::Game ||
        e.screens.BacklogOpen() || !Rewind.HasPage(provisional, 2)) {
        return;
    }
    SavedLayoutFlag = vars.S(cell::NovelMode);
    KeepSceneForRewind();
    e.MenusLocked = 1;
    e.UpdateMenus();
    RewindDepth = 2;
    e.screens.Open(e.screens.pageReview);
    ShowRewindPage(Rewind.SlotAt(provisional, RewindDepth));
}

void Backlog::StepRewind(int32_t direction) {
    Engine& e = m_engine;
    if (!e.screens.IsOpen(e.screens.pageReview)) {
        return;
    }
    int32_t provisional = e.vars.S(cell::ProvisionalSnapshot);
    if (direction == rewind::Back) {
        if (RewindDepth >= kMaxDepth || !Rewind.HasPage(provisional, RewindDepth + 1)) {
            return;
        }
        ++RewindDepth;
    } else if (direction == rewind::Forward) {
        if (--RewindDepth <= 1) {
            LeaveRewind();
            return;
        }
    } else {
        return;
    }
    ShowRewindPage(Rewind.SlotAt(provisional, RewindDepth));
}

void Backlog::ShowRewindPage(int32_t slot) {
    Engine& e = m_engine;
    Graphics& gfx = e.gfx;
    VariableStore& vars = e.vars;
    const PageSnapshot& page =
        Rewind.Pages[static_cast<size_t>(std::clamp(slot, 0, RewindRing::kPages - 1))];

    std::string_view scene = FieldText(page.Scene);
    size_t split = std::min(scene.find_first_of(",:"), scene.size());
    std::string_view background = scene.substr(0, split);
    std::string_view characters = scene.substr(std::min(split + 1, scene.size()));
    if (!background.empty()) {
        gfx.PictureLoader().LoadBackground(background, gfx.BackgroundSurface);
    }
    for (int i = 0; i < PageSnapshot::kPositions; ++i) {
        vars.S(cell::PositionX + i) = page.PositionsX[static_cast<size_t>(i)];
        vars.S(cell::PositionY + i) = page.PositionsY[static_cast<size_t>(i)];
    }
    gfx.SetCharacters(characters);
    gfx.ComposeScene();
    vars.S(cell::NovelMode) = page.LayoutFlag;

    TextFlow& text = e.text;
    text.WindowCacheValid = false;
    text.BuildWindowPicture();
    if (page.LayoutFlag != 0) {
        gfx.BackBuffer.CopyFrom(text.NovelBackdrop, kWholeScreen, 0, 0);
    } else {
        gfx.BackBuffer.CopyFrom(gfx.SceneSurface, kWholeScreen, 0, 0);
        text.DrawWindowInto(gfx.BackBuffer);
        const auto& name = page.PageText[0];
        std::string_view speaker(name.data(), ::strnlen(name.data(), name.size()));
        if (!speaker.empty()) {
            text.DrawSpeakerName(speaker);
        }
    }
    DrawRewindText(page);

    std::string_view voices = FieldText(page.Voices);
    std::string_view voice =
        voices.substr(0, std::min({voices.find(' '), voices.size(), kMaxVoiceName}));
    if (!voice.empty()) {
        e.sound.PlaySoundByName(voice);
    }
    gfx.PresentWhole(gfx.BackBuffer);
}

void Backlog::DrawRewindText(const PageSnapshot& page) {
    Engine& e = m_engine;
    const GameConfig& config = e.config;
    bool novel = page.LayoutFlag != 0;
    // The layout's rows and its characters a row, with room for the two bytes a row may
    // take past its limit; never past what the page holds.
    int rows = std::clamp(novel ? config.MOJI_MAX2_Y : config.MOJI_MAX_Y, 0, PageSnapshot::kRows);
    int perRow = static_cast<int>(std::clamp<int64_t>(
        int64_t{novel ? config.MOJI_MAX2_X : config.MOJI_MAX_X} + 2, 0, PageSnapshot::kColumns));
    TextFlow& text = e.text;
    Glyphs& glyphs = text.glyphs;
    Surface& back = e.gfx.BackBuffer;
    text.SetTextColour(kReviewTextColour);
    // In the window layout row 0 is the speaker's name, drawn on its plate.
    for (int row = novel ? 0 : 1; row < rows; ++row) {
        const auto& bytes = page.PageText[static_cast<size_t>(row)];
        int column = 0;
        while (column < perRow) {
            auto b = static_cast<uint8_t>(bytes[static_cast<size_t>(column)]);
            if (b == 0) {
                ++column;
                continue;
            }
            int length = StartsDoubleByte(b) && column + 1 < PageSnapshot::kColumns ? 2 : 1;
            glyphs.RenderGlyph(
                length == 2
                    ? static_cast<uint16_t>(
                          b << 8 | static_cast<uint8_t>(bytes[static_cast<size_t>(column) + 1]))
                    : b);
            TextPosition at = text.CellPosition(column, row);
            glyphs.CompositeGlyph(back, at.X, at.Y);
            column += length;
        }
    }
    text.SetTextColour(0);
}

void Backlog::RestoreKeptScene() {
    Engine& e = m_engine;
    VariableStore& vars = e.vars;
    if (m_kept.Valid) {
        for (int i = 0; i < 2 * PageSnapshot::kPositions; ++i) {
            PositionCell(vars, i) = m_kept.Positions[static_cast<size_t>(i)];
        }
        vars.S(cell::NovelMode) = SavedLayoutFlag;
        vars.S(cell::TextColourZero) = m_kept.TextColourZero;
        // The background as it was on the screen, also one that no name stands for (the
        // frame a background loop stopped at).
        e.gfx.BackgroundSurface.CopyFrom(m_kept.Background, kWholeScreen, 0, 0);
        e.gfx.SetCharacters(m_kept.Characters);
        e.text.glyphs.RestoreTextColour(m_kept.TextColour);
        m_kept.Valid = false;
        return;
    }
    // Review without a beginning (a game saved in it): the newest page's scene, and the
    // pictures the scene model names.
    vars.S(cell::TextColourZero) = static_cast<int32_t>(kWhite);
    e.text.SetTextColour(0);
    const PageSnapshot& newest =
        Rewind.Pages[static_cast<size_t>(Rewind.SlotAt(vars.S(cell::ProvisionalSnapshot), 1))];
    for (int i = 0; i < PageSnapshot::kPositions; ++i) {
        vars.S(cell::PositionX + i) = newest.PositionsX[static_cast<size_t>(i)];
        vars.S(cell::PositionY + i) = newest.PositionsY[static_cast<size_t>(i)];
    }
    std::string_view scene = FieldText(newest.Scene);
    size_t comma = scene.find(',');
    CopyName(e.gfx.Scene.CharacterDescription,
             comma == std::string_view::npos ? std::string_view() : scene.substr(comma + 1));
    e.gfx.RestoreScene();
}

void Backlog::LeaveRewind() {
    Engine& e = m_engine;
    if (!e.screens.Close(e.screens.pageReview)) {
        return;
    }
    e.vars.S(cell::SkipIndicator) = 0;
    RestoreKeptScene();
    RewindDepth = 0;
    e.gfx.ShowScene(1);
    UnlockMenus();
}

void Backlog::ForgetRewind() {
    if (m_kept.Valid) {
        m_engine.vars.S(cell::NovelMode) = SavedLayoutFlag;
        m_kept.Valid = false;
    }
    RewindDepth = 0;
}

} // namespace orv
