#include "tests/support/ScriptRun.h"

#include <gtest/gtest.h>

using namespace numbrelle;
using namespace numbrelle::testing;

namespace {

TEST(RunLoop, ReportsUnknownStatementsWithTheirContext)
{
    const struct {
        const char* name;
        std::u16string script;
        std::vector<std::u16string> boxes;
    } cases[] = {
        { "empty script", u"", { errorBox(messages::unknownStatement, 0, u"NoDate") } },
        { "statement without separator", u"nosuch(1)", { errorBox(messages::unknownStatement, 0, u"NoDate") } },
        { "unknown keyword", u"int(a);foo(1,2);",
            { errorBox(messages::unknownStatement, 1, context(u"foo", u"1,2,")) } },
        { "capitals are folded", u"INT(a);Title(x);", {} },
        { "empty statement", u"int(a);;", { errorBox(messages::unknownStatement, 1, context(u"", u"")) } },
        { "tab before a keyword", u"\tint(a);", { errorBox(messages::unknownStatement, 0, context(u"\tint", u"a,")) } },
        { "spare entry of a semicolon in parentheses", u"title(a;b);",
            { errorBox(messages::unknownStatement, 1, context(u"", u"")) } },
        { "trailing text is one more statement", u"title(a);nosuch",
            { errorBox(messages::unknownStatement, 1, context(u"nosuch", u"")) } },
    };
    for (const auto& c : cases) {
        ScriptRun h;
        h.run(c.script);
        EXPECT_EQ(h.box.texts, c.boxes) << c.name;
    }
}

TEST(RunLoop, ReportsAFaultOnceAfterItsStatement)
{
    ScriptRun h;
    h.run(u"int(n:k);title(after);");
    ASSERT_EQ(h.box.texts.size(), 1u);
    EXPECT_EQ(h.box.texts[0], faultBox(Fault::TypeMismatch, 0, context(u"int", u"n:k,")));
    EXPECT_EQ(h.interp.record().title, u"after");
}

TEST(RunLoop, TheLastFaultOfAStatementIsReported)
{
    ScriptRun h;
    // The bound text 0k faults (type mismatch), then 0k9... stays a mismatch;
    // n:40000 ends with an overflow.
    h.run(u"int(n:k:40000);");
    ASSERT_EQ(h.box.texts.size(), 1u);
    EXPECT_EQ(h.box.texts[0], faultBox(Fault::Overflow, 0, context(u"int", u"n:k:40000,")));
    EXPECT_EQ(h.interp.variables().ints()[0].upperBound, 4000);
}

TEST(RunLoop, EachRunStartsAfresh)
{
    ScriptRun h;
    h.run(u"title(T);strout(Q);ans(A);extext(D);linetext(C);int(x);");
    const QuestionRecord& r = h.interp.record();
    EXPECT_EQ(r.title, u"T");
    EXPECT_EQ(r.questionText, u"Q");
    EXPECT_EQ(r.answerText, u"A");
    EXPECT_EQ(r.descriptionText, u"D");
    EXPECT_EQ(r.categoryText, u"C");
    h.interp.RunScript();
    EXPECT_EQ(h.interp.record().title, u"T");
    EXPECT_EQ(h.interp.variables().ints().size(), 1u);
}

TEST(RunLoop, TextsAppendAndExpandTemplates)
{
    const struct {
        std::u16string script;
        std::u16string question;
    } cases[] = {
        { u"strout(a\\sb\\tc);", u"a b    c" },
        { u"strout(x\\ny);", u"x\r\ny" },
        { u"strout(\\N);", u"" },
        { u"strout(\\l\\r\\q\\w\\d);", u"()[];" },
        { u"strout($[x$\\$$);", u"[x\\$" },
        { u"int(n);strout([n]);", u"0" },
        { u"strout([nosuch]);", u"nosuch" },
        { u"strout(a,b);", u"a,b" },
        { u"strout(a{b);", u"a{;b" },
        { u"strout(end$);", u"end," },
        { u"strout(end\\);", u"end" },
        { u"strout([open);", u"" },
        { u"strout;", u"" },
        { u"strout(1);strout(2);strout(3);", u"123" },
        { u"str(s);strout(<[s]>);", u"<>" },
        { u"bit(b);strout([b]);", u"0" },
        { u"single(v);strout([v]);", u"0" },
    };
    for (const auto& c : cases) {
        ScriptRun h;
        h.run(c.script);
        EXPECT_EQ(utf8(h.interp.record().questionText), utf8(c.question)) << utf8(c.script);
    }
}

TEST(RunLoop, ATemplateFaultAppendsNothing)
{
    ScriptRun h;
    h.run(u"int(a:3);ans(x[a:9]y);ans(ok);");
    EXPECT_EQ(h.interp.record().answerText, u"ok");
    ASSERT_EQ(h.box.texts.size(), 1u);
    EXPECT_EQ(h.box.texts[0], faultBox(Fault::SubscriptOutOfRange, 1, context(u"ans", u"x[a:9]y,")));
}

TEST(RunLoop, TooManySemicolonsRunNothing)
{
    ScriptRun h;
    h.run(u"title(x);" + std::u16string(32768, u';'));
    EXPECT_EQ(h.box.texts, std::vector<std::u16string> { errorBox(messages::tooManyStatements, 0, u"NoDate") });
    EXPECT_TRUE(h.interp.record().title.empty());
    h.box.texts.clear();
    h.interp.RunScript();
    EXPECT_EQ(h.box.texts.size(), 1u);
}

TEST(RunLoop, MessagesAreCappedPerRun)
{
    ScriptRun h;
    std::u16string script;
    for (int i = 0; i < 60; ++i)
        script += u"nosuch;";
    h.run(script);
    ASSERT_EQ(h.box.texts.size(), 51u);
    EXPECT_EQ(h.box.texts[49], errorBox(messages::unknownStatement, 49, context(u"nosuch", u"")));
    EXPECT_EQ(h.box.texts[50], errorBox(messages::tooManyMessages, 50, context(u"nosuch", u"")));
    // The next run may show its boxes again.
    h.box.texts.clear();
    h.interp.RunScript();
    EXPECT_EQ(h.box.texts.size(), 51u);
}

TEST(RunLoop, RecordTextsStopGrowingAtTheTextLimit)
{
    ScriptRun h;
    const std::u16string half(maxTextLength / 2 + 1, u'x');
    h.run(u"strout(" + half + u");strout(" + half + u");");
    EXPECT_EQ(h.interp.record().questionText.size(), half.size());
    ASSERT_EQ(h.box.texts.size(), 1u);
    EXPECT_EQ(h.box.texts[0].substr(0, 20), faultBox(Fault::Overflow, 1, u"").substr(0, 20));
}

TEST(RunLoop, StatementContextBeyondTheList)
{
    ScriptRun h;
    h.run(u"title(a);");
    EXPECT_EQ(h.interp.StatementContext(0), context(u"title", u"a,"));
    EXPECT_EQ(h.interp.StatementContext(1), u"NoDate");
}

} // namespace

namespace {

// Runaway scripts: each must end promptly and hold little memory, with the
// language's own boxes.
TEST(RunGuards, TextWorkCountsAgainstTheStatementCap)
{
    ScriptRun h;
    h.run(u"str(t);=(t,ab);while(1==2){=(t,[t][t]);};");
    // A doubling that would pass the text limit faults, and "=" then stores its
    // text unexpanded, so the text starts doubling again from "[t][t]".
    const auto& strs = h.interp.variables().strs();
    ASSERT_EQ(strs.size(), 1u);
    EXPECT_LE(strs[0].elements[0].size(), maxTextLength);
    // Fifty overflow reports, then the notice that the rest are left out.
    ASSERT_EQ(h.box.texts.size(), 51u);
    EXPECT_EQ(h.box.texts[0], faultBox(Fault::Overflow, 3, context(u"=", u"t,[t][t],")));
    EXPECT_EQ(h.box.texts[50].substr(0, messages::tooManyMessages.size()), messages::tooManyMessages);
}

// Every pass that runs a statement counts its operand as text work, a unit per
// whole 256 characters; the count is made once per statement list, so these
// rows pin that it is still counted on every pass.
TEST(RunGuards, OperandsCountAsWorkOnEveryPass)
{
    const struct {
        std::size_t padding; // characters after the third field of =+
        std::int64_t passes; // before the cap
        int capIndex; // the statement the cap stops
    } rows[] = {
        // int(i), then while{, =+ and } weigh one each: 9,999,999 / 3 loops.
        { 0, 10'000'000, 1 },
        { 248, 10'000'000, 1 }, // an operand of 255 characters weighs nothing more
        // 2,560 characters weigh 10 more: 769,230 loops of 13, then while{ and =+.
        { 2553, 2'307'693, 3 },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.padding);
        ScriptRun h;
        h.build(u"int(i);while(1==2){=+(i,1,0," + std::u16string(row.padding, u'x') + u");};");
        EXPECT_EQ(h.countPasses(), row.passes);
        ASSERT_EQ(h.box.texts.size(), 1u);
        EXPECT_EQ(h.box.texts[0].substr(0, messages::statementCapReached.size()), messages::statementCapReached);
        const std::u16string index = u"\r\n\r\n" + IntegerText(row.capIndex) + u"    ";
        EXPECT_NE(h.box.texts[0].find(index), std::u16string::npos);
    }
}

TEST(RunGuards, StoredTextsAreLimitedPerRun)
{
    ScriptRun h;
    h.run(u"str(t);=(t,ab);int(i);for(i,1,19){=(t,[t][t]);};str(a:2000);int(k);for(k,0,2000){=(a:k,[t]);};");
    std::size_t total = 0;
    for (const auto& entry : h.interp.variables().strs())
        for (const auto& element : entry.elements)
            total += element.size();
    EXPECT_LE(total, maxStoredTextChars);
    EXPECT_GT(total, maxStoredTextChars - 1048576 * 2);
}

TEST(RunGuards, PictureTextsAreLimitedPerRun)
{
    ScriptRun h;
    h.run(u"int(i);for(i,1,32767){print(" + std::u16string(65536, u'p') + u",0,0);};");
    const DrawingList& picture = h.interp.record().drawingList;
    EXPECT_EQ(picture.entries.size(), maxDrawingTextChars / 65536);
    EXPECT_LE(picture.textChars, maxDrawingTextChars);
}

TEST(RunGuards, HugeStatementsAreShortenedInBoxes)
{
    ScriptRun h;
    h.run(u"while(1==2){oops(" + std::u16string(5 << 20, u'a') + u");};");
    ASSERT_FALSE(h.box.texts.empty());
    EXPECT_LT(h.box.texts[0].size(), 1200u);
    EXPECT_EQ(h.box.texts[0].substr(h.box.texts[0].size() - 2), u"…\"");
}

TEST(RunGuards, StatementCapEndsAnEndlessLoop)
{
    ScriptRun h;
    h.run(u"int(i);while(1==2){=+(i,1,0);};title(never);");
    // Pass 10,000,001 is the loop's test: passes run int, while{, then =+, }, while{ over and over.
    ASSERT_EQ(h.box.texts.size(), 1u);
    EXPECT_EQ(h.box.texts.back(), errorBox(messages::statementCapReached, 1, context(u"while{", u"1==2,")));
    EXPECT_TRUE(h.interp.record().title.empty());
}

} // namespace
