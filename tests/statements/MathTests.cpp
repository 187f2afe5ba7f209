#include "ScriptRun.h"

namespace numbrelle::testing {
namespace {

// s is a single holding 7 before the statement under test, so a statement
// that stores nothing leaves 7.
constexpr std::u16string_view prelude = u"single(s);=(s,7);int(i);int(n:3);=+(n,3,0);str(t);bit(b);";

void runCases(const std::vector<StatementCase>& cases) { runStatementCases(prelude, cases); }

TEST(MathFunctions, Values)
{
    runCases({
        { u"=sin(s,30)", u"s", "0.5" },
        { u"=sin(s,90)", u"s", "1" },
        { u"=sin(s,180)", u"s", "0" },
        { u"=sin(s,-30)", u"s", "-0.5" },
        { u"=sin(s,1)", u"s", "0.0175" },
        { u"=sin(s,30.5)", u"s", "0.5" }, // 30 degrees: the argument rounds half to even
        { u"=sin(s,31.5)", u"s", "0.5299" }, // 32 degrees
        { u"=sin(s,30,99)", u"s", "0.5" },
        { u"=cos(s,30)", u"s", "0.866" },
        { u"=cos(s,90)", u"s", "0" },
        { u"=cos(s,180)", u"s", "-1" },
        { u"=tan(s,60)", u"s", "1.7321" },
        { u"=tan(s,89)", u"s", "57.29" },
        { u"=tan(s,135)", u"s", "-1" },
        { u"=tan(s,40000)", u"s", "0.8391" }, // a 32-bit argument: 40000 degrees is 40
        { u"=log(s,1)", u"s", "0" },
        { u"=log(s,2)", u"s", "0.6931" },
        { u"=log(s,2.5)", u"s", "0.6931" },
        { u"=log(s,1000000)", u"s", "13.8155" },
        { u"=log10(s,1000)", u"s", "3" },
        { u"=log10(s,100)", u"s", "2" },
        { u"=log10(s,5)", u"s", "0.699" },
        { u"=log_(s,2,8)", u"s", "3" },
        { u"=log_(s,3,9)", u"s", "2" },
        { u"=log_(s,10,1000)", u"s", "3" },
        { u"=log_(s,2,3)", u"s", "1.585" },
        { u"=sin(s,n)", u"s", "0.0523" },
        { u"=sin(i,30)", u"i", "0" }, // 0.5 rounds to the even 0
        { u"=sin(i,90)", u"i", "1" },
        { u"=cos(t,60)", u"t", "0.5" },
        { u"=sin(b,0)", u"b", "0" },
    });
}

TEST(MathFunctions, Faults)
{
    runCases({
        // An argument that does not convert is taken as 0.
        { u"=sin(s,40000)", u"s", "0", Fault::Overflow },
        { u"=cos(s,40000)", u"s", "1", Fault::Overflow },
        { u"=tan(s,abc)", u"s", "0", Fault::TypeMismatch },
        { u"=sin(s,n:9)", u"s", "0", Fault::TypeMismatch },
        { u"=tan(s,3000000000)", u"s", "0", Fault::Overflow },
        // Where the function itself fails nothing is stored.
        { u"=tan(s,90)", u"s", "7", Fault::Overflow },
        { u"=tan(s,-90)", u"s", "7", Fault::Overflow },
        { u"=tan(s,270)", u"s", "7", Fault::Overflow },
        { u"=log(s,0)", u"s", "7", Fault::InvalidArgument },
        { u"=log(s,-5)", u"s", "7", Fault::InvalidArgument },
        { u"=log(s,abc)", u"s", "7", Fault::InvalidArgument },
        { u"=log10(s,0)", u"s", "7", Fault::InvalidArgument },
        { u"=log_(s,1,8)", u"s", "7", Fault::DivisionByZero },
        { u"=log_(s,1,1)", u"s", "7", Fault::InvalidArgument },
        { u"=log_(s,0,8)", u"s", "7", Fault::InvalidArgument },
        { u"=log_(s,-2,8)", u"s", "7", Fault::InvalidArgument },
        { u"=log_(s,2,0)", u"s", "7", Fault::InvalidArgument },
        { u"=log_(s,2)", u"s", "7", Fault::InvalidArgument },
    });
}

TEST(PlainAssignment, Values)
{
    runCases({
        { u"=(t,[n]\\sapples)", u"t", "3 apples" },
        { u"=(i,n)", u"i", "3" },
        { u"=(t,n)", u"t", "3" },
        { u"=(t,N)", u"t", "3" },
        { u"=(t,hello)", u"t", "hello" },
        { u"=(t,n:2)", u"t", "0" },
        { u"=(t,a$)", u"t", "a," }, // "$" takes the closing comma
        { u"=(t,a\\lb\\r)", u"t", "a(b)" },
        { u"=(t,[t]x)", u"t", "x" },
        { u"=(t,x,y)", u"t", "x" },
        { u"=(s,2.5)", u"s", "2.5" },
        { u"=(i,2.5)", u"i", "2" },
        { u"=(b,0)", u"b", "0" },
        { u"=(b,)", u"b", "1" },
    });
}

TEST(PlainAssignment, Faults)
{
    runCases({
        { u"=(i,abc)", u"i", "0", Fault::TypeMismatch },
        { u"=(i,40000)", u"i", "0", Fault::Overflow },
        // The value of a reference that faults is its own text.
        { u"=(t,n:9)", u"t", "n:9", Fault::SubscriptOutOfRange },
        // A template that cannot be expanded goes on unexpanded.
        { u"=(t,[n:9])", u"t", "[n:9]", Fault::TypeMismatch },
    });
}

TEST(PlainAssignment, RepeatedAppendBuildsText)
{
    ScriptRun run;
    run.run(u"str(t);int(k);for(k,1,5){=(t,[t][k]\\s);};");
    EXPECT_EQ(run.value(u"t"), "1 2 3 4 5 ");
    EXPECT_TRUE(run.boxes().empty());
}

} // namespace
} // namespace numbrelle::testing
