// Ogg Vorbis voices: decoding whole, the trimming of trailing silence, and entries that are
// damaged or lie about their length.
#include "sound/ogg_samples.h"
#include "sound/ogg_voice.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <vector>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ToneSpec;

// Encoding runs orvtool, so each voice is made once for the whole program.
const Bytes& Encoded(const ToneSpec& spec) {
    static test::TempDir dir;
    static std::map<std::tuple<int32_t, uint32_t, double, double>, Bytes> cache;
    auto key = std::make_tuple(spec.Channels, spec.Rate, spec.ToneSeconds, spec.SilenceSeconds);
    auto found = cache.find(key);
    if (found == cache.end()) {
        std::string name = "voice" + std::to_string(cache.size());
        found = cache.emplace(key, test::EncodeOgg(test::Tone(spec), dir, name)).first;
    }
    return found->second;
}

int PeakOf(const PcmClip& clip, int channel, size_t firstFrame, size_t endFrame) {
    int peak = 0;
    for (size_t f = firstFrame; f < std::min(endFrame, clip.Frames()); ++f) {
        size_t at = f * static_cast<size_t>(clip.Channels) + static_cast<size_t>(channel);
        peak = std::max(peak, std::abs(int{clip.Samples[at]}));
    }
    return peak;
}

struct LengthCase {
    const char* Name;
    ToneSpec Spec;
    bool Trimmed; // else the playable length is the whole buffer
};

class OggVoiceLength : public testing::TestWithParam<LengthCase> {};

TEST_P(OggVoiceLength, DecodesTheToneAndTrimsOnlyLongVoices) {
    const LengthCase& c = GetParam();
    const ToneSpec& spec = c.Spec;
    const Bytes& entry = Encoded(spec);
    ASSERT_FALSE(entry.empty());
    size_t frames =
        ToneFrames(spec) + static_cast<size_t>(std::lround(spec.SilenceSeconds * spec.Rate));

    auto info = ReadOggInfo(entry);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Channels, spec.Channels);
    EXPECT_EQ(info->Rate, spec.Rate);
    EXPECT_EQ(info->Frames, static_cast<int64_t>(frames));

    PcmClip clip;
    ASSERT_TRUE(DecodeOggVoice(entry, clip));
    EXPECT_EQ(clip.Channels, spec.Channels);
    EXPECT_EQ(clip.Rate, spec.Rate);
    size_t bufferBytes = static_cast<size_t>(spec.Channels + 2) * frames;
    if (c.Trimmed) {
        // The silence goes, give or take the codec's ringing of one long block after the tone
        // and the quiet end of its fade.
        EXPECT_GE(clip.Frames(), ToneFrames(spec) - spec.Rate / 100);
        EXPECT_LE(clip.Frames(), ToneFrames(spec) + 2048);
    } else {
        EXPECT_EQ(clip.Frames(), bufferBytes / (2 * static_cast<size_t>(spec.Channels)));
    }
    // Away from the fades the tone keeps its level, and the channels their order.
    size_t quarter = ToneFrames(spec) / 4;
    int left = PeakOf(clip, 0, quarter, 3 * quarter);
    EXPECT_NEAR(left, spec.Left * 32767, 0.15 * spec.Left * 32767);
    if (spec.Channels == 2) {
        EXPECT_NEAR(PeakOf(clip, 1, quarter, 3 * quarter), spec.Right * 32767,
                    0.15 * spec.Right * 32767);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Voices, OggVoiceLength,
    testing::Values(
        // 1.3 s mono: 3 bytes a frame make 86000 bytes, of which the tone is the first half.
        LengthCase{"LongMonoLosesItsSilence", {1, 22050, 1.0, 0.3}, true},
        LengthCase{"LongStereoLosesItsSilence", {2, 44100, 1.0, 0.5}, true},
        // Under 30001 bytes the buffer plays whole: for mono that is half as long again as
        // the voice, the spare of the buffer's size being silence too.
        LengthCase{"ShortMonoKeepsItsSilenceAndTheSpare", {1, 8000, 0.5, 0.5}, false},
        LengthCase{"ShortStereoKeepsItsSilence", {2, 8000, 0.4, 0.4}, false}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(OggVoiceTrimming, TrimsOnlyZeroWordsAndKeepsAtLeastHalf) {
    struct Case {
        size_t Size, SoundBytes, Expected;
    } cases[] = {
        {30000, 0, 30000},     // below the threshold: the whole, silent or not
        {30001, 0, 14997},     // all silence: cut to just under half
        {40000, 40000, 39996}, // no silence: the last word goes all the same
        {40000, 30000, 29996}, // down to the word that still holds sound, not past it
        {40001, 30001, 29997},
    };
    for (const Case& c : cases) {
        Bytes decoded(c.Size, 0);
        std::fill_n(decoded.begin(), c.SoundBytes, uint8_t{7});
        EXPECT_EQ(PlayableVoiceBytes(decoded), c.Expected) << c.Size << " " << c.SoundBytes;
    }
}

struct SeekCase {
    int Whence;
    int64_t Offset;
    int Result;
    int64_t Position; // after the seek
};

class OggEntryStreamSeek : public testing::TestWithParam<SeekCase> {};

TEST_P(OggEntryStreamSeek, MovesWithinTheEntryAndRefusesPositionsOutsideIt) {
    const SeekCase& c = GetParam();
    Bytes entry(100, 1);
    OggEntryStream stream(entry);
    ASSERT_EQ(stream.Seek(40, 0), 0);
    EXPECT_EQ(stream.Seek(c.Offset, c.Whence), c.Result);
    EXPECT_EQ(stream.Tell(), c.Position);
}

INSTANTIATE_TEST_SUITE_P(
    Positions, OggEntryStreamSeek,
    testing::Values(SeekCase{0, 0, 0, 0}, SeekCase{0, 100, 0, 100}, SeekCase{0, 101, -1, 40},
                    SeekCase{0, -1, -1, 40}, SeekCase{1, 60, 0, 100}, SeekCase{1, 61, -1, 40},
                    SeekCase{1, -40, 0, 0}, SeekCase{1, -41, -1, 40}, SeekCase{2, 0, 0, 100},
                    SeekCase{2, -100, 0, 0}, SeekCase{2, 1, -1, 40}, SeekCase{2, -101, -1, 40},
                    SeekCase{3, 0, -1, 40}, SeekCase{0, INT64_MIN, -1, 40},
                    SeekCase{1, INT64_MAX, -1, 40}, SeekCase{2, INT64_MIN, -1, 40},
                    // Offsets whose low 32 bits alone would land inside the entry.
                    SeekCase{0, (int64_t{1} << 32) + 10, -1, 40}));

TEST(OggEntryStreamRead, CopiesWholeItemsUpToTheEndOfTheEntryAndNothingOfAnEmptyOne) {
    Bytes entry(100);
    for (size_t i = 0; i < entry.size(); ++i) {
        entry[i] = static_cast<uint8_t>(i);
    }
    OggEntryStream stream(entry);
    uint8_t to[64] = {};
    ASSERT_EQ(stream.Seek(90, 0), 0);
    EXPECT_EQ(stream.Read(to, 4, 10), 2u); // 10 bytes left: two whole items of 4
    EXPECT_EQ(to[0], 90);
    EXPECT_EQ(to[7], 97);
    EXPECT_EQ(stream.Tell(), 98);
    EXPECT_EQ(stream.Read(to, 1, 64), 2u);
    EXPECT_EQ(stream.Read(to, 1, 64), 0u);
    EXPECT_EQ(stream.Read(to, SIZE_MAX, 2), 0u);

    OggEntryStream empty({});
    EXPECT_EQ(empty.Read(to, 1, 64), 0u);
    EXPECT_EQ(empty.Seek(0, 2), 0);
    EXPECT_EQ(empty.Seek(1, 0), -1);
}

// ---- Damaged and lying entries.

uint32_t OggCrc(ByteSpan page) {
    uint32_t crc = 0;
    for (uint8_t byte : page) {
        uint32_t r = (crc >> 24 ^ byte) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
        }
        crc = crc << 8 ^ r;
    }
    return crc;
}

// Where each Ogg page of the entry starts.
std::vector<size_t> PageStarts(ByteSpan entry) {
    std::vector<size_t> starts;
    for (size_t at = 0; at + 27 <= entry.size();) {
        size_t segments = entry[at + 26];
        size_t length = 27 + segments;
        for (size_t i = 0; i < segments && at + 27 + i < entry.size(); ++i) {
            length += entry[at + 27 + i];
        }
        starts.push_back(at);
        at += length;
    }
    return starts;
}

// The entry with the granule position (the frame count that ov_pcm_total reports) of its
// last page replaced, and the page's checksum made to match.
Bytes WithLastGranule(Bytes entry, uint64_t granule) {
    size_t last = PageStarts(entry).back();
    for (int i = 0; i < 8; ++i) {
        entry[last + 6 + static_cast<size_t>(i)] = static_cast<uint8_t>(granule >> (8 * i));
    }
    StoreU32(&entry[last + 22], 0);
    StoreU32(&entry[last + 22], OggCrc(ByteSpan(entry).subspan(last)));
    return entry;
}

constexpr ToneSpec kMono{1, 22050, 1.0, 0.3};
// Long enough for its sound to span several pages: libvorbisfile takes the frame count of a
// stream's last page as it stands only when earlier pages carry sound too.
constexpr ToneSpec kLong{2, 44100, 3.0, 0.5};
constexpr uint64_t kLongFrames = 154350;

TEST(OggVoiceDamage, AnEntryCutInsideItsHeadersPlaysNothing) {
    const Bytes& entry = Encoded(kMono);
    for (size_t keep : {size_t{0}, size_t{4}, size_t{27}, size_t{58}, size_t{300}, size_t{1500}}) {
        ByteSpan cut = ByteSpan(entry).first(std::min(keep, entry.size()));
        PcmClip clip;
        EXPECT_FALSE(DecodeOggVoice(cut, clip)) << keep;
        EXPECT_FALSE(ReadOggInfo(cut)) << keep;
    }
}

TEST(OggVoiceDamage, AnEntryCutInItsSoundPlaysThePartItHolds) {
    const Bytes& entry = Encoded(kLong);
    std::vector<size_t> pages = PageStarts(entry);
    ASSERT_GE(pages.size(), 4u);
    size_t middleOfLastPage = (pages.back() + entry.size()) / 2;
    PcmClip whole, cut;
    ASSERT_TRUE(DecodeOggVoice(entry, whole));
    ASSERT_TRUE(DecodeOggVoice(ByteSpan(entry).first(middleOfLastPage), cut));
    EXPECT_LT(cut.Frames(), whole.Frames());
    EXPECT_GT(cut.Frames(), 0u);
}

TEST(OggVoiceDamage, ALengthTheEntryCannotHoldPlaysNothing) {
    const Bytes& entry = Encoded(kLong);
    // The rewritten page is taken (its checksum is right): its count is the stream's.
    auto info = ReadOggInfo(WithLastGranule(entry, kLongFrames - 1000));
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Frames, static_cast<int64_t>(kLongFrames - 1000));
    // More than 2000 frames a byte of the entry; more than an hour, in an entry padded so
    // that the first bound would allow it.
    struct Case {
        size_t Padding;
        uint64_t Frames;
    } cases[] = {{0, uint64_t{entry.size()} * 2001},
                 {0, uint64_t{1} << 62},
                 {100000, uint64_t{44100} * 3600 + 1}};
    for (const Case& c : cases) {
        Bytes lying = WithLastGranule(entry, c.Frames);
        lying.resize(lying.size() + c.Padding, 0);
        if (c.Padding > 0) {
            ASSERT_GT(uint64_t{lying.size()} * 2000, c.Frames);
        }
        PcmClip clip;
        EXPECT_FALSE(DecodeOggVoice(lying, clip)) << c.Frames;
        EXPECT_FALSE(ReadOggInfo(lying)) << c.Frames;
    }
}

TEST(OggVoiceDamage, AStreamLongerThanItsCountStopsAtTheBuffersEnd) {
    // The stream decodes to 154350 frames but claims fewer: the buffer is sized from the
    // claim and must not be overrun.
    for (uint64_t granule : {uint64_t{1}, uint64_t{1000}, uint64_t{70000}}) {
        Bytes lying = WithLastGranule(Encoded(kLong), granule);
        PcmClip clip;
        ASSERT_TRUE(DecodeOggVoice(lying, clip)) << granule;
        EXPECT_LE(clip.Samples.size(), 2 * granule) << granule;
    }
}

TEST(OggVoiceDamage, FlippedBytesNeverReachOutsideTheBuffers) {
    const Bytes& entry = Encoded({2, 8000, 0.4, 0.1});
    uint32_t state = 12345;
    for (int round = 0; round < 60; ++round) {
        Bytes damaged = entry;
        for (int flip = 0; flip < 1 + round % 4; ++flip) {
            state = state * 1664525u + 1013904223u;
            damaged[state % damaged.size()] ^= static_cast<uint8_t>(1 + (state >> 24) % 255);
        }
        PcmClip clip;
        if (DecodeOggVoice(damaged, clip)) {
            EXPECT_TRUE(clip.Channels == 1 || clip.Channels == 2);
            EXPECT_EQ(clip.Samples.size() % static_cast<size_t>(clip.Channels), 0u);
        }
    }
}

// A voice nobody hears is measured from its end where its stream is whole; whatever the
// entry, the measure must be the length the whole decode plays.
TEST(OggVoiceMeasure, GivesTheLengthOfTheWholeDecodeForEveryEntry) {
    std::vector<std::pair<std::string, Bytes>> entries;
    for (const ToneSpec& tone : {ToneSpec{1, 22050, 1.0, 0.3}, ToneSpec{2, 44100, 1.0, 0.5},
                                 ToneSpec{1, 8000, 0.5, 0.5}, ToneSpec{2, 8000, 0.4, 0.4},
                                 // Silence longer than the first tail it decodes.
                                 ToneSpec{1, 22050, 1.0, 1.5}, kLong}) {
        entries.emplace_back("tone", Encoded(tone));
    }
    const Bytes& long_ = Encoded(kLong);
    std::vector<size_t> pages = PageStarts(long_);
    for (uint64_t granule : {uint64_t{1000}, uint64_t{70000}, kLongFrames - 1000, kLongFrames + 5000}) {
        entries.emplace_back("granule " + std::to_string(granule), WithLastGranule(long_, granule));
    }
    for (size_t cut : {(pages.back() + long_.size()) / 2, (pages[2] + pages[3]) / 2}) {
        entries.emplace_back("cut at " + std::to_string(cut), Bytes(long_.begin(), long_.begin() + static_cast<ptrdiff_t>(cut)));
    }
    uint32_t state = 777;
    for (int round = 0; round < 40; ++round) {
        Bytes damaged = long_;
        state = state * 1664525u + 1013904223u;
        damaged[state % damaged.size()] ^= static_cast<uint8_t>(1 + (state >> 24) % 255);
        entries.emplace_back("flipped " + std::to_string(state % damaged.size()), damaged);
    }
    for (const auto& [name, entry] : entries) {
        SCOPED_TRACE(name);
        PcmClip clip;
        bool decoded = DecodeOggVoice(entry, clip);
        std::optional<OggInfo> measured = MeasureOggVoice(entry);
        ASSERT_EQ(measured.has_value(), decoded);
        if (decoded) {
            EXPECT_EQ(measured->Frames, static_cast<int64_t>(clip.Frames()));
            EXPECT_EQ(measured->Channels, clip.Channels);
            EXPECT_EQ(measured->Rate, clip.Rate);
        }
    }
}

} // namespace
} // namespace orv
