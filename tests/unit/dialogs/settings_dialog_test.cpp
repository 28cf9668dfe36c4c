// The settings dialog over the engine: what it shows when it opens, what each change writes
// and does, and what ApplySettings makes of it afterwards.
#include "dialogs/settings_dialog.h"

#include "dialogs/font_list.h"
#include "sound/wady.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <sstream>

#include "dialog_game.h"

namespace orv::test {
namespace {

class FakeFonts : public FontFamilySource {
public:
    std::vector<FontFamilyNames> JapaneseFamilies() override { return Families; }
    std::vector<FontFamilyNames> Families;
};

// Shows the dialog as a view would: every control set from the model first (changes the
// handlers must not take), then the player's actions.
class SettingsPlatform : public FakePlatform {
public:
    void RunSettings(SettingsDialogModel& model) override {
        for (int i = 0; i < static_cast<int>(SettingsDialogModel::Controls().size()); ++i) {
            model.Change(i, model.Value(i));
        }
        model.ChooseFont(0);
        model.DefaultTint();
        model.FinishFill();
        if (Act) {
            Act(model);
        }
        model.Close();
    }
    std::function<void(SettingsDialogModel&)> Act;
};

Bytes Music() {
    PcmClip clip;
    clip.Rate = 44100;
    for (int i = 0; i < 44100; ++i) {
        clip.Samples.push_back(static_cast<int16_t>(5000 * std::sin(i * 0.05)));
    }
    return EncodeStreamSound(clip, std::nullopt, 4410);
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_game.Build({"TXW_COLOR_R:10", "TXW_COLOR_G:20", "TXW_COLOR_B:30", "TXW_ALPHA:128",
                      "VOLUME1:-1000", "VOLUME2:-500", "VOLUME3:-200", "FONT_NAME:ＭＳ ゴシック"},
                     {"*sleep 10"}, Music());
        Engine& e = m_game.Start(m_platform);
        e.dialogs.SetFontSource(m_fonts);
    }
    Engine& e() { return *m_game.engine; }
    int Control(std::string_view name) {
        int control = SettingsDialogModel::Find(name);
        EXPECT_GE(control, 0) << name;
        return control;
    }
    void Show(std::function<void(SettingsDialogModel&)> act) {
        m_platform.Act = std::move(act);
        e().dialogs.ShowSettings();
    }

    // The platform outlives the engine, which calls it while it closes.
    SettingsPlatform m_platform;
    DialogGame m_game;
    FakeFonts m_fonts;
};

TEST_F(SettingsDialogTest, ControlsShowTheStoreWithTheEnginesValuesAsDefaults) {
    Engine& engine = e();
    ASSERT_TRUE(m_game.Store().Write(GameSettingsLocation(engine.config), "RC_MODE", "2"));
    m_game.Store().Write(GameSettingsLocation(engine.config), "TXBG_R", "99");
    engine.settings.Seen = false;
    engine.sound.MasterVolume = -1001;
    Show([&](SettingsDialogModel& model) {
        EXPECT_EQ(model.Value(Control("RC_MODE")), 2);
        EXPECT_EQ(model.Value(Control("Seen")), 0);
        EXPECT_EQ(model.Value(Control("Vol1")), -1000);
        EXPECT_EQ(model.Value(Control("Vol3")), -200);
        EXPECT_EQ(model.Value(Control("MasterVolume")), -400);
        // The tint is the one the window shows, not the store's.
        EXPECT_EQ(model.Value(Control("TXBG_R")), 10);
        EXPECT_EQ(model.TintSample(), 0x1E140Au);
        EXPECT_FALSE(model.Filling());
    });
}

TEST_F(SettingsDialogTest, ShowingAndClosingWritesNothingAndLeavesTheWindowLookAlone) {
    m_game.Store().Write(GameSettingsLocation(e().config), "Seen", "1");
    std::string before = m_game.StoredBytes();
    e().prompts.FontChanged = 1;
    Show(nullptr);
    EXPECT_EQ(m_game.StoredBytes(), before);
    EXPECT_EQ(e().prompts.FontChanged, 0);
}

struct ChangeCase {
    const char* Control;
    int32_t Value;
    const char* Stored; // nullptr: stored nowhere
    const char* HeldName;
    const char* Held; // as Setting.NAME shows it afterwards
    bool LookChanged;
};

class SettingsChangeTest : public SettingsDialogTest,
                           public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(SettingsChangeTest, AChangeWritesExactlyItsSettingAndHoldsWhatTakesEffectAtOnce) {
    const ChangeCase& c = GetParam();
    // The store holds the global values already: only the lines the change added count.
    auto lines = [this] {
        std::set<std::string> out;
        std::istringstream in(m_game.StoredBytes());
        for (std::string line; std::getline(in, line);) {
            out.insert(line);
        }
        return out;
    };
    std::set<std::string> before = lines();
    Show([&](SettingsDialogModel& model) { model.Change(Control(c.Control), c.Value); });
    std::set<std::string> added;
    for (const std::string& line : lines()) {
        if (!before.count(line)) {
            added.insert(line);
        }
    }
    std::string_view name = SettingsDialogModel::Controls()[size_t(Control(c.Control))].Setting;
    if (c.Stored) {
        EXPECT_EQ(added, (std::set<std::string>{std::string(name) + "=" + c.Stored}));
    } else {
        EXPECT_TRUE(added.empty());
    }
    std::string held;
    ASSERT_TRUE(UserSettingValue(e().settings, c.HeldName, held) ||
                std::string_view(c.HeldName) == "MasterVolume");
    if (std::string_view(c.HeldName) == "MasterVolume") {
        held = std::to_string(e().sound.MasterVolume);
    }
    EXPECT_EQ(held, c.Held);
    EXPECT_EQ(e().prompts.FontChanged, c.LookChanged ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, SettingsChangeTest,
    ::testing::Values(
        // The screen and graphics modes wait for the next start; the text speed for the close.
        ChangeCase{"SMode", 1, "1", "SMode", "0", false},
        ChangeCase{"GMode", 1, "1", "GMode", "0", false},
        ChangeCase{"Delay", 1, "1", "Delay", "0", false},
        ChangeCase{"RC_MODE", 3, "3", "RC_MODE", "3", false},
        ChangeCase{"CheckBox12", 1, "1", "CV_THROUGH", "1", false},
        ChangeCase{"SE2", 0, "0", "SE2", "0", false},
        ChangeCase{"Vol1", -1201, "-1201", "VoiceVolume", "-3002", false},
        ChangeCase{"Vol3", -9999, "-3000", "MusicVolume", "-7500", false},
        ChangeCase{"MasterVolume", -2000, nullptr, "MasterVolume", "-5000", false},
        ChangeCase{"TXBG_R", 200, "200", "TXBG_R", "200", true},
        ChangeCase{"FONTSIZE", 30, "23", "FONTSIZE", "23", true},
        ChangeCase{"FONTBold", 1, "1", "FONTBold", "1", true}));

TEST_F(SettingsDialogTest, ASliderDragMovesTheEngineAtOnceAndIsWrittenOnRelease) {
    Show([&](SettingsDialogModel& model) {
        int voice = Control("Vol1");
        for (int32_t v = -1000; v >= -1100; v -= 10) {
            model.Slide(voice, v);
        }
        EXPECT_EQ(e().settings.VoiceVolume, -2750);
        EXPECT_FALSE(m_game.Stored("Vol1").has_value());
        model.Release(voice);
        EXPECT_EQ(m_game.Stored("Vol1"), std::optional<std::string>("-1100"));
        // A drag the dialog closes on is written by the close.
        model.Slide(Control("Vol2"), -700);
    });
    EXPECT_EQ(m_game.Stored("Vol2"), std::optional<std::string>("-700"));
}

TEST_F(SettingsDialogTest, DefaultStoresTheConfigurationsTint) {
    e().settings.TXBG_G = 77;
    Show([&](SettingsDialogModel& model) {
        model.Change(Control("TXBG_A"), 5);
        model.DefaultTint();
        EXPECT_EQ(model.Value(Control("TXBG_A")), 128);
        EXPECT_EQ(model.TintSample(), 0x1E140Au);
    });
    EXPECT_EQ(m_game.Stored("TXBG_R"), std::optional<std::string>("10"));
    EXPECT_EQ(m_game.Stored("TXBG_G"), std::optional<std::string>("20"));
    EXPECT_EQ(m_game.Stored("TXBG_B"), std::optional<std::string>("30"));
    EXPECT_EQ(m_game.Stored("TXBG_A"), std::optional<std::string>("128"));
    EXPECT_EQ(e().settings.TXBG_G, 20);
    EXPECT_EQ(e().prompts.FontChanged, 1);
}

TEST_F(SettingsDialogTest, MusicOffThenOnStartsTheRequestedTrackAgainAndKeepsS003) {
    Engine& engine = e();
    ASSERT_TRUE(engine.sound.SoundReady);
    engine.sound.SetMusic(1);
    ASSERT_EQ(engine.vars.S(cell::MusicPlaying), 1);
    int music = Control("BGM_ENA");
    Show([&](SettingsDialogModel& model) {
        model.Change(music, 0);
        EXPECT_EQ(engine.vars.S(cell::MusicPlaying), 0);
        EXPECT_EQ(engine.vars.S(cell::MusicRequested), 1);
        EXPECT_FALSE(engine.sound.music.Playing());
        model.Change(music, 1);
    });
    EXPECT_EQ(engine.vars.S(cell::MusicPlaying), 1);
    EXPECT_EQ(engine.vars.S(cell::MusicRequested), 1);
    EXPECT_EQ(m_game.Stored("BGM_ENA"), std::optional<std::string>("1"));
}

TEST_F(SettingsDialogTest, ApplySettingsTakesTheStoredTextSpeedAndRebuildsAChangedLook) {
    Engine& engine = e();
    ASSERT_EQ(engine.text.Delay, 0);
    Show([&](SettingsDialogModel& model) {
        model.Change(Control("Delay"), 1);
        model.Change(Control("TXBG_B"), 250);
        EXPECT_EQ(engine.text.Delay, 0);
    });
    engine.prompts.ApplySettings();
    EXPECT_EQ(engine.text.Delay, 1);
    EXPECT_FALSE(engine.settings.Typewriter);
    EXPECT_EQ(engine.prompts.FontChanged, 0);
}

TEST(FontListTest, OffersJapaneseFamiliesByTheirJapaneseNamesThatCodePage932Holds) {
    FakeFonts fonts;
    fonts.Families = {
        {{{"en", "IPAGothic"}, {"ja", "IPAゴシック"}}},
        {{{"en", "IPAGothic"}, {"ja", "IPAゴシック"}}}, // a second style of the same family
        {{{"", "Noto Sans CJK JP"}}},
        {{{"ja", "@IPAゴシック"}}},
        {{{"ko", "나눔고딕"}}},
        {{{"en", "Emoji 😀"}}},
        {{{"", ""}}},
    };
    std::vector<FontChoice> rows = FontList(fonts);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(cp932::ToUtf8(rows[0].Shown), "IPAゴシック");
    EXPECT_EQ(rows[0].Names, (std::vector<std::string>{"IPAGothic", "IPAゴシック", "IPAGothic",
                                                        "IPAゴシック"}));
    EXPECT_EQ(cp932::ToUtf8(rows[1].Shown), "Noto Sans CJK JP");
}

TEST_F(SettingsDialogTest, TheFontInUseIsListedFirstWhenNoFamilyHasItAndAChoiceIsStored) {
    m_fonts.Families = {{{{"ja", "IPAゴシック"}}}};
    Show([&](SettingsDialogModel& model) {
        ASSERT_EQ(model.FontNames().size(), 2u);
        EXPECT_EQ(cp932::ToUtf8(model.FontName()), "ＭＳ ゴシック");
        EXPECT_EQ(model.FontRow(), 0);
        model.ChooseFont(1);
    });
    EXPECT_EQ(cp932::ToUtf8(e().settings.FontName), "IPAゴシック");
    EXPECT_EQ(cp932::ToUtf8(m_game.Stored("FontName").value_or("")), "IPAゴシック");
    EXPECT_EQ(e().prompts.FontChanged, 1);
}

TEST_F(SettingsDialogTest, AFontSetByItsEnglishNameSelectsItsFamilysRowWithoutWriting) {
    m_fonts.Families = {{{{"en", "IPAGothic"}, {"ja", "IPAゴシック"}}}};
    e().settings.FontName = "IPAGothic";
    Show([&](SettingsDialogModel& model) {
        ASSERT_EQ(model.FontNames().size(), 1u);
        EXPECT_EQ(model.FontRow(), 0);
    });
    EXPECT_FALSE(m_game.Stored("FontName").has_value());
    EXPECT_EQ(e().settings.FontName, "IPAGothic");
}

} // namespace
} // namespace orv::test
