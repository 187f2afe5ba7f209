#include "ScriptRun.h"

namespace numbrelle::testing {
namespace {

constexpr std::u16string_view prelude = u"int(a:3);int(x);=+(x,7,0);str(s);=(s,abc);single(h);=(h,12.5);";

DrawingCommand entry(DrawingKind kind, std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2,
    std::u16string_view text, std::int16_t red = 0, std::int16_t green = 0, std::int16_t blue = 0)
{
    return { kind, x1, y1, x2, y2, Text(text), red, green, blue };
}

std::string describe(const DrawingCommand& c)
{
    return std::to_string(static_cast<int>(c.kind)) + " (" + std::to_string(c.x1) + "," + std::to_string(c.y1) + ","
        + std::to_string(c.x2) + "," + std::to_string(c.y2) + ") \"" + utf8(c.text) + "\" rgb " + std::to_string(c.red)
        + "," + std::to_string(c.green) + "," + std::to_string(c.blue);
}

struct DrawingCase {
    std::u16string_view statement;
    DrawingCommand expected;
    Fault fault = Fault::None;
};

void runCases(const std::vector<DrawingCase>& cases)
{
    for (const DrawingCase& c : cases) {
        Text script = Text(prelude) + Text(c.statement) + u";";
        SCOPED_TRACE(utf8(c.statement));
        ScriptRun run;
        run.run(script);
        const DrawingList& list = run.interp.record().drawingList;
        ASSERT_EQ(list.entries.size(), 1u);
        EXPECT_EQ(describe(list.entries[0]), describe(c.expected));
        int last = run.interp.statementList().lastIndex;
        EXPECT_EQ(run.boxes(), c.fault == Fault::None ? noBoxes() : std::vector { faultBox(run, c.fault, last) });
    }
}

constexpr auto Line = DrawingKind::Line;
constexpr auto Box = DrawingKind::Box;
constexpr auto Circle = DrawingKind::Circle;
constexpr auto TextEntry = DrawingKind::Text;

TEST(Drawing, Shapes)
{
    runCases({
        { u"line(0,0,1000,1000)", entry(Line, 0, 0, 1000, 1000, u"1") },
        { u"line(0,0,100,100,3,255)", entry(Line, 0, 0, 100, 100, u"3", 255) },
        { u"line(0,0,100,100,,,255)", entry(Line, 0, 0, 100, 100, u"1", 0, 255) },
        { u"line(10,20,30,40,1,0,0,0,99)", entry(Line, 10, 20, 30, 40, u"1") },
        { u"line(12.5,13.5,x,h)", entry(Line, 12, 14, 7, 12, u"1") },
        { u"line(0,0,1,1,0)", entry(Line, 0, 0, 1, 1, u"0") },
        { u"line(0,0,1,1,-3)", entry(Line, 0, 0, 1, 1, u"-3") },
        // Components are kept as written; the picture limits them when drawing.
        { u"line(0,0,1,1,1,300,-5,x)", entry(Line, 0, 0, 1, 1, u"1", 300, -5, 7) },
        { u"square(100,100,900,900,#paint,255,0,0)", entry(Box, 100, 100, 900, 900, u"#paint", 255) },
        { u"square(100,100,900,900,#PAINT,0,128,0)", entry(Box, 100, 100, 900, 900, u"#PAINT", 0, 128) },
        { u"square(100,100,900,900)", entry(Box, 100, 100, 900, 900, u"") },
        { u"square(0,0,1,1,x)", entry(Box, 0, 0, 1, 1, u"7") },
        { u"square(0,0,1,1,h)", entry(Box, 0, 0, 1, 1, u"12.5") },
        { u"square(0,0,1,1,s)", entry(Box, 0, 0, 1, 1, u"s") },
        { u"circle(500,500,250,2,0,0,255)", entry(Circle, 500, 500, 250, 0, u"2", 0, 0, 255) },
        { u"circle(500,500,250)", entry(Circle, 500, 500, 250, 0, u"1") },
        { u"CIRCLE(a:1,x,X)", entry(Circle, 0, 7, 7, 0, u"1") },
    });
}

TEST(Drawing, FaultingFieldsCountAsZero)
{
    runCases({
        { u"line(0,0,500)", entry(Line, 0, 0, 500, 0, u"1"), Fault::TypeMismatch },
        { u"line(0,0,1,1,abc)", entry(Line, 0, 0, 1, 1, u"0"), Fault::TypeMismatch },
        { u"line(0,0,1,a:9,2)", entry(Line, 0, 0, 1, 0, u"2"), Fault::SubscriptOutOfRange },
        { u"line(40000,5,1,1,1,9)", entry(Line, 0, 5, 1, 1, u"1", 9), Fault::Overflow },
        { u"square(0,0,1,1,a:9,9)", entry(Box, 0, 0, 1, 1, u"a:9", 9), Fault::SubscriptOutOfRange },
        { u"circle(1,2,s,4,5)", entry(Circle, 1, 2, 0, 0, u"4", 5), Fault::TypeMismatch },
        { u"circle()", entry(Circle, 0, 0, 0, 0, u"1"), Fault::TypeMismatch },
    });
}

TEST(Drawing, Print)
{
    runCases({
        { u"print(hello,100,100)", entry(TextEntry, 100, 100, 0, 0, u"hello") },
        { u"print(X,10,10)", entry(TextEntry, 10, 10, 0, 0, u"7") },
        { u"print(s,10,10)", entry(TextEntry, 10, 10, 0, 0, u"s") },
        { u"print(h,12.5,13.5)", entry(TextEntry, 12, 14, 0, 0, u"12.5") },
        { u"print([x]\\s,1,2,3)", entry(TextEntry, 1, 2, 0, 0, u"[x]\\s") },
        { u"print(abc)", entry(TextEntry, 0, 0, 0, 0, u"abc"), Fault::TypeMismatch },
        { u"print(a:9,1,1)", entry(TextEntry, 1, 1, 0, 0, u"a:9"), Fault::SubscriptOutOfRange },
        { u"print(a:2,abc,7)", entry(TextEntry, 0, 7, 0, 0, u"0"), Fault::TypeMismatch },
    });
}

TEST(Drawing, EntriesKeepScriptOrderAndSkippedOnesAddNothing)
{
    ScriptRun run;
    run.run(u"int(i);for(i,1,3){line(i,0,0,0);};if(1==2){circle(1,1,1);};print(p,0,0);");
    const auto& entries = run.interp.record().drawingList.entries;
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].x1, 1);
    EXPECT_EQ(entries[2].x1, 3);
    EXPECT_EQ(entries[3].kind, DrawingKind::Text);

    run.run(u"strout(none);");
    EXPECT_TRUE(run.interp.record().drawingList.empty());
}

struct MessageCase {
    std::u16string_view script;
    std::vector<std::u16string_view> shown;
};

TEST(Msgbox, ShowsTheExpandedOperand)
{
    const MessageCase cases[] = {
        { u"msgbox(ok);", { u"ok" } },
        { u"msgbox(a,b);", { u"a,b" } }, // not split at commas
        { u"int(n);=+(n,3,0);msgbox(n=[n]);", { u"n=3" } },
        { u"msgbox(one\\ntwo);", { u"one\r\ntwo" } },
        { u"msgbox;", { u"" } },
        { u"int(i);for(i,1,2){msgbox([i]);};", { u"1", u"2" } },
        { u"if(1==2){msgbox(hidden);};msgbox(shown);", { u"shown" } },
    };
    for (const MessageCase& c : cases) {
        SCOPED_TRACE(utf8(c.script));
        ScriptRun run;
        run.run(c.script);
        std::vector<std::string> expected;
        for (auto text : c.shown)
            expected.push_back(utf8(text));
        EXPECT_EQ(run.boxes(), expected);
    }
}

TEST(Msgbox, TemplateFaultShowsNoMessage)
{
    ScriptRun run;
    run.run(u"int(a:3);msgbox(x[a:9]);strout(after);");
    EXPECT_EQ(run.boxes(), std::vector { faultBox(run, Fault::SubscriptOutOfRange, 1) });
    EXPECT_EQ(utf8(run.question()), "after");
}

} // namespace
} // namespace numbrelle::testing
