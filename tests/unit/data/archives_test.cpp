#include "data/archives.h"
#include "test_support.h"

#include <cstring>

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ToBytes;

class ArchivesTest : public testing::Test {
protected:
    void WriteText(std::string_view file, std::vector<ArchiveEntryInput> entries) {
        test::WriteFile(m_game / file, test::MakeTextArchive(std::move(entries)));
    }
    // A form B archive holding one entry whose name and bytes are `entry`.
    static void WriteSingle(const std::filesystem::path& path, std::string_view entry) {
        test::WriteFile(path, test::MakeArchive({{std::string(entry), ToBytes(entry)}}));
    }
    std::string Read(std::string_view name) {
        TextBuffer buffer;
        if (!m_archives.ReadTextEntry(name, buffer)) {
            return "<none>";
        }
        return std::string(buffer.View());
    }

    test::TempDir m_game;
    test::TempDir m_cd;
    Archives m_archives{m_game.Path()};
};

TEST_F(ArchivesTest, DataArchiveIsFoundWhateverTheCaseOfItsName) {
    EXPECT_FALSE(m_archives.DataArchiveExists());
    WriteText("OV_DATA.ORV", {{"main", ToBytes("hello")}});
    EXPECT_TRUE(m_archives.DataArchiveExists());
    m_archives.ReadTextIndexes();
    EXPECT_EQ(m_archives.DataIndex.FileName, (m_game / "OV_DATA.ORV").string());
    EXPECT_EQ(Read("main"), "hello");
}

TEST_F(ArchivesTest, TextEntriesAreTakenFromTheSecondArchiveFirst) {
    WriteText("ov_data.orv", {{"BOTH", ToBytes("old")}, {"ONLY1", ToBytes("one")}});
    WriteText("ov_data2.orv", {{"BOTH", ToBytes("new")}, {"ONLY2", ToBytes("two")}});
    m_archives.ReadTextIndexes();
    EXPECT_EQ(Read("BOTH"), "new");
    EXPECT_EQ(Read("ONLY1"), "one");
    EXPECT_EQ(Read("ONLY2"), "two");
    EXPECT_EQ(Read("NONE"), "<none>");
}

TEST_F(ArchivesTest, AMissingSecondTextArchiveChangesNothingElse) {
    WriteText("ov_data.orv", {{"BOTH", ToBytes("old")}});
    test::CapturedDiagnostics diagnostics;
    m_archives.ReadTextIndexes();
    EXPECT_TRUE(m_archives.Data2Index.Names.empty());
    EXPECT_EQ(Read("BOTH"), "old");
    EXPECT_TRUE(diagnostics.Messages.empty());
}

TEST_F(ArchivesTest, TextLookupIgnoresCase) {
    WriteText("ov_data.orv", {{"main", ToBytes("m")}, {"SEL01", ToBytes("s")}});
    m_archives.ReadTextIndexes();
    EXPECT_EQ(Read("MAIN"), "m");
    EXPECT_EQ(Read("Main"), "m");
    EXPECT_EQ(Read("sel01"), "s");
}

TEST_F(ArchivesTest, TextEntriesAreReadWithTheNegationUndone) {
    // Stored bytes are written raw here, not through MakeTextArchive.
    Bytes archive;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0,
                             {{"A", Bytes{0x00, 0xFF, 0x80}}, {"B", Bytes{0x00, 0xBF, 0xFF}}},
                             archive));
    test::WriteFile(m_game / "ov_data.orv", archive);
    m_archives.ReadTextIndexes();
    TextBuffer buffer;
    std::memset(buffer.Bytes.get(), 0xAA, 8);
    buffer.ReadPos = 17;
    ASSERT_TRUE(m_archives.ReadTextEntry("A", buffer));
    EXPECT_EQ(buffer.Size, 3);
    EXPECT_EQ(buffer.ReadPos, 0);
    EXPECT_EQ(Bytes(buffer.Bytes.get(), buffer.Bytes.get() + 4), (Bytes{0x00, 0x01, 0x80, 0x00}));
    ASSERT_TRUE(m_archives.ReadTextEntry("B", buffer));
    EXPECT_EQ(Bytes(buffer.Bytes.get(), buffer.Bytes.get() + 3), (Bytes{0x00, 0x41, 0x01}));
}

TEST_F(ArchivesTest, TextEntriesUpToTheBufferSizeAreReadAndLargerOnesRefused) {
    Bytes full(TextBuffer::Capacity, 0xBF);
    Bytes over(TextBuffer::Capacity + 1, 0xBF);
    WriteText("ov_data.orv", {{"FULL", full}, {"OVER", over}});
    m_archives.ReadTextIndexes();
    TextBuffer buffer;
    ASSERT_TRUE(m_archives.ReadTextEntry("FULL", buffer));
    EXPECT_EQ(buffer.Size, TextBuffer::Capacity);
    EXPECT_EQ(buffer.Bytes[TextBuffer::Capacity], 0);

    std::memcpy(buffer.Bytes.get(), "keep", 5);
    buffer.Size = 4;
    buffer.ReadPos = 2;
    test::CapturedDiagnostics diagnostics;
    EXPECT_FALSE(m_archives.ReadTextEntry("OVER", buffer));
    EXPECT_EQ(buffer.View(), "keep");
    EXPECT_EQ(buffer.ReadPos, 2);
    EXPECT_EQ(diagnostics.Messages.size(), 1u);
}

TEST_F(ArchivesTest, ATextArchiveThatVanishedLeavesTheBufferUnchanged) {
    WriteText("ov_data.orv", {{"MAIN", ToBytes("text")}});
    m_archives.ReadTextIndexes();
    std::filesystem::remove(m_game / "ov_data.orv");
    TextBuffer buffer;
    std::memcpy(buffer.Bytes.get(), "keep", 5);
    buffer.Size = 4;
    test::CapturedDiagnostics diagnostics;
    EXPECT_FALSE(m_archives.ReadTextEntry("MAIN", buffer));
    EXPECT_EQ(buffer.View(), "keep");
}

TEST_F(ArchivesTest, ADamagedIndexIsEmptyAndReportedAMissingOneIsSilent) {
    Bytes archive = test::MakeTextArchive({{"MAIN", ToBytes("text")}});
    archive.resize(30); // the record is cut
    test::WriteFile(m_game / "ov_data.orv", archive);
    test::CapturedDiagnostics diagnostics;
    m_archives.ReadTextIndexes();
    EXPECT_TRUE(m_archives.DataIndex.Names.empty());
    ASSERT_EQ(diagnostics.Messages.size(), 1u);
    EXPECT_NE(diagnostics.Messages[0].find("ov_data.orv"), std::string::npos);

    diagnostics.Messages.clear();
    m_archives.OpenDataArchives({});
    EXPECT_TRUE(diagnostics.Messages.empty());
}

TEST_F(ArchivesTest, EverySlotReadsItsOwnFile) {
    const std::vector<std::string> files = {
        "ov_gra.orv",  "ov_gra2.orv", "ov_gra3.orv", "ov_gjp.orv", "ov_wav1.orv", "ov_wav2.orv",
        "ov_wav3.orv", "ov_wav4.orv", "ov_wav5.orv", "ov_se0.orv", "ov_se1.orv",  "ov_se2.orv",
        "ov_ogg1.orv", "ov_ogg2.orv", "ov_ogg3.orv", "ov_bgm.orv", "ov_anim.orv", "ov_anim2.orv"};
    for (const auto& file : files) {
        WriteSingle(m_game / file, file);
    }
    m_archives.OpenDataArchives({});
    const Archives& a = m_archives;
    const std::vector<const ArchiveIndex*> slots = {
        &a.Gra[0], &a.Gra[1], &a.Gra[2], &a.Gjp,   &a.Wav[0],  &a.Wav[1],
        &a.Wav[2], &a.Wav[3], &a.Wav[4], &a.Se[0], &a.Se[1],   &a.Se[2],
        &a.Ogg[0], &a.Ogg[1], &a.Ogg[2], &a.Bgm,   &a.Anim[0], &a.Anim[1]};
    ASSERT_EQ(slots.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(slots[i]->FileName, (m_game / files[i]).string());
        EXPECT_EQ(FindEntry(*slots[i], files[i]), 0) << files[i];
    }
    EXPECT_TRUE(m_archives.FirstImageArchiveExists());
}

TEST_F(ArchivesTest, UpperCaseArchiveNamesAreFoundInBothDirectories) {
    WriteSingle(m_game / "OV_GRA.ORV", "GRA");
    WriteSingle(m_cd / "Ov_Bgm.Orv", "M01");
    m_archives.SetCdDirectory(m_cd.Path().string());
    m_archives.OpenDataArchives({});
    EXPECT_EQ(m_archives.Gra[0].FileName, (m_game / "OV_GRA.ORV").string());
    EXPECT_EQ(m_archives.Bgm.FileName, (m_cd / "Ov_Bgm.Orv").string());
    EXPECT_EQ(FindEntry(m_archives.Bgm, "M01"), 0);
}

TEST_F(ArchivesTest, PictureSlotsBelowOvdGraFallBackToTheCdDirectory) {
    WriteSingle(m_cd / "ov_gra.orv", "CD0");
    WriteSingle(m_cd / "ov_gra2.orv", "CD1");
    m_archives.SetCdDirectory(m_cd.Path().string() + "\\");
    EXPECT_EQ(m_archives.CdDirectory, m_cd.Path().string());
    OvdKeys keys;
    keys.Gra = 1;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(m_archives.Gra[0].FileName, (m_cd / "ov_gra.orv").string());
    EXPECT_EQ(FindEntry(m_archives.Gra[0], "CD0"), 0);
    EXPECT_TRUE(m_archives.FirstImageArchiveExists());
    // Slot 1 is not allowed to fall back: the plain name stays although it is missing.
    EXPECT_EQ(m_archives.Gra[1].FileName, (m_game / "ov_gra2.orv").string());
    EXPECT_TRUE(m_archives.Gra[1].Names.empty());
}

TEST_F(ArchivesTest, TheGameDirectoryWinsOverTheCdDirectory) {
    WriteSingle(m_game / "ov_gra.orv", "GAME");
    WriteSingle(m_cd / "ov_gra.orv", "CD");
    m_archives.SetCdDirectory(m_cd.Path().string() + "/");
    OvdKeys keys;
    keys.Gra = 3;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(FindEntry(m_archives.Gra[0], "GAME"), 0);
}

TEST_F(ArchivesTest, AFallbackThatFindsNothingLeavesTheNameEmpty) {
    m_archives.SetCdDirectory(m_cd.Path().string());
    OvdKeys keys;
    keys.Gra = 1;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(m_archives.Gra[0].FileName, "");
    EXPECT_FALSE(m_archives.FirstImageArchiveExists());
    EXPECT_EQ(m_archives.Bgm.FileName, "");

    m_archives.OpenDataArchives({});
    EXPECT_EQ(m_archives.Gra[0].FileName, (m_game / "ov_gra.orv").string());
    EXPECT_FALSE(m_archives.FirstImageArchiveExists());
}

TEST_F(ArchivesTest, TheDefaultCdDirectoryNamesNoDirectory) {
    // A directory called NULL beside the game must not be taken for the CD directory.
    WriteSingle(m_game / "NULL" / "ov_bgm.orv", "M01");
    m_archives.SetCdDirectory("NULL");
    EXPECT_FALSE(m_archives.CdIsDisc);
    m_archives.OpenDataArchives({});
    EXPECT_EQ(m_archives.Bgm.FileName, "");
}

TEST_F(ArchivesTest, MusicAlwaysFallsBackToTheCdDirectory) {
    WriteSingle(m_cd / "ov_bgm.orv", "M01");
    m_archives.SetCdDirectory(m_cd.Path().string());
    m_archives.OpenDataArchives({});
    EXPECT_EQ(FindEntry(m_archives.Bgm, "M01"), 0);
}

TEST_F(ArchivesTest, VoicesFallBackOnlyFromADisc) {
    WriteSingle(m_cd / "ov_ogg1.orv", "V1");
    m_archives.SetCdDirectory(m_cd.Path().string());
    EXPECT_FALSE(m_archives.CdIsDisc); // a temporary directory is no disc
    OvdKeys keys;
    keys.Ogg = 3;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(m_archives.Ogg[0].FileName, (m_game / "ov_ogg1.orv").string());
    EXPECT_TRUE(m_archives.Ogg[0].Names.empty());

    m_archives.CdIsDisc = true;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(FindEntry(m_archives.Ogg[0], "V1"), 0);
    EXPECT_EQ(m_archives.Ogg[1].FileName, ""); // tried and found nowhere
}

TEST_F(ArchivesTest, OtherFamiliesFallBackByTheirKeys) {
    for (const char* file : {"ov_gjp.orv", "ov_wav1.orv", "ov_wav2.orv", "ov_se0.orv", "ov_se1.orv",
                             "ov_anim.orv", "ov_anim2.orv"}) {
        WriteSingle(m_cd / file, file);
    }
    m_archives.SetCdDirectory(m_cd.Path().string());
    OvdKeys keys;
    keys.Gjp = 1;
    keys.Wav = 1;
    keys.Se = 1;
    keys.Anim = 1;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(FindEntry(m_archives.Gjp, "OV_GJP.ORV"), 0);
    EXPECT_EQ(FindEntry(m_archives.Wav[0], "OV_WAV1.ORV"), 0);
    EXPECT_TRUE(m_archives.Wav[1].Names.empty());
    EXPECT_EQ(FindEntry(m_archives.Se[0], "OV_SE0.ORV"), 0);
    EXPECT_TRUE(m_archives.Se[1].Names.empty());
    EXPECT_EQ(FindEntry(m_archives.Anim[0], "OV_ANIM.ORV"), 0);
    EXPECT_TRUE(m_archives.Anim[1].Names.empty());

    keys.Anim = 2;
    m_archives.OpenDataArchives(keys);
    EXPECT_EQ(FindEntry(m_archives.Anim[1], "OV_ANIM2.ORV"), 0);
}

TEST_F(ArchivesTest, EntriesAreReadByOffsetAndSize) {
    test::WriteFile(m_game / "ov_se0.orv",
                    test::MakeArchive({{"A", ToBytes("first")}, {"B", ToBytes("second")}}));
    m_archives.OpenDataArchives({});
    const ArchiveIndex& se = m_archives.Se[0];
    Bytes out;
    ASSERT_TRUE(m_archives.ReadEntry(se, FindEntry(se, "B"), out));
    EXPECT_EQ(out, ToBytes("second"));
    EXPECT_FALSE(m_archives.ReadEntry(se, -1, out));
    EXPECT_FALSE(m_archives.ReadEntry(se, 2, out));

    uint8_t part[3];
    ASSERT_TRUE(m_archives.ReadEntryRange(se, 1, 3, part));
    EXPECT_EQ(std::string(part, part + 3), "ond");
    EXPECT_FALSE(m_archives.ReadEntryRange(se, 1, 4, part));
    EXPECT_FALSE(m_archives.ReadEntryRange(se, 1, UINT64_MAX, part));
    EXPECT_TRUE(m_archives.ReadEntryRange(se, 1, 6, std::span<uint8_t>()));
}

TEST_F(ArchivesTest, EntriesOutsideTheirFileReadAsNotFound) {
    Bytes archive = test::MakeArchive({{"A", ToBytes("first")}});
    archive.resize(archive.size() - 1);
    test::WriteFile(m_game / "ov_se0.orv", archive);
    m_archives.OpenDataArchives({});
    const ArchiveIndex& se = m_archives.Se[0];
    EXPECT_EQ(FindEntry(se, "A"), -1);
    Bytes out;
    EXPECT_FALSE(m_archives.ReadEntry(se, 0, out));
    uint8_t part[1];
    EXPECT_FALSE(m_archives.ReadEntryRange(se, 0, 0, part));
}

} // namespace
} // namespace orv
