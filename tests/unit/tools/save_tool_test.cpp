// orvtool save info and global info, run as a subprocess over files an engine wrote in the
// test: saved games, save0.dat and kaiso.dat.
#include "base/files.h"
#include "engine/engine.h"
#include "engine/fake_platform.h"
#include "gfx/gra_encoder.h"
#include "run_program.h"
#include "save/global_data.h"
#include "save/save_layout.h"
#include "test_support.h"

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>
#include <zlib.h>

#include <gtest/gtest.h>

namespace orv::test {
namespace {

namespace layout = save_layout;

std::string Script(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.push_back('\0');
    }
    return text;
}

Bytes Picture(int width, int height, uint32_t bgr) {
    Surface picture(width, height);
    picture.Fill(bgr);
    return *EncodeGraPicture(picture, {});
}

// The value shown on the line "  LABEL   VALUE" of the output, or "<missing>".
std::string Shown(const std::string& out, std::string_view label) {
    std::istringstream lines(out);
    std::string line;
    std::string start = "  " + std::string(label) + " ";
    while (std::getline(lines, line)) {
        if (line.starts_with(start)) {
            size_t value = line.find_first_not_of(' ', start.size());
            return value == std::string::npos ? std::string() : line.substr(value);
        }
    }
    return "<missing>";
}

bool Contains(const std::string& text, std::string_view part) {
    return text.find(part) != std::string::npos;
}

struct PngImage {
    uint32_t Width = 0;
    uint32_t Height = 0;
    Bytes Rows; // each row: its filter byte, then red, green, blue
};

// Reads the PNG files our writer makes: one IHDR, IDAT chunks, no interlace.
PngImage ReadPng(const Bytes& file) {
    PngImage png;
    auto big32 = [&](size_t at) {
        return uint32_t{file[at]} << 24 | uint32_t{file[at + 1]} << 16 |
               uint32_t{file[at + 2]} << 8 | file[at + 3];
    };
    Bytes packed;
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = big32(at);
        std::string type(file.begin() + static_cast<ptrdiff_t>(at + 4),
                         file.begin() + static_cast<ptrdiff_t>(at + 8));
        if (at + 12 + length > file.size()) {
            break;
        }
        if (type == "IHDR") {
            png.Width = big32(at + 8);
            png.Height = big32(at + 12);
        } else if (type == "IDAT") {
            packed.insert(packed.end(), file.begin() + static_cast<ptrdiff_t>(at + 8),
                          file.begin() + static_cast<ptrdiff_t>(at + 8 + length));
        }
        at += 12 + length;
    }
    png.Rows.resize(size_t{png.Height} * (1 + 3 * size_t{png.Width}));
    uLongf size = png.Rows.size();
    EXPECT_EQ(uncompress(png.Rows.data(), &size, packed.data(), packed.size()), Z_OK);
    EXPECT_EQ(size, png.Rows.size());
    return png;
}

class SaveTool : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFile(m_dir / "ov_gra.orv",
                  MakeArchive({{"A010", Picture(kScreenWidth, kScreenHeight, 0x0000FF)},
                               {"B031", Picture(200, 400, 0x00FF00)},
                               {"M031", Picture(200, 400, 0xFFFFFF)}}));
        WriteFile(m_dir / "ov_data.orv",
                  MakeTextArchive({{"main", ToBytes(Script({"*title Chapter", "*bg A010 0",
                                                            "*spr B031", "*call sub",
                                                            "*sleep 10"}))},
                                   {"sub", ToBytes(Script({">Aoi",
                                                           "A line in the called script.",
                                                           "\\", "*end"}))}}));
        m_platform.Time.tm_year = 2026 - 1900;
        m_platform.Time.tm_mon = 11;
        m_platform.Time.tm_mday = 9;
        m_platform.Time.tm_hour = 18;
        m_platform.Time.tm_min = 5;
        m_platform.Time.tm_sec = 30;
        m_engine = StartEngine(m_platform, m_dir.Path(), m_dir / "data");
        m_engine->text.Delay = 1;
    }

    // Plays until the called script waits at its page's end, then saves slot 1.
    std::filesystem::path SaveInTheCalledScript() {
        for (int i = 0; i < 100 && m_engine->wait.WaitKind == 0; ++i) {
            m_platform.Pass();
        }
        EXPECT_NE(m_engine->wait.WaitKind, 0) << "the called script did not come to its wait";
        // The game has no sounds to play; the names are what a save keeps of them.
        CopyName(m_engine->sound.LoopName, "SEH1RAIN");
        CopyName(m_engine->sound.LastVoice, "AOI0001");
        EXPECT_TRUE(m_engine->saves.SaveSlot(1, true));
        EXPECT_TRUE(m_engine->saves.SetSaveComment(1, "Before the end"));
        return m_engine->saves.Location.SlotPath(1);
    }

    ProgramResult Run(const std::vector<std::string>& args) {
        return RunProgram(ORVTOOL_PATH, args, m_dir.Path(), m_output.Path());
    }

    TempDir m_dir;
    TempDir m_output;
    FakePlatform m_platform;
    std::unique_ptr<Engine> m_engine;
};

TEST_F(SaveTool, InfoShowsWhereASavedGameGoesOnAndWithWhat) {
    std::filesystem::path slot = SaveInTheCalledScript();
    const Engine& e = *m_engine;
    ASSERT_EQ(e.dispatcher.CallDepth, 1);
    ProgramResult run = Run({"save", "info", slot.string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    const std::string& out = run.Out;
    EXPECT_TRUE(Contains(out, "220738 bytes, complete")) << out;
    EXPECT_EQ(Shown(out, "date line"), "2026/12/09 18:05:30  Chapter");
    EXPECT_EQ(Shown(out, "comment"), "Before the end");
    EXPECT_EQ(Shown(out, "script"), "sub");
    EXPECT_EQ(Shown(out, "resume position"), std::to_string(e.script.ReadPos));
    EXPECT_EQ(Shown(out, "NeedLine"), std::to_string(e.script.NeedLine));
    EXPECT_EQ(Shown(out, "call depth"), "1");
    EXPECT_TRUE(Contains(out, "    level 1: main, returning to " +
                                  std::to_string(e.dispatcher.CallReturn[0]) + "\n"))
        << out;
    EXPECT_FALSE(Contains(out, "level 2"));
    EXPECT_EQ(Shown(out, "ReturnScriptName"), "sub");
    EXPECT_EQ(Shown(out, "background"), "A010");
    EXPECT_EQ(Shown(out, "characters"), "B031");
    EXPECT_EQ(Shown(out, "overlay"), "(none)");
    EXPECT_EQ(Shown(out, "LoopName"), "SEH1RAIN");
    EXPECT_EQ(Shown(out, "LastVoice"), "AOI0001");
    EXPECT_EQ(Shown(out, "speaker"), "Aoi");
    EXPECT_EQ(Shown(out, "WaitKind"), std::to_string(e.wait.WaitKind));
    EXPECT_EQ(Shown(out, "ScreenMode"), "0");
    EXPECT_EQ(Shown(out, "WindowShown"), "1");
}

TEST_F(SaveTool, AShortFileIsReadAsFarAsItGoesAndOneWithoutItsScriptFails) {
    Bytes file = *ReadWholeFile(SaveInTheCalledScript());
    // Past the names, before the thumbnail.
    WriteFile(m_dir / "short.dat", std::span(file).first(40000));
    ProgramResult run = Run({"save", "info", "--thumbnail", "short.png", "short.dat"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(Contains(run.Out, "40000 of 220738 bytes: short")) << run.Out;
    EXPECT_EQ(Shown(run.Out, "script"), "sub");
    EXPECT_EQ(Shown(run.Out, "background"), "A010");
    EXPECT_TRUE(Contains(run.Err, "missing part is black")) << run.Err;
    EXPECT_EQ(ReadPng(*ReadWholeFile(m_dir / "short.png")).Width, 160u);

    // Cut inside the script's name: shown, but the game would refuse it.
    WriteFile(m_dir / "cut.dat", std::span(file).first(layout::name::CurrentScriptName + 2));
    run = Run({"save", "info", "cut.dat"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(Shown(run.Out, "script"), "su");
    EXPECT_EQ(Shown(run.Out, "call depth"), "1");
    EXPECT_TRUE(Contains(run.Err, "cut.dat: ends before the name of its script")) << run.Err;
}

TEST_F(SaveTool, HostileNumbersAndNamesAreShownWithoutHarm) {
    Bytes file = *ReadWholeFile(SaveInTheCalledScript());
    StoreU32(file.data() + layout::RecordOffset(layout::record::CallDepth), 50);
    StoreU32(file.data() + layout::RecordOffset(layout::record::CallReturn + 8), 0x80000000u);
    // A name filling its field with no NUL, with an escape sequence in it.
    std::memcpy(file.data() + layout::name::SpeakerName, "\x1b[2Jxxxxxxxxxxxxxxxxxxxxxxxx",
                layout::name::kSpeakerNameSize);
    WriteFile(m_dir / "hostile.dat", file);
    ProgramResult run = Run({"save", "info", "hostile.dat"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(Shown(run.Out, "call depth"), "50 (out of range: the game takes 9)");
    EXPECT_TRUE(Contains(run.Out, "    level 9: (none), returning to -2147483648\n")) << run.Out;
    EXPECT_EQ(Shown(run.Out, "speaker"), "?[2J" + std::string(16, 'x'));
    EXPECT_EQ(Shown(run.Out, "script"), "sub");
}

TEST_F(SaveTool, TheThumbnailIsThe160By120PictureOfTheFileTopRowFirst) {
    Bytes file = *ReadWholeFile(SaveInTheCalledScript());
    ProgramResult run = Run({"save", "info", "--thumbnail", "thumb.png",
               m_engine->saves.Location.SlotPath(1).string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    std::optional<Bytes> written = ReadWholeFile(m_dir / "thumb.png");
    ASSERT_TRUE(written);
    PngImage png = ReadPng(*written);
    ASSERT_EQ(png.Width, 160u);
    ASSERT_EQ(png.Height, 120u);
    // The PNG is red, green, blue; the file blue, green, red.
    const uint8_t* thumbnail = file.data() + layout::kThumbnail;
    size_t mismatches = 0;
    for (size_t y = 0; y < 120; ++y) {
        const uint8_t* row = png.Rows.data() + y * (1 + 480) + 1;
        for (size_t x = 0; x < 160; ++x) {
            const uint8_t* bgr = thumbnail + y * 480 + 3 * x;
            mismatches += row[3 * x] != bgr[2] || row[3 * x + 1] != bgr[1] || row[3 * x + 2] != bgr[0];
        }
    }
    EXPECT_EQ(mismatches, 0u);
    // The scene is not one colour: red background, a green character above the bottom rows.
    const uint8_t* bottom = png.Rows.data() + 119 * 481 + 1 + 3 * 80;
    EXPECT_EQ(Bytes(bottom, bottom + 3), (Bytes{0xFF, 0, 0}));
    const uint8_t* character = png.Rows.data() + 10 * 481 + 1 + 3 * 80;
    // A mask of 255 draws FF as FE.
    EXPECT_EQ(Bytes(character, character + 3), (Bytes{0, 0xFE, 0}));
    for (const auto& entry : std::filesystem::directory_iterator(m_dir.Path())) {
        EXPECT_FALSE(entry.path().filename().string().starts_with("thumb.png."))
            << "a temporary file was left behind";
    }
}

TEST_F(SaveTool, GlobalInfoCountsTheBitsAndChecksTheChecksum) {
    VariableStore& vars = m_engine->vars;
    vars.SetFlag(FlagKind::E, 5);
    vars.SetFlag(FlagKind::E, 999);
    vars.SetPictureUnlockedBit(0, true);
    vars.SetPictureUnlockedBit(3999, true);
    vars.SetPictureUnlockedBit(17, true);
    vars.SetSceneSeenBit(1999, true);
    vars.SetReadMark(80000);
    m_engine->globals.CharacterChangeCount = 23;
    m_engine->globals.Save();
    std::filesystem::path path = m_engine->saves.Location.GlobalPath();
    Bytes file = *ReadWholeFile(path);
    int32_t marks = 0;
    for (int n = 0; n < VariableStore::kReadMarks; ++n) {
        marks += vars.ReadMark(n) ? 1 : 0;
    }

    ProgramResult run = Run({"global", "info", path.string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    char checksum[16];
    std::snprintf(checksum, sizeof checksum, "0x%08X",
                  GlobalChecksum(std::span(file).first(global_layout::kChecksum)));
    EXPECT_EQ(Shown(run.Out, "checksum"),
              std::string("holds (stored ") + checksum + ", computed " + checksum + ")");
    EXPECT_EQ(Shown(run.Out, "E flags set"), "2 of 1024");
    EXPECT_EQ(Shown(run.Out, "pictures seen"), "3 of 4000");
    EXPECT_EQ(Shown(run.Out, "recollection scenes seen"), "1 of 2000");
    EXPECT_EQ(Shown(run.Out, "read marks"), std::to_string(marks) + " of 80001");
    EXPECT_EQ(Shown(run.Out, "character changes"), "23");

    // One byte changed: the stored sum no longer matches the one computed.
    file[global_layout::kEFlags] ^= 0x01;
    WriteFile(m_dir / "damaged.dat", file);
    run = Run({"global", "info", "damaged.dat"});
    EXPECT_EQ(run.Status, 1);
    char computed[16];
    std::snprintf(computed, sizeof computed, "0x%08X",
                  GlobalChecksum(std::span(file).first(global_layout::kChecksum)));
    EXPECT_EQ(Shown(run.Out, "checksum"),
              std::string("fails (stored ") + checksum + ", computed " + computed + ")");
    EXPECT_EQ(Shown(run.Out, "E flags set"), "3 of 1024");
    EXPECT_TRUE(Contains(run.Err, "damaged.dat: the game would not take this file")) << run.Err;

    // Cut inside the picture block: picture 3999, the scenes and the change count are gone.
    WriteFile(m_dir / "short.dat", std::span(file).first(600));
    run = Run({"global", "info", "short.dat"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Out, "600 of 11140 bytes: short")) << run.Out;
    Bytes padded(global_layout::kChecksum, 0);
    std::copy_n(file.begin(), 600, padded.begin());
    std::snprintf(computed, sizeof computed, "0x%08X", GlobalChecksum(padded));
    EXPECT_EQ(Shown(run.Out, "checksum"), std::string("missing (computed ") + computed + ")");
    EXPECT_EQ(Shown(run.Out, "E flags set"), "3 of 1024");
    EXPECT_EQ(Shown(run.Out, "pictures seen"), "2 of 4000");
    EXPECT_EQ(Shown(run.Out, "recollection scenes seen"), "0 of 2000");
    EXPECT_EQ(Shown(run.Out, "character changes"), "0");
}

TEST_F(SaveTool, TheRecordSlotsShowTheirNamesAndScenesUpToTheFirstZero) {
    GlobalData& globals = m_engine->globals;
    globals.RecordSlots[0] = {3, 7, 12};
    globals.RecordSlots[1] = {40, 0, 41};
    // "お気に入り"
    std::strcpy(globals.RecordNames[1].data(), "\x82\xa8\x8b\x43\x82\xc9\x93\xfc\x82\xe8");
    std::strcpy(globals.RecordNames[9].data(), "Bell\a");
    m_engine->globals.Save();
    std::filesystem::path path = m_engine->saves.Location.RecollectionPath();
    ProgramResult run = Run({"global", "info", path.string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(Contains(run.Out, "2640 bytes, complete")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  slot 1: Record Slot 1: 3 7 12\n")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  slot 2: お気に入り: 40\n")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  slot 3: Record Slot 3: no scenes\n")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  slot 10: Bell?: no scenes\n")) << run.Out;

    // Any other size is save0.dat unless told otherwise.
    Bytes file = *ReadWholeFile(path);
    WriteFile(m_dir / "kaiso.dat", std::span(file).first(8));
    run = Run({"global", "info", "--recollection", "kaiso.dat"});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_TRUE(Contains(run.Out, "8 of 2640 bytes: short")) << run.Out;
    EXPECT_TRUE(Contains(run.Out, "  slot 1: Record Slot 1: 3 7\n")) << run.Out;
    run = Run({"global", "info", "kaiso.dat"});
    EXPECT_EQ(run.Status, 1);
    EXPECT_TRUE(Contains(run.Out, "(save0.dat)")) << run.Out;
}

TEST_F(SaveTool, BadCommandLinesAndUnreadableFilesFailWithAMessage) {
    const std::vector<std::pair<std::vector<std::string>, int>> cases = {
        {{"save"}, 2},
        {{"save", "show", "a.dat"}, 2},
        {{"save", "info"}, 2},
        {{"save", "info", "a.dat", "b.dat"}, 2},
        {{"save", "info", "--thumbnail"}, 2},
        {{"global", "info", "--colour", "a.dat"}, 2},
        {{"save", "info", "missing.dat"}, 1},
        {{"global", "info", "missing.dat"}, 1},
        {{"save", "info", "--thumbnail", "no/such/folder/t.png",
          m_engine->saves.Location.SlotPath(1).string()},
         1},
    };
    SaveInTheCalledScript();
    for (const auto& [args, status] : cases) {
        ProgramResult run = Run(args);
        EXPECT_EQ(run.Status, status) << args.back();
        EXPECT_TRUE(Contains(run.Err, "orvtool: ")) << args.back() << ": " << run.Err;
    }
    for (const char* verb : {"save", "global"}) {
        ProgramResult run = Run({verb, "--help"});
        EXPECT_EQ(run.Status, 0);
        EXPECT_TRUE(Contains(run.Out, std::string("Usage: orvtool ") + verb + " info")) << run.Out;
    }
}

} // namespace
} // namespace orv::test
