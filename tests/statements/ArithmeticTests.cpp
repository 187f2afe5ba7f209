#include "ScriptRun.h"

#include "script/Numbers.h"

#include <cmath>
#include <limits>

namespace numbrelle::testing {
namespace {

// Every row runs after the same declarations; the statement under test is the
// last one, so a fault is reported with its index.
constexpr std::u16string_view prelude
    = u"int(s);int(q);int(r);int(p);int(a:3);str(t);bit(b);single(h);str(v);single(w);=+(w,7,0);";

void runCases(const std::vector<StatementCase>& cases) { runStatementCases(prelude, cases); }

TEST(Arithmetic, IntegerResults)
{
    runCases({
        { u"=+(s,2,3)", u"s", "5" },
        { u"=-(s,2,3)", u"s", "-1" },
        { u"=*(a:2,3,4)", u"a:2", "12" },
        { u"=/(q,7,2)", u"q", "3" },
        { u"=/(q,-7,2)", u"q", "-3" },
        { u"=/(q,7,-2)", u"q", "-3" },
        { u"=mod(r,7,3)", u"r", "1" },
        { u"=mod(r,-7,3)", u"r", "-1" },
        { u"=mod(r,-7,2)", u"r", "-1" },
        { u"=mod(r,7,-3)", u"r", "1" },
        { u"=^(p,2,10)", u"p", "1024" },
        { u"=^(p,-2,3)", u"p", "-8" },
        { u"=^(p,2,-1)", u"p", "0" },
        { u"=^(p,2,-2)", u"p", "0" },
        { u"=^(p,0,0)", u"p", "1" },
        { u"=^(p,-1,-32768)", u"p", "1" },
        { u"=+(s,2.5,0)", u"s", "2" }, // operands round half to even before the sum
        { u"=+(s,3.5,0)", u"s", "4" },
        { u"=+(s,1,2,3)", u"s", "3" },
        { u"=+(s,s,1)", u"s", "1" },
        { u"=+(s,w,1)", u"s", "8" },
        { u"=+(b,2,0)", u"b", "1" },
        { u"=-(b,2,2)", u"b", "0" },
        { u"=*(t,-4,5)", u"t", "-20" },
        { u"=+(nosuch,1,2)", u"s", "0" },
        { u"=+(s,32767,-32768)", u"s", "-1" },
    });
}

TEST(Arithmetic, IntegerFaults)
{
    runCases({
        // A failing operation leaves the first operand as the result.
        { u"=+(s,20000,20000)", u"s", "20000", Fault::Overflow },
        { u"=-(s,-32768,1)", u"s", "-32768", Fault::Overflow },
        { u"=*(s,200,200)", u"s", "200", Fault::Overflow },
        { u"=/(q,7,0)", u"q", "7", Fault::DivisionByZero },
        { u"=mod(r,7,0)", u"r", "7", Fault::DivisionByZero },
        { u"=/(q,-32768,-1)", u"q", "-32768", Fault::Overflow },
        { u"=mod(r,-32768,-1)", u"r", "-32768", Fault::Overflow },
        { u"=^(p,2,15)", u"p", "2", Fault::Overflow },
        { u"=^(p,0,-1)", u"p", "0", Fault::DivisionByZero },
        // A first operand that cannot be evaluated leaves the scan's last
        // character, which does not convert: it counts as 0.
        { u"=+(s,a:9,1)", u"s", "1", Fault::TypeMismatch },
        // A second operand that cannot be evaluated counts as the first.
        { u"=+(s,1,a:9)", u"s", "2", Fault::SubscriptOutOfRange },
        { u"=*(s,3,a:9)", u"s", "9", Fault::SubscriptOutOfRange },
        { u"=+(s,a:8,a:9)", u"s", "0", Fault::TypeMismatch },
        { u"=+(s,t,1)", u"s", "1", Fault::TypeMismatch },
        { u"=+(s,5)", u"s", "5", Fault::TypeMismatch },
        { u"=+(s)", u"s", "0", Fault::TypeMismatch },
        { u"=+(s,40000,1)", u"s", "1", Fault::Overflow },
        { u"=+(s,1,40000)", u"s", "1", Fault::Overflow },
        { u"=+(s,abc,1)", u"s", "1", Fault::TypeMismatch },
        { u"=+(a:9,1,2)", u"a:0", "0", Fault::SubscriptOutOfRange },
    });
}

TEST(Arithmetic, SingleResults)
{
    runCases({
        { u"dec=/(h,1,4)", u"h", "0.25" },
        { u"dec=/(s,1,4)", u"s", "0" },
        { u"dec=/(t,1,4)", u"t", "0.25" },
        { u"dec=/(h,1,3)", u"h", "0.3333333" },
        { u"dec=/(t,2,3)", u"t", "0.6666667" },
        { u"dec=*(h,0.1,3)", u"h", "0.3" },
        { u"dec=+(h,0.1,0.2)", u"h", "0.3" },
        { u"dec=-(h,1,3.5)", u"h", "-2.5" },
        { u"dec=*(t,12345,1000)", u"t", "1.2345E+07" },
        { u"dec=/(t,1,100000)", u"t", "1E-05" },
        { u"dec=^(h,2,10)", u"h", "1024" },
        { u"dec=^(h,2,0.5)", u"h", "1.414214" },
        { u"dec=^(h,-2,3)", u"h", "-8" },
        { u"dec=^(h,0,0)", u"h", "1" },
        { u"dec=+(h,1E-30,1E-30)", u"h", "2E-30" },
        { u"dec=+(s,2.5,0)", u"s", "2" },
        { u"dec=+(s,w,0.5)", u"s", "8" }, // 7.5 goes to the even 8
        { u"dec=/(b,1,4)", u"b", "1" },
    });
}

TEST(Arithmetic, SingleFaults)
{
    const std::string infinite = utf8(SingleText(std::numeric_limits<float>::infinity()));
    const std::string negativeInfinite = utf8(SingleText(-std::numeric_limits<float>::infinity()));
    const std::string undefined = utf8(SingleText(std::numeric_limits<float>::quiet_NaN()));
    runCases({
        // The result is not a number: a numeric target refuses it (the failed
        // store is the fault reported), a str target takes its text.
        { u"dec=/(w,1,0)", u"w", "7", Fault::TypeMismatch },
        { u"dec=/(v,1,0)", u"v", infinite, Fault::DivisionByZero },
        { u"dec=/(v,-1,0)", u"v", negativeInfinite, Fault::DivisionByZero },
        { u"dec=/(v,0,0)", u"v", undefined, Fault::InvalidArgument },
        { u"dec=/(b,0,0)", u"b", "1", Fault::InvalidArgument },
        { u"dec=+(v,3E38,3E38)", u"v", infinite, Fault::Overflow },
        { u"dec=+(w,3E38,3E38)", u"w", "7", Fault::TypeMismatch },
        { u"dec=-(v,-3E38,3E38)", u"v", negativeInfinite, Fault::Overflow },
        { u"dec=*(v,1E20,1E20)", u"v", infinite, Fault::Overflow },
        { u"dec=/(v,1E30,1E-30)", u"v", infinite, Fault::Overflow },
        // Undefined powers leave the first operand.
        { u"dec=^(h,-8,0.5)", u"h", "-8", Fault::InvalidArgument },
        { u"dec=^(h,0,-1)", u"h", "0", Fault::DivisionByZero },
        { u"dec=^(h,0,-0.5)", u"h", "0", Fault::DivisionByZero },
        // Powers beyond the single or double range become infinite unchecked.
        { u"dec=^(v,10,40)", u"v", infinite },
        { u"dec=^(v,10,400)", u"v", infinite },
        { u"dec=^(w,10,40)", u"w", "7", Fault::TypeMismatch },
        { u"dec=+(h,abc,1.5)", u"h", "1.5", Fault::TypeMismatch },
        { u"dec=+(h,1.5,a:9)", u"h", "3", Fault::SubscriptOutOfRange },
        { u"dec=+(h,4E38,1)", u"h", "1", Fault::Overflow },
    });
}

TEST(Arithmetic, SingleTextOfInfinityIsNoNumber)
{
    // The texts of infinite and undefined results must never convert, so that
    // such a result cannot reach an int or single variable.
    for (float special : { std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity(),
             std::numeric_limits<float>::quiet_NaN() }) {
        std::int16_t i = 0;
        float f = 0;
        EXPECT_NE(ToInt16(SingleText(special), i), Fault::None);
        EXPECT_NE(ToSingle(SingleText(special), f), Fault::None);
    }
}

// A single result goes to a single variable as its text, so what a variable
// holds is what it shows: a third stored and tripled is 0.9999999, not 1.
TEST(Arithmetic, SingleResultsStoreTheirText)
{
    ScriptRun run;
    run.run(u"single(h);dec=/(h,1,3);dec=*(h,h,3);");
    EXPECT_EQ(run.value(u"h"), "0.9999999");
}

} // namespace
} // namespace numbrelle::testing
