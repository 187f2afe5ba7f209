#include "ScriptRun.h"

namespace numbrelle::testing {
namespace {

// A box expected after a run: a handler's message, or a fault, at an index.
struct ExpectedBox {
    int index;
    Fault fault = Fault::None;
    std::u16string_view message = {};
};

struct FlowCase {
    const char* name;
    std::u16string_view script;
    std::u16string_view question; // what the strout statements left
    std::vector<ExpectedBox> boxes;
};

std::vector<std::string> expectedBoxes(const ScriptRun& run, const std::vector<ExpectedBox>& boxes)
{
    std::vector<std::string> texts;
    for (const ExpectedBox& box : boxes) {
        if (box.fault != Fault::None) {
            texts.push_back(faultBox(run, box.fault, box.index));
        } else {
            const Statement& statement = run.interp.statementList().entries.at(box.index);
            texts.push_back(errorBox(box.message, box.index, statement.keyword, statement.operand));
        }
    }
    return texts;
}

void runCases(const std::vector<FlowCase>& cases)
{
    for (const FlowCase& c : cases) {
        SCOPED_TRACE(std::string(c.name) + ": " + utf8(c.script));
        ScriptRun run;
        run.run(c.script);
        EXPECT_EQ(utf8(run.question()), utf8(c.question));
        EXPECT_EQ(run.boxes(), expectedBoxes(run, c.boxes));
    }
}

TEST(ControlFlow, Branches)
{
    runCases({
        { "if holds", u"int(a);int(b);if(a==b){strout(T);}else{strout(F);};", u"T", {} },
        { "if fails", u"int(a);if(a==1){strout(T);}else{strout(F);};", u"F", {} },
        { "nesting inside a skipped branch stays matched",
            u"int(a);if(a==1){if(a==0){strout(X);}else{strout(Y);};strout(Z);}else{strout(E);};strout(.);", u"E.", {} },
        { "nested else in a running branch",
            u"int(a);if(a==0){if(a==1){strout(X);}else{strout(Y);};strout(Z);}else{strout(E);};", u"YZ", {} },
        { "no operator holds for exactly 0", u"int(x);if(x){strout(zero);};=+(x,x,1);if(x){strout(one);};", u"zero",
            {} },
        { "== compares texts, < numbers",
            u"int(i);str(s);=+(i,5,0);=(s,05);if(i==s){strout(eq);};if(i<s){strout(lt);};if(i>=s){strout(ge);};"
            u"if(i=!s){strout(ne);};",
            u"gene", {} },
        { "== counts letter case", u"str(s);=(s,Abc);if(s==abc){strout(x);};if(s==Abc){strout(y);};", u"y", {} },
        { "a<b=c reads as <= with right bc", u"int(bc);if(0<b=c){strout(x);};", u"x", {} },
        { "if without parentheses does not hold", u"if{strout(x);};strout(y);", u"y", {} },
        { "a bad operator counts as not holding", u"if(1!=1){strout(x);}else{strout(y);};", u"y",
            { { 0, Fault::None, messages::invalidOperator } } },
        { "a skipped condition is still evaluated", u"if(1==2){if(1!=1){strout(x);};};strout(y);", u"y",
            { { 1, Fault::None, messages::invalidOperator } } },
        { "an operand fault holds when an operator was written and is reported after the next statement",
            u"int(a:2);if(a:5==0){strout(x);};strout(y);", u"xy", { { 2, Fault::SubscriptOutOfRange } } },
        { "an operand fault is reported as itself beside a bad operator", u"int(a:2);if(a:5!=0){strout(x);};", u"x",
            { { 2, Fault::SubscriptOutOfRange } } },
        { "a comparison of a non-number faults", u"str(s);=(s,abc);if(s<1){strout(x);};", u"x",
            { { 3, Fault::TypeMismatch } } },
        { "else on a loop entry is refused and leaves it", u"int(i);while(i>=1){}else{=+(i,i,1);};strout([i]);", u"2",
            { { 2, Fault::None, messages::elseOutsideIf } } },
        { "a closing brace on an empty stack faults after the next statement", u"};strout(a);", u"a",
            { { 1, Fault::SubscriptOutOfRange } } },
    });
}

TEST(ControlFlow, Loops)
{
    runCases({
        { "while repeats until its condition holds", u"int(i);while(i>=3){strout([i]);=+(i,i,1);};strout(end);",
            u"012end", {} },
        { "while that holds at once", u"int(i);while(i==0){strout(x);};strout(y);", u"y", {} },
        { "for counts up and leaves the end", u"int(i);for(i,1,3){strout([i]);};strout([i]);", u"1233", {} },
        { "for of one pass", u"int(i);for(i,3,3){strout([i]);};", u"3", {} },
        { "for counts down without a step", u"int(i);for(i,5,1){strout([i]);};", u"54321", {} },
        { "for runs through the first value past the end", u"int(i);for(i,1,10,4){strout([i],);};", u"1,5,9,13,", {} },
        { "a step against the direction gives two passes", u"int(i);for(i,5,1,1){strout([i]);};", u"56", {} },
        { "the body may move the counter", u"int(i);for(i,1,5){strout([i]);=+(i,i,1);};", u"135", {} },
        { "the end is read on every pass", u"int(i);int(e);=+(e,3,0);for(i,1,e){strout([i]);=+(e,2,0);};", u"12", {} },
        { "the start is stored as written", u"str(s);for(s,007,9){strout([s]-);};strout(end);", u"007-end",
            { { 4, Fault::TypeMismatch } } },
        { "for inside for", u"int(i);int(j);for(i,1,2){for(j,1,3){strout([i][j]);};strout(/);};", u"111213/212223/",
            {} },
        { "while inside while", u"int(i);int(j);while(i>=2){=(j,0);while(j>=2){strout([i][j]);=+(j,j,1);};=+(i,i,1);};",
            u"00011011", {} },
        { "while inside for", u"int(i);int(j);for(i,1,2){=(j,0);while(j>=i){strout([j]);=+(j,j,1);};};", u"001", {} },
        { "break from inside an if ends the loop", u"int(i);for(i,1,5){if(i==3){break;};strout([i]);};strout(end[i]);",
            u"12end3", {} },
        { "break ends the innermost loop only",
            u"int(i);int(j);for(i,1,2){for(j,1,3){if(j==2){break;};strout([i][j]);};};", u"1121", {} },
        { "break in while", u"int(i);while(i>=9){=+(i,i,1);if(i==2){break;};};strout([i]);", u"2", {} },
        { "break outside a loop", u"if(1==1){break;strout(x);};", u"x",
            { { 1, Fault::None, messages::breakOutsideLoop } } },
        { "a skipped break does nothing", u"int(i);for(i,1,2){if(i==0){break;};strout([i]);};", u"12", {} },
    });
}

// Loops that could never end must end at once, and say why where there is a
// reason to give.
TEST(ControlFlow, LoopsThatCannotEndAreEnded)
{
    runCases({
        { "while met in a skipped block", u"if(1==2){while(1==2){strout(x);};};strout(done);", u"done", {} },
        { "for met in a skipped block", u"if(1==2){for(i,1,3){strout(x);};strout(y);};strout(done);", u"done", {} },
        { "a skipped for stores nothing", u"int(i);if(1==2){for(i,5,9){};};strout([i]);", u"0", {} },
        { "skipped loops keep their braces matched",
            u"if(1==2){while(1==2){if(1==1){strout(a);};};}else{strout(b);};strout(c);", u"bc", {} },
        { "while with a bad operator runs once and reports each pass", u"int(n);while(n!=3){=+(n,n,1);};strout([n]);",
            u"1", { { 1, Fault::None, messages::invalidOperator }, { 1, Fault::None, messages::invalidOperator } } },
        { "while whose condition keeps faulting", u"int(x);while(x:1){};strout(done);", u"done",
            { { 3, Fault::SubscriptOutOfRange } } },
        { "while whose condition starts to fault",
            u"int(a:1);=+(a:0,1,0);=+(a:1,1,0);int(i);while(a:i){=+(i,i,1);};strout([i]);", u"2",
            { { 7, Fault::SubscriptOutOfRange } } },
        { "for over an undeclared counter", u"for(k,1,5){strout(x);};strout(done);", u"xdone",
            { { 3, Fault::TypeMismatch } } },
        { "for over a written number that names no variable", u"for(5,1,3){strout(x);};strout(done);", u"xdone", {} },
        { "for over a bit counter stops when the bit stays true", u"bit(b);for(b,0,5){strout(x);};", u"xx", {} },
        { "for with a zero step", u"int(i);for(i,1,3,0){strout(x);};", u"x", {} },
        { "for whose counter overflows below the end", u"int(i);for(i,32760,32767,10){strout([i],);};strout(end);",
            u"32760,end", { { 4, Fault::Overflow } } },
    });
}

TEST(ControlFlow, ForStepsAsWrittenBeforeEnding)
{
    // The counter read faults (a str counter is not numeric), so the pass
    // stores 0 plus the step and then ends the loop.
    ScriptRun run;
    run.run(u"str(s);for(s,007,9){};");
    EXPECT_EQ(run.value(u"s"), "1");
    EXPECT_EQ(run.boxes().size(), 1u); // the read fault, not the statement cap

    ScriptRun overflow;
    overflow.run(u"int(i);for(i,32760,32767,10){};");
    EXPECT_EQ(overflow.value(u"i"), "32760");
    EXPECT_EQ(overflow.boxes().size(), 1u);
}

TEST(ControlFlow, BoxLayout)
{
    ScriptRun run;
    run.run(u"int(i);\r\nBreak;");
    ASSERT_EQ(run.box.texts.size(), 1u);
    EXPECT_EQ(utf8(run.box.texts[0]), utf8(u"エラー　：　breakはループ内で有効な命令です。\r\n\r\n1    break    \"\""));
}

} // namespace
} // namespace numbrelle::testing
