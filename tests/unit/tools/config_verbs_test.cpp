// orvtool config check, run as a translator runs it.
#include "base/files.h"
#include "run_program.h"
#include "test_support.h"

#include <string>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

using CheckResult = ProgramResult;

// Runs `orvtool config check` with the blank-separated `arguments` in `dir`.
CheckResult RunCheck(const TempDir& dir, const std::string& arguments) {
    std::vector<std::string> args = {"config", "check"};
    for (size_t pos = 0; pos < arguments.size();) {
        size_t blank = arguments.find(' ', pos);
        size_t end = blank == std::string::npos ? arguments.size() : blank;
        args.push_back(arguments.substr(pos, end - pos));
        pos = end + 1;
    }
    TempDir output;
    return RunProgram(ORVTOOL_PATH, args, dir.Path(), output.Path());
}

TEST(ConfigCheck, ATextFileShowsTheKeysSetAndTheLinesThatSetNothing) {
    TempDir dir;
    WriteFile(dir / "config.txt", "TITLE:テスト:2\n; comment\nTITLE :x\nLOG_BAR:10:20,30,40\n"
                                  "NAME:3:太郎:G80\nnocolon\nEND\nFONT_SIZE:bad\n");
    CheckResult result = RunCheck(dir, "config.txt");
    EXPECT_EQ(result.Status, 0) << result.Err;
    EXPECT_EQ(result.Out,
              "TITLE = テスト:2\nLOG_BAR = 10,20,30,40\nNAME3 = 太郎 (colour 0x0080FF)\n");
    EXPECT_NE(result.Err.find("line 3: 'TITLE '"), std::string::npos) << result.Err;
    EXPECT_NE(result.Err.find("line 6: no ':'"), std::string::npos) << result.Err;
}

TEST(ConfigCheck, TheFirstBadNumberInAnArchiveEntryFailsTheCheck) {
    TempDir dir;
    std::string entry("FONT_SIZE:22\0QB_MS:1,2\0TITLE:after\0", 35);
    WriteFile(dir / "ov_data.orv", MakeTextArchive({{"_config", ToBytes(entry)}}));
    CheckResult result = RunCheck(dir, "--archive ov_data.orv");
    EXPECT_EQ(result.Status, 1);
    EXPECT_EQ(result.Out, "FONT_SIZE = 22\n");
    EXPECT_NE(result.Err.find("line 2: QB_MS needs a number, not an empty field"),
              std::string::npos)
        << result.Err;

    WriteFile(dir / "other.orv", MakeTextArchive({{"main", ToBytes("x")}}));
    EXPECT_EQ(RunCheck(dir, "--archive other.orv").Status, 1);
    EXPECT_EQ(RunCheck(dir, "").Status, 2);
}

} // namespace
} // namespace orv::test
