// Every file the program writes, struck by each fault a disk can give: a full disk, a folder
// that may not be written, a rename that fails, and the program stopping between the write
// and the rename. Each time the file keeps what it held before, no half-written file is left
// beside it, and the player is told.
#include "base/files.h"
#include "engine/engine.h"
#include "gfx/surface.h"
#include "headless/png_writer.h"
#include "headless/wav_writer.h"
#include "save/global_data.h"
#include "save/save_slots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/fake_platform.h"
#include "test_support.h"

namespace orv::test {
namespace {

struct Fault {
    const char* Name;
    WriteStep Step;
    int Error;
};

const Fault kFaults[] = {
    {"DiskFull", WriteStep::Write, ENOSPC},
    {"PermissionDenied", WriteStep::Create, EACCES},
    {"RenameFails", WriteStep::Rename, EIO},
    {"CrashBeforeRename", WriteStep::Rename, kCrashBeforeRename},
};

// What a writer's test needs: a game and its engine for the engine's writers, a folder for
// the front end's.
class WriterWorld {
public:
    WriterWorld() {
        WriteFile(m_dir / "ov_gra.orv", MakeArchive({}));
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", ToBytes(NulLines({"!V001=7", "*sleep 10"}))}}));
    }
    Engine& StartedEngine() {
        if (!m_engine) {
            m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
            for (int i = 0; i < 5; ++i) {
                m_platform.Pass();
            }
        }
        return *m_engine;
    }
    std::filesystem::path Folder() const { return m_dir / "out"; }
    // The message boxes shown since the last call.
    std::vector<std::string> TakeBoxes() { return std::exchange(m_platform.Boxes, {}); }

private:
    TempDir m_dir;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

// A writer: where it writes, how it writes a first and a second version, and what it tells
// the player when the second fails: a message box of the engine holding `Told`, or, for the
// front end's writers, the error text they return (the runner prints it).
struct Writer {
    const char* Name;
    std::function<std::filesystem::path(WriterWorld&)> Target;
    // Writes version `n`; returns the error text the writer gave, empty when it gave none.
    std::function<std::string(WriterWorld&, int n)> Write;
    const char* Told;
};

Surface Picture(uint32_t bgr) {
    Surface picture(16, 8);
    picture.Fill(bgr);
    return picture;
}

const Writer kWriters[] = {
    {"SavedGame",
     [](WriterWorld& w) { return w.StartedEngine().saves.Location.SlotPath(1); },
     [](WriterWorld& w, int n) {
         Engine& e = w.StartedEngine();
         e.vars.V(1) = n;
         return e.saves.SaveSlot(1, true) ? std::string() : std::string("not saved");
     },
     "セーブできませんでした。"},
    {"GlobalData",
     [](WriterWorld& w) { return w.StartedEngine().saves.Location.GlobalPath(); },
     [](WriterWorld& w, int n) {
         Engine& e = w.StartedEngine();
         e.vars.SetFlag(FlagKind::E, n);
         e.globals.Save();
         return std::string();
     },
     "システムデータを保存できませんでした。"},
    {"RecordSlots",
     [](WriterWorld& w) { return w.StartedEngine().saves.Location.RecollectionPath(); },
     [](WriterWorld& w, int n) {
         Engine& e = w.StartedEngine();
         e.globals.RecordSlots[0][0] = n;
         e.globals.WriteRecollection();
         return std::string();
     },
     "システムデータを保存できませんでした。"},
    {"SettingsIni",
     [](WriterWorld& w) {
         Engine& e = w.StartedEngine();
         e.WriteSetting("FONTSIZE", "20");
         std::optional<std::filesystem::path> ini;
         for (const auto& entry : std::filesystem::recursive_directory_iterator(e.Options().DataDirectory)) {
             if (entry.path().extension() == ".ini") {
                 ini = entry.path();
             }
         }
         EXPECT_TRUE(ini.has_value()) << "no settings file was written";
         return ini.value_or(std::filesystem::path());
     },
     [](WriterWorld& w, int n) {
         w.StartedEngine().WriteSetting("FONTSIZE", std::to_string(20 + n));
         return std::string();
     },
     "設定を保存できませんでした。"},
    {"Wav",
     [](WriterWorld& w) { return w.Folder() / "mix.wav"; },
     [](WriterWorld& w, int n) {
         std::vector<int16_t> samples(64 * n, static_cast<int16_t>(n));
         return WriteWav(w.Folder() / "mix.wav", samples);
     },
     nullptr},
    {"Png",
     [](WriterWorld& w) { return w.Folder() / "shot.png"; },
     [](WriterWorld& w, int n) { return WritePng(w.Folder() / "shot.png", Picture(0x10203 * n)); },
     nullptr},
};

std::vector<std::string> FolderEntries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

class WriteFaultTest : public ::testing::TestWithParam<std::tuple<Writer, Fault>> {
protected:
    void TearDown() override { SetWriteFaultHook({}); }
};

TEST_P(WriteFaultTest, TheFileKeepsItsLastVersionAndThePlayerIsTold) {
    const Writer& writer = std::get<0>(GetParam());
    const Fault& fault = std::get<1>(GetParam());
    WriterWorld world;
    std::filesystem::create_directories(world.Folder());
    std::filesystem::path target = writer.Target(world);
    ASSERT_EQ(writer.Write(world, 1), "");
    world.TakeBoxes();
    std::optional<Bytes> before = ReadWholeFile(target);
    ASSERT_TRUE(before.has_value()) << target;
    std::vector<std::string> entriesBefore = FolderEntries(target.parent_path());

    int struck = 0;
    SetWriteFaultHook([&](const std::filesystem::path& path, WriteStep step) {
        if (path != target || step != fault.Step) {
            return 0;
        }
        ++struck;
        return fault.Error;
    });
    std::string error = writer.Write(world, 2);
    std::vector<std::string> boxes = world.TakeBoxes();
    SetWriteFaultHook({});

    ASSERT_GT(struck, 0) << "the writer did not write " << target;
    EXPECT_EQ(ReadWholeFile(target), before) << "the previous version was not kept";
    if (writer.Told) {
        ASSERT_FALSE(boxes.empty()) << "the player was not told";
        EXPECT_NE(boxes.front().find(writer.Told), std::string::npos) << boxes.front();
        EXPECT_NE(boxes.front().find(target.parent_path().string()), std::string::npos)
            << "the message does not say where: " << boxes.front();
    } else {
        EXPECT_NE(error, "") << "the failure was reported as success";
    }
    std::vector<std::string> entriesAfter = FolderEntries(target.parent_path());
    if (fault.Error == kCrashBeforeRename) {
        // What a crash leaves is the temporary file, whole, under a name no reader takes.
        ASSERT_EQ(entriesAfter.size(), entriesBefore.size() + 1);
    } else {
        EXPECT_EQ(entriesAfter, entriesBefore) << "a temporary file was left behind";
    }
}

TEST_P(WriteFaultTest, TheNextWriteAfterTheFaultSucceeds) {
    const Writer& writer = std::get<0>(GetParam());
    const Fault& fault = std::get<1>(GetParam());
    WriterWorld world;
    std::filesystem::create_directories(world.Folder());
    std::filesystem::path target = writer.Target(world);
    SetWriteFaultHook([&](const std::filesystem::path& path, WriteStep step) {
        return path == target && step == fault.Step ? fault.Error : 0;
    });
    writer.Write(world, 1);
    SetWriteFaultHook({});
    world.TakeBoxes();
    std::optional<Bytes> before = ReadWholeFile(target);
    ASSERT_EQ(writer.Write(world, 3), "");
    EXPECT_TRUE(world.TakeBoxes().empty());
    std::optional<Bytes> after = ReadWholeFile(target);
    ASSERT_TRUE(after.has_value());
    EXPECT_NE(after, before) << "the write after the fault changed nothing";
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Writer, Fault>>& info) {
    return std::string(std::get<0>(info.param).Name) + "_" + std::get<1>(info.param).Name;
}

INSTANTIATE_TEST_SUITE_P(EveryWriterAndFault, WriteFaultTest,
                         ::testing::Combine(::testing::ValuesIn(kWriters), ::testing::ValuesIn(kFaults)),
                         CaseName);

} // namespace
} // namespace orv::test
