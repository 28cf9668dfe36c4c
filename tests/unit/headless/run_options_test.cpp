// The orvell command line, the choice of the game directory and the scratch data directory.
#include "data/archives.h"
#include "headless/run_options.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

bool Parse(std::vector<std::string_view> args, RunOptions& options, std::string& error) {
    return ParseRunOptions(args, options, error);
}

TEST(RunOptionsParser, ReadsEveryHeadlessOption) {
    RunOptions options;
    std::string error;
    ASSERT_TRUE(Parse({"--headless", "--play", "a.play", "--out=shots", "--data-dir", "d", "--seed",
                       "4294967295", "--date", "2023-12-31T23:59:59", "--audio-out", "mix.wav",
                       "--max-passes", "10", "game"},
                      options, error))
        << error;
    EXPECT_TRUE(options.Headless);
    EXPECT_EQ(options.PlayFile, std::filesystem::path("a.play"));
    EXPECT_EQ(options.OutDirectory, std::filesystem::path("shots"));
    EXPECT_EQ(options.DataDirectory, std::filesystem::path("d"));
    EXPECT_EQ(options.Seed, 4294967295u);
    ASSERT_TRUE(options.Date);
    EXPECT_EQ(options.Date->tm_year, 123);
    EXPECT_EQ(options.Date->tm_sec, 59);
    EXPECT_EQ(options.AudioOut, std::filesystem::path("mix.wav"));
    EXPECT_EQ(options.MaxPasses, 10);
    EXPECT_EQ(options.GameDirectory, std::filesystem::path("game"));

    ASSERT_TRUE(Parse({"--headless"}, options, error));
    EXPECT_FALSE(options.PlayFile);
    EXPECT_FALSE(options.GameDirectory);
    EXPECT_EQ(options.MaxPasses, 200000);
    ASSERT_TRUE(Parse({"--help"}, options, error));
    EXPECT_TRUE(options.Help);
    ASSERT_TRUE(Parse({"--version"}, options, error));
    EXPECT_TRUE(options.Version);
    ASSERT_TRUE(Parse({"game"}, options, error));
    EXPECT_FALSE(options.Headless);
    ASSERT_TRUE(Parse({"--check", "game"}, options, error));
    EXPECT_TRUE(options.Check);
    EXPECT_EQ(options.GameDirectory, std::filesystem::path("game"));
}

TEST(RunOptionsParser, RefusesWhatItCannotUse) {
    RunOptions options;
    std::string error;
    EXPECT_FALSE(Parse({"--headless", "--fast"}, options, error));
    EXPECT_EQ(error, "unknown option --fast");
    EXPECT_FALSE(Parse({"-x"}, options, error));
    EXPECT_FALSE(Parse({"--headless", "--play"}, options, error));
    EXPECT_EQ(error, "--play needs a value");
    EXPECT_FALSE(Parse({"--headless", "--out="}, options, error));
    EXPECT_FALSE(Parse({"--headless", "--seed", "-1"}, options, error));
    EXPECT_FALSE(Parse({"--headless", "--seed", "4294967296"}, options, error));
    EXPECT_FALSE(Parse({"--headless", "--max-passes", "0"}, options, error));
    EXPECT_FALSE(Parse({"--headless", "--date", "2023-02-29T00:00:00"}, options, error));
    EXPECT_FALSE(Parse({"--headless", "a", "b"}, options, error));
    EXPECT_FALSE(Parse({"--play", "a.play"}, options, error));
    EXPECT_EQ(error, "--play needs --headless");
    EXPECT_FALSE(Parse({"--seed", "1", "--max-passes", "5"}, options, error));
    EXPECT_EQ(error, "--max-passes needs --headless");
    EXPECT_FALSE(Parse({"--check", "--headless", "game"}, options, error));
    EXPECT_NE(error.find("--check"), std::string::npos);
    // The desktop keeps its data where it is told to and may fix the random generator.
    EXPECT_TRUE(Parse({"--data-dir", "d", "--seed", "1", "game"}, options, error)) << error;
    EXPECT_EQ(options.DataDirectory, std::filesystem::path("d"));
}

TEST(RunOptionsDate, AcceptsOnlyRealDatesAndTimes) {
    EXPECT_TRUE(ParseDateTime("2024-02-29T12:00:00"));
    EXPECT_TRUE(ParseDateTime("2000-02-29T00:00:00"));
    EXPECT_FALSE(ParseDateTime("1900-02-29T00:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-04-31T00:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-13-01T00:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-01-01T24:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-01-01T00:60:00"));
    EXPECT_FALSE(ParseDateTime("2024-01-01 00:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-1-01T00:00:00"));
    EXPECT_FALSE(ParseDateTime("2024-01-01T00:00:0x"));
    EXPECT_FALSE(ParseDateTime("+024-01-01T00:00:00"));
    auto date = ParseDateTime("2024-03-01T08:09:10");
    ASSERT_TRUE(date);
    EXPECT_EQ(date->tm_wday, 5); // a Friday
    EXPECT_EQ(date->tm_yday, 60);
}

TEST(GameDirectoryChoice, PrefersTheArgumentThenADataDirectoryThenTheProgram) {
    test::TempDir current, program;
    EXPECT_EQ(ResolveGameDirectory(std::filesystem::path("given"), current.Path(), program.Path()),
              std::filesystem::path("given"));
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), program.Path()), program.Path());
    // Names copied from a Windows disc may be upper-case.
    test::WriteFile(current / "OV_DATA.ORV", "x");
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), program.Path()), current.Path());
}

TEST(GameDirectoryChoice, FindsTheInstalledDemoWhenNoOtherPlaceHoldsAGame) {
    test::TempDir current, prefix;
    std::filesystem::path bin = prefix / "bin";
    std::filesystem::path demo = prefix / "share/orvell/demo";
    std::filesystem::create_directories(bin);
    EXPECT_EQ(InstalledDemoDirectory(bin), demo);
    // Without a demo the program's directory stays the answer (and start-up says it is empty).
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), bin), bin);
    test::WriteFile(demo / "ov_data.orv", "x");
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), bin), demo);
    // A game beside the program, or in the current directory, comes before the demo.
    test::WriteFile(bin / "ov_data.orv", "x");
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), bin), bin);
    test::WriteFile(current / "ov_data.orv", "x");
    EXPECT_EQ(ResolveGameDirectory(std::nullopt, current.Path(), bin), current.Path());
    EXPECT_TRUE(HoldsGameData(current.Path()));
    EXPECT_FALSE(HoldsGameData(prefix.Path()));
}

TEST(ScratchDirectory, IsFreshAndRemovedWithItsContents) {
    std::filesystem::path path;
    {
        ScratchDirectory scratch;
        path = scratch.Path();
        ASSERT_FALSE(path.empty());
        EXPECT_TRUE(std::filesystem::is_directory(path));
        test::WriteFile(path / "save/save01.dat", "data");
        ScratchDirectory other;
        EXPECT_NE(other.Path(), path);
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(ExecutableDirectory, NamesTheDirectoryOfThisProgram) {
    std::filesystem::path dir = ExecutableDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(std::filesystem::is_directory(dir));
}

} // namespace
} // namespace orv
