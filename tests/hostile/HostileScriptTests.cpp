// Question files are shared and downloaded, so each is untrusted input. Every
// case here is a file built to hang, crash or exhaust the program; each must
// end with exactly the boxes shown and the record left behind, and every run
// of the same list must behave alike.
#include "tests/hostile/HostileRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace numbrelle::hostile {
namespace {

struct Case {
    std::string name;
    std::string bytes;
    std::vector<Text> boxes;
    Text question;
};

std::ostream& operator<<(std::ostream& out, const Case& c) { return out << c.name; }

std::vector<Text> repeated(const std::vector<Text>& pattern, std::size_t count)
{
    std::vector<Text> out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(pattern[i % pattern.size()]);
    return out;
}

// What a run shows when it keeps failing: the first 50 boxes, then the notice
// that the rest are left out, for the statement at noticeIndex.
std::vector<Text> floodOf(const std::vector<Text>& pattern, int noticeIndex, TextView noticeContext)
{
    std::vector<Text> out = repeated(pattern, maxMessagesPerRun);
    out.push_back(errorBox(messages::tooManyMessages, noticeIndex, noticeContext));
    return out;
}

const Text noDate(messages::noDate);

Text repeatedText(TextView piece, std::size_t times)
{
    Text out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Boxes can be megabytes long and come by the fifty: report the first that
// differs, readably, rather than both lists whole.
void expectBoxes(const std::vector<Text>& actual, const std::vector<Text>& expected)
{
    EXPECT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
        if (actual[i] != expected[i]) {
            ADD_FAILURE() << "box " << i << " is\n"
                          << utf8(actual[i]).substr(0, 300) << "\nnot\n"
                          << utf8(expected[i]).substr(0, 300);
            return;
        }
    }
}

std::vector<Text> unknownStatementsFrom0To49()
{
    std::vector<Text> out;
    for (int i = 0; i < maxMessagesPerRun; ++i)
        out.push_back(errorBox(messages::unknownStatement, i, context(u"", u"")));
    out.push_back(errorBox(messages::tooManyMessages, 50, context(u"", u"")));
    return out;
}

std::vector<Case> structureCases()
{
    const Text emptyStatement = context(u"", u"");
    return {
        { "FortyThousandSemicolons", repeat(";", 40000), { errorBox(messages::tooManyStatements, 0, noDate) }, u"" },
        { "MostSemicolonsAllowed", repeat(";", 32767), unknownStatementsFrom0To49(), u"" },
        // ";" inside parentheses count as well, though they split nothing.
        { "SemicolonsInsideParentheses", "strout(" + repeat(";", 40000) + ");",
            { errorBox(messages::tooManyStatements, 0, noDate) }, u"" },
        { "FortyThousandNestedIfs", repeat("if(1==1){", 40000), { errorBox(messages::tooManyStatements, 0, noDate) },
            u"" },
        { "DeepNestingWithinTheLimit", repeat("if(1==1){", 16000) + "strout(deep);" + repeat("};", 16000), {},
            u"deep" },
        { "UnclosedIf", "if(1==1){strout(a);", {}, u"a" },
        { "UnclosedWhile", "while(1==2){strout(a);", {}, u"a" },
        { "UnclosedFor", "int(i);for(i,1,9){strout(a);", {}, u"a" },
        { "StrayCloseBeforeStatement", "};strout(a);",
            { faultBox(Fault::SubscriptOutOfRange, 1, context(u"strout", u"a,")) }, u"a" },
        // Raised by the last statement, so nothing reported it before the run ended.
        { "StrayCloseAtEnd", "strout(a);};", { faultBox(Fault::SubscriptOutOfRange, 1, context(u"}", u"")) }, u"a" },
        { "StrayElse", "}else{strout(a);", { faultBox(Fault::SubscriptOutOfRange, 1, context(u"strout", u"a,")) },
            u"a" },
        { "TwentyThousandStrayCloses", repeat("};", 20000) + "strout(a);",
            { faultBox(Fault::SubscriptOutOfRange, 20000, context(u"strout", u"a,")) }, u"a" },
        { "UnclosedBlockComment", "strout(a);/*strout(b);", {}, u"a" },
        // Groups do not nest: the inner "(" is dropped and the first ")" closes.
        { "UnclosedParenthesis", "strout(a;strout(b);", { errorBox(messages::unknownStatement, 1, emptyStatement) },
            u"a;stroutb" },
    };
}

std::vector<Case> loopCases()
{
    const Text whileContext = context(u"while{", u"1==2,");
    const Text msgboxContext = context(u"msgbox", u"again,");
    const Text oopsContext = context(u"oops", u"");
    return {
        { "WhileNeverHolding", "while(1==2){};", { errorBox(messages::statementCapReached, 0, whileContext) }, u"" },
        { "WhileInsideFor", "int(i);for(i,1,3){while(1==2){};};",
            { errorBox(messages::statementCapReached, 2, whileContext) }, u"" },
        // The bad operator is shown on the first pass and ends the loop on the next.
        { "WhileWithInvalidOperator", "while(1<>2){strout(x);};",
            repeated({ errorBox(messages::invalidOperator, 0, context(u"while{", u"1<>2,")) }, 2), u"x" },
        { "WhileWhoseOperandFaultsLater", "int(a:2);int(i);while(a:i>5){=+(i,i,1);strout(x);};",
            { faultBox(Fault::SubscriptOutOfRange, 2, context(u"while{", u"a:i>5,")) }, u"xxx" },
        { "ForOnUndeclaredCounter", "for(n,1,5){strout(x);};",
            { faultBox(Fault::TypeMismatch, 0, context(u"for{", u"n,1,5,")) }, u"x" },
        { "ForOnStrCounter", "str(s);for(s,1,3){strout(x);};",
            { faultBox(Fault::TypeMismatch, 1, context(u"for{", u"s,1,3,")) }, u"x" },
        { "ForStoppedByOverflow", "int(i);for(i,32760,32767,5){strout(x);};",
            { faultBox(Fault::Overflow, 1, context(u"for{", u"i,32760,32767,5,")) }, u"xx" },
        { "ForStoppedByOverflowGoingDown", "int(i);for(i,-32760,-32768,-5){strout(x);};",
            { faultBox(Fault::Overflow, 1, context(u"for{", u"i,-32760,-32768,-5,")) }, u"xx" },
        { "ForWithStepZero", "int(i);for(i,1,5,0){strout(x);};", {}, u"x" },
        { "ForOnBitCounter", "bit(b);for(b,0,5){strout(x);};", {}, u"xx" },
        // The counter advances on every pass, so only the statement cap ends it.
        { "ForWhoseBodyResetsCounter", "int(i);for(i,1,5){=(i,1);};",
            { errorBox(messages::statementCapReached, 1, context(u"for{", u"i,1,5,")) }, u"" },
        { "LoopsInsideSkippedBlock",
            "int(i);if(1==2){while(1==2){};for(n,1,5){};while(1<>2){};for(i,1,5,0){};};strout(ok);", {}, u"ok" },
        { "MsgboxInEndlessLoop", "while(1==2){msgbox(again);};", floodOf({ u"again" }, 1, msgboxContext), u"" },
        { "UnknownStatementInEndlessLoop", "while(1==2){oops;};",
            floodOf({ errorBox(messages::unknownStatement, 1, oopsContext) }, 1, oopsContext), u"" },
    };
}

std::vector<Case> growthCases()
{
    const Text doubling = context(u"=", u"t,[t][t],");
    const Text declareX = context(u"int", u"x,");
    const Text declareY = context(u"int", u"y,");
    const Text line1 = context(u"line", u"0,0,1,1,");
    const Text line2 = context(u"line", u"1,1,0,0,");
    const Text overflowingStore = context(u"=", u"a:k,?[t],");
    return {
        // "ab" doubled 19 times is the longest text there may be. The 20th
        // doubling cannot be expanded, so its unexpanded text "[t][t]" is what
        // is stored, and that doubles as literal text for the last 10 passes.
        { "TextDoublingInLoop", "str(t);=(t,ab);int(i);for(i,1,30){=(t,[t][t]);};strout([t]);",
            { faultBox(Fault::Overflow, 4, doubling) }, repeatedText(u"[t]", 2048) },
        { "LongestTextAppendedTwice", "str(t);=(t,ab);int(i);for(i,1,19){=(t,[t][t]);};strout([t]);strout(x);",
            { faultBox(Fault::Overflow, 7, context(u"strout", u"x,")) }, repeatedText(u"ab", 1 << 19) },
        // The int table fills after 16383 passes; from then on every declaration faults.
        { "DeclarationsInLoop", "int(j);int(i);for(i,1,32767){int(x);int(y);};",
            floodOf({ faultBox(Fault::Overflow, 3, declareX), faultBox(Fault::Overflow, 4, declareY) }, 3, declareX),
            u"" },
        // i holds one element, so 31 arrays of 32768 fit in 1,048,576 elements.
        { "HugeBoundsInLoop", "int(i);for(i,1,40){int(a:32767);};",
            repeated({ faultBox(Fault::Overflow, 2, context(u"int", u"a:32767,")) }, 9), u"" },
        { "HugeBoundText", "int(a:99999999999999999999);",
            { faultBox(Fault::Overflow, 0, context(u"int", u"a:99999999999999999999,")) }, u"" },
        { "NegativeBound", "int(a:-5);=(a:0,7);strout([a:0]);",
            { faultBox(Fault::TypeMismatch, 0, context(u"int", u"a:-5,")) }, u"7" },
        // A short text where a long one was, in element after element: each
        // element must give up the long text's memory, not just its count.
        { "ShortTextsReplaceLongOnesInManyElements",
            "str(t);=(t,ab);int(i);for(i,1,18){=(t,[t][t]);};str(a:2000);int(k);"
            "for(k,0,600){=(a:k,[t]);=(a:k,x);};strout([a:600]);",
            {}, u"x" },
        // Every pass builds a text one character too long and stores its
        // unexpanded form instead; the megabyte it built must not go with it.
        { "OverflowingTextsIntoManyElements",
            "str(t);=(t,ab);int(i);for(i,1,19){=(t,[t][t]);};str(a:2000);int(k);for(k,0,300){=(a:k,?[t]);};",
            floodOf({ faultBox(Fault::Overflow, 9, overflowingStore) }, 9, overflowingStore), u"" },
        // Two lines a pass: the list is full after 16384 passes.
        { "FortyThousandDrawings", "int(i);for(i,1,20000){line(0,0,1,1);line(1,1,0,0);};",
            floodOf({ faultBox(Fault::Overflow, 2, line1), faultBox(Fault::Overflow, 3, line2) }, 2, line1), u"" },
    };
}

std::vector<Case> encodingCases()
{
    return {
        // 0x80, 0xA0 and 0xFD to 0xFF are no characters; 0x81 cannot stand before a blank.
        { "UndecodableBytes", "strout(\x80\xA0\xFD\xFE\xFF\x81 a);", {}, u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFDa" },
        // Trail bytes 0x5C, 0x7B and 0x7D are halves of kanji and kana, not "\", "{" and "}".
        { "TrailBytesThatLookLikeSyntax", "strout(\x95\x5Cs\x83\x7B\x83\x7D);", {}, u"表sボマ" },
        { "LeadByteCutOffAtEnd", "strout(a);\x82", { errorBox(messages::unknownStatement, 1, context(u"\uFFFD", u"")) },
            u"a" },
        { "NulBytes", std::string("strout(a\0b);\0", 13),
            { errorBox(messages::unknownStatement, 1, context(Text(1, u'\0'), u"")) }, Text(u"a\0b", 3) },
        { "LoneCarriageReturnsAndLineFeeds", "strout(a)\r;\n\rstrout(b);\n", {}, u"ab" },
    };
}

class HostileFile : public ::testing::TestWithParam<Case> { };

TEST_P(HostileFile, ShowsExactlyItsBoxesOnEveryRun)
{
    const Case& c = GetParam();
    HostileRun run;
    const std::vector<RunResult> results = run.run(c.bytes);
    for (std::size_t i = 0; i < results.size(); ++i) {
        SCOPED_TRACE("run " + std::to_string(i + 1));
        expectBoxes(results[i].boxes, c.boxes);
        EXPECT_TRUE(results[i].record.questionText == c.question)
            << utf8(results[i].record.questionText).substr(0, 300);
    }
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) { return info.param.name; }

INSTANTIATE_TEST_SUITE_P(Structure, HostileFile, ::testing::ValuesIn(structureCases()), caseName);
INSTANTIATE_TEST_SUITE_P(Loops, HostileFile, ::testing::ValuesIn(loopCases()), caseName);
INSTANTIATE_TEST_SUITE_P(Growth, HostileFile, ::testing::ValuesIn(growthCases()), caseName);
INSTANTIATE_TEST_SUITE_P(Encoding, HostileFile, ::testing::ValuesIn(encodingCases()), caseName);

TEST(HostileFile, EveryCaseStaysUnderItsMemoryLimit)
{
    if (!memoryIsMeasurable)
        GTEST_SKIP() << "built with a sanitizer, whose own memory would be counted";
    std::vector<Case> cases;
    for (auto* group : { structureCases, loopCases, growthCases, encodingCases }) {
        std::vector<Case> more = group();
        cases.insert(cases.end(), more.begin(), more.end());
    }
    for (const Case& c : cases) {
        const long peak = peakKilobytesOf([&] { HostileRun().run(c.bytes); });
        EXPECT_GT(peak, 0) << c.name;
        EXPECT_LT(peak, peakMemoryLimitKilobytes) << c.name;
    }
}

TEST(HostileFile, FullDrawingListStaysAtItsLimit)
{
    HostileRun run;
    const auto results = run.run("int(i);for(i,1,20000){line(0,0,1,1);line(1,1,0,0);};");
    EXPECT_EQ(results.back().record.drawingList.entries.size(), 32768U);
}

TEST(HostileFile, TenMegabyteCommentIsSkipped)
{
    HostileRun run;
    const auto results = run.run("title(big);//" + repeat("x", 10 << 20) + "\r\nstrout(ok);");
    EXPECT_TRUE(results.back().boxes.empty());
    EXPECT_EQ(results.back().record.title, u"big");
    EXPECT_EQ(results.back().record.questionText, u"ok");
}

TEST(HostileFile, TenMegabyteOperandOverflowsItsText)
{
    const std::string operand = repeat("a", 10 << 20);
    HostileRun run;
    const auto results = run.run("strout(" + operand + ");");
    // The box shows the start of a statement too long to show whole.
    const Text shown = Text(1000, u'a') + u"…";
    for (const RunResult& result : results) {
        expectBoxes(result.boxes, { faultBox(Fault::Overflow, 0, context(u"strout", shown)) });
        EXPECT_EQ(result.record.questionText, u"");
    }
}

// Bound texts grow one digit at a time; converting each would take quadratic
// time on a long one.
TEST(HostileFile, MillionDigitBoundIsRefused)
{
    HostileRun run;
    const auto results = run.run("int(a:" + repeat("1", 1 << 20) + ");=(a:1111,3);strout([a:1111]);");
    ASSERT_FALSE(results.back().boxes.empty());
    EXPECT_EQ(results.back().record.questionText, u"3");
}

TEST(HostileFile, TenMegabytesOfLineBreaksIsOneEmptyStatement)
{
    HostileRun run;
    const auto results = run.run(repeat("\r\n", 5 << 20));
    EXPECT_EQ(results.back().boxes, std::vector<Text> { errorBox(messages::unknownStatement, 0, noDate) });
}

// Random bytes: nothing exact to expect, but every box must be one of the
// language's, never more than the cap allows, and runs must agree.
TEST(HostileFile, BinaryGarbage)
{
    std::mt19937 engine(7);
    for (int file = 0; file < 20; ++file) {
        SCOPED_TRACE("file " + std::to_string(file));
        std::string bytes(64 * 1024, '\0');
        for (char& b : bytes)
            b = static_cast<char>(engine() & 0xFF);
        HostileRun run;
        const auto results = run.run(bytes);
        for (const RunResult& result : results) {
            expectBoxes(result.boxes, results.front().boxes);
            EXPECT_LE(result.boxes.size(), static_cast<std::size_t>(maxMessagesPerRun + 1));
            for (const Text& box : result.boxes)
                EXPECT_EQ(box.substr(0, messages::errorPrefix.size()), messages::errorPrefix);
        }
    }
}

// Runaway cases: without the limits on a run's texts and text work each would
// hold gigabytes or run for many minutes.
TEST(HostileRunaway, EndlessTextDoublingEndsPromptly)
{
    HostileRun run;
    const auto results = run.run("str(t);=(t,ab);while(1==2){=(t,[t][t]);};");
    EXPECT_LE(results.back().boxes.size(), static_cast<std::size_t>(maxMessagesPerRun + 1));
}

TEST(HostileRunaway, ManyLongTextsStayUnderTheMemoryLimit)
{
    const std::string scripts[] = {
        // 2001 elements of a megabyte text each.
        "str(t);=(t,ab);int(i);for(i,1,19){=(t,[t][t]);};str(a:2000);int(k);for(k,0,2000){=(a:k,[t]);};",
        // 32767 drawing entries, each with the 64 KB text print was given.
        "int(i);for(i,1,32767){print(" + repeat("p", 65536) + ",0,0);};",
        // Fifty error boxes, each quoting a 5 MB statement.
        "while(1==2){oops(" + repeat("a", 5 << 20) + ");};",
    };
    if (!memoryIsMeasurable)
        GTEST_SKIP() << "built with a sanitizer, whose own memory would be counted";
    for (const std::string& script : scripts) {
        const long peak = peakKilobytesOf([&] { HostileRun().run(script); });
        EXPECT_GT(peak, 0);
        EXPECT_LT(peak, peakMemoryLimitKilobytes) << script.substr(0, 80);
    }
}

// Code page 932 yields no character outside the first plane, but the language
// takes any 16-bit text: pairs and lone halves of surrogates are characters
// like any other, in names, texts and keywords.
TEST(HostileText, AstralCharactersAndLoneSurrogates)
{
    struct Row {
        Text script;
        std::vector<Text> boxes;
        Text question;
    };
    const Row rows[] = {
        { u"str(😀);=(😀,𠮷x);strout([😀]);", {}, u"𠮷x" },
        { u"str(\xD800);=(\xD800,\xDC00"
          u"a);strout([\xD800]\xDFFF);",
            {},
            u"\xDC00"
            u"a\xDFFF" },
        // A name of half a pair is not the whole pair.
        { u"int(\xD83D);=(\xD83D,5);int(😀);strout([😀][\xD83D]);", {}, u"05" },
        { u"😀;", { errorBox(messages::unknownStatement, 0, context(u"😀", u"")) }, u"" },
        { u"strout(a);\xD83D", { errorBox(messages::unknownStatement, 1, context(u"\xD83D", u"")) }, u"a" },
        { u"int(\xDFFF:3);=(\xDFFF:3,9);strout([\xDFFF:3]);=(\xDFFF:4,1);",
            { faultBox(Fault::SubscriptOutOfRange, 3, context(u"=", u"\xDFFF:4,1,")) }, u"9" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.script));
        StdRandom random;
        testing::ScriptRun run(random);
        const QuestionRecord& record = run.run(row.script);
        expectBoxes(run.box.texts, row.boxes);
        EXPECT_EQ(record.questionText, row.question);
    }
}

} // namespace
} // namespace numbrelle::hostile
