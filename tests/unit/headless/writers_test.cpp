// The output formats of headless runs: PNG screenshots, JSON dumps, WAV mixes.
#include "headless/json_writer.h"
#include "headless/png_writer.h"
#include "headless/wav_writer.h"

#include <zlib.h>

#include <gtest/gtest.h>

namespace orv {
namespace {

uint32_t Big32(const Bytes& data, size_t at) {
    return uint32_t{data[at]} << 24 | uint32_t{data[at + 1]} << 16 | uint32_t{data[at + 2]} << 8 |
           data[at + 3];
}

struct PngChunk {
    std::string Type;
    Bytes Data;
};

// Splits a PNG into its chunks, checking every chunk's CRC.
std::vector<PngChunk> Chunks(const Bytes& png) {
    std::vector<PngChunk> chunks;
    size_t at = 8;
    while (at + 12 <= png.size()) {
        uint32_t length = Big32(png, at);
        if (at + 12 + length > png.size()) {
            ADD_FAILURE() << "chunk runs past the file";
            break;
        }
        uLong crc = crc32(0L, png.data() + at + 4, 4 + length);
        EXPECT_EQ(Big32(png, at + 8 + length), crc);
        chunks.push_back({std::string(png.begin() + static_cast<long>(at) + 4,
                                      png.begin() + static_cast<long>(at) + 8),
                          Bytes(png.begin() + static_cast<long>(at) + 8,
                                png.begin() + static_cast<long>(at + 8 + length))});
        at += 12 + length;
    }
    EXPECT_EQ(at, png.size());
    return chunks;
}

TEST(PngWriter, WritesRgbScanLinesThatInflateToThePicture) {
    Surface picture(3, 2);
    picture.Fill(0x000000);
    uint8_t* p = picture.Row(1) + 2 * 3;
    p[0] = 0x30; // blue
    p[1] = 0x20; // green
    p[2] = 0x10; // red
    Bytes png = EncodePng(picture);
    ASSERT_GT(png.size(), 8u);
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(std::equal(signature, signature + 8, png.begin()));

    auto chunks = Chunks(png);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[0].Type, "IHDR");
    EXPECT_EQ(chunks[0].Data, (Bytes{0, 0, 0, 3, 0, 0, 0, 2, 8, 2, 0, 0, 0}));
    EXPECT_EQ(chunks[1].Type, "IDAT");
    EXPECT_EQ(chunks[2].Type, "IEND");
    EXPECT_TRUE(chunks[2].Data.empty());

    Bytes raw(2 * (1 + 3 * 3));
    uLongf rawSize = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &rawSize, chunks[1].Data.data(), chunks[1].Data.size()), Z_OK);
    EXPECT_EQ(rawSize, raw.size());
    EXPECT_EQ(raw, (Bytes{0, 0, 0, 0, 0, 0, 0, 0,    0,    0, //
                          0, 0, 0, 0, 0, 0, 0, 0x10, 0x20, 0x30}));
}

TEST(PngWriter, RefusesAnEmptySurface) {
    EXPECT_TRUE(EncodePng(Surface()).empty());
}

TEST(WavWriter, WritesAStereo16BitHeaderAndTheSamples) {
    const int16_t samples[] = {1, -1, 0x1234, -32768, 7};
    Bytes wav = EncodeWav(samples);
    // The odd last sample has no partner and is left out.
    ASSERT_EQ(wav.size(), 44u + 8u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
    EXPECT_EQ(LoadU32(wav.data() + 4), 36u + 8u);
    EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(LoadU32(wav.data() + 16), 16u);
    EXPECT_EQ(LoadU16(wav.data() + 20), 1);      // PCM
    EXPECT_EQ(LoadU16(wav.data() + 22), 2);      // channels
    EXPECT_EQ(LoadU32(wav.data() + 24), 44100u); // rate
    EXPECT_EQ(LoadU32(wav.data() + 28), 44100u * 4);
    EXPECT_EQ(LoadU16(wav.data() + 32), 4);
    EXPECT_EQ(LoadU16(wav.data() + 34), 16);
    EXPECT_EQ(std::string(wav.begin() + 36, wav.begin() + 40), "data");
    EXPECT_EQ(LoadU32(wav.data() + 40), 8u);
    EXPECT_EQ(Bytes(wav.begin() + 44, wav.end()),
              (Bytes{0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12, 0x00, 0x80}));

    Bytes empty = EncodeWav({});
    EXPECT_EQ(empty.size(), 44u);
    EXPECT_EQ(LoadU32(empty.data() + 40), 0u);
}

TEST(JsonWriter, PutsMembersOnLinesAndArraysOnOneLine) {
    JsonWriter json;
    json.BeginObject();
    json.Key("a");
    json.BeginArray();
    json.Integer(1);
    json.Integer(-2);
    json.EndArray();
    json.Key("empty");
    json.BeginObject();
    json.EndObject();
    json.Key("inner");
    json.BeginObject();
    json.Key("flag");
    json.Bool(true);
    json.EndObject();
    json.Key("list");
    json.BeginArray();
    json.EndArray();
    json.EndObject();
    EXPECT_EQ(json.Text(), "{\n  \"a\": [1, -2],\n  \"empty\": {},\n  \"inner\": {\n"
                           "    \"flag\": true\n  },\n  \"list\": []\n}\n");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    JsonWriter json;
    json.BeginArray();
    json.String(std::string("q\"b\\n\n\t\x01\x1f\x7f", 10));
    json.String("日本");
    json.EndArray();
    EXPECT_EQ(json.Text(), "[\"q\\\"b\\\\n\\n\\t\\u0001\\u001f\\u007f\", \"日本\"]\n");
}

} // namespace
} // namespace orv
