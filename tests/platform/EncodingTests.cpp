// Which encoding a question file is read in, and what it reads as. Code page
// 932 files must read exactly as before whatever else is recognised.
#include "platform/Files.h"
#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "script/Limits.h"

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

std::string utf16Le(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::string utf16Be(std::u16string_view text)
{
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}

const std::string utf8Mark = "\xEF\xBB\xBF";
const std::string utf16LeMark = "\xFF\xFE";
const std::string utf16BeMark = "\xFE\xFF";

struct EncodingRow {
    const char* name;
    std::string bytes;
    std::u16string expected; // after the lines are joined
    TextEncoding encoding;
};

const EncodingRow encodingRows[] = {
    { "Utf8WithoutMark", "title(\xE3\x81\x9F\xE3\x81\x97\xE7\xAE\x97);\r\nstrout(1);", u"title(たし算);\r\nstrout(1);",
        TextEncoding::Utf8 },
    { "Utf8WithMark", utf8Mark + "title(\xE5\x95\x8F);", u"title(問);", TextEncoding::Utf8WithMark },
    // The mark marks the encoding even when nothing else could.
    { "Utf8MarkAsciiOnly", utf8Mark + "ans(1);", u"ans(1);", TextEncoding::Utf8WithMark },
    { "Utf8MarkAlone", utf8Mark, u"", TextEncoding::Utf8WithMark },
    { "Utf8TwoByteAfterMark", utf8Mark + "\xC3\x97", u"×", TextEncoding::Utf8WithMark },
    { "Utf8LoneCrAndLf", "\xE5\x95\x8F\ra\nb\r\n", u"問\r\na\nb", TextEncoding::Utf8 },
    { "Utf8MarkInvalidByteKept", utf8Mark + "a\x80\xE5\x95\x8F", u"a\uFFFD問", TextEncoding::Utf8WithMark },
    { "Utf16Le", utf16LeMark + utf16Le(u"title(問題);\r\nx\ry\nz\r\n"), u"title(問題);\r\nx\r\ny\nz",
        TextEncoding::Utf16Le },
    { "Utf16Be", utf16BeMark + utf16Be(u"title(問題);\ra"), u"title(問題);\r\na", TextEncoding::Utf16Be },
    { "Utf16LeMarkAlone", utf16LeMark, u"", TextEncoding::Utf16Le },
    // A character beyond the 16-bit range stays one surrogate pair.
    { "Utf16LeAstral", utf16LeMark + utf16Le(u"a😀b"), u"a😀b", TextEncoding::Utf16Le },
    { "Utf16LeOddByteAtEnd", utf16LeMark + utf16Le(u"ab") + "c", u"ab\uFFFD", TextEncoding::Utf16Le },
    // A surrogate without its partner is undecodable, not half a character.
    { "Utf16LeLoneSurrogate", utf16LeMark + utf16Le(u"a") + std::string("\x00\xD8", 2) + utf16Le(u"b"), u"a\uFFFDb",
        TextEncoding::Utf16Le },
    { "Utf16BeSurrogateCutOffByTheEnd", utf16BeMark + utf16Be(u"a") + std::string("\xD8\x00", 2), u"a\uFFFD",
        TextEncoding::Utf16Be },
    { "Ascii", "random(a,1,9);\r\n", u"random(a,1,9);", TextEncoding::Cp932 },
    { "Cp932Kana", "\x82\xbd\x82\xb5\x8e\x5a", u"たし算", TextEncoding::Cp932 },
    // Half-width katakana pairs (lead C2..DF, second A1..BF) are valid UTF-8
    // two-byte sequences byte by byte: "ﾃｽﾄｳ" would read as "½ĳ".
    { "HalfWidthKatakanaPairs", "strout(\xC3\xBD\xC4\xB3);\r\nans(\xCA\xB6);", u"strout(ﾃｽﾄｳ);\r\nans(ﾊｶ);",
        TextEncoding::Cp932 },
    // Valid UTF-8 with a three-byte sequence but a broken one elsewhere is not
    // UTF-8: it reads as code page 932, exactly as it always did.
    { "Utf8WithBrokenByte", "\xE5\x95\x8F\x82\xa0", DecodeCp932("\xE5\x95\x8F\x82\xa0"), TextEncoding::Cp932 },
    // An encoded surrogate is not valid UTF-8.
    { "Utf8EncodedSurrogate", "\xE5\x95\x8F\xED\xA0\x80", DecodeCp932("\xE5\x95\x8F\xED\xA0\x80"),
        TextEncoding::Cp932 },
    { "Utf8Overlong", "\xE0\x80\xAF", DecodeCp932("\xE0\x80\xAF"), TextEncoding::Cp932 },
    { "Empty", "", u"", TextEncoding::Cp932 },
};

TEST(ReadQuestionText, ChoosesTheEncodingAndDropsTheMark)
{
    for (const EncodingRow& row : encodingRows) {
        SCOPED_TRACE(row.name);
        MemoryFileSystem files;
        files.contents["/q/file"] = row.bytes;
        std::optional<DecodedText> read = ReadQuestionText(files, "/q/file");
        ASSERT_TRUE(read);
        EXPECT_EQ(read->text, row.expected);
        EXPECT_EQ(EncodingName(read->encoding), EncodingName(row.encoding));
        EXPECT_EQ(ReadQuestionFile(files, "/q/file"), row.expected);
    }
}

TEST(ReadQuestionText, UnreadableFileIsNothingAndNothingIsWritten)
{
    MemoryFileSystem files;
    files.contents["/q/file"] = utf8Mark + "a";
    EXPECT_FALSE(ReadQuestionText(files, "/q/missing"));
    ASSERT_TRUE(ReadQuestionText(files, "/q/file"));
    EXPECT_EQ(files.contents.at("/q/file"), utf8Mark + "a");
}

// Long files cross the conversion buffer in every encoding.
TEST(DecodeQuestionBytes, LongFilesInEveryEncoding)
{
    std::u16string text;
    std::string utf8;
    std::string cp932;
    for (int i = 0; i < 3000; ++i) {
        text += u"問題ｱ\r\n";
        utf8 += "\xE5\x95\x8F\xE9\xA1\x8C\xEF\xBD\xB1\r\n";
        cp932 += "\x96\xe2\x91\xe8\xb1\r\n";
    }
    const std::pair<std::string, TextEncoding> files[] = {
        { utf8, TextEncoding::Utf8 },
        { utf8Mark + utf8, TextEncoding::Utf8WithMark },
        { utf16LeMark + utf16Le(text), TextEncoding::Utf16Le },
        { utf16BeMark + utf16Be(text), TextEncoding::Utf16Be },
        { cp932, TextEncoding::Cp932 },
    };
    for (const auto& [bytes, encoding] : files) {
        SCOPED_TRACE(EncodingName(encoding));
        DecodedText decoded = DecodeQuestionBytes(bytes);
        EXPECT_EQ(EncodingName(decoded.encoding), EncodingName(encoding));
        EXPECT_TRUE(decoded.text == text);
    }
}

// Every bundled file is code page 932 and must read exactly as it always did.
TEST(ReadQuestionText, BundledFilesStayCodePage932)
{
    StdFileSystem files { maxQuestionFileBytes };
    std::vector<std::string> names = files.listFiles(NUMBRELLE_QUESTIONS_DIR);
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::optional<std::string> bytes = files.readBytes(std::string(NUMBRELLE_QUESTIONS_DIR) + "/" + name);
        ASSERT_TRUE(bytes);
        DecodedText decoded = DecodeQuestionBytes(*bytes);
        EXPECT_EQ(EncodingName(decoded.encoding), "CP932");
        EXPECT_EQ(decoded.text, DecodeCp932(*bytes));
    }
}

} // namespace
} // namespace numbrelle
