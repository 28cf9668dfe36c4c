#include "headless/state_fields.h"

#include "base/cp932.h"
#include "engine/engine.h"

#include <algorithm>
#include <charconv>

namespace orv {

namespace {

FieldValue Int(int64_t value) {
    return FieldValue{FieldKind::Integer, value, {}};
}

FieldValue Flag(bool value) {
    return FieldValue{FieldKind::Flag, value ? 1 : 0, {}};
}

FieldValue Text(std::string_view cp932Text) {
    return FieldValue{FieldKind::Text, 0, cp932::ToUtf8(cp932Text)};
}

// The five position names, joined by ','.
std::string CharacterNames(const Engine& e) {
    std::string names;
    for (int i = 0; i < CharacterLayer::kPositions; ++i) {
        names += (i > 0 ? "," : "") + std::string(e.gfx.Characters.Name(i));
    }
    return names;
}

// The names held by the five character cache entries in entry order, joined by ','.
std::string PictureCacheNames(const Engine& e) {
    std::string names;
    for (int i = 0; i < PictureCache::kEntries; ++i) {
        names += (i > 0 ? "," : "") + e.gfx.Characters.Cache.Entry(i).Name;
    }
    return names;
}

FieldValue Playing(const Engine& e, int slot) {
    return Int(e.sound.mixer.IsPlaying(slot) ? 1 : 0);
}

// The shown record slot's playlist as the file holds it, up to its first 0, joined by ','.
std::string PlaylistText(const Engine& e) {
    const auto& slot = e.globals.RecordSlots[static_cast<size_t>(e.screens.recollection.CurrentSlot % 10)];
    std::string text;
    for (int32_t entry : slot) {
        if (entry == 0) {
            break;
        }
        text += (text.empty() ? "" : ",") + std::to_string(entry);
    }
    return text;
}

// A row of the page as typed: empty columns (the indent, wide spacing) as blanks, trailing
// ones dropped.
FieldValue PageRow(const Engine& e, int row) {
    const auto& text = e.text.PageText[static_cast<size_t>(row)];
    std::string bytes(text.begin(), text.end());
    bytes.erase(bytes.find_last_not_of('\0') + 1);
    std::replace(bytes.begin(), bytes.end(), '\0', ' ');
    return Text(bytes);
}

// clang-format off
constexpr StateField kEngineFields[] = {
    {"ScreenMode", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.Mode()); }},
    {"TextRow", FieldKind::Integer, [](const Engine& e) { return Int(e.text.TextRow); }},
    {"TextColumn", FieldKind::Integer, [](const Engine& e) { return Int(e.text.TextColumn); }},
    {"PageChars", FieldKind::Integer, [](const Engine& e) { return Int(e.text.PageChars); }},
    {"CharDelay", FieldKind::Integer, [](const Engine& e) { return Int(e.text.CharDelay); }},
    {"TextColour", FieldKind::Integer,
     [](const Engine& e) { return Int(e.text.glyphs.TextColour()); }},
    {"WaitKind", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.WaitKind); }},
    {"SelectionKind", FieldKind::Integer, [](const Engine& e) { return Int(e.choices.SelectionKind); }},
    {"ScriptRunning", FieldKind::Integer, [](const Engine& e) { return Int(e.ScriptRunning); }},
    {"SkipActive", FieldKind::Integer, [](const Engine& e) { return Int(e.SkipActive); }},
    {"Busy", FieldKind::Integer, [](const Engine& e) { return Int(e.blocking.Busy() ? 1 : 0); }},
    {"TickWait", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.TickWait); }},
    {"PassWait", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.PassWait); }},
    {"CallDepth", FieldKind::Integer, [](const Engine& e) { return Int(e.dispatcher.CallDepth); }},
    {"CurrentScriptName", FieldKind::Text,
     [](const Engine& e) { return Text(e.script.CurrentScriptNameText()); }},
    {"ReadPos", FieldKind::Integer, [](const Engine& e) { return Int(e.script.ReadPos); }},
    {"LineStart", FieldKind::Integer, [](const Engine& e) { return Int(e.dispatcher.LineStart); }},
    {"ChapterTitle", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.dispatcher.ChapterTitle)); }},
    {"LastVoice", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.sound.LastVoice)); }},
    {"WindowShown", FieldKind::Integer, [](const Engine& e) { return Int(e.text.WindowShown); }},
    {"BacklogOpen", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.BacklogOpen() ? 1 : 0); }},
    {"BacklogCount", FieldKind::Integer, [](const Engine& e) { return Int(e.backlog.Lines.Count()); }},
    {"BacklogWritePos", FieldKind::Integer, [](const Engine& e) { return Int(e.backlog.Lines.WritePos()); }},
    {"BacklogScroll", FieldKind::Integer,
     [](const Engine& e) { return Int(e.backlog.View().ScrollOffset); }},
    {"BacklogTop", FieldKind::Integer, [](const Engine& e) { return Int(e.backlog.FirstShownLine()); }},
    {"SnapshotCounter", FieldKind::Integer,
     [](const Engine& e) { return Int(e.backlog.Rewind.SnapshotCounter); }},
    {"RewindDepth", FieldKind::Integer, [](const Engine& e) { return Int(e.backlog.RewindDepth); }},
    {"SystemMenuState", FieldKind::Integer, [](const Engine& e) { return Int(e.prompts.SystemMenuState); }},
    {"ConfigScreenOpen", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.ConfigScreenOpen() ? 1 : 0); }},
    {"ConfigHoverItem", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.config.HoverItem); }},
    {"ConfigDragItem", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.config.DragItem); }},
    {"AutoKnobOffset", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.config.AutoKnobOffset); }},
    {"MasterVolume", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.MasterVolume); }},
    {"ClickGuard", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.ClickGuard); }},
    {"AutoWaitTicks", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.AutoWaitTicks); }},
    {"VoiceWait", FieldKind::Integer, [](const Engine& e) { return Int(e.wait.VoiceWait); }},
    {"QuitRequested", FieldKind::Integer, [](const Engine& e) { return Int(e.QuitRequested); }},
    {"StartRequested", FieldKind::Integer, [](const Engine& e) { return Int(e.StartRequested); }},
    {"InterruptibleWait", FieldKind::Integer,
     [](const Engine& e) { return Int(e.blocking.InterruptibleWait() ? 1 : 0); }},
    {"InterruptRequest", FieldKind::Integer, [](const Engine& e) { return Int(e.blocking.InterruptRequest); }},
    {"MenusLocked", FieldKind::Integer, [](const Engine& e) { return Int(e.MenusLocked); }},
    {"FullScreenMode", FieldKind::Integer, [](const Engine& e) { return Int(e.FullScreenMode); }},
    {"FullScreenActive", FieldKind::Integer, [](const Engine& e) { return Int(e.FullScreenActive); }},
    {"PassCounter", FieldKind::Integer, [](const Engine& e) { return Int(e.PassCounter); }},
    {"TickCounter", FieldKind::Integer, [](const Engine& e) { return Int(e.TickCounter); }},
    {"MovieCountdown", FieldKind::Integer, [](const Engine& e) { return Int(e.MovieCountdown); }},
    {"ReplayMode", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.ReplayMode); }},
    {"NeedLine", FieldKind::Integer, [](const Engine& e) { return Int(e.script.NeedLine); }},
    {"ScriptSize", FieldKind::Integer, [](const Engine& e) { return Int(e.script.ScriptSize); }},
    {"BackgroundName", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.gfx.Scene.BackgroundName)); }},
    {"LoopFrameCount", FieldKind::Integer,
     [](const Engine& e) { return Int(e.gfx.Loop.Active ? e.gfx.Loop.Count : 0); }},
    {"LoopPosition", FieldKind::Integer, [](const Engine& e) { return Int(e.gfx.Loop.Index); }},
    {"CharacterDescription", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.gfx.Scene.CharacterDescription)); }},
    {"OverlayName", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.gfx.Scene.OverlayName)); }},
    {"PrepareFlag", FieldKind::Integer, [](const Engine& e) { return Int(e.gfx.Scene.PrepareFlag); }},
    {"CharacterCount", FieldKind::Integer,
     [](const Engine& e) { return Int(e.gfx.Characters.CharacterCount); }},
    {"CharacterNames", FieldKind::Text, [](const Engine& e) { return Text(CharacterNames(e)); }},
    {"PictureCacheNames", FieldKind::Text,
     [](const Engine& e) { return Text(PictureCacheNames(e)); }},
    {"PanicScreenShown", FieldKind::Integer,
     [](const Engine& e) { return Int(e.gfx.PanicScreenShown() ? 1 : 0); }},
    {"CharacterChangeCount", FieldKind::Integer,
     [](const Engine& e) { return Int(e.globals.CharacterChangeCount); }},
    {"PointerX", FieldKind::Integer, [](const Engine& e) { return Int(e.PointerX); }},
    {"PointerY", FieldKind::Integer, [](const Engine& e) { return Int(e.PointerY); }},
    {"PopupShown", FieldKind::Integer, [](const Engine& e) { return Int(e.PopupShown); }},
    {"PromptAnswer", FieldKind::Integer, [](const Engine& e) { return Int(e.prompts.PromptAnswer); }},
    {"ChoiceCount", FieldKind::Integer, [](const Engine& e) { return Int(e.choices.ChoiceCount); }},
    {"ChoiceHover", FieldKind::Integer, [](const Engine& e) { return Int(e.choices.ChoiceHover); }},
    {"MapTimeout", FieldKind::Integer, [](const Engine& e) { return Int(e.choices.MapTimeout); }},
    {"MapTimeoutChoice", FieldKind::Integer,
     [](const Engine& e) { return Int(e.choices.MapTimeoutChoice); }},
    {"MapCursor", FieldKind::Integer, [](const Engine& e) { return Int(e.choices.MapCursor); }},
    {"RecordScriptName", FieldKind::Text,
     [](const Engine& e) { return Text(e.choices.Record.ScriptName()); }},
    {"SoundReady", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.SoundReady ? 1 : 0); }},
    {"LoopName", FieldKind::Text, [](const Engine& e) { return Text(FieldText(e.sound.LoopName)); }},
    {"VoicePlaying", FieldKind::Integer, [](const Engine& e) { return Playing(e, sound_slot::Voice); }},
    {"EffectPlaying", FieldKind::Integer, [](const Engine& e) { return Playing(e, sound_slot::Effect); }},
    {"LoopPlaying", FieldKind::Integer, [](const Engine& e) { return Playing(e, sound_slot::Loop); }},
    {"MusicPlaying", FieldKind::Integer, [](const Engine& e) { return Playing(e, sound_slot::Music); }},
    {"AnimSoundPlaying", FieldKind::Integer,
     [](const Engine& e) { return Playing(e, sound_slot::AnimSound); }},
    {"MusicSource", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.music.Source); }},
    {"CurrentMusicVolume", FieldKind::Integer,
     [](const Engine& e) { return Int(e.sound.music.CurrentMusicVolume); }},
    {"FadeLevel", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.music.FadeLevel); }},
    {"PendingState", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.PendingState); }},
    {"Muted", FieldKind::Integer, [](const Engine& e) { return Int(e.sound.Muted ? 1 : 0); }},
    // The selection tree and the map.
    {"TreeHover", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.selectionTree.TreeHover()); }},
    {"TreeChoice", FieldKind::Text, [](const Engine& e) { return Text(e.screens.selectionTree.TreeChoice()); }},
    {"TreeChildCount", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.selectionTree.ChildCount()); }},
    {"MapStep", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.MapStep); }},
    {"ListOpen", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.ListOpen); }},
    {"HoverPlace", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.HoverPlace); }},
    {"MapHoverRow", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.MapHoverRow); }},
    {"FirstTitle", FieldKind::Text, [](const Engine& e) { return Text(e.screens.map.FirstTitle()); }},
    {"SecondTitle", FieldKind::Text, [](const Engine& e) { return Text(e.screens.map.SecondTitle()); }},
    {"FirstFlag", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.FirstFlag); }},
    {"SecondFlag", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.map.SecondFlag); }},
    // The gallery and its scene replay.
    {"ReturnScriptName", FieldKind::Text,
     [](const Engine& e) { return Text(FieldText(e.dispatcher.ReturnScriptName)); }},
    {"ViewName", FieldKind::Text, [](const Engine& e) { return Text(e.screens.gallery.ViewName); }},
    {"GallerySet", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.CurrentSet); }},
    {"GalleryHover", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.GalleryHover); }},
    {"GalleryViewing", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.Viewing); }},
    {"GalleryViewTop", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.ViewTop); }},
    {"PlayingTrack", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.PlayingTrack); }},
    {"SeenPictures", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.View().SeenPictures); }},
    {"TotalPictures", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.gallery.View().TotalPictures); }},
    // The recollection.
    {"RecollectionHover", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.recollection.HoverCode); }},
    {"RecollectionDrag", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.recollection.RecollectionDrag); }},
    {"RecollectionCategory", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.recollection.CurrentCategory); }},
    {"RecordSlot", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.recollection.CurrentSlot); }},
    {"Playlist", FieldKind::Text, [](const Engine& e) { return Text(PlaylistText(e)); }},
    {"PlayPosition", FieldKind::Integer, [](const Engine& e) { return Int(e.screens.recollection.PlayPosition); }},
};
// clang-format on

// The number written by `member` when it has MinDigits..MaxDigits decimal digits and is
// below Count; otherwise -1.
template <int MinDigits, int MaxDigits, int Count>
int MemberNumber(std::string_view member) {
    if (member.size() < size_t{MinDigits} || member.size() > size_t{MaxDigits}) {
        return -1;
    }
    int number = 0;
    auto [end, error] = std::from_chars(member.data(), member.data() + member.size(), number);
    if (error != std::errc() || end != member.data() + member.size() || number < 0 ||
        number >= Count) {
        return -1;
    }
    return number;
}

template <int MinDigits, int MaxDigits, int Count, FieldKind Kind>
std::optional<FieldKind> Numbered(std::string_view member) {
    if (MemberNumber<MinDigits, MaxDigits, Count>(member) < 0) {
        return std::nullopt;
    }
    return Kind;
}

const int32_t& Cell(const Engine& e, int index) {
    return e.vars.Cells[static_cast<size_t>(index)];
}

// A key of the game configuration or a user setting: its value as text.
std::optional<FieldKind> ConfigKey(std::string_view key) {
    std::string ignored;
    static const GameConfig kEmpty;
    return GameConfigValue(kEmpty, key, ignored) ? std::optional(FieldKind::Text) : std::nullopt;
}

std::optional<FieldKind> SettingName(std::string_view name) {
    std::string ignored;
    static const UserSettings kEmpty;
    return UserSettingValue(kEmpty, name, ignored) ? std::optional(FieldKind::Text) : std::nullopt;
}

FieldValue ReadConfigKey(const Engine& e, std::string_view key) {
    std::string value;
    GameConfigValue(e.config, key, value);
    return Text(value);
}

// A menu item, pop-up item or tool-bar button: 1 when it can be chosen.
std::optional<FieldKind> MenuComponent(std::string_view name) {
    return IsMenuComponent(name) ? std::optional(FieldKind::Flag) : std::nullopt;
}

FieldValue ReadMenuComponent(const Engine& e, std::string_view name) {
    return Flag(e.MenuItemEnabled(name));
}

FieldValue ReadSettingName(const Engine& e, std::string_view name) {
    std::string value;
    UserSettingValue(e.settings, name, value);
    return Text(value);
}

// Families of the variable store, the configuration and the settings. The keyed families
// come first: "Setting." must not be taken for an S cell.
// clang-format off
constexpr FieldFamily kFamilies[] = {
    {"Config.", ConfigKey, ReadConfigKey},
    {"Setting.", SettingName, ReadSettingName},
    {"Menu.", MenuComponent, ReadMenuComponent},
    {"V", Numbered<3, 3, 1000, FieldKind::Integer>, [](const Engine& e, std::string_view m) {
         return Int(Cell(e, VariableStore::kV + MemberNumber<3, 3, 1000>(m))); }},
    {"S", Numbered<3, 3, 1000, FieldKind::Integer>, [](const Engine& e, std::string_view m) {
         return Int(Cell(e, VariableStore::kS + MemberNumber<3, 3, 1000>(m))); }},
    {"G", Numbered<1, 1, 10, FieldKind::Integer>, [](const Engine& e, std::string_view m) {
         return Int(Cell(e, VariableStore::kG + MemberNumber<1, 1, 10>(m))); }},
    {"E", Numbered<3, 4, VariableStore::kEFlags, FieldKind::Flag>,
     [](const Engine& e, std::string_view m) {
         return Flag(TestBit(e.vars.EFlags, MemberNumber<3, 4, VariableStore::kEFlags>(m))); }},
    {"F", Numbered<3, 4, VariableStore::kFFlags, FieldKind::Flag>,
     [](const Engine& e, std::string_view m) {
         return Flag(TestBit(e.vars.FFlags, MemberNumber<3, 4, VariableStore::kFFlags>(m))); }},
    {"T", Numbered<4, 4, VariableStore::kTFlags, FieldKind::Flag>,
     [](const Engine& e, std::string_view m) {
         return Flag(TestBit(e.vars.TFlags, MemberNumber<4, 4, VariableStore::kTFlags>(m))); }},
    {"$", Numbered<1, 1, 10, FieldKind::Text>, [](const Engine& e, std::string_view m) {
         return Text(e.vars.String(MemberNumber<1, 1, 10>(m))); }},
    {"PageRow", Numbered<2, 2, TextFlow::kPageRows, FieldKind::Text>,
     [](const Engine& e, std::string_view m) {
         return PageRow(e, MemberNumber<2, 2, TextFlow::kPageRows>(m)); }},
    {"BacklogLine", Numbered<3, 3, BacklogStore::kKeptLines + 1, FieldKind::Text>,
     [](const Engine& e, std::string_view m) {
         return Text(e.backlog.Lines.Line(MemberNumber<3, 3, BacklogStore::kKeptLines + 1>(m))); }},
};
// clang-format on

} // namespace

std::optional<FieldRef> FindStateField(std::string_view name) {
    for (const StateField& field : kEngineFields) {
        if (field.Name == name) {
            return FieldRef{&field, nullptr, {}, field.Kind};
        }
    }
    for (const FieldFamily& family : kFamilies) {
        if (!name.starts_with(family.Prefix)) {
            continue;
        }
        std::string_view member = name.substr(family.Prefix.size());
        if (auto kind = family.Member(member)) {
            return FieldRef{nullptr, &family, member, *kind};
        }
    }
    return std::nullopt;
}

FieldValue ReadStateField(const Engine& engine, const FieldRef& ref) {
    if (ref.Field) {
        return ref.Field->Read(engine);
    }
    if (ref.Family) {
        return ref.Family->Read(engine, ref.Member);
    }
    return {};
}

std::span<const StateField> EngineFields() {
    return kEngineFields;
}

std::string FormatFieldValue(const FieldValue& value) {
    return value.Kind == FieldKind::Text ? value.Text : std::to_string(value.Integer);
}

} // namespace orv
