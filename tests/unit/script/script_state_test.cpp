#include "script/script_state.h"
#include "test_support.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

using namespace std::string_view_literals;

struct RecordingHooks : ScriptLoadHooks {
    void ReplayScriptRequested(std::string_view name) override {
        Calls.push_back("replay " + std::string(name));
    }
    void SceneEntered(std::string_view upperName) override {
        Calls.push_back("scene " + std::string(upperName));
    }
    void MainScriptLoaded() override { Calls.push_back("main"); }
    std::vector<std::string> Calls;
};

Bytes Stored(std::string_view text) {
    return test::ToBytes(text);
}

class ScriptLoading : public testing::Test {
protected:
    // Writes the two text archives (entry data given as script text) and reads their indexes.
    void WriteArchives(std::vector<ArchiveEntryInput> data, std::vector<ArchiveEntryInput> data2) {
        test::WriteFile(m_dir / "ov_data.orv", test::MakeTextArchive(std::move(data)));
        if (!data2.empty()) {
            test::WriteFile(m_dir / "ov_data2.orv", test::MakeTextArchive(std::move(data2)));
        }
        m_archives.ReadTextIndexes();
    }

    test::TempDir m_dir;
    Archives m_archives{m_dir.Path()};
    RecordingHooks m_hooks;
    ScriptState m_script{m_archives, m_hooks};
};

TEST_F(ScriptLoading, UndoesTheNegationOfEveryStoredByte) {
    Bytes archive;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0, {{"MAIN", {0x00, 0xBF, 0xFF}}}, archive));
    test::WriteFile(m_dir / "ov_data.orv", archive);
    m_archives.ReadTextIndexes();

    m_script.ReadPos = 2;
    ASSERT_TRUE(m_script.LoadScript("main", ScriptTarget::Main));
    ASSERT_EQ(m_script.ScriptSize, 3);
    EXPECT_EQ(m_script.MainText(), std::string_view("\x00\x41\x01", 3));
    EXPECT_EQ(m_script.ReadPos, 0);
    EXPECT_EQ(m_script.NeedLine, 1);
}

TEST_F(ScriptLoading, PrefersTheSecondArchiveAndIgnoresTheCaseOfTheName) {
    WriteArchives({{"MAIN", Stored("old\0"sv)}, {"ONLY1", Stored("one\0"sv)}},
                  {{"MAIN", Stored("new\0"sv)}});
    ASSERT_TRUE(m_script.LoadScript("Main", ScriptTarget::Main));
    EXPECT_EQ(m_script.MainText(), std::string_view("new\0", 4));
    ASSERT_TRUE(m_script.LoadScript("only1", ScriptTarget::Main));
    EXPECT_EQ(m_script.MainText(), std::string_view("one\0", 4));
    EXPECT_EQ(m_script.CurrentScriptNameText(), "only1"); // the name as given
}

TEST_F(ScriptLoading, TellsTheHooksInOrder) {
    WriteArchives({{"MAIN", Stored("a\0"sv)}, {"_BGSET", Stored("b\0"sv)}}, {});
    ASSERT_TRUE(m_script.LoadScript("main", ScriptTarget::Main));
    ASSERT_TRUE(m_script.LoadScript("_bgset", ScriptTarget::Definition));
    EXPECT_EQ(m_script.LoadScript("nothing", ScriptTarget::Main), false);
    std::vector<std::string> expected = {"replay main",   "scene MAIN",   "main",
                                         "replay _bgset", "scene _BGSET", "replay nothing"};
    EXPECT_EQ(m_hooks.Calls, expected);
}

TEST_F(ScriptLoading, ADefinitionLeavesTheRunningScriptAlone) {
    WriteArchives({{"MAIN", Stored("a\0b\0c\0"sv)}, {"VIEW", Stored("v1\0v2\0"sv)}}, {});
    ASSERT_TRUE(m_script.LoadScript("main", ScriptTarget::Main));
    m_script.ReadPos = 4;
    m_script.NeedLine = 0;

    ASSERT_TRUE(m_script.LoadScript("view", ScriptTarget::Definition));
    EXPECT_EQ(m_script.DefinitionSize, 6);
    EXPECT_EQ(m_script.ReadPos, 4);
    EXPECT_EQ(m_script.ScriptSize, 6);
    EXPECT_EQ(m_script.NeedLine, 0);
    EXPECT_EQ(m_script.CurrentScriptNameText(), "main");
    EXPECT_EQ(m_script.MainText(), std::string_view("a\0b\0c\0", 6));
}

TEST_F(ScriptLoading, AnUnknownOrOversizedScriptChangesNothingButTheInsertText) {
    std::string big(TextBuffer::Capacity + 1, 'x');
    WriteArchives({{"MAIN", Stored("a\0b\0"sv)}, {"DEF", Stored("d\0"sv)}, {"BIG", Stored(big)}},
                  {});
    ASSERT_TRUE(m_script.LoadScript("main", ScriptTarget::Main));
    ASSERT_TRUE(m_script.LoadScript("def", ScriptTarget::Definition));
    m_script.ReadPos = 2;
    m_script.NeedLine = 0;

    for (std::string_view name : {"nothing", "big"}) {
        for (ScriptTarget target : {ScriptTarget::Main, ScriptTarget::Definition}) {
            std::strcpy(m_script.InsertText.data(), "typed");
            m_script.InsertPtr = 3;
            EXPECT_FALSE(m_script.LoadScript(name, target)) << name;
            EXPECT_EQ(m_script.InsertText[0], '\0');
            EXPECT_EQ(m_script.InsertPtr, 0);
            EXPECT_EQ(m_script.MainText(), std::string_view("a\0b\0", 4));
            EXPECT_EQ(m_script.DefinitionText(), std::string_view("d\0", 2));
            EXPECT_EQ(m_script.ReadPos, 2);
            EXPECT_EQ(m_script.NeedLine, 0);
            EXPECT_EQ(m_script.CurrentScriptNameText(), "main");
        }
    }
}

TEST_F(ScriptLoading, CutsALongScriptNameToItsSavedField) {
    std::string name(40, 'n');
    WriteArchives({{name, Stored("a\0"sv)}}, {});
    ASSERT_TRUE(m_script.LoadScript(name, ScriptTarget::Main));
    EXPECT_EQ(m_script.CurrentScriptNameText(), name.substr(0, 29));
    EXPECT_EQ(m_script.CurrentScriptName[29], '\0');
}

// Fills the main buffer directly: line handling needs no archive.
class ScriptLines : public testing::Test {
protected:
    void SetMain(std::string_view text) {
        std::memcpy(m_script.ScriptBuffer.Bytes.get(), text.data(), text.size());
        m_script.ScriptSize = static_cast<int32_t>(text.size());
        m_script.ReadPos = 0;
    }
    void SetDefinition(std::string_view text) {
        std::memcpy(m_script.DefinitionBuffer.Bytes.get(), text.data(), text.size());
        m_script.DefinitionSize = static_cast<int32_t>(text.size());
    }
    std::string_view Line() const { return m_script.LineBuffer.data(); }

    Archives m_archives{"/nonexistent"};
    ScriptState m_script{m_archives};
};

TEST_F(ScriptLines, FetchesEachLineAndAnUnterminatedLastOne) {
    SetMain(std::string_view("ab\0\0c", 5));
    m_script.LinePos = 7;
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), "ab");
    EXPECT_EQ(m_script.ReadPos, 3);
    EXPECT_EQ(m_script.LinePos, 0);
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), "");
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), "c");
    EXPECT_EQ(m_script.ReadPos, 5);
    EXPECT_FALSE(m_script.FetchLine());
    EXPECT_EQ(Line(), "c");
}

TEST_F(ScriptLines, AReadPositionOutsideTheScriptEndsIt) {
    SetMain(std::string_view("a\0", 2));
    for (int32_t pos : {-1, 2, kNotFound}) {
        m_script.ReadPos = pos;
        EXPECT_FALSE(m_script.FetchLine()) << pos;
        EXPECT_EQ(m_script.ReadPos, pos);
    }
    // A size beyond the buffer is not trusted either.
    m_script.ScriptSize = TextBuffer::Capacity + 100;
    m_script.ReadPos = TextBuffer::Capacity;
    EXPECT_FALSE(m_script.FetchLine());
}

TEST_F(ScriptLines, CutsAnOverlongLineButSkipsAllOfIt) {
    std::string text = std::string(3000, 'a') + '\0' + "next" + '\0';
    SetMain(text);
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), std::string(2047, 'a'));
    EXPECT_EQ(m_script.ReadPos, 3001);
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), "next");
}

TEST_F(ScriptLines, NeverCutsADoubleByteCharacterInTwo) {
    std::string text = std::string(2046, 'a') + "\x82\xA0" + "tail" + '\0';
    SetMain(text);
    ASSERT_TRUE(m_script.FetchLine());
    EXPECT_EQ(Line(), std::string(2046, 'a'));
    EXPECT_EQ(m_script.ReadPos, static_cast<int32_t>(text.size()));
}

TEST_F(ScriptLines, SearchesStayWithinTheScriptSize) {
    SetMain(std::string_view("{\0x\0}\0:b\0", 9));
    m_script.ScriptSize = 4;
    EXPECT_EQ(m_script.SkipToBlockEnd(2), kNotFound);
    EXPECT_EQ(m_script.FindLabel("b"), -1);
    EXPECT_EQ(m_script.FindByte(0, '}'), 0);
}

TEST_F(ScriptLines, GoesToALabelOnlyWhenItExists) {
    SetMain(std::string_view("x\0:here\0y\0", 10));
    m_script.ReadPos = 2;
    m_script.NeedLine = 0;
    EXPECT_FALSE(m_script.GoToLabel("there"));
    EXPECT_EQ(m_script.ReadPos, 2);
    EXPECT_EQ(m_script.NeedLine, 0);
    EXPECT_TRUE(m_script.GoToLabel("HERE"));
    EXPECT_EQ(m_script.ReadPos, 8);
    EXPECT_EQ(m_script.NeedLine, 1);
}

TEST_F(ScriptLines, ReadsDefinitionLinesUpToTheDefinitionSize) {
    SetDefinition(std::string_view("a\0bc\0de\0zz\0", 11));
    m_script.DefinitionSize = 7; // "de" is cut: the bytes after it must not be read
    int32_t pos = 0;
    EXPECT_EQ(m_script.DefinitionLine(pos), "a");
    EXPECT_EQ(m_script.DefinitionLine(pos), "bc");
    EXPECT_EQ(pos, 5);
    EXPECT_EQ(m_script.DefinitionLine(pos), "de");
    EXPECT_EQ(pos, 7);
    EXPECT_EQ(m_script.DefinitionLine(pos), "");
    EXPECT_EQ(pos, 7);
    pos = -3;
    EXPECT_EQ(m_script.DefinitionLine(pos), "");
    EXPECT_EQ(pos, 7);
}

} // namespace
} // namespace orv
