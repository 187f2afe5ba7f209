// A script run for the tests: the interpreter with a message box that records
// what it shows and a random source that plays back chosen draws.
#pragma once

#include "platform/MessageBox.h"
#include "platform/Random.h"
#include "script/Interpreter.h"
#include "script/Messages.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace numbrelle::testing {

class RecordingBox : public MessageBox {
public:
    void show(const std::u16string& text) override { shown.push_back(text); }
    std::vector<std::u16string> shown;
};

// Plays back the given draws in turn, over again when they run out.
class ScriptedRandom : public RandomSource {
public:
    void seed(std::uint32_t) override { }
    float next() override { return draws.empty() ? 0.0f : draws[played++ % draws.size()]; }
    std::vector<float> draws;
    std::size_t played = 0;
};

// A fixed-seed generator for looking at distributions over many draws.
class SeededRandom : public RandomSource {
public:
    void seed(std::uint32_t value) override { m_engine.seed(value); }
    float next() override { return static_cast<float>(m_engine() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 m_engine { 20240601 };
};

struct ScriptRun {
    explicit ScriptRun(RandomSource& source)
        : interp(box, source)
    {
    }
    ScriptRun()
        : interp(box, scripted)
    {
    }

    void run(std::u16string_view script)
    {
        interp.BuildStatementList(script);
        interp.RunScript();
    }

    // A variable's element as text, or "<fault>" / the name when it is none.
    std::string value(std::u16string_view reference) const
    {
        Value v;
        if (interp.variables().OperandValue(Ref(reference), v) != Fault::None)
            return "<fault>";
        return utf8(v.toText());
    }

    std::vector<std::string> boxes() const
    {
        std::vector<std::string> texts;
        for (const auto& text : box.shown)
            texts.push_back(utf8(text));
        return texts;
    }

    const Text& question() const { return interp.record().questionText; }

    RecordingBox box;
    ScriptedRandom scripted;
    Interpreter interp;
};

// The layout of an error box: message, a blank line, then the statement's
// index, four blanks and its context.
inline std::string errorBox(
    std::u16string_view message, int index, std::u16string_view keyword, std::u16string_view operand)
{
    Text text(message);
    text += u"\r\n\r\n";
    text += asciiText(std::to_string(index));
    text += u"    ";
    text += keyword;
    text += u"    \"";
    text += operand;
    text += u"\"";
    return utf8(text);
}

inline Text faultMessage(Fault fault)
{
    Text text(messages::errorPrefix);
    text += messages::faultDescription(fault);
    return text;
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
