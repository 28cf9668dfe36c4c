// The hero's names and the record slot's name: what is accepted, what is stored where, and
// S006 after `setname`.
#include "dialogs/name_entry.h"

#include <gtest/gtest.h>

#include <functional>

#include "dialog_game.h"

namespace orv::test {
namespace {

struct HeroNameCase {
    const char* Utf8;
    bool Valid;
};

class HeroNameTest : public ::testing::TestWithParam<HeroNameCase> {};

TEST_P(HeroNameTest, OnlyOneToSixFullWidthCharactersMakeAName) {
    std::string name;
    bool encoded = ToCp932Strict(GetParam().Utf8, name);
    EXPECT_EQ(encoded && IsValidHeroName(name), GetParam().Valid) << GetParam().Utf8;
}

INSTANTIATE_TEST_SUITE_P(Names, HeroNameTest,
                         ::testing::Values(HeroNameCase{"あいうえおか", true},
                                           HeroNameCase{"太郎", true},
                                           HeroNameCase{"あいうえおかき", false},
                                           HeroNameCase{"太a郎", false},
                                           HeroNameCase{"ﾀﾛ", false}, // half-width kana
                                           HeroNameCase{"A", false}, HeroNameCase{"", false},
                                           HeroNameCase{"太😀", false}));

TEST(HeroNameBytesTest, ALeadByteWithoutAValidTrailByteIsNoCharacter) {
    EXPECT_TRUE(IsValidHeroName("\x82\xa0"));
    EXPECT_FALSE(IsValidHeroName("\x82\x7f"));
    EXPECT_FALSE(IsValidHeroName("\x82\x20"));
    EXPECT_FALSE(IsValidHeroName("\x82"));
    EXPECT_FALSE(IsValidHeroName("\xa0\x82"));
}

class NamePlatform : public FakePlatform {
public:
    void RunNameEntry(NameEntryModel& model) override {
        Shown.push_back(model.Edit(0) + "," + model.Edit(1) + "," + model.Edit(2));
        if (Act) {
            Act(model);
        }
    }
    std::function<void(NameEntryModel&)> Act;
    std::vector<std::string> Shown;
};

class NameEntryTest : public ::testing::Test {
protected:
    void Start(const char* surname, int setnames = 0) {
        std::vector<std::string> script(static_cast<size_t>(setnames), "*setname");
        script.push_back("*sleep 10");
        m_game.Build({"DEFAULT_NAME:太郎", "DEFAULT_NAME2:たろ", std::string("DEFAULT_NAME3:") + surname},
                     script);
        m_game.Start(m_platform);
    }
    Engine& e() { return *m_game.engine; }
    std::string Var(int n) { return cp932::ToUtf8(e().vars.String(n)); }

    // The platform outlives the engine, which calls it while it closes.
    NamePlatform m_platform;
    DialogGame m_game;
};

TEST_F(NameEntryTest, SetnameShowsTheNamesAndSetsS006WhenTheyDifferFromTheDefaults) {
    // The script renames the hero twice: first to another name, then back to the defaults.
    m_platform.Act = [this](NameEntryModel& model) {
        if (m_platform.Shown.size() == 1) {
            model.SetEdit(0, "次郎");
        } else {
            model.Default();
        }
        EXPECT_EQ(model.Accept(), NameEntryResult::Accepted);
    };
    Start("山田", 2);
    for (int i = 0; i < 3 && m_platform.Shown.size() < 1; ++i) {
        m_platform.Pass();
    }
    ASSERT_EQ(m_platform.Shown.size(), 1u);
    EXPECT_EQ(m_platform.Shown[0], "太郎,たろ,山田");
    EXPECT_EQ(Var(0), "次郎");
    EXPECT_EQ(e().vars.S(cell::NamesChanged), 1);
    EXPECT_EQ(cp932::ToUtf8(e().settings.PlayerName), "次郎");
    EXPECT_EQ(cp932::ToUtf8(m_game.Stored("PlayerName").value_or("")), "次郎");
    EXPECT_EQ(cp932::ToUtf8(m_game.Stored("PlayerName3").value_or("")), "山田");

    for (int i = 0; i < 3 && m_platform.Shown.size() < 2; ++i) {
        m_platform.Pass();
    }
    ASSERT_EQ(m_platform.Shown.size(), 2u);
    EXPECT_EQ(m_platform.Shown[1], "次郎,たろ,山田");
    EXPECT_EQ(Var(0), "太郎");
    EXPECT_EQ(e().vars.S(cell::NamesChanged), 0);
}

TEST_F(NameEntryTest, ABadNicknameCommitsNoNameAndShowsTheStoredOneAgain) {
    Start("山田");
    std::string before = m_game.StoredBytes();
    NameEntryModel model(e());
    model.Fill();
    model.SetEdit(0, "次郎");
    model.SetEdit(1, "ta");
    EXPECT_EQ(model.Accept(), NameEntryResult::Refused);
    EXPECT_EQ(model.RefusedName(), 1);
    EXPECT_EQ(model.Edit(1), "たろ");
    EXPECT_EQ(model.Edit(0), "次郎");
    EXPECT_EQ(Var(0), "太郎");
    EXPECT_EQ(cp932::ToUtf8(e().settings.PlayerName), "太郎");
    EXPECT_EQ(m_game.StoredBytes(), before);
    EXPECT_FALSE(model.Accepted());
}

TEST_F(NameEntryTest, AnEmptyDefaultSurnameIsNeitherCheckedNorStored) {
    Start("");
    NameEntryModel model(e());
    model.Fill();
    EXPECT_FALSE(model.Used(2));
    model.SetEdit(2, "x");
    EXPECT_EQ(model.Accept(), NameEntryResult::Accepted);
    EXPECT_EQ(Var(2), "");
}

TEST(SlotNameTest, OkCutsTheNameTo24BytesWithoutSplittingACharacter) {
    SlotNameModel model;
    model.Fill("old");
    ASSERT_TRUE(model.SetText("abcdefghijklmnopqrstuvwxyz0123")); // 30 bytes
    model.Accept();
    EXPECT_EQ(model.Result(), "abcdefghijklmnopqrstuvwx");

    model.Fill("old");
    ASSERT_TRUE(model.SetText("aあいうえおかきくけこさしす")); // the 24th byte is a lead byte
    model.Accept();
    EXPECT_EQ(cp932::ToUtf8(model.Result()), "aあいうえおかきくけこさ");
}

TEST(SlotNameTest, TheEditHolds36BytesAndRefusesWhatCodePage932CannotHold) {
    SlotNameModel model;
    model.Fill("\x89\xf1"); // 回
    EXPECT_EQ(model.Text(), "回");
    ASSERT_TRUE(model.SetText("あいうえおかきくけこさしすせそたちつてと"));
    EXPECT_EQ(model.Text(), "あいうえおかきくけこさしすせそたちつ");
    EXPECT_FALSE(model.SetText("a😀"));
    EXPECT_EQ(model.Text(), "あいうえおかきくけこさしすせそたちつ");
    model.Cancel();
    EXPECT_FALSE(model.Accepted());
    EXPECT_EQ(model.Result(), "\x89\xf1");
    EXPECT_EQ(model.Text(), "回");
}

TEST_F(NameEntryTest, AskSlotNameGivesTheNameOnOkAndLeavesItOnCancel) {
    class SlotPlatform : public NamePlatform {
    public:
        void RunSlotName(SlotNameModel& model) override {
            if (Ok) {
                model.SetText("新しい名前");
                model.Accept();
            } else {
                model.SetText("捨てる");
                model.Cancel();
            }
        }
        bool Ok = true;
    };
    SlotPlatform platform;
    m_game.Build({}, {"*sleep 10"});
    m_game.Start(platform);
    std::string name = "old";
    EXPECT_TRUE(m_game.engine->dialogs.AskSlotName(name));
    EXPECT_EQ(cp932::ToUtf8(name), "新しい名前");
    platform.Ok = false;
    EXPECT_FALSE(m_game.engine->dialogs.AskSlotName(name));
    EXPECT_EQ(cp932::ToUtf8(name), "新しい名前");
    m_game.engine.reset(); // before the platform it was started on
}

} // namespace
} // namespace orv::test
