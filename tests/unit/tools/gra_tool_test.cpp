// orvtool gra: PNG files to GRA pictures and back, run as players run the tool.
#include "base/files.h"
#include "gfx/gra_decoder.h"
#include "gfx/gra_encoder.h"
#include "test_support.h"

#include <cstdlib>
#include <string>
#include <zlib.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

void PutU32Be(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(v >> shift));
    }
}

void Chunk(Bytes& out, const char* type, const Bytes& data) {
    PutU32Be(out, static_cast<uint32_t>(data.size()));
    size_t at = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutU32Be(out,
             static_cast<uint32_t>(crc32(0, out.data() + at, static_cast<uInt>(4 + data.size()))));
}

// An RGBA PNG whose pixel (x, y) has red 10x + 1, green 10y + 2, blue 3 and alpha 40x + y.
Bytes RgbaPng(int w, int h) {
    Bytes raw;
    for (int y = 0; y < h; ++y) {
        raw.push_back(0);
        for (int x = 0; x < w; ++x) {
            raw.insert(raw.end(),
                       {static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(10 * y + 2), 3,
                        static_cast<uint8_t>(40 * x + y)});
        }
    }
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    Bytes packed(size);
    compress(packed.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(size);
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    PutU32Be(header, static_cast<uint32_t>(w));
    PutU32Be(header, static_cast<uint32_t>(h));
    header.insert(header.end(), {8, 6, 0, 0, 0});
    Chunk(out, "IHDR", header);
    Chunk(out, "IDAT", packed);
    Chunk(out, "IEND", {});
    return out;
}

class GraTool : public testing::Test {
protected:
    int Run(const std::string& args) {
        std::string command = "cd '" + m_dir.Path().string() + "' && '" ORVTOOL_PATH "' " + args +
                              " >out.txt 2>err.txt";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    Surface Decoded(std::string_view file) {
        Surface picture;
        auto bytes = ReadWholeFile(m_dir / file);
        EXPECT_TRUE(bytes);
        EXPECT_EQ(DecodeGraPicture(bytes ? *bytes : Bytes(), picture), GraStatus::Complete);
        return picture;
    }
    test::TempDir m_dir;
};

TEST_F(GraTool, AlphaBecomesASideBySideOrStackedMask) {
    test::WriteFile(m_dir / "in.png", RgbaPng(3, 2));
    ASSERT_EQ(Run("gra encode --mask side --delta in.png side.gra"), 0);
    Surface side = Decoded("side.gra");
    ASSERT_EQ(side.Width(), 6);
    ASSERT_EQ(side.Height(), 2);
    EXPECT_EQ(side.Pixel(2, 1), 0x030C15u);
    EXPECT_EQ(side.Pixel(5, 1), 0x515151u); // alpha 40 x 2 + 1 in all three bytes

    ASSERT_EQ(Run("gra encode --mask stacked --rle in.png stacked.gra"), 0);
    Surface stacked = Decoded("stacked.gra");
    ASSERT_EQ(stacked.Width(), 3);
    ASSERT_EQ(stacked.Height(), 4);
    EXPECT_EQ(stacked.Pixel(1, 0), 0x03020Bu);
    EXPECT_EQ(stacked.Pixel(1, 3), 0x292929u);

    ASSERT_EQ(Run("gra encode --mask below in.png x.gra"), 2);
}

TEST_F(GraTool, DecodedPngsEncodeBackToTheSamePixels) {
    Surface picture(37, 5);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 37; ++x) {
            picture.SetPixel(x, y, static_cast<uint32_t>(x * 7 + y * 1000));
        }
    }
    test::WriteFile(m_dir / "a.gra", *EncodeGraPicture(picture, {true, true}));
    ASSERT_EQ(Run("gra decode a.gra a.png"), 0);
    ASSERT_EQ(Run("gra encode a.png b.gra"), 0);
    Surface back = Decoded("b.gra");
    ASSERT_EQ(back.Width(), 37);
    for (int y = 0; y < 5; ++y) {
        EXPECT_EQ(Bytes(back.Row(y), back.Row(y) + 111),
                  Bytes(picture.Row(y), picture.Row(y) + 111));
    }
}

TEST_F(GraTool, InfoAndDecodeReportDamage) {
    Surface picture(16, 16);
    picture.Fill(0x102030);
    Bytes entry = *EncodeGraPicture(picture, {});
    ASSERT_EQ(Run("gra info missing.gra"), 1);
    test::WriteFile(m_dir / "good.gra", entry);
    EXPECT_EQ(Run("gra info good.gra"), 0);
    auto out = ReadWholeFile(m_dir / "out.txt");
    ASSERT_TRUE(out);
    EXPECT_NE(std::string(out->begin(), out->end()).find("16 x 16"), std::string::npos);
    entry.resize(entry.size() - 2);
    test::WriteFile(m_dir / "bad.gra", entry);
    EXPECT_EQ(Run("gra info bad.gra"), 1);
    EXPECT_EQ(Run("gra decode bad.gra bad.png"), 1);
    EXPECT_TRUE(std::filesystem::exists(m_dir / "bad.png"));
}

} // namespace
} // namespace orv
