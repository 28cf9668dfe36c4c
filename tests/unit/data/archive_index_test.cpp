#include "data/archive_index.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

using test::ToBytes;

Bytes Words(std::initializer_list<uint32_t> words) {
    Bytes out;
    for (uint32_t word : words) {
        AppendU32(out, word);
    }
    return out;
}

// One raw form B record: `name` padded (or not) to `width`, then offset and size.
void AppendRecord(Bytes& out, std::string_view name, uint32_t width, uint32_t offset,
                  uint32_t size) {
    Bytes field(width, 0);
    std::copy_n(name.begin(), std::min<size_t>(name.size(), width), field.begin());
    out.insert(out.end(), field.begin(), field.end());
    AppendU32(out, offset);
    AppendU32(out, size);
}

TEST(ArchiveIndexParse, ReadsFormARecordsWithUpperCasedNames) {
    Bytes archive;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0,
                             {{"main", ToBytes("abc")},
                              {"Sel\x82"
                               "a",
                               ToBytes("defgh")}},
                             archive));
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(archive, archive.size(), IndexForm::A, index));
    ASSERT_EQ(index.Count, 2u);
    EXPECT_EQ(index.Names, (std::vector<std::string>{"MAIN", "SEL\x82"
                                                             "a"}));
    EXPECT_EQ(index.Offsets, (std::vector<uint32_t>{4 + 2 * 64, 4 + 2 * 64 + 3}));
    EXPECT_EQ(index.Sizes, (std::vector<uint32_t>{3, 5}));
    EXPECT_EQ(index.NameWidth, 0u);
    EXPECT_EQ(index.FileSize, archive.size());
}

TEST(ArchiveIndexParse, ReadsFormBWithTheCountBeforeTheWidth) {
    Bytes archive = Words({2, 12});
    AppendRecord(archive, "bg01", 12, 100, 7);
    AppendRecord(archive, "BG02", 12, 107, 9);
    archive.resize(116);
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(archive, archive.size(), IndexForm::B, index));
    EXPECT_EQ(index.Names, (std::vector<std::string>{"BG01", "BG02"}));
    EXPECT_EQ(index.Offsets, (std::vector<uint32_t>{100, 107}));
    EXPECT_EQ(index.Sizes, (std::vector<uint32_t>{7, 9}));
    EXPECT_EQ(index.NameWidth, 12u);
}

TEST(ArchiveIndexParse, AnIndexWithoutEntriesIsValidAndEmptyInBothForms) {
    ArchiveIndex index;
    Bytes formA = Words({0});
    EXPECT_TRUE(ParseIndex(formA, formA.size(), IndexForm::A, index));
    EXPECT_TRUE(index.Names.empty());
    Bytes formB = Words({0, 32});
    EXPECT_TRUE(ParseIndex(formB, formB.size(), IndexForm::B, index));
    EXPECT_TRUE(index.Names.empty());
    EXPECT_EQ(index.Count, 0u);
}

TEST(ArchiveIndexParse, IgnoresBytesAfterTheNulAndCutsANameWithoutOne) {
    Bytes archive = Words({2, 4});
    AppendRecord(archive, std::string_view("ab\0z", 4), 4, 0, 0);
    AppendRecord(archive, "wxyz", 4, 0, 0); // fills the field, no NUL
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(archive, archive.size(), IndexForm::B, index));
    EXPECT_EQ(index.Names, (std::vector<std::string>{"AB", "WXYZ"}));

    Bytes formA = Words({1});
    formA.insert(formA.end(), kFormANameWidth, 'q');
    AppendU32(formA, 0);
    AppendU32(formA, 0);
    ASSERT_TRUE(ParseIndex(formA, formA.size(), IndexForm::A, index));
    EXPECT_EQ(index.Names[0], std::string(kFormANameWidth, 'Q'));
}

TEST(ArchiveIndexDamage, RefusesIndexesThatDoNotFitTheirFile) {
    struct Case {
        const char* what;
        Bytes head;
        IndexForm form;
    };
    Bytes shortB = Words({3, 8});
    AppendRecord(shortB, "A", 8, 0, 0);
    AppendRecord(shortB, "B", 8, 0, 0); // the third record is missing
    Bytes shortA = Words({1});
    shortA.resize(4 + 63);
    std::vector<Case> cases = {
        {"records past the end (B)", shortB, IndexForm::B},
        {"records past the end (A)", shortA, IndexForm::A},
        {"huge count (A)", Words({0xFFFFFFFF}), IndexForm::A},
        {"huge count (B)", Words({0xFFFFFFFF, 8}), IndexForm::B},
        {"huge width", Words({1, 0x7FFFFFFF, 0, 0}), IndexForm::B},
        {"truncated header (A)", Bytes{1, 0, 0}, IndexForm::A},
        {"truncated header (B)", Words({0}), IndexForm::B},
        {"empty", Bytes{}, IndexForm::B},
    };
    for (const auto& c : cases) {
        ArchiveIndex index;
        index.Names = {"STALE"};
        std::string problem;
        EXPECT_FALSE(ParseIndex(c.head, c.head.size(), c.form, index, &problem)) << c.what;
        EXPECT_TRUE(index.Names.empty()) << c.what;
        EXPECT_EQ(index.Count, 0u) << c.what;
        EXPECT_FALSE(problem.empty()) << c.what;
    }
}

TEST(ArchiveIndexDamage, RecordsMustFitTheClaimedFileSizeNotJustTheBuffer) {
    Bytes archive = test::MakeArchive({{"A", ToBytes("xyz")}});
    ArchiveIndex index;
    EXPECT_FALSE(ParseIndex(archive, 8 + 40 - 1, IndexForm::B, index));
    EXPECT_TRUE(ParseIndex(archive, 8 + 40, IndexForm::B, index));
}

TEST(ArchiveIndexLookup, IgnoresCaseAndTakesTheFirstOfEqualNames) {
    Bytes archive =
        test::MakeArchive({{"BG01", ToBytes("1")}, {"bg01", ToBytes("22")}, {"ev", ToBytes("3")}});
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(archive, archive.size(), IndexForm::B, index));
    EXPECT_EQ(FindEntry(index, "bg01"), 0);
    EXPECT_EQ(FindEntry(index, "Bg01"), 0);
    EXPECT_EQ(FindEntry(index, "EV"), 2);
    EXPECT_EQ(FindEntry(index, "ev"), 2);
    EXPECT_EQ(FindEntry(index, "EV2"), -1);
    EXPECT_EQ(FindEntry(index, ""), -1);
}

TEST(ArchiveIndexLookup, EntriesReachingPastTheFileAreNotFound) {
    Bytes archive = Words({4, 8});
    uint32_t end = 8 + 4 * 16;
    AppendRecord(archive, "INSIDE", 8, end, 4);
    AppendRecord(archive, "LONG", 8, end, 5);
    AppendRecord(archive, "FAR", 8, 0xFFFFFFF0, 1);
    AppendRecord(archive, "WRAP", 8, 0xFFFFFFFF, 0xFFFFFFFF); // wraps around in 32 bits
    archive.resize(end + 4);
    ArchiveIndex index;
    ASSERT_TRUE(ParseIndex(archive, archive.size(), IndexForm::B, index));
    EXPECT_EQ(FindEntry(index, "INSIDE"), 0);
    EXPECT_EQ(FindEntry(index, "LONG"), -1);
    EXPECT_EQ(FindEntry(index, "FAR"), -1);
    EXPECT_EQ(FindEntry(index, "WRAP"), -1);
}

TEST(ArchiveIndexFile, AMissingFileIsEmptyWithoutAProblem) {
    test::TempDir dir;
    ArchiveIndex index;
    std::string problem;
    EXPECT_FALSE(ReadIndexFile(dir / "none.orv", IndexForm::B, index, &problem));
    EXPECT_TRUE(problem.empty());
    EXPECT_TRUE(index.Names.empty());
    EXPECT_EQ(index.FileName, (dir / "none.orv").string());
}

TEST(ArchiveIndexFile, ReadsAnIndexAndReportsADamagedOne) {
    test::TempDir dir;
    Bytes archive = test::MakeArchive({{"A", ToBytes("xyz")}, {"B", ToBytes("")}});
    test::WriteFile(dir / "good.orv", archive);
    ArchiveIndex index;
    std::string problem;
    ASSERT_TRUE(ReadIndexFile(dir / "good.orv", IndexForm::B, index, &problem)) << problem;
    EXPECT_EQ(index.Names, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(index.FileSize, archive.size());

    archive.resize(20); // cuts into the first record
    test::WriteFile(dir / "cut.orv", archive);
    EXPECT_FALSE(ReadIndexFile(dir / "cut.orv", IndexForm::B, index, &problem));
    EXPECT_TRUE(index.Names.empty());
    EXPECT_FALSE(problem.empty());

    problem.clear();
    test::WriteFile(dir / "tiny.orv", Bytes{1, 0});
    EXPECT_FALSE(ReadIndexFile(dir / "tiny.orv", IndexForm::A, index, &problem));
    EXPECT_FALSE(problem.empty());
}

TEST(ArchiveIndexForm, DetectsBothForms) {
    Bytes formA;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0, {{"a", ToBytes("1")}, {"b", ToBytes("22")}}, formA));
    EXPECT_EQ(DetectIndexForm(formA, formA.size()), IndexForm::A);
    Bytes formAMain;
    ASSERT_TRUE(BuildArchive(IndexForm::A, 0, {{"main", ToBytes("xyz")}}, formAMain));
    EXPECT_EQ(DetectIndexForm(formAMain, formAMain.size()), IndexForm::A);

    Bytes formB = test::MakeArchive({{"a", ToBytes("1")}, {"b", ToBytes("22")}}, 16);
    EXPECT_EQ(DetectIndexForm(formB, formB.size()), IndexForm::B);

    Bytes emptyA = Words({0});
    EXPECT_EQ(DetectIndexForm(emptyA, emptyA.size()), IndexForm::A);
    Bytes emptyB = Words({0, 32});
    EXPECT_EQ(DetectIndexForm(emptyB, emptyB.size()), IndexForm::B);
}

TEST(ArchiveNegation, NegatesEveryByteAndUndoesItself) {
    Bytes data = {0x00, 0xFF, 0x80, 0xBF, 0x01};
    NegateBytes(data.data(), data.size());
    EXPECT_EQ(data, (Bytes{0x00, 0x01, 0x80, 0x41, 0xFF}));
    NegateBytes(data.data(), data.size());
    EXPECT_EQ(data, (Bytes{0x00, 0xFF, 0x80, 0xBF, 0x01}));
}

TEST(ArchiveBuild, RefusesNamesThatLeaveNoRoomForTheNul) {
    Bytes out;
    std::string problem;
    EXPECT_TRUE(BuildArchive(IndexForm::A, 0, {{std::string(55, 'a'), {}}}, out, &problem));
    EXPECT_FALSE(BuildArchive(IndexForm::A, 0, {{std::string(56, 'a'), {}}}, out, &problem));
    EXPECT_FALSE(problem.empty());
    EXPECT_TRUE(BuildArchive(IndexForm::B, 4, {{"abc", {}}}, out));
    EXPECT_FALSE(BuildArchive(IndexForm::B, 4, {{"abcd", {}}}, out));
}

} // namespace
} // namespace orv
