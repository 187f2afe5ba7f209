// Question scripts run as the program runs them, for the tests, the benchmarks
// and the fuzzer: the statement list built once and run as often as asked,
// as a drill does, with every message box recorded instead of shown. Also
// the layout of the boxes the language shows, spelled once for every test.
#pragma once

#include "platform/Files.h"
#include "platform/Recording.h"
#include "script/Interpreter.h"
#include "script/Messages.h"
#include "script/Numbers.h"

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle::testing {

// What one run left: the boxes it showed and its record.
struct RunResult {
    std::vector<Text> boxes;
    QuestionRecord record;
};

// Counts every pass of the run loop, skipped and block statements included:
// the unit in which the language's speed is given.
class PassCounter final : public RunObserver {
public:
    void statementPassed(std::int32_t, bool, std::size_t) override { ++passes; }
    std::int64_t passes = 0;
};

struct ScriptRun {
    // Draws from random; without one, from `scripted`, which answers 0 until
    // it is given values.
    explicit ScriptRun(RandomSource& random)
        : interp(box, random)
    {
    }
    ScriptRun()
        : interp(box, scripted)
    {
    }

    void build(TextView script) { interp.BuildStatementList(script); }
    // Builds from the bytes of a question file, decoded and joined as the
    // program reads one.
    void buildFile(const std::string& bytes)
    {
        MemoryFileSystem files;
        files.contents["question"] = bytes;
        build(ReadQuestionFile(files, "question"));
    }

    // One run of the list built last; box then holds this run's boxes alone.
    const QuestionRecord& runOnce()
    {
        box.texts.clear();
        interp.RunScript();
        return interp.record();
    }
    const QuestionRecord& run(TextView script)
    {
        build(script);
        return runOnce();
    }
    // count runs of the list built last, in order.
    std::vector<RunResult> runs(int count)
    {
        std::vector<RunResult> results;
        for (int i = 0; i < count; ++i) {
            runOnce();
            results.push_back({ box.texts, interp.record() });
        }
        return results;
    }

    // The statement passes of one run; the counter is taken off again, so
    // that timed runs are not observed.
    std::int64_t countPasses()
    {
        PassCounter counter;
        interp.setObserver(&counter);
        runOnce();
        interp.setObserver(nullptr);
        return counter.passes;
    }

    // A variable's element as text, or "<fault>" when it is none.
    std::string value(TextView reference) const
    {
        Value v;
        if (interp.variables().OperandValue(Ref(reference), v) != Fault::None)
            return "<fault>";
        return utf8(v.toText());
    }
    // The boxes of the last run in UTF-8, for messages that read well.
    std::vector<std::string> boxes() const
    {
        std::vector<std::string> texts;
        for (const Text& text : box.texts)
            texts.push_back(utf8(text));
        return texts;
    }
    const Text& question() const { return interp.record().questionText; }

    RecordingMessageBox box;
    ScriptedRandom scripted;
    Interpreter interp;
};

// The context of a statement in a box: keyword, four blanks, operand in quotes.
inline Text context(TextView keyword, TextView operand)
{
    Text text(keyword);
    text += u"    \"";
    text += operand;
    text += u'"';
    return text;
}

// An error box: the message, a blank line, the statement's index, four blanks
// and its context.
inline Text errorBox(TextView message, int index, TextView statementContext)
{
    Text text(message);
    text += u"\r\n\r\n";
    text += IntegerText(index);
    text += u"    ";
    text += statementContext;
    return text;
}

inline Text faultMessage(Fault fault)
{
    Text text(messages::errorPrefix);
    text += messages::faultDescription(fault);
    return text;
}

inline Text faultBox(Fault fault, int index, TextView statementContext)
{
    return errorBox(faultMessage(fault), index, statementContext);
}

} // namespace numbrelle::testing
