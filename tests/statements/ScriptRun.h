// The statement tests' tables: rows of one statement each, run through the
// shared script harness and checked by the variable they leave and the box
// they show.
#pragma once

#include "tests/support/ScriptRun.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace numbrelle::testing {

// The error box of a statement, in UTF-8, from its keyword and operand.
inline std::string errorBox(
    std::u16string_view message, int index, std::u16string_view keyword, std::u16string_view operand)
{
    return utf8(errorBox(message, index, context(keyword, operand)));
}

// The box a fault of the statement at index shows, its context taken from the
// statement list the run used.
inline std::string faultBox(const ScriptRun& run, Fault fault, int index)
{
    const Statement& statement = run.interp.statementList().entries.at(index);
    return errorBox(faultMessage(fault), index, statement.keyword, statement.operand);
}

inline std::vector<std::string> noBoxes() { return {}; }

// One row of a table of single statements: the statement, the variable to
// read afterwards, what it should read, and the fault reported after it.
struct StatementCase {
    std::u16string_view statement;
    std::u16string_view variable;
    std::string expected;
    Fault fault = Fault::None;
};

// Runs each row after the same declarations (prelude); the statement under
// test is the last one, so a fault is reported with its index.
inline void runStatementCases(std::u16string_view prelude, const std::vector<StatementCase>& cases)
{
    for (const StatementCase& c : cases) {
        Text script = Text(prelude) + Text(c.statement) + u";";
        SCOPED_TRACE(utf8(c.statement));
        ScriptRun run;
        run.run(script);
        EXPECT_EQ(run.value(c.variable), c.expected);
        int last = run.interp.statementList().lastIndex;
        EXPECT_EQ(run.boxes(), c.fault == Fault::None ? noBoxes() : std::vector { faultBox(run, c.fault, last) });
    }
}

} // namespace numbrelle::testing
