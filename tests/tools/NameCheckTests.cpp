// The checks made on the statement list alone: which names are taken for
// misspellings (and which for texts meant as written), and which declarations
// can run more than once.
#include "platform/Recording.h"
#include "script/Interpreter.h"
#include "tools/NameCheck.h"

#include <gtest/gtest.h>

namespace numbrelle::runner {
namespace {

struct Expected {
    std::int32_t line;
    std::string what; // part of the warning
};

struct Row {
    const char* name;
    std::string script; // lines joined with CR LF
    std::vector<Expected> warnings;
};

std::string joined(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines)
        text += std::string(text.empty() ? "" : "\r\n") + line;
    return text;
}

class NameCheckTest : public testing::Test {
protected:
    const StatementList& list(const std::string& script)
    {
        m_interpreter.BuildStatementList(fromUtf8(script));
        return m_interpreter.statementList();
    }
    void expectWarnings(const std::vector<NameWarning>& warnings, const std::vector<Expected>& expected)
    {
        ASSERT_EQ(warnings.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const Statement& statement
                = m_interpreter.statementList().entries[static_cast<std::size_t>(warnings[i].index)];
            EXPECT_EQ(statement.line, expected[i].line) << warnings[i].what;
            EXPECT_NE(warnings[i].what.find(expected[i].what), std::string::npos) << warnings[i].what;
        }
    }

private:
    RecordingMessageBox m_boxes;
    ScriptedRandom m_random;
    Interpreter m_interpreter { m_boxes, m_random };
};

TEST_F(NameCheckTest, MisspeltNamesAndTextsMeantAsWritten)
{
    const Row rows[] = {
        { "DeclaredNamesPass",
            joined({ "int(a:3);int(i);str(s);single(f);bit(b);", "=+(a:i,a:2,1);random(f,9,1);",
                "=not(b,b);strout([a:1][S][f][B]);ans([A:I]);if(s==yes){", "};" }),
            {} },
        { "ReferenceMisspelt", joined({ "int(c);", "ans([cc]);" }), { { 2, "[cc] names no declared variable" } } },
        { "NumberReferenceIsNoName", "strout([12][1.5]);", {} },
        { "TargetMisspelt", joined({ "int(sum);int(a);", "=+(smu,a,1);" }),
            { { 2, "target smu names no declared variable: nothing is stored; did you mean sum?" } } },
        { "TargetOfRandomAndFor", joined({ "random(x,9,1);", "for(i,1,3){", "};" }),
            { { 1, "target x" }, { 2, "target i" } } },
        { "NumericOperandMisspelt", joined({ "int(total);", "=*(total,totl,2);" }),
            { { 2, "operand totl is neither a number nor a declared variable; did you mean total?" } } },
        { "StrReadAsNumber", joined({ "int(n);str(s);", "=+(n,s,1);" }), { { 2, "operand s is a str variable" } } },
        { "IndexNamesNoInt", joined({ "int(a:3);str(k);", "ans([a:k]);=+(a:j,1,1);" }),
            { { 2, "index k of a:k" }, { 2, "index j of a:j" } } },
        // Texts compared or assigned are often meant as written.
        { "ComparedTextMeantAsWritten", joined({ "str(answer);", "if(answer==yes){", "};=(answer,no);" }), {} },
        { "ComparedTextLikeADeclaredName", joined({ "int(count);", "if(cuont>3){", "};" }),
            { { 2,
                "operand cuont names no declared variable and is taken as the text itself; did you mean count?" } } },
        { "FullWidthNameTyped", joined({ "int(ab);", "=(ab,ａｂ);" }),
            { { 2, "operand ａｂ names no declared variable" } } },
        // Short names are too alike to call one a misspelling of another.
        { "ShortTextNotTakenForAName", joined({ "str(a);", "if(a==b){", "};" }), {} },
        { "PrintTextAndPaintAreWritten", "print(Ａ,10,10);square(0,0,9,9,#paint);line(0,0,9,9);", {} },
        { "PrintCoordinateMisspelt", joined({ "int(x);", "print(A,xx,10);" }), { { 2, "operand xx" } } },
        // A declaration in a branch that never runs still declares the name for the check.
        { "DeclaredInAnyBranch", joined({ "if(1==2){int(late);", "};ans([late]);" }), {} },
        // Nothing is said about a statement the language does not know: the run reports it.
        { "UnknownStatementIgnored", "frob([zz]);", {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectWarnings(checkNames(list(row.script)), row.warnings);
    }
}

TEST_F(NameCheckTest, DeclarationsInsideLoops)
{
    const Row rows[] = {
        { "InWhile", joined({ "int(n);", "while(n>3){", "int(t);=+(n,n,1);", "};" }),
            { { 3, "declaration of t inside a loop" } } },
        { "InForInsideIf", joined({ "int(i);if(1==1){", "for(i,1,2){", "if(i==1){int(u:9);", "};};};" }),
            { { 3, "declaration of u" } } },
        { "AfterTheLoopCloses", joined({ "int(i);for(i,1,2){", "};", "int(t);" }), {} },
        { "InIfOnly", joined({ "if(1==1){", "int(t);", "};" }), {} },
        // A stray "}" closes nothing.
        { "StrayClose", joined({ "};", "int(t);" }), {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        expectWarnings(declarationsInLoops(list(row.script)), row.warnings);
    }
}

TEST_F(NameCheckTest, RepeatedDeclarationsThatRan)
{
    struct RanRow {
        const char* name;
        std::string script;
        std::vector<int> timesRan;
        std::vector<Expected> warnings;
    };
    const RanRow rows[] = {
        { "TwiceInARow", joined({ "int(n:3);", "int(N:9);" }), { 1, 1 },
            { { 2, "n is declared again (lines 1, 2)" } } },
        { "AcrossTables", joined({ "int(x);", "str(x);" }), { 1, 1 }, { { 2, "x is declared again" } } },
        // Branches of which only one ran declare the name once.
        { "OneBranchRan", joined({ "if(k==1){int(a:3);", "}else{", "int(a:5);", "};" }), { 1, 1, 1, 0, 1 }, {} },
        // One statement in a loop is left to the loop's warning.
        { "OneStatementInALoop", joined({ "for(i,1,3){", "int(t);", "};" }), { 3, 3, 3 }, {} },
    };
    for (const RanRow& row : rows) {
        SCOPED_TRACE(row.name);
        const StatementList& statements = list(row.script);
        ASSERT_EQ(statements.entries.size(), row.timesRan.size());
        expectWarnings(repeatedDeclarations(statements, row.timesRan), row.warnings);
    }
}

} // namespace
} // namespace numbrelle::runner
