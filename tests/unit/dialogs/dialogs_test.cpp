// The save list on the engine: the script paused while it is open, the real slot files
// behind its rows, and the keys and menu items that open it.
#include "dialogs/dialogs.h"

#include "base/cp932.h"
#include "base/files.h"
#include "engine/engine.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

// Runs the list with `Act` instead of a player, recording what the engine was like inside.
class ListPlatform : public FakePlatform {
public:
    struct Showing {
        int32_t Mode;
        int SelectedRow;
        std::string Comment; // UTF-8
        uint8_t ScriptRunning;
        bool Shown;
    };

    void RunSaveList(SaveListModel& model) override {
        Showings.push_back(Showing{model.Mode(), model.SelectedRow(),
                                   cp932::ToUtf8(model.CommentText()), Engine->ScriptRunning,
                                   Engine->dialogs.SaveListShown()});
        if (Act) {
            Act(model);
        }
    }

    std::function<void(SaveListModel&)> Act;
    std::vector<Showing> Showings;
};

class DialogsTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        std::string script;
        for (const char* line :
             {"!S028=1", "!S000=0", "!V001=4", "*title Hill", "*sleep 10", "!V001=5", "*sleep 10"}) {
            script += line;
            script.push_back('\0');
        }
        WriteFile(m_dir / "ov_data.orv", MakeTextArchive({{"main", ToBytes(script)}}));
        m_platform.Time.tm_year = 2026 - 1900;
        m_platform.Time.tm_mon = 1;
        m_platform.Time.tm_mday = 3;
        m_platform.Time.tm_hour = 4;
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_engine->text.Delay = 1;
        RunToWait();
    }

    void RunToWait() {
        for (int i = 0; i < 50; ++i) {
            m_platform.Pass();
            if (m_engine->wait.PassWait == -1) {
                return;
            }
        }
        FAIL() << "the script did not come to a wait";
    }

    TempDir m_dir;
    ListPlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(DialogsTest, TheScriptPausesWhileTheListIsOpenAndRunsAfterIt) {
    Engine& e = *m_engine;
    ASSERT_EQ(e.ScriptRunning, 1);
    e.dialogs.ShowSaveList(save_list_mode::Load);
    ASSERT_EQ(m_platform.Showings.size(), 1u);
    EXPECT_EQ(m_platform.Showings[0].Mode, save_list_mode::Load);
    EXPECT_EQ(m_platform.Showings[0].ScriptRunning, 0);
    EXPECT_TRUE(m_platform.Showings[0].Shown);
    EXPECT_EQ(e.ScriptRunning, 1);
    EXPECT_FALSE(e.dialogs.SaveListShown());
}

TEST_F(DialogsTest, ASaveWithACommentIsListedAndLoadsBack) {
    Engine& e = *m_engine;
    m_platform.Act = [](SaveListModel& model) {
        model.Select(model.RowOfSlot(3));
        model.SetCommentText(cp932::FromUtf8Lenient("丘の上で"));
        EXPECT_EQ(model.Activate(), SaveListActivation::Succeeded);
    };
    e.dialogs.ShowSaveList(save_list_mode::Save);
    std::optional<Bytes> file = ReadWholeFile(e.saves.Location.SlotPath(3));
    ASSERT_TRUE(file);
    EXPECT_EQ(cp932::ToUtf8(FixedFieldText(ByteSpan(*file).subspan(96, 32))), "丘の上で");

    // On to the next wait, then back through the load list, which opens on slot 3.
    e.PBMouseDown(MouseButton::Left, 400, 300);
    e.PBMouseUp(MouseButton::Left, 400, 300);
    RunToWait();
    ASSERT_EQ(e.vars.V(1), 5);
    m_platform.Act = [](SaveListModel& model) {
        const SaveListRow& row = model.Rows()[static_cast<size_t>(model.SelectedRow())];
        EXPECT_EQ(row.Slot, 3);
        EXPECT_EQ(row.Text(save_list_column::Date), "2026/02/03 04:00:00");
        EXPECT_EQ(row.Text(save_list_column::Detail), " Hill");
        EXPECT_EQ(model.Activate(), SaveListActivation::Succeeded);
    };
    e.dialogs.ShowSaveList(save_list_mode::Load);
    EXPECT_EQ(m_platform.Showings.back().Comment, "丘の上で");
    EXPECT_EQ(e.vars.V(1), 4);
    EXPECT_EQ(e.ScriptRunning, 1);
}

TEST_F(DialogsTest, TheSaveKeyAndTheLoadMenuItemOpenTheirLists) {
    Engine& e = *m_engine;
    e.FormKeyPress('s');
    e.MenuItemClick("N9");
    e.MenuItemClick("N21");
    ASSERT_EQ(m_platform.Showings.size(), 3u);
    EXPECT_EQ(m_platform.Showings[0].Mode, save_list_mode::Save);
    EXPECT_EQ(m_platform.Showings[1].Mode, save_list_mode::Load);
    EXPECT_EQ(m_platform.Showings[2].Mode, save_list_mode::Save);
}

} // namespace
} // namespace orv::test
