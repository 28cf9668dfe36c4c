#include "base/files.h"
#include "gfx/gra_encoder.h"
#include "gfx/jpeg_decoder.h"
#include "gfx/picture_sets.h"
#include "gfx/pictures.h"
#include "jpeg_fixture.h"
#include "test_support.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ToBytes;

Bytes Gra(int w, int h, uint32_t bgr) {
    Surface s(w, h);
    s.Fill(bgr);
    return *EncodeGraPicture(s, {});
}

// A side-by-side overlay: `w` x `h` pixels of colour, then as many of mask.
Bytes Overlay(int w, int h, uint32_t bgr, uint32_t mask) {
    Surface s(w * 2, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            s.SetPixel(x, y, bgr);
            s.SetPixel(w + x, y, mask);
        }
    }
    return *EncodeGraPicture(s, {});
}

Bytes Lines(const std::vector<std::string>& lines) {
    Bytes out;
    for (const auto& line : lines) {
        out.insert(out.end(), line.begin(), line.end());
        out.push_back(0);
    }
    return out;
}

bool Near(uint8_t value, int expected) {
    return std::abs(int{value} - expected) <= 3;
}

struct RecordingHooks : PictureHooks {
    void BackgroundLoading(std::string_view upperName) override { Names.emplace_back(upperName); }
    std::vector<std::string> Names;
};

class PictureLoading : public testing::Test {
protected:
    void Open(std::vector<ArchiveEntryInput> jpeg, std::vector<ArchiveEntryInput> slot0,
              std::vector<ArchiveEntryInput> slot1 = {}, std::vector<ArchiveEntryInput> slot2 = {},
              std::vector<std::string> bgset = {}, std::vector<std::string> sprset = {}) {
        test::WriteFile(m_dir / "ov_data.orv", test::MakeTextArchive({{"_bgset", Lines(bgset)},
                                                                      {"_sprset", Lines(sprset)}}));
        test::WriteFile(m_dir / "ov_gjp.orv", test::MakeArchive(jpeg));
        test::WriteFile(m_dir / "ov_gra.orv", test::MakeArchive(slot0));
        if (!slot1.empty()) {
            test::WriteFile(m_dir / "ov_gra2.orv", test::MakeArchive(slot1));
        }
        if (!slot2.empty()) {
            test::WriteFile(m_dir / "ov_gra3.orv", test::MakeArchive(slot2));
        }
        m_archives.ReadTextIndexes();
        m_archives.OpenDataArchives({});
    }
    static Bytes Jpeg() {
        return Bytes(std::begin(test::kRedBlueJpeg), std::end(test::kRedBlueJpeg));
    }

    test::TempDir m_dir;
    Archives m_archives{m_dir.Path()};
    ScriptState m_script{m_archives};
    RecordingHooks m_hooks;
    Pictures m_pictures{m_archives, m_hooks};
    Surface m_target{4, 4};
};

TEST_F(PictureLoading, TheJpegArchiveWinsOverEveryGraSlot) {
    Open({{"BG01", Jpeg()}}, {{"BG01", Gra(2, 2, 0x00FF00)}}, {}, {{"BG01", Gra(2, 2, 0xFF)}});
    ASSERT_TRUE(m_pictures.LoadPicture("bg01", m_target));
    EXPECT_EQ(m_target.Width(), 16);
    EXPECT_EQ(m_target.Height(), 8);
    const uint8_t* left = m_target.Row(4) + 3 * 2;
    const uint8_t* right = m_target.Row(4) + 3 * 13;
    EXPECT_TRUE(Near(left[2], 200) && Near(left[1], 40) && Near(left[0], 40));
    EXPECT_TRUE(Near(right[2], 30) && Near(right[1], 60) && Near(right[0], 220));
}

TEST_F(PictureLoading, ALaterGraSlotOverridesAnEarlierOneWhateverTheCase) {
    Open({}, {{"CH01", Gra(1, 1, 0x0000FF)}, {"CH02", Gra(1, 1, 0x0000FF)}},
         {{"ch02", Gra(1, 1, 0x00FF00)}}, {{"CH01", Gra(1, 1, 0xFF0000)}});
    ASSERT_TRUE(m_pictures.LoadPicture("ch01", m_target));
    EXPECT_EQ(m_target.Pixel(0, 0), 0xFF0000u);
    ASSERT_TRUE(m_pictures.LoadPicture("Ch02", m_target));
    EXPECT_EQ(m_target.Pixel(0, 0), 0x00FF00u);
    EXPECT_TRUE(m_pictures.PictureExists("cH01"));
    EXPECT_FALSE(m_pictures.PictureExists("CH03"));
}

TEST_F(PictureLoading, AMissingNameLeavesTheTargetAsItWas) {
    Open({}, {{"A", Gra(1, 1, 0)}});
    m_target.Fill(0x123456);
    EXPECT_FALSE(m_pictures.LoadPicture("B", m_target));
    EXPECT_EQ(m_target.Width(), 4);
    EXPECT_EQ(m_target.Pixel(3, 3), 0x123456u);
    EXPECT_EQ(m_pictures.LoadLayerPicture("B", m_target), 1);
}

TEST_F(PictureLoading, DamagedEntriesLoadWhatTheyHoldAndAreReported) {
    Bytes cut = Jpeg();
    cut.resize(cut.size() - 8); // inside the scan data
    Bytes shortGra = Gra(2, 2, 0);
    shortGra.resize(10);
    Open({{"CUT", cut}, {"JUNK", ToBytes("not a picture at all")}}, {{"SHORT", shortGra}});
    test::CapturedDiagnostics diagnostics;
    ASSERT_TRUE(m_pictures.LoadPicture("CUT", m_target));
    EXPECT_EQ(m_target.Width(), 16);
    EXPECT_EQ(m_target.Height(), 8);
    ASSERT_TRUE(m_pictures.LoadPicture("JUNK", m_target));
    EXPECT_TRUE(m_target.Empty());
    m_target.Allocate(2, 2);
    EXPECT_FALSE(m_pictures.LoadPicture("SHORT", m_target));
    EXPECT_EQ(m_target.Width(), 2);
    EXPECT_EQ(diagnostics.Messages.size(), 3u);
}

TEST_F(PictureLoading, SolidColourNamesFillTheTargetAtItsSize) {
    Open({}, {});
    EXPECT_EQ(m_pictures.LoadLayerPicture("sF80", m_target), 0);
    EXPECT_EQ(m_target.Width(), 4);
    EXPECT_EQ(m_target.Pixel(3, 3), 0x0080F0u);
    m_pictures.LoadLayerPicture("SGGG", m_target);
    EXPECT_EQ(m_target.Pixel(0, 0), 0xFFFFFFu);
    m_pictures.LoadLayerPicture("S9x", m_target);
    EXPECT_EQ(m_target.Pixel(0, 0), 0x000090u);
}

TEST(ColourDigits, CoverDigitsLettersAndG) {
    EXPECT_EQ(ColourDigit('0'), 0);
    EXPECT_EQ(ColourDigit('9'), 144);
    EXPECT_EQ(ColourDigit('a'), 160);
    EXPECT_EQ(ColourDigit('F'), 240);
    EXPECT_EQ(ColourDigit('g'), 255);
    EXPECT_EQ(ColourDigit('H'), 0);
    EXPECT_EQ(SolidColour("S000"), 0u);
    EXPECT_EQ(SolidColour("SGGG"), 0xFFFFFFu);
}

TEST_F(PictureLoading, CompositesLoadTheBaseThenBlendOverlaysAndStopAfterEightLines) {
    std::vector<std::string> bgset = {":ROW", "base"};
    for (int x = 0; x < 8; ++x) {
        bgset.push_back("dot," + std::to_string(x) + ",0");
    }
    bgset.insert(bgset.end(), {":TWO", "base", "dot, 3 ,0", ":NEXT", "dot,5,0", ":END"});
    Open({}, {{"BASE", Gra(10, 1, 0)}, {"DOT", Overlay(1, 1, 0xFFFFFF, 0xFFFFFF)}}, {}, {}, bgset);
    m_pictures.BgSetLines = {":ROW", "BASE"};
    for (int x = 0; x < 8; ++x) {
        m_pictures.BgSetLines.push_back("DOT," + std::to_string(x) + ",0");
    }
    m_pictures.BgSetLines.insert(m_pictures.BgSetLines.end(),
                                 {":TWO", "BASE", "DOT, 3 ,0", ":NEXT", "DOT,5,0", ":END"});

    ASSERT_EQ(m_pictures.LoadLayerPicture("#row", m_target), 0);
    EXPECT_EQ(m_target.Width(), 10);
    // The base and seven dots are the eight lines; the eighth dot is not drawn.
    EXPECT_EQ(m_target.Pixel(6, 0), 0xFEFEFEu);
    EXPECT_EQ(m_target.Pixel(7, 0), 0u);

    ASSERT_EQ(m_pictures.LoadLayerPicture("#TWO", m_target), 0);
    EXPECT_EQ(m_target.Pixel(3, 0), 0xFEFEFEu);
    EXPECT_EQ(m_target.Pixel(5, 0), 0u); // past the next label

    m_target.Fill(0x111111);
    EXPECT_EQ(m_pictures.LoadLayerPicture("#NONE", m_target), 1);
    EXPECT_EQ(m_target.Pixel(0, 0), 0x111111u);
}

TEST_F(PictureLoading, AMissingOverlayIsLeftOutInsteadOfRepeatingThePreviousOne) {
    Open({}, {{"BASE", Gra(4, 1, 0)}, {"DOT", Overlay(1, 1, 0xFFFFFF, 0xFFFFFF)}});
    m_pictures.BgSetLines = {":A", "BASE", "DOT,0,0", ":B", "BASE", "GONE,2,0", ":END"};
    ASSERT_EQ(m_pictures.LoadLayerPicture("#A", m_target), 0);
    ASSERT_EQ(m_pictures.LoadLayerPicture("#B", m_target), 0);
    EXPECT_EQ(m_target.Pixel(0, 0), 0u);
    EXPECT_EQ(m_target.Pixel(2, 0), 0u);
}

TEST_F(PictureLoading, BackgroundsTellTheHooksTheUpperCasedName) {
    Open({}, {{"BG02", Gra(3, 2, 0x010203)}});
    EXPECT_EQ(m_pictures.LoadBackground("bg02", m_target), 0);
    EXPECT_EQ(m_pictures.LoadBackground("s000", m_target), 0);
    EXPECT_EQ(m_pictures.LoadBackground("bg99", m_target), 1);
    EXPECT_EQ(m_hooks.Names, (std::vector<std::string>{"BG02", "S000", "BG99"}));
    EXPECT_EQ(m_target.Width(), 3);
}

TEST_F(PictureLoading, TheBgSetKeepsItsLinesUpToEndAndExportsLabelsAfterDebugOut) {
    Open({}, {{"BASE", Gra(6, 2, 0x0000FF)}}, {}, {},
         {"; a comment", ":first", "base", "", "$debug_out", ":Second", "base", ":END", ":LATE",
          "base"},
         {"; parts", ":chara", "body", "arm,4,-2", "", ":end", "ignored"});
    Surface background(kScreenWidth, kScreenHeight);
    LoadBgSet(m_script, m_pictures, background, m_dir.Path());
    EXPECT_EQ(m_pictures.BgSetLines,
              (std::vector<std::string>{":FIRST", "BASE", ":SECOND", "BASE", ":END"}));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "BMP" / "FIRST.bmp"));
    auto bmp = ReadWholeFile(m_dir / "BMP" / "SECOND.bmp");
    ASSERT_TRUE(bmp);
    // 6 x 2 pixels, rows of 18 bytes padded to 20, bottom row first.
    ASSERT_EQ(bmp->size(), 54u + 40u);
    EXPECT_EQ((*bmp)[0], 'B');
    EXPECT_EQ(LoadU32(bmp->data() + 18), 6u);
    EXPECT_EQ(LoadU32(bmp->data() + 22), 2u);
    EXPECT_EQ((*bmp)[54 + 2], 0xFF); // red of the first pixel
    EXPECT_EQ(background.Width(), 6);

    LoadSprSet(m_script, m_pictures);
    EXPECT_EQ(m_pictures.SprSetLines,
              (std::vector<std::string>{":CHARA", "BODY", "ARM,4,-2", ":END"}));
}

TEST(BgSetExport, LabelsCannotNameAPathOutsideTheFolder) {
    EXPECT_EQ(BgSetExportName(":ROOM"), "ROOM.bmp");
    EXPECT_EQ(BgSetExportName(":../X"), "_.._X.bmp");
    EXPECT_EQ(BgSetExportName(":"), "_.bmp");
    EXPECT_EQ(BgSetExportName(":A/B\\C"), "A_B_C.bmp");
}

TEST(JpegDecoding, DecodesToBlueGreenRedAndRefusesHugePictures) {
    ByteSpan jpeg(test::kRedBlueJpeg);
    Surface target;
    ASSERT_EQ(DecodeJpegPicture(jpeg, target), JpegStatus::Complete);
    EXPECT_EQ(target.Width(), 16);
    EXPECT_TRUE(Near(target.Row(0)[2], 200));
    target.Allocate(1, 1);
    EXPECT_EQ(DecodeJpegPicture(jpeg, target, 100), JpegStatus::Refused);
    EXPECT_EQ(target.Width(), 1);
    EXPECT_EQ(DecodeJpegPicture({}, target), JpegStatus::Damaged);
    EXPECT_TRUE(target.Empty());
}

TEST(JpegDecoding, EveryCutOfAStreamDecodesWithoutHarm) {
    Bytes jpeg(std::begin(test::kRedBlueJpeg), std::end(test::kRedBlueJpeg));
    Surface target;
    for (size_t size = 0; size <= jpeg.size(); ++size) {
        JpegStatus status = DecodeJpegPicture(ByteSpan(jpeg.data(), size), target);
        if (status == JpegStatus::Damaged && !target.Empty()) {
            EXPECT_EQ(target.Width(), 16);
        }
    }
}

} // namespace
} // namespace orv
