// clickmap: regions of the screen, read from the definition script `map`, that the player
// clicks; colour regions are found in the hit picture, rectangles by their edges. The map
// picture is the parts sheet that `partsload` put up before the command: it is sampled for
// colour regions and is where the highlights of `*` and `#` regions come from.
#include "choices/choices.h"
#include "choices/store_source.h"
#include "engine/engine.h"

namespace orv {

namespace {

constexpr uint32_t kColourKeyMask = 0xF0F0F0;
// Colour regions name cursors from this number on.
constexpr int32_t kFirstRegionCursor = 29;
constexpr int32_t kDefaultCursor = 0;
constexpr Rect kWholeScreen{0, 0, kScreenWidth, kScreenHeight};

Rect ToRect(const ChoiceBox& box) {
    return Rect{box.Left, box.Top, box.Width(), box.Height()};
}

} // namespace

void Choices::ClickMap(std::string_view name) {
    Engine& e = m_engine;
    if (e.script.LoadScript("map", ScriptTarget::Definition)) {
        ReadMapDefinition(e.script.DefinitionText(), name, Map);
    } else {
        Map.Count = 0;
    }
    ReadMapBranches();
    ChoiceCount = Map.Count;
    ChoiceHover = 0;
    MapTimeout = List.TimeoutTicks;
    MapTimeoutChoice = List.TimeoutChoice;
    SelectionKind = selection_kind::ClickMap;
    // A map without regions or time limit could never be left.
    if (ChoiceCount == 0 && MapTimeout == 0) {
        TakeAtOnce(0);
        return;
    }
    MapCursor = kDefaultCursor;
    e.Host().SetCursorShape(kDefaultCursor);
    Point pointer = PointerPosition();
    ChoiceHoverAt(pointer.X, pointer.Y);
}

void Choices::ReadMapBranches() {
    Engine& e = m_engine;
    StoreSource source(e);
    ReadChoiceList(e.script.MainText(), e.script.ReadPos, ChoiceListKind::ClickMap, source, List);
    for (int32_t i = 0; i < Map.Count && i < List.Count; ++i) {
        const ChoiceBranch& branch = List.Branches[i];
        MapRegion& region = Map.Regions[i];
        if (!branch.Text.View().empty()) {
            region.Caption = branch.Text;
            region.CaptionBox = CaptionPlacement(region.Area, region.Caption.View());
        }
        region.Enabled = branch.Enabled;
    }
}

const Surface& Choices::HitPicture() const {
    return m_engine.gfx.PartsSurface;
}

int32_t Choices::RegionAt(int32_t x, int32_t y) {
    const Surface& hit = HitPicture();
    for (int32_t k = 1; k <= ChoiceCount; ++k) {
        const MapRegion& region = Map.Regions[k - 1];
        // A false condition disables colour regions as well as rectangles: a region the
        // script ruled out must not be taken.
        if (!region.Enabled) {
            continue;
        }
        if (region.Kind == RegionKind::Colour) {
            if (hit.Contains(x, y) && (hit.Pixel(x, y) & kColourKeyMask) == region.Key) {
                return k;
            }
        } else if (region.Area.StrictlyContains(x, y)) {
            return k;
        }
    }
    return 0;
}

void Choices::ClickMapHoverAt(int32_t x, int32_t y) {
    int32_t k = RegionAt(x, y);
    bool overColour = k > 0 && Map.Regions[k - 1].Kind == RegionKind::Colour;
    SetCursor(overColour ? Map.Regions[k - 1].Cursor + kFirstRegionCursor : kDefaultCursor);
    if (k == ChoiceHover) {
        return;
    }
    if (ChoiceHover > 0) {
        RemoveRegionHighlight(ChoiceHover);
    }
    ChoiceHover = k;
    if (k > 0) {
        ShowRegionHighlight(k);
    }
}

void Choices::SetCursor(int32_t cursor) {
    if (cursor == MapCursor) {
        return;
    }
    MapCursor = cursor;
    m_engine.Host().SetCursorShape(cursor);
}

void Choices::RemoveRegionHighlight(int32_t k) {
    if (k < 1 || k > Map.Count) {
        return;
    }
    Rect area = ToRect(Map.Regions[k - 1].Area);
    m_engine.gfx.Present(m_engine.gfx.BackBuffer, area, area.X, area.Y);
}

void Choices::ShowRegionHighlight(int32_t k) {
    Engine& e = m_engine;
    const MapRegion& region = Map.Regions[k - 1];
    HighlightScreen.CopyFrom(e.gfx.BackBuffer, kWholeScreen, 0, 0);
    if (!e.vars.String(6).empty()) {
        e.sound.PlaySoundByName(e.vars.String(7));
    }
    if (region.Kind == RegionKind::SamePlace) {
        HighlightScreen.CopyFrom(HitPicture(), ToRect(region.Area), region.Area.Left,
                                 region.Area.Top);
    } else if (region.Kind == RegionKind::SecondRect) {
        HighlightScreen.CopyFrom(HitPicture(), ToRect(region.Source), region.Area.Left,
                                 region.Area.Top);
    }
    e.gfx.PresentWhole(HighlightScreen);
}

void Choices::SelectionTick() {
    if (SelectionKind != selection_kind::ClickMap || MapTimeout <= 0) {
        return;
    }
    if (MapTimeout > 1) {
        --MapTimeout;
        return;
    }
    TakeChoice(MapTimeoutChoice, false);
}

} // namespace orv
