// orvell --check over copies of the demo game, each damaged in one way and then in all ways
// at once: every problem is named on a line of its own, once, and the status says so.
#include "base/files.h"
#include "data/archive_index.h"
#include "run_program.h"
#include "test_support.h"

#include <functional>
#include <sstream>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

void CopyDemo(const fs::path& to) {
    fs::copy(ORVELL_DEMO_DIR, to, fs::copy_options::recursive);
}

// The header's bytes-per-pixel field of the first picture: 9 asks for more than any picture.
void BreakFirstPicture(const fs::path& game) {
    ArchiveIndex index;
    ASSERT_TRUE(ReadIndexFile(game / "ov_gra.orv", IndexForm::B, index));
    ASSERT_GT(index.Count, 0u);
    auto bytes = ReadWholeFile(game / "ov_gra.orv");
    ASSERT_TRUE(bytes);
    (*bytes)[index.Offsets[0] + 3] = 9;
    WriteFile(game / "ov_gra.orv", *bytes);
}

void TruncateAnimations(const fs::path& game) {
    fs::resize_file(game / "ov_anim.orv", 12);
}

void AddTooLargeScript(const fs::path& game) {
    ASSERT_FALSE(fs::exists(game / "ov_data2.orv"));
    Bytes archive;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0, {{"HUGE", Bytes(300000, 0xE0)}}, archive));
    WriteFile(game / "ov_data2.orv", archive);
}

// An intact copy, whatever the other damages did to the original.
void AddCaseTwin(const fs::path& game) {
    fs::copy_file(fs::path(ORVELL_DEMO_DIR) / "ov_anim.orv", game / "OV_ANIM.ORV");
}

void RemoveScripts(const fs::path& game) {
    fs::remove(game / "ov_data.orv");
}

struct Damage {
    const char* Name;
    std::function<void(const fs::path&)> Apply;
    const char* Problem; // a part of the one line that names it
};

const Damage kDamages[] = {
    {"picture", BreakFirstPicture, "is a picture that will not decode"},
    {"index", TruncateAnimations, "ov_anim.orv: the index does not fit the file"},
    {"script", AddTooLargeScript, "ov_data2.orv: HUGE is 300000 bytes long"},
    {"case", AddCaseTwin, "OV_ANIM.ORV and ov_anim.orv differ only in case"},
    {"data", RemoveScripts, "ov_data.orv is missing"},
};

// The lines before the summary, which is the last.
std::vector<std::string> ProblemLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream in(out);
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("orvell --check ")) {
            lines.push_back(line);
        }
    }
    return lines;
}

size_t LinesNaming(const std::vector<std::string>& lines, std::string_view part) {
    size_t count = 0;
    for (const std::string& line : lines) {
        count += line.find(part) != std::string::npos ? 1 : 0;
    }
    return count;
}

ProgramResult Check(const TempDir& dir, const fs::path& game) {
    return RunProgram(ORVELL_PATH, {"--check", game.string()}, dir.Path(), dir.Path());
}

TEST(GameCheck, FindsNothingWrongWithTheDemo) {
    TempDir dir;
    ProgramResult result = Check(dir, ORVELL_DEMO_DIR);
    EXPECT_EQ(result.Status, 0) << result.Out << result.Err;
    EXPECT_TRUE(ProblemLines(result.Out).empty()) << result.Out;
    EXPECT_NE(result.Out.find("no problems, the game looks playable"), std::string::npos);
    // Progress goes to standard error, one line an archive when it is no terminal.
    EXPECT_NE(result.Err.find("checking ov_gra.orv ("), std::string::npos) << result.Err;
}

TEST(GameCheck, NamesEachDamageOnceOnALineOfItsOwn) {
    for (const Damage& damage : kDamages) {
        TempDir dir;
        fs::path game = dir / "game";
        CopyDemo(game);
        damage.Apply(game);
        ProgramResult result = Check(dir, game);
        std::vector<std::string> lines = ProblemLines(result.Out);
        EXPECT_EQ(result.Status, 1) << damage.Name;
        ASSERT_EQ(lines.size(), 1u) << damage.Name << ":\n" << result.Out;
        EXPECT_EQ(LinesNaming(lines, damage.Problem), 1u) << damage.Name << ":\n" << result.Out;
        EXPECT_NE(result.Out.find(": 1 problem, the game may not play"), std::string::npos)
            << result.Out;
    }
}

TEST(GameCheck, NamesEveryDamageOnceWhenTheyComeTogether) {
    TempDir dir;
    fs::path game = dir / "game";
    CopyDemo(game);
    for (const Damage& damage : kDamages) {
        damage.Apply(game);
    }
    ProgramResult result = Check(dir, game);
    std::vector<std::string> lines = ProblemLines(result.Out);
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(lines.size(), std::size(kDamages)) << result.Out;
    for (const Damage& damage : kDamages) {
        EXPECT_EQ(LinesNaming(lines, damage.Problem), 1u) << damage.Name << ":\n" << result.Out;
    }
}

TEST(GameCheck, SurvivesADirectoryThatIsNoGame) {
    TempDir dir;
    WriteFile(dir / "notes.txt", "nothing here");
    ProgramResult missing = Check(dir, dir / "absent");
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Out.find("cannot be read as a directory"), std::string::npos) << missing.Out;
    // Garbage under every archive name the engine knows.
    for (const char* name : {"ov_data.orv", "ov_gra.orv", "ov_gjp.orv", "ov_bgm.orv"}) {
        WriteFile(dir / name, "\xff\xff\xff\xff\x01\x00");
    }
    ProgramResult garbage = Check(dir, dir.Path());
    EXPECT_EQ(garbage.Status, 1);
    EXPECT_EQ(LinesNaming(ProblemLines(garbage.Out), "the index does not fit"), 4u)
        << garbage.Out;
}

} // namespace
} // namespace orv::test
