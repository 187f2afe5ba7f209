#include "script/StatementList.h"
#include "script/Text.h"

#include <gtest/gtest.h>

using namespace numbrelle;

namespace {

struct Entry {
    std::u16string keyword;
    std::u16string operand;
};

struct ListCase {
    const char* name;
    std::u16string script;
    std::vector<Entry> entries;
    int lastIndex;
};

// Rows print as their name, so test names stay readable.
void PrintTo(const ListCase& c, std::ostream* out) { *out << c.name; }

class Preprocessing : public ::testing::TestWithParam<ListCase> { };

TEST_P(Preprocessing, BuildsTheStatementList)
{
    const ListCase& c = GetParam();
    const StatementList list = BuildStatementList(c.script);
    EXPECT_EQ(list.lastIndex, c.lastIndex);
    ASSERT_EQ(list.entries.size(), c.entries.size());
    for (std::size_t i = 0; i < c.entries.size(); ++i) {
        EXPECT_EQ(utf8(list.entries[i].keyword), utf8(c.entries[i].keyword)) << "entry " << i;
        EXPECT_EQ(utf8(list.entries[i].operand), utf8(c.entries[i].operand)) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Script, Preprocessing,
    ::testing::Values(ListCase { "empty", u"", { { u"", u"" } }, -1 },
        ListCase { "one statement", u"random(a,1,9);", { { u"random", u"a,1,9," } }, 0 },
        ListCase { "if block", u"if(a==b){ strout(Yes); };",
            { { u"if{", u"a==b," }, { u"strout", u"Yes," }, { u"}", u"" } }, 2 },
        ListCase { "else alone", u"}else{", { { u"}else{", u"" } }, 0 },
        ListCase { "comment and line break", u"Title(Sums)  // heading\r\n;", { { u"title", u"Sums," } }, 0 },
        ListCase { "two groups", u"strout(ab)(cd);", { { u"strout", u"ab,cd," } }, 0 },
        ListCase { "brace glued to keyword", u"}strout(x);", { { u"}strout", u"x," } }, 0 },
        ListCase { "capitals fold outside parentheses only", u"IF(A==B){", { { u"if{", u"A==B," } }, 0 },
        ListCase { "slash is not a comment", u"a/b;", { { u"a/b", u"" } }, 0 },
        ListCase { "slash star slash", u"/*/x;", { { u"x", u"" } }, 0 },
        ListCase { "line comment turned block", u"//*c\r\nd*/x;", { { u"x", u"" } }, 0 },
        ListCase { "tab stays", u"\tint(a);", { { u"\tint", u"a," } }, 0 },
        ListCase { "closing parenthesis outside", u")x;", { { u")x", u"" } }, 0 },
        ListCase { "semicolon inside parentheses", u"strout(a;b);", { { u"strout", u"a;b," }, { u"", u"" } }, 1 },
        ListCase { "brace inside parentheses", u"strout(a{b);", { { u"strout", u"a{;b," }, { u"", u"" } }, 1 },
        ListCase { "blanks vanish", u"str out( a\u3000b\r\n);", { { u"strout", u"ab," } }, 0 },
        ListCase { "no semicolon", u"strout(x)", { { u"strout", u"x," } }, -1 },
        ListCase { "trailing statement", u"int(a);strout(x)", { { u"int", u"a," }, { u"strout", u"x," } }, 1 },
        ListCase { "lone trailing parenthesis", u"int(a);(", { { u"int", u"a," } }, 0 },
        ListCase { "trailing text in a spare entry", u"strout(a;b);x", { { u"strout", u"a;b," }, { u"x", u"" } }, 1 },
        ListCase { "line comment ends at CR", u"int(a);//c\r\nint(b);", { { u"int", u"a," }, { u"int", u"b," } }, 1 },
        ListCase { "lone LF does not end a line comment", u"//c\nint(b);\r\nint(c);", { { u"int", u"c," } }, 0 },
        ListCase { "unterminated block comment", u"int(a);/*int(b);", { { u"int", u"a," } }, 0 },
        ListCase { "nested parentheses do not nest", u"strout(a(b)c);", { { u"stroutc)", u"ab," } }, 0 }),
    [](const auto& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

TEST(Preprocessing, SemicolonLimit)
{
    const StatementList most = BuildStatementList(std::u16string(32767, u';'));
    EXPECT_FALSE(most.tooLong);
    EXPECT_EQ(most.lastIndex, 32766);

    const StatementList tooMany = BuildStatementList(std::u16string(32768, u';'));
    EXPECT_TRUE(tooMany.tooLong);
    EXPECT_EQ(tooMany.lastIndex, -1);
    ASSERT_EQ(tooMany.entries.size(), 1u);
    EXPECT_TRUE(tooMany.entries[0].keyword.empty());
}

TEST(Preprocessing, RemembersWhereStatementsStart)
{
    const StatementList list = BuildStatementList(u"int(a);\r\n  int(b); // note\r\n/* x\r\n */ strout(c);");
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].line, 1);
    EXPECT_EQ(list.entries[0].column, 1);
    EXPECT_EQ(list.entries[1].line, 2);
    EXPECT_EQ(list.entries[1].column, 3);
    EXPECT_EQ(list.entries[2].line, 4);
    EXPECT_EQ(list.entries[2].column, 5);
}

TEST(Preprocessing, LowerLetterFoldsOnlyAsciiCapitals)
{
    EXPECT_EQ(LowerLetter(u'A'), u'a');
    EXPECT_EQ(LowerLetter(u'Z'), u'z');
    EXPECT_EQ(LowerLetter(u'Ａ'), u'Ａ');
    // The neighbours of A and Z in ASCII stay as they are.
    EXPECT_EQ(LowerLetter(u'@'), u'@');
    EXPECT_EQ(LowerLetter(u'['), u'[');
    EXPECT_EQ(FoldName(u"AbZ:Ａ1"), u"abz:Ａ1");
    EXPECT_EQ(FoldName(u""), u"");
}

} // namespace
