#include "ScriptRun.h"

namespace numbrelle::testing {
namespace {

struct BitCase {
    std::u16string_view statement; // stores into the int r
    const char* expected;
};

TEST(Bits, TruthTables)
{
    const BitCase cases[] = {
        { u"=not(r,0)", "1" }, { u"=not(r,1)", "0" }, { u"=not(r,7)", "0" }, { u"=not(r)", "0" },
        { u"=not(r,0.0)", "0" }, // only the exact text 0 is false
        { u"bit=and(r,1,1)", "1" }, { u"bit=and(r,1,0)", "0" }, { u"bit=and(r,0,1)", "0" },
        { u"bit=and(r,1)", "1" }, // the missing y is the empty text, which is true
        { u"bit=and(r,00,5)", "1" }, { u"bit=or(r,0,0)", "0" }, { u"bit=or(r,0,5)", "1" }, { u"bit=or(r,0)", "1" },
        { u"bit=nand(r,1,1)", "0" }, { u"bit=nand(r,0,1)", "1" }, { u"bit=nand(r,1,0)", "1" },
        { u"bit=nor(r,0,0)", "1" }, { u"bit=nor(r,1,0)", "0" }, { u"bit=nor(r,0,1)", "0" },
        // bit=xor alone counts only the exact text 1 as true.
        { u"bit=xor(r,1,0)", "1" }, { u"bit=xor(r,0,1)", "1" }, { u"bit=xor(r,1,1)", "0" }, { u"bit=xor(r,0,0)", "0" },
        { u"bit=xor(r,2,0)", "0" }, { u"bit=xor(r,2,1)", "1" }, { u"bit=xor(r,1)", "1" }, { u"bit=xor(r,1.0,0)", "0" },
        { u"bit=and(r,1,1,0)", "1" }, // a fourth field is ignored
    };
    for (const BitCase& c : cases) {
        Text script = Text(u"int(r);=+(r,9,0);") + Text(c.statement) + u";";
        SCOPED_TRACE(utf8(script));
        ScriptRun run;
        run.run(script);
        EXPECT_EQ(run.value(u"r"), c.expected);
        EXPECT_TRUE(run.boxes().empty());
    }
}

struct OperandCase {
    std::u16string_view script;
    std::u16string_view variable;
    const char* expected;
    Fault fault;
};

TEST(Bits, OperandsAndTargets)
{
    const OperandCase cases[] = {
        { u"bit(f);int(g);=not(g,f);", u"g", "1", Fault::None }, // a false bit reads 0
        { u"single(v);int(g);=not(g,v);", u"g", "1", Fault::None }, // so does a single holding 0
        { u"str(s);=(s,0);int(g);=not(g,s);", u"g", "0", Fault::None }, // a str name is its own text
        { u"int(x);bit(b);=not(b,x);", u"b", "1", Fault::None },
        { u"str(t);bit=and(t,1,1);", u"t", "1", Fault::None },
        { u"single(h);bit=or(h,0,0);", u"h", "0", Fault::None },
        // A faulting operand takes part with its written text.
        { u"int(a:1);int(g);=not(g,a:5);", u"g", "0", Fault::SubscriptOutOfRange },
        { u"int(a:1);int(g);bit=xor(g,a:5,1);", u"g", "1", Fault::SubscriptOutOfRange },
        { u"int(g);=+(g,5,0);bit=and(nosuch,1,1);", u"g", "5", Fault::None },
    };
    for (const OperandCase& c : cases) {
        SCOPED_TRACE(utf8(c.script));
        ScriptRun run;
        run.run(c.script);
        EXPECT_EQ(run.value(c.variable), c.expected);
        int last = run.interp.statementList().lastIndex;
        EXPECT_EQ(run.boxes(), c.fault == Fault::None ? noBoxes() : std::vector { faultBox(run, c.fault, last) });
    }
}

} // namespace
} // namespace numbrelle::testing
