// Statements met again and again in a loop read their operands through
// references resolved on an earlier pass. These rows pin that every later
// pass still reads and stores what the rules say: an index that moves out of
// the bounds, a declaration that changes what a name means, a written number
// that becomes a variable's name, targets of every type.
#include "tests/statements/ScriptRun.h"

#include <utility>

namespace numbrelle::testing {
namespace {

struct LoopCase {
    std::u16string_view script;
    std::u16string_view question;
    // The faults reported, each with the index of the statement it is reported after.
    std::vector<std::pair<Fault, int>> faults;
};

void runLoopCases(const std::vector<LoopCase>& cases)
{
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(utf8(c.script));
        ScriptRun run;
        run.run(c.script);
        EXPECT_EQ(utf8(run.question()), utf8(c.question));
        std::vector<std::string> expected;
        for (const auto& [fault, index] : c.faults)
            expected.push_back(faultBox(run, fault, index));
        EXPECT_EQ(run.boxes(), expected);
    }
}

TEST(RepeatedPasses, IndexesAreReadAfreshOnEveryPass)
{
    const Fault range = Fault::SubscriptOutOfRange;
    runLoopCases({
        { u"int(a:2);int(i);int(s);for(i,0,4){=(a:i,i);=+(s,s,a:i);};strout([s]);", u"12",
            { { range, 4 }, { range, 5 }, { range, 4 }, { range, 5 } } },
        { u"int(a:3);int(i);for(i,0,3){=*(a:i,i,i);=-(a:i,a:i,i);};strout([a:0],[a:1],[a:2],[a:3]);", u"0,0,2,6", {} },
        // A written index is converted once, as the rules convert it every time.
        { u"int(a:3);int(k);for(k,1,3){=+(a:2.5,a:2.5,k);};strout([a:2]);", u"6", {} },
        { u"str(j);int(a:3);int(k);for(k,1,2){=+(a:j,1,1);};strout([a:0]);", u"0",
            { { Fault::TypeMismatch, 4 }, { Fault::TypeMismatch, 4 } } },
        { u"int(i);int(a:5);=(a:3,9);while(a:i>5){=+(i,i,1);};strout([i]);", u"3", {} },
        { u"int(i);int(a:2);while(a:i>5){=+(i,i,1);};strout([i]);", u"3", { { range, 5 } } },
        { u"int(i);int(a:2);=(a:1,4);while(i==a:1){=+(i,i,1);};strout([i]);", u"4", {} },
    });
}

TEST(RepeatedPasses, DeclarationsChangeWhatANameReads)
{
    runLoopCases({
        // m names nothing on the first pass and a variable on the later ones.
        { u"int(n);for(n,1,3){=+(m,m,1);int(m);};strout([m]);", u"2", { { Fault::TypeMismatch, 2 } } },
        // From the second pass on, 5 is a variable holding 0, not the number 5.
        { u"int(k);int(s);for(k,1,3){=+(s,s,5);int(5);};strout([s]);", u"5", {} },
    });
}

TEST(RepeatedPasses, ResultsGoThroughTheTargetsType)
{
    runLoopCases({
        { u"single(x:2);int(k);for(k,0,2){dec=/(x:k,k,3);};strout([x:0]\\s[x:1]\\s[x:2]);", u"0 0.3333333 0.6666667",
            {} },
        { u"bit(b);str(t);int(k);for(k,0,2){=+(b,k,0);=+(t,k,1);};strout([b][t]);", u"13", {} },
        // A faulting operation leaves the first operand as the result.
        { u"int(s);int(k);for(k,1,4){=*(s,k,30000);};strout([s]);", u"4",
            { { Fault::Overflow, 3 }, { Fault::Overflow, 3 }, { Fault::Overflow, 3 } } },
        // The body may move the counter; the next pass continues from there.
        { u"int(k);int(s);for(k,1,3){=+(s,s,k);=(k,3);};strout([s]);", u"5", {} },
    });
}

TEST(RepeatedPasses, SinglesAreReadThroughTheirText)
{
    runLoopCases({
        // A third is kept as 0.3333333, so three of them are 0.9999999.
        { u"single(x);single(y);int(k);for(k,1,3){dec=/(x,1,3);dec=*(y,x,3);};strout([y]);", u"0.9999999", {} },
        { u"single(y:2);int(k);int(a:2);for(k,0,2){=(a:k,k);dec=*(y:k,a:k,0.1);};strout([y:0]\\s[y:1]\\s[y:2]);",
            u"0 0.1 0.2", {} },
        // 16777217 is no single; its product is kept to seven digits before the division.
        { u"single(y);single(z);int(k);for(k,1,3){dec=*(y,16777217,k);dec=/(z,y,7);};strout([y]\\s[z]);",
            u"5.033165E+07 7190236", {} },
        // An int target rounds the single result; an int operand converts exactly.
        { u"int(n);single(y);int(k);for(k,1,3){dec=*(n,k,2.6);dec=+(y,n,0.5);};strout([n]\\s[y]);", u"8 8.5", {} },
        // A written number beyond the single range is no single: the step faults.
        { u"single(y);int(k);for(k,1,2){dec=+(y,y,1E+39);};strout([y]);", u"0",
            { { Fault::Overflow, 3 }, { Fault::Overflow, 3 } } },
        // A single stored from a text shows, and reads as, its seven digits.
        { u"single(x);single(y);int(k);for(k,1,2){=(x,0.123456789);dec=*(y,x,1);};strout([x]\\s[y]);",
            u"0.1234568 0.1234568", {} },
        { u"single(x:1);single(y);int(k);for(k,0,1){=(x:k,9999999.7);dec=+(y,x:k,0);};strout([x:0]\\s[y]);",
            u"1E+07 1E+07", {} },
        { u"single(x);int(n);int(k);for(k,1,2){=(x,2.49999999);=(n,x);};strout([x]\\s[n]);if(x==2.5){strout(=);};",
            u"2.5 2=", {} },
        { u"single(x);bit(b);int(k);for(k,1,2){=(x,1.00000004);=(b,x);};if(x==1){strout([b]);};", u"1", {} },
        // An infinite quotient is a text that no single takes.
        { u"single(y);int(k);for(k,1,3){dec=/(y,k,0);};strout([y]);", u"0",
            { { Fault::TypeMismatch, 3 }, { Fault::TypeMismatch, 3 }, { Fault::TypeMismatch, 3 } } },
    });
}

// "=(t,[t]...)" appends to t in place; every row here must read as if the
// whole text were built and stored again.
TEST(RepeatedPasses, TextsBuiltOnTheirOwnValue)
{
    const Fault mismatch = Fault::TypeMismatch;
    runLoopCases({
        { u"str(t);int(k);for(k,1,3){=(t,[t]x);};strout([t]);", u"xxx", {} },
        { u"str(t);=(t,ab);int(k);for(k,1,3){=(t,[t][t]);};strout([t]);", u"abababababababab", {} },
        { u"str(t:2);int(k);for(k,0,2){=(t:1,[T:1][k]);};strout([t:1]);", u"012", {} },
        // A text with a ":" is read as a reference, here one whose index is no number.
        { u"str(t);=(t,a:);int(k);for(k,1,2){=(t,[t]b);};strout([t]);", u"a:bb", { { mismatch, 4 }, { mismatch, 4 } } },
        // A text that names a variable stands for its value.
        { u"int(x);=(x,7);str(t);int(k);for(k,1,2){=(t,[t]x);};strout([t]);", u"7x", {} },
        // A rest that faults leaves the template unexpanded, as a whole.
        { u"str(t);int(a:1);int(k);for(k,0,2){=(t,[t][a:k]);};strout([t]);", u"[t][a:k]", { { mismatch, 4 } } },
        { u"str(t);str(u);=(u,q);int(k);for(k,1,3){=(t,[u]x);=(u,[t]);};strout([t]\\s[u]);", u"qxxx qxxx", {} },
        // A text stored otherwise, here one with a ":" where the appends had
        // seen none, is looked at afresh by the next append.
        { u"str(t);int(k);for(k,1,4){=(t,[t]x);if(k==3){=(t,:yz);};};strout([t]);", u":yzx",
            { { mismatch, 5 }, { mismatch, 3 } } },
        { u"str(t);int(k);for(k,1,4){=(t,[t]x);if(k==2){=(t,y:);};};strout([t]);", u"y:xx",
            { { mismatch, 3 }, { mismatch, 3 } } },
        { u"str(t);str(u);int(k);for(k,1,4){=(t,[t]x);if(k==2){=(u,[t]);=(t,[u]:);};};strout([t]);", u"xx:xx",
            { { mismatch, 4 }, { mismatch, 4 } } },
        { u"str(t:1);int(k);for(k,1,4){=(t:0,[t:0]x);=(t:1,[t:1]:);};strout([t:0]\\s[t:1]);", u"xxxx ::::", {} },
    });
}

} // namespace
} // namespace numbrelle::testing
