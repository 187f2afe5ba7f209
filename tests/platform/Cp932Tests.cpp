// Code page 932 decoding and the joining of a question file's lines.
#include "platform/Files.h"
#include "platform/Recording.h"

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

struct DecodeRow {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

void PrintTo(const DecodeRow& row, std::ostream* out) { *out << row.name; }

class DecodeCp932Test : public testing::TestWithParam<DecodeRow> { };

TEST_P(DecodeCp932Test, Decodes) { EXPECT_EQ(DecodeCp932(GetParam().bytes), GetParam().expected); }

const DecodeRow decodeRows[] = {
    { "Ascii", "random(a,1,9);", u"random(a,1,9);" },
    // Windows meaning, not the JIS yen sign and overline.
    { "BackslashAndTilde", "\x5c\x7e", u"\\~" },
    { "Kanji", "\x96\xe2\x91\xe8", u"問題" },
    // 0x5C as a trail byte belongs to the character, not a backslash.
    { "TrailByteBackslash", "\x95\x5c\x5cn", u"表\\n" },
    { "FullWidthBlank", "a\x81\x40", u"a　" },
    { "HalfWidthKatakana", "\xb1", u"ｱ" },
    { "NecSpecial", "\x87\x40", u"①" },
    { "UserDefinedArea", "\xf0\x40", u"\uE000" },
    { "ControlBytesKept", std::string("\0\t\r\n", 4), std::u16string(u"\0\t\r\n", 4) },
    { "InvalidSingleBytes", "a\x80!\xa0?\xfd", u"a\uFFFD!\uFFFD?\uFFFD" },
    // The lead byte is lost alone; the blank after it survives.
    { "LeadByteBeforeBlank", "\x81 x", u"\uFFFD x" },
    { "LeadByteAtEnd", "ab\x8a", u"ab\uFFFD" },
    { "Empty", "", u"" },
};

INSTANTIATE_TEST_SUITE_P(Rows, DecodeCp932Test, testing::ValuesIn(decodeRows),
    [](const testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

// Writing question files for tests and benchmarks: what is encoded reads back,
// 0x5C second bytes included, and a character the code page lacks is left out.
TEST(EncodeCp932, RoundTripsAndSkipsWhatItCannotWrite)
{
    EXPECT_EQ(EncodeCp932("問題\\表"), std::string("\x96\xe2\x91\xe8\x5c\x95\x5c"));
    EXPECT_EQ(DecodeCp932(EncodeCp932("たし算 ８＋７")), u"たし算 ８＋７");
    EXPECT_EQ(EncodeCp932("a😀b"), "ab");
}

TEST(DecodeCp932, LongTextCrossesTheConversionBuffer)
{
    std::string bytes;
    std::u16string expected;
    for (int i = 0; i < 5000; ++i) {
        bytes += i % 1000 == 999 ? "\x80" : "\x8a\xbf";
        expected += i % 1000 == 999 ? u"\uFFFD" : u"漢";
    }
    EXPECT_EQ(DecodeCp932(bytes), expected);
}

struct LinesRow {
    const char* name;
    std::string bytes;
    std::u16string expected;
};

void PrintTo(const LinesRow& row, std::ostream* out) { *out << row.name; }

class ReadQuestionFileTest : public testing::TestWithParam<LinesRow> { };

TEST_P(ReadQuestionFileTest, JoinsLinesWithCrLf)
{
    MemoryFileSystem files;
    files.contents["/q/file"] = GetParam().bytes;
    EXPECT_EQ(ReadQuestionFile(files, "/q/file"), GetParam().expected);
}

const LinesRow linesRows[] = {
    { "Empty", "", u"" },
    { "OneLine", "title(a);", u"title(a);" },
    { "CrLf", "a\r\nb", u"a\r\nb" },
    { "CrLfAtEnd", "a\r\nb\r\n", u"a\r\nb" },
    { "LoneCr", "a\rb", u"a\r\nb" },
    { "LoneCrAtEnd", "a\r", u"a" },
    { "LoneLfStaysInLine", "a\nb", u"a\nb" },
    { "LoneLfAtEnd", "a\n", u"a\n" },
    { "LfThenCr", "a\n\rb", u"a\n\r\nb" },
    { "CrThenCrLf", "a\r\r\nb", u"a\r\n\r\nb" },
    { "EmptyLineBeforeEnd", "a\r\n\r\n", u"a\r\n" },
    { "OnlyABreak", "\r\n", u"" },
    { "TwoBreaks", "\r\n\r\n", u"\r\n" },
    { "KanjiLines", "\x96\xe2\r\n\x91\xe8\r", u"問\r\n題" },
};

INSTANTIATE_TEST_SUITE_P(Rows, ReadQuestionFileTest, testing::ValuesIn(linesRows),
    [](const testing::TestParamInfo<LinesRow>& info) { return std::string(info.param.name); });

TEST(ReadQuestionFile, UnreadableFileIsEmptyText)
{
    MemoryFileSystem files;
    EXPECT_EQ(ReadQuestionFile(files, "/q/missing"), u"");
    EXPECT_EQ(files.reads, std::vector<std::string> { "/q/missing" });
}

} // namespace
} // namespace numbrelle
