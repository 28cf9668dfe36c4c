#include "data/script_text.h"

#include <string>

#include <gtest/gtest.h>

namespace orv {
namespace {

std::string Encoded(std::string_view utf8) {
    Bytes out;
    size_t line = 0;
    std::string message;
    EXPECT_TRUE(EncodeScriptText(utf8, out, &line, &message)) << "line " << line << ": " << message;
    return std::string(out.begin(), out.end());
}

struct Refusal {
    size_t Line = 0;
    std::string Message;
};

Refusal Refused(std::string_view utf8) {
    Bytes out;
    Refusal refusal;
    EXPECT_FALSE(EncodeScriptText(utf8, out, &refusal.Line, &refusal.Message));
    return refusal;
}

std::string Decoded(std::string_view stored, ScriptDecodeNotes* notes = nullptr) {
    return DecodeScriptText(
        ByteSpan(reinterpret_cast<const uint8_t*>(stored.data()), stored.size()), notes);
}

using namespace std::string_literals;

TEST(ScriptTextEncode, EndsEveryLineWithNulAndConvertsToShiftJis) {
    EXPECT_EQ(Encoded("*bg 1\nこんにちは\n\\\n"),
              "*bg 1\0\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\0\\\0"s);
    // Half-width katakana is one byte; the backslash stays 0x5C.
    EXPECT_EQ(Encoded("ｱ\\"), "\xB1\\\0"s);
}

TEST(ScriptTextEncode, CrLfAndLfLineEndsGiveTheSameBytes) {
    EXPECT_EQ(Encoded("a\r\nb\r\n"), Encoded("a\nb\n"));
    EXPECT_EQ(Encoded("a\r\n\r\nb"), "a\0\0b\0"s);
}

TEST(ScriptTextEncode, SkipsAByteOrderMarkAtTheStartOnly) {
    EXPECT_EQ(Encoded("\xEF\xBB\xBF"
                      ":start\n"),
              ":start\0"s);
    // Further in, U+FEFF is a character like any other, and code page 932 has none.
    EXPECT_EQ(Refused("a\n\xEF\xBB\xBF"
                      "b\n")
                  .Line,
              2u);
}

TEST(ScriptTextEncode, KeepsBlankLinesButAFinalLineBreakAddsNoLine) {
    EXPECT_EQ(Encoded("a\n\n\nb\n"), "a\0\0\0b\0"s);
    EXPECT_EQ(Encoded("a"), "a\0"s);
    EXPECT_EQ(Encoded("a\n"), "a\0"s);
    EXPECT_EQ(Encoded("a\n\n"), "a\0\0"s);
    EXPECT_EQ(Encoded("\n"), "\0"s);
    EXPECT_EQ(Encoded(""), "");
}

TEST(ScriptTextEncode, NamesTheLineAndCharacterThatCodePage932CannotHold) {
    Refusal refusal = Refused("ok\r\n\r\nx€y\r\n");
    EXPECT_EQ(refusal.Line, 3u);
    EXPECT_NE(refusal.Message.find("'€'"), std::string::npos) << refusal.Message;
    EXPECT_NE(refusal.Message.find("U+20AC"), std::string::npos) << refusal.Message;
    EXPECT_NE(refusal.Message.find("column 2"), std::string::npos) << refusal.Message;

    EXPECT_EQ(Refused("a\n\xF0\x9F\x98\x80\n").Line, 2u);
}

TEST(ScriptTextEncode, RefusesInvalidUtf8AndNulCharacters) {
    Refusal broken = Refused("fine\nbad \xE3\x81\n");
    EXPECT_EQ(broken.Line, 2u);
    EXPECT_NE(broken.Message.find("not valid UTF-8"), std::string::npos) << broken.Message;

    // A NUL would end the stored line early and shift every line after it.
    EXPECT_EQ(Refused("a\nb\0c\n"s).Line, 2u);
}

TEST(ScriptTextEncode, RefusesALineLongerThanTheEngineBufferHolds) {
    std::string longest(kMaxScriptLineBytes, 'x');
    EXPECT_EQ(Encoded(longest).size(), kMaxScriptLineBytes + 1);
    EXPECT_EQ(Refused("a\n" + longest + "x\n").Line, 2u);
    // Measured once encoded: 1024 full-width characters take 2048 bytes.
    std::string wide;
    for (int i = 0; i < 1024; ++i) {
        wide += "あ";
    }
    Refusal refusal = Refused(wide);
    EXPECT_EQ(refusal.Line, 1u);
    EXPECT_NE(refusal.Message.find("2048"), std::string::npos) << refusal.Message;
}

TEST(ScriptTextEncode, RefusesAScriptLargerThanATextBuffer) {
    // Lines of 2000 bytes and their NUL: the 132nd passes 262144 bytes.
    std::string text;
    for (int i = 0; i < 200; ++i) {
        text += std::string(2000, 'x') + "\n";
    }
    EXPECT_EQ(Refused(text).Line, 132u);
}

TEST(ScriptTextDecode, GivesOneLfEndedLinePerStoredLine) {
    EXPECT_EQ(Decoded("*bg 1\0\x82\xB1\x82\xF1\0\0\\\0"s), "*bg 1\nこん\n\n\\\n");
    EXPECT_EQ(Decoded(""), "");
    EXPECT_EQ(Decoded("\0"s), "\n");
}

TEST(ScriptTextDecode, KeepsAnUnterminatedLastLineAndSaysSo) {
    ScriptDecodeNotes notes;
    EXPECT_EQ(Decoded("a\0b"s, &notes), "a\nb\n");
    EXPECT_TRUE(notes.UnterminatedLastLine);
    ScriptDecodeNotes complete;
    Decoded("a\0b\0"s, &complete);
    EXPECT_FALSE(complete.UnterminatedLastLine);
}

TEST(ScriptTextDecode, ReplacesUndefinedBytesAndNamesTheirLines) {
    ScriptDecodeNotes notes;
    // 0x85 0x40 is an unassigned pair; a lead byte before the NUL has no trail byte.
    EXPECT_EQ(Decoded("ok\0\x85\x40\0fine\0x\x82\0"s, &notes),
              "ok\n\xEF\xBF\xBD\nfine\nx\xEF\xBF\xBD\n");
    EXPECT_EQ(notes.UndefinedByteLines, (std::vector<size_t>{2, 4}));
}

TEST(ScriptTextDecode, NotesLineBreakBytesThatATextFileCannotKeepApart) {
    ScriptDecodeNotes notes;
    Decoded("a\0b\rc\0d\ne\0"s, &notes);
    EXPECT_EQ(notes.LineBreakLines, (std::vector<size_t>{2, 3}));
}

TEST(ScriptTextRoundTrip, DecodingThenEncodingGivesTheStoredBytesBack) {
    std::string stored = ":LABEL\0>\x8F\xAD\x8F\x97\0\x82\xA0\x82\xA2\x83\x41\xB1\\n\0\0*go 1\0"s;
    std::string text = Decoded(stored);
    EXPECT_EQ(Encoded(text), stored);
}

} // namespace
} // namespace orv
