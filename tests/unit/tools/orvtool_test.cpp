// orvtool run as a subprocess, as players and the build run it.
#include "base/files.h"
#include "data/archive_index.h"
#include "run_program.h"
#include "test_support.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::TempDir;
using test::ToBytes;
using test::WriteFile;

using RunResult = test::ProgramResult;

std::string ReadText(const fs::path& path) {
    auto bytes = ReadWholeFile(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

Bytes ReadBytes(const fs::path& path) {
    auto bytes = ReadWholeFile(path);
    EXPECT_TRUE(bytes) << "cannot read " << path;
    return bytes ? *bytes : Bytes();
}

// Runs orvtool with `args` in `dir`; its output is captured elsewhere, so that it never
// shows among the files a test packs or extracts.
RunResult RunTool(const TempDir& dir, const std::vector<std::string>& args) {
    TempDir output;
    return test::RunProgram(ORVTOOL_PATH, args, dir.Path(), output.Path());
}

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

// Files of varied content: every byte value, an empty file, a Japanese name.
struct Sources {
    std::vector<std::string> Files;
    std::vector<std::string> Names; // entry names as stored (UTF-8 here)
    std::vector<Bytes> Contents;
};

Sources MakeSources(const TempDir& dir) {
    Sources sources;
    Bytes all;
    for (int i = 0; i < 256; ++i) {
        all.push_back(static_cast<uint8_t>(i));
    }
    auto add = [&](std::string file, std::string name, Bytes content) {
        WriteFile(dir / ("in/" + file), content);
        sources.Files.push_back("in/" + file);
        sources.Names.push_back(std::move(name));
        sources.Contents.push_back(std::move(content));
    };
    add("Main.txt", "Main", ToBytes(std::string("*bg 1\0text\0", 11)));
    add("every_byte.bin", "every_byte", all);
    add("empty.dat", "empty", {});
    add("立ち絵01.gra", "立ち絵01", ToBytes("picture"));
    return sources;
}

struct PackCase {
    std::string Form;
    bool Text;
};

class OrvtoolRoundTrip : public testing::TestWithParam<PackCase> {};

TEST_P(OrvtoolRoundTrip, PackListAndExtractGiveBackTheSameBytes) {
    TempDir dir;
    Sources sources = MakeSources(dir);
    std::vector<std::string> pack = {"pack", "--form", GetParam().Form, "-o", "out.orv"};
    std::vector<std::string> extract = {"extract", "out.orv", "-o", "x"};
    if (GetParam().Text) {
        pack.push_back("--text");
        extract.push_back("--text");
    }
    pack.insert(pack.end(), sources.Files.begin(), sources.Files.end());
    RunResult packed = RunTool(dir, pack);
    ASSERT_EQ(packed.Status, 0) << packed.Err;
    EXPECT_TRUE(Contains(packed.Err, "packed 4 entries into out.orv")) << packed.Err;

    // The engine's own reader finds every entry, stored negated or not as asked.
    IndexForm form = GetParam().Form == "a" ? IndexForm::A : IndexForm::B;
    ArchiveIndex index;
    std::string problem;
    ASSERT_TRUE(ReadIndexFile(dir / "out.orv", form, index, &problem)) << problem;
    ASSERT_EQ(index.Count, 4u);
    Bytes stored(index.Sizes[1]);
    ASSERT_TRUE(ReadFileRange(dir / "out.orv", index.Offsets[1], stored));
    if (GetParam().Text) {
        NegateBytes(stored.data(), stored.size());
    }
    EXPECT_EQ(stored, sources.Contents[1]);
    EXPECT_GE(FindEntry(index, "MAIN"), 0);

    RunResult listed = RunTool(dir, {"list", "out.orv"});
    ASSERT_EQ(listed.Status, 0) << listed.Err;
    std::string formLine = std::string("index form ") + (form == IndexForm::A ? "A" : "B");
    EXPECT_TRUE(Contains(listed.Out, formLine)) << listed.Out;
    EXPECT_TRUE(Contains(listed.Out, "4 entries")) << listed.Out;
    for (const auto& name : sources.Names) {
        EXPECT_TRUE(Contains(listed.Out, name)) << listed.Out;
    }

    RunResult extracted = RunTool(dir, extract);
    ASSERT_EQ(extracted.Status, 0) << extracted.Err;
    for (size_t i = 0; i < sources.Names.size(); ++i) {
        // Names keep the case they were stored with.
        EXPECT_EQ(ReadBytes(dir / ("x/" + sources.Names[i])), sources.Contents[i])
            << sources.Names[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Forms, OrvtoolRoundTrip,
                         testing::Values(PackCase{"a", false}, PackCase{"a", true},
                                         PackCase{"b", false}, PackCase{"b", true}),
                         [](const testing::TestParamInfo<PackCase>& info) {
                             return "Form" + info.param.Form + (info.param.Text ? "Text" : "");
                         });

TEST(OrvtoolList, ShowsTheGivenFormAndNameWidth) {
    TempDir dir;
    WriteFile(dir / "a.bin", "12345");
    ASSERT_EQ(RunTool(dir, {"pack", "--form", "b", "--width", "40", "-o", "g.orv", "a.bin"}).Status,
              0);
    RunResult listed = RunTool(dir, {"list", "g.orv", "--form", "b"});
    ASSERT_EQ(listed.Status, 0) << listed.Err;
    EXPECT_TRUE(Contains(listed.Out, "index form B (given), 1 entry, name width 40")) << listed.Out;
    // Header of 8 bytes and one record of 48: the entry starts at 56.
    EXPECT_TRUE(Contains(listed.Out, "56")) << listed.Out;
}

TEST(OrvtoolList, ReportsADamagedIndexNamingTheFile) {
    TempDir dir;
    Bytes damaged = {0xE8, 0x03, 0, 0, 32, 0, 0, 0, 1, 2, 3}; // 1000 records in 11 bytes
    WriteFile(dir / "broken.orv", damaged);
    RunResult listed = RunTool(dir, {"list", "broken.orv", "--form", "b"});
    EXPECT_EQ(listed.Status, 1);
    EXPECT_TRUE(Contains(listed.Err, "broken.orv")) << listed.Err;
    EXPECT_TRUE(Contains(listed.Err, "1000 records")) << listed.Err;

    RunResult missing = RunTool(dir, {"list", "absent.orv"});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_TRUE(Contains(missing.Err, "absent.orv")) << missing.Err;
}

TEST(OrvtoolExtract, TakesNamedEntriesWithoutRegardToCase) {
    TempDir dir;
    Sources sources = MakeSources(dir);
    std::vector<std::string> pack = {"pack", "--form", "a", "-o", "d.orv"};
    pack.insert(pack.end(), sources.Files.begin(), sources.Files.end());
    ASSERT_EQ(RunTool(dir, pack).Status, 0);

    RunResult extracted = RunTool(dir, {"extract", "d.orv", "MAIN", "立ち絵01", "-o", "new/dir"});
    ASSERT_EQ(extracted.Status, 0) << extracted.Err;
    EXPECT_EQ(ReadBytes(dir / "new/dir/Main"), sources.Contents[0]);
    EXPECT_EQ(ReadBytes(dir / "new/dir/立ち絵01"), sources.Contents[3]);
    EXPECT_FALSE(fs::exists(dir / "new/dir/empty"));
}

TEST(OrvtoolExtract, FailsNamingAnEntryTheArchiveLacks) {
    TempDir dir;
    WriteFile(dir / "a.bin", "a");
    ASSERT_EQ(RunTool(dir, {"pack", "--form", "b", "-o", "g.orv", "a.bin"}).Status, 0);
    RunResult extracted = RunTool(dir, {"extract", "g.orv", "nothere", "a", "-o", "x"});
    EXPECT_EQ(extracted.Status, 1);
    EXPECT_TRUE(Contains(extracted.Err, "nothere")) << extracted.Err;
    EXPECT_EQ(ReadText(dir / "x/a"), "a");
}

TEST(OrvtoolExtract, RefusesNamesThatWouldWriteOutsideTheDirectory) {
    TempDir dir;
    std::vector<ArchiveEntryInput> entries = {
        {"../x", ToBytes("escape")}, {"..", ToBytes("up")},     {".", ToBytes("here")},
        {"a/b", ToBytes("deeper")},  {"/etc", ToBytes("root")}, {"", ToBytes("empty")},
        {"ok", ToBytes("fine")}};
    Bytes archive;
    std::string problem;
    ASSERT_TRUE(BuildArchive(IndexForm::B, 32, entries, archive, &problem)) << problem;
    WriteFile(dir / "hostile.orv", archive);

    RunResult extracted = RunTool(dir, {"extract", "hostile.orv", "-o", "out/inner"});
    EXPECT_EQ(extracted.Status, 1);
    EXPECT_TRUE(Contains(extracted.Err, "'../x'")) << extracted.Err;
    EXPECT_EQ(ReadText(dir / "out/inner/ok"), "fine");
    EXPECT_FALSE(fs::exists(dir / "out/x"));
    EXPECT_FALSE(fs::exists(dir / "out/inner/a"));
    size_t written = 0;
    for ([[maybe_unused]] const auto& entry : fs::recursive_directory_iterator(dir / "out")) {
        ++written;
    }
    EXPECT_EQ(written, 2u); // inner and inner/ok
}

TEST(OrvtoolExtract, SkipsAnEntryLyingOutsideTheFileAndFailsAtTheEnd) {
    TempDir dir;
    std::vector<ArchiveEntryInput> entries = {{"first", ToBytes("kept")},
                                              {"second", ToBytes("cut off")}};
    Bytes archive;
    ASSERT_TRUE(BuildArchive(IndexForm::B, 16, entries, archive));
    archive.resize(archive.size() - 3);
    WriteFile(dir / "short.orv", archive);

    RunResult extracted = RunTool(dir, {"extract", "short.orv", "-o", "x", "--form", "b"});
    EXPECT_EQ(extracted.Status, 1);
    EXPECT_TRUE(Contains(extracted.Err, "second")) << extracted.Err;
    EXPECT_TRUE(Contains(extracted.Err, "outside the file")) << extracted.Err;
    EXPECT_EQ(ReadText(dir / "x/first"), "kept");
    EXPECT_FALSE(fs::exists(dir / "x/second"));
}

TEST(OrvtoolPack, RefusesNamesThatDoNotFitTheNameField) {
    TempDir dir;
    WriteFile(dir / "abcdefgh.bin", "x");
    WriteFile(dir / "abcdefg.bin", "y");
    RunResult tooLong =
        RunTool(dir, {"pack", "--form", "b", "--width", "8", "-o", "g.orv", "abcdefgh.bin"});
    EXPECT_EQ(tooLong.Status, 1);
    EXPECT_TRUE(Contains(tooLong.Err, "abcdefgh")) << tooLong.Err;
    EXPECT_FALSE(fs::exists(dir / "g.orv"));
    EXPECT_EQ(
        RunTool(dir, {"pack", "--form", "b", "--width", "8", "-o", "g.orv", "abcdefg.bin"}).Status,
        0);

    // Form A names hold 55 bytes; a full-width character takes two.
    std::string name55(53, 'n');
    WriteFile(dir / (name55 + "あ.txt"), "z");
    WriteFile(dir / (name55 + "nあ.txt"), "z");
    EXPECT_EQ(RunTool(dir, {"pack", "--form", "a", "-o", "d.orv", name55 + "あ.txt"}).Status, 0);
    EXPECT_EQ(RunTool(dir, {"pack", "--form", "a", "-o", "e.orv", name55 + "nあ.txt"}).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "e.orv"));
}

TEST(OrvtoolPack, RefusesANameCodePage932CannotHold) {
    TempDir dir;
    WriteFile(dir / "smile😀.txt", "x");
    RunResult packed = RunTool(dir, {"pack", "--form", "a", "-o", "d.orv", "smile😀.txt"});
    EXPECT_EQ(packed.Status, 1);
    EXPECT_TRUE(Contains(packed.Err, "smile😀")) << packed.Err;
    EXPECT_FALSE(fs::exists(dir / "d.orv"));
}

TEST(OrvtoolPack, WarnsAboutNamesTheEngineCannotTellApart) {
    TempDir dir;
    WriteFile(dir / "one/Main.txt", "first");
    WriteFile(dir / "two/MAIN.bin", "second");
    RunResult packed =
        RunTool(dir, {"pack", "--form", "a", "-o", "d.orv", "one/Main.txt", "two/MAIN.bin"});
    EXPECT_EQ(packed.Status, 0);
    EXPECT_TRUE(Contains(packed.Err, "warning")) << packed.Err;
    EXPECT_TRUE(Contains(packed.Err, "two/MAIN.bin")) << packed.Err;
}

TEST(OrvtoolScript, EncodesTextThatPackingStoresAsATextEntry) {
    TempDir dir;
    WriteFile(dir / "main.txt", "\xEF\xBB\xBF*bg 1\r\n\r\nこんにちは\r\n");
    ASSERT_EQ(RunTool(dir, {"script", "encode", "main.txt", "main"}).Status, 0);
    EXPECT_EQ(ReadText(dir / "main"),
              std::string("*bg 1\0\0\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\0", 18));

    // Extracted without --text, the entry is still negated; --text-entry undoes that.
    ASSERT_EQ(RunTool(dir, {"pack", "--form", "a", "--text", "-o", "d.orv", "main"}).Status, 0);
    ASSERT_EQ(RunTool(dir, {"extract", "d.orv", "-o", "raw"}).Status, 0);
    RunResult decoded = RunTool(dir, {"script", "decode", "--text-entry", "raw/main", "back.txt"});
    ASSERT_EQ(decoded.Status, 0) << decoded.Err;
    EXPECT_EQ(ReadText(dir / "back.txt"), "*bg 1\n\nこんにちは\n");
}

TEST(OrvtoolScript, RefusesAnUnencodableCharacterWithoutWritingOutput) {
    TempDir dir;
    WriteFile(dir / "bad.txt", "fine\nprice €5\n");
    RunResult encoded = RunTool(dir, {"script", "encode", "bad.txt", "bad"});
    EXPECT_EQ(encoded.Status, 1);
    EXPECT_TRUE(Contains(encoded.Err, "line 2")) << encoded.Err;
    EXPECT_TRUE(Contains(encoded.Err, "€")) << encoded.Err;
    EXPECT_FALSE(fs::exists(dir / "bad"));
}

TEST(OrvtoolScript, DecodeWarnsAboutUndefinedBytesNamingTheLine) {
    TempDir dir;
    WriteFile(dir / "s", std::string("ok\0\x85\x40\0", 6));
    RunResult decoded = RunTool(dir, {"script", "decode", "s", "s.txt"});
    EXPECT_EQ(decoded.Status, 0);
    EXPECT_TRUE(Contains(decoded.Err, "line 2")) << decoded.Err;
    EXPECT_EQ(ReadText(dir / "s.txt"), "ok\n\xEF\xBF\xBD\n");
}

TEST(OrvtoolCommandLine, BadUsageExitsWithStatus2) {
    TempDir dir;
    WriteFile(dir / "a.bin", "a");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"list"},
        {"list", "a.orv", "--form", "c"},
        {"list", "a.orv", "--colour"},
        {"extract", "a.orv"},
        {"extract", "-o", "x"},
        {"pack", "-o", "x.orv", "a.bin"},
        {"pack", "--form", "a", "a.bin"},
        {"pack", "--form", "b", "-o", "x.orv"},
        {"pack", "--form", "a", "--width", "40", "-o", "x.orv", "a.bin"},
        {"pack", "--form", "b", "--width", "many", "-o", "x.orv", "a.bin"},
        {"pack", "--form"},
        {"script"},
        {"script", "convert", "a", "b"},
        {"script", "encode", "a.bin"},
        {"script", "encode", "--text-entry", "a.bin", "b"},
    };
    for (const auto& args : cases) {
        RunResult result = RunTool(dir, args);
        std::string shown;
        for (const auto& arg : args) {
            shown += arg + " ";
        }
        EXPECT_EQ(result.Status, 2) << shown;
        EXPECT_FALSE(result.Err.empty()) << shown;
    }
    EXPECT_FALSE(fs::exists(dir / "x.orv"));
}

TEST(OrvtoolCommandLine, HelpPrintsUsageAndSucceeds) {
    TempDir dir;
    for (auto args : std::vector<std::vector<std::string>>{{"--help"},
                                                           {"-h"},
                                                           {"list", "--help"},
                                                           {"extract", "-h"},
                                                           {"pack", "--help"},
                                                           {"script", "--help"},
                                                           {"script", "decode", "-h"}}) {
        RunResult result = RunTool(dir, args);
        EXPECT_EQ(result.Status, 0) << args[0];
        EXPECT_TRUE(Contains(result.Out, "Usage: orvtool")) << args[0];
    }
    EXPECT_TRUE(Contains(RunTool(dir, {"pack", "--help"}).Out, "default 32"));
}

} // namespace
} // namespace orv
