#include "ScriptRun.h"

#include "platform/StdRandom.h"

#include <array>

namespace numbrelle::testing {
namespace {

constexpr float justBelowOne = 0.99999994f;

struct RandomCase {
    std::u16string_view script; // the random statement is the last one
    float draw;
    std::u16string_view variable;
    const char* expected;
    Fault fault;
};

TEST(Random, DrawsAndRounding)
{
    const RandomCase cases[] = {
        { u"int(x);random(x,9,1);", 0.0f, u"x", "1", Fault::None },
        { u"int(x);random(x,9,1);", justBelowOne, u"x", "10", Fault::None },
        { u"int(x);random(x,9,1);", 0.5f, u"x", "6", Fault::None }, // 5.5 goes to the even 6
        { u"int(x);random(x,1,0);", 0.5f, u"x", "0", Fault::None }, // 0.5 goes to the even 0
        { u"int(x);random(x,-4,0);", 0.25f, u"x", "-1", Fault::None },
        { u"int(x);random(x,-4,0);", justBelowOne, u"x", "-4", Fault::None },
        { u"int(x);random(x,0,5);", 0.7f, u"x", "5", Fault::None },
        { u"int(x);random(x,6);", justBelowOne, u"x", "6", Fault::None },
        { u"int(x);int(n);=+(n,4,0);random(x,n,2);", justBelowOne, u"x", "6", Fault::None },
        { u"int(x);=+(x,7,0);random(x);", 0.9f, u"x", "0", Fault::None },
        { u"int(x);=+(x,7,0);random(x,);", 0.9f, u"x", "0", Fault::TypeMismatch },
        { u"int(x);str(w);random(x,w,3);", 0.9f, u"x", "3", Fault::TypeMismatch },
        { u"int(x);random(x,9,1,99);", 0.0f, u"x", "1", Fault::None },
        { u"int(a:3);random(a:2,9,1);", 0.0f, u"a:2", "1", Fault::None },
        { u"single(v);random(v,9,1);", 0.5f, u"v", "6", Fault::None },
        { u"str(t);random(t,9,1);", 0.5f, u"t", "6", Fault::None },
        { u"int(x);=+(x,7,0);random(x,32767,1);", justBelowOne, u"x", "0", Fault::Overflow },
        { u"int(x);random(x,-32768,-1);", 0.5f, u"x", "-16385", Fault::None },
        { u"int(x);random(x,32767,-32768);", 0.0f, u"x", "-32768", Fault::None },
    };
    for (const RandomCase& c : cases) {
        SCOPED_TRACE(utf8(c.script));
        ScriptRun run;
        run.scripted.values = { c.draw };
        run.run(c.script);
        EXPECT_EQ(run.value(c.variable), c.expected);
        int last = run.interp.statementList().lastIndex;
        EXPECT_EQ(run.boxes(), c.fault == Fault::None ? noBoxes() : std::vector { faultBox(run, c.fault, last) });
    }
}

// Over many draws every value of the range turns up, nothing outside it, and
// the two ends come about half as often as the values between them.
TEST(Random, DistributionOverManyDraws)
{
    StdRandom source;
    source.seed(20240601);
    ScriptRun run(source);
    run.run(u"int(x);int(c:11);int(i);for(i,1,30000){random(x,9,1);=+(c:x,c:x,1);};");
    ASSERT_TRUE(run.boxes().empty());

    std::array<int, 12> counts {};
    int total = 0;
    for (int v = 0; v <= 11; ++v) {
        counts[v] = std::stoi(run.value(asciiText("c:" + std::to_string(v))));
        total += counts[v];
    }
    EXPECT_EQ(total, 30000);
    EXPECT_EQ(counts[0], 0);
    EXPECT_EQ(counts[11], 0);
    const double inner = 30000.0 / 9; // each of 2..9
    for (int v = 2; v <= 9; ++v)
        EXPECT_NEAR(counts[v], inner, inner * 0.1) << "value " << v;
    EXPECT_NEAR(counts[1], inner / 2, inner * 0.1);
    EXPECT_NEAR(counts[10], inner / 2, inner * 0.1);
}

TEST(Random, SuccessiveRunsContinueOneSequence)
{
    ScriptRun run;
    run.scripted.values = { 0.0f, 0.5f, justBelowOne };
    const char16_t* script = u"int(x);int(y);random(x,9,1);random(y,9,1);";
    run.run(script);
    EXPECT_EQ(run.value(u"x") + run.value(u"y"), "16");
    run.run(script);
    EXPECT_EQ(run.value(u"x") + run.value(u"y"), "101");
}

} // namespace
} // namespace numbrelle::testing
