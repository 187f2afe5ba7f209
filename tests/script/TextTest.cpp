// The language's texts as UTF-8 for every report: each width of character,
// pairs of surrogates, and halves of pairs, which have no UTF-8 form.
#include "script/Text.h"

#include <gtest/gtest.h>

using namespace numbrelle;

namespace {

TEST(Text, Utf8OfEveryWidth)
{
    const struct {
        std::u16string text;
        std::string bytes;
    } rows[] = {
        { u"", "" },
        { u"abc\r\n", "abc\r\n" },
        { u"\u00e9\u07ff", "\xC3\xA9\xDF\xBF" },
        { u"問\uffff", "\xE5\x95\x8F\xEF\xBF\xBF" },
        { u"😀x", "\xF0\x9F\x98\x80x" },
        // A lone half of a pair, leading or trailing, becomes U+FFFD.
        { u"a\xD83D", "a\xEF\xBF\xBD" },
        { u"\xDE00z", "\xEF\xBF\xBDz" },
        { u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80" },
        { std::u16string(1000, u'漢'),
            [] {
                std::string bytes;
                for (int i = 0; i < 1000; ++i)
                    bytes += "\xE6\xBC\xA2";
                return bytes;
            }() },
    };
    for (const auto& row : rows) {
        EXPECT_EQ(utf8(row.text), row.bytes) << row.bytes;
        if (row.bytes.find("\xEF\xBF\xBD") == std::string::npos) {
            EXPECT_EQ(fromUtf8(row.bytes), row.text) << row.bytes;
        }
    }
}

} // namespace
