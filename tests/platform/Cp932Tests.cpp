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

TEST_P(DecodeCp932Test, Decodes)
{
    EXPECT_EQ(DecodeCp932(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, DecodeCp932Test,
    testing::Values(DecodeRow { "Ascii", "random(a,1,9);", u"random(a,1,9);" },
        // Windows meaning, not the JIS yen sign and overline.
        DecodeRow { "BackslashAndTilde", "\x5c\x7e", u"\\~" },
        DecodeRow { "Kanji", "\x96\xe2\x91\xe8", u"問題" },
        // 0x5C as a trail byte belongs to the character, not a backslash.
        DecodeRow { "TrailByteBackslash", "\x95\x5c\x5cn", u"表\\n" },
        DecodeRow { "FullWidthBlank", "a\x81\x40" "b", u"a　b" },
        DecodeRow { "HalfWidthKatakana", "\xb1", u"ｱ" },
        DecodeRow { "NecSpecial", "\x87\x40", u"①" },
        DecodeRow { "UserDefinedArea", "\xf0\x40", u"\uE000" },
        DecodeRow { "ControlBytesKept", std::string("\0\t\r\n", 4), std::u16string(u"\0\t\r\n", 4) },
        DecodeRow { "InvalidSingleBytes", "a\x80" "b\xa0" "c\xfd", u"a\uFFFDb\uFFFDc\uFFFD" },
        // The lead byte is lost alone; the blank after it survives.
        DecodeRow { "LeadByteBeforeBlank", "\x81 x", u"\uFFFD x" },
        DecodeRow { "LeadByteAtEnd", "ab\x8a", u"ab\uFFFD" },
        DecodeRow { "Empty", "", u"" }),
    [](const testing::TestParamInfo<DecodeRow>& info) { return std::string(info.param.name); });

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

INSTANTIATE_TEST_SUITE_P(Rows, ReadQuestionFileTest,
    testing::Values(LinesRow { "Empty", "", u"" },
        LinesRow { "OneLine", "title(a);", u"title(a);" },
        LinesRow { "CrLf", "a\r\nb", u"a\r\nb" },
        LinesRow { "CrLfAtEnd", "a\r\nb\r\n", u"a\r\nb" },
        LinesRow { "LoneCr", "a\rb", u"a\r\nb" },
        LinesRow { "LoneCrAtEnd", "a\r", u"a" },
        LinesRow { "LoneLfStaysInLine", "a\nb", u"a\nb" },
        LinesRow { "LoneLfAtEnd", "a\n", u"a\n" },
        LinesRow { "LfThenCr", "a\n\rb", u"a\n\r\nb" },
        LinesRow { "CrThenCrLf", "a\r\r\nb", u"a\r\n\r\nb" },
        LinesRow { "EmptyLineBeforeEnd", "a\r\n\r\n", u"a\r\n" },
        LinesRow { "OnlyABreak", "\r\n", u"" },
        LinesRow { "TwoBreaks", "\r\n\r\n", u"\r\n" },
        LinesRow { "KanjiLines", "\x96\xe2\r\n\x91\xe8\r", u"問\r\n題" }),
    [](const testing::TestParamInfo<LinesRow>& info) { return std::string(info.param.name); });

TEST(ReadQuestionFile, UnreadableFileIsEmptyText)
{
    MemoryFileSystem files;
    EXPECT_EQ(ReadQuestionFile(files, "/q/missing"), u"");
    EXPECT_EQ(files.reads, std::vector<std::string> { "/q/missing" });
}

} // namespace
} // namespace numbrelle
