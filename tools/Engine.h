// The engine of numbrelle-run: reads a question file as the program does,
// builds its statement list once and runs it as often as asked, as a drill
// does, with every message box captured together with the statement and the
// line that showed it, and each run timed. The check, the reports and the
// command line all stand on this and on nothing of each other's.
#pragma once

#include "platform/Files.h"
#include "script/Interpreter.h"
#include "script/Text.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace numbrelle {

class FileSystem;
class RandomSource;

namespace runner {

// A message box as a run showed it, and the statement that was running.
struct CapturedMessage {
    std::int32_t index = -1;
    // The script line where that statement starts; 0 when the index names no
    // statement of the list (a fault noticed after the last statement ran, or
    // a list too long to run), since no line of the file is to blame then.
    std::int32_t line = 0;
    Text text;
    bool scriptError = false;
};

// Everything one run left behind.
struct RunReport {
    std::string file;
    int run = 0; // from 1
    QuestionRecord record;
    std::vector<CapturedMessage> messages;
    std::vector<Text> contexts; // StatementContext of each message's index
    std::vector<std::int32_t> drawingLines; // the line of the statement that added each drawing entry
    bool statementCapHit = false;
    bool messageCapHit = false;
    double milliseconds = 0; // RunScript alone, observer calls included

    bool reportedScriptError() const;
};

// The line where statement index starts, or 0 when no statement has that index.
std::int32_t lineOf(const StatementList& list, std::int32_t index);

// A question file read as the program reads it, with the encoding it was
// read in; nothing when it cannot be read.
std::optional<DecodedText> readQuestion(FileSystem& files, const std::string& path);

// Builds the statement list of text once and runs it `runs` times on the same
// list, as a drill does, handing each run's report to sink as the run ends.
// hooks.observer, when set, also sees every run as it happens; beforeRun is
// called with the run's number before it starts.
using RunSink = std::function<void(const RunReport&)>;
struct RunHooks {
    RunObserver* observer = nullptr;
    std::function<void(int run)> beforeRun;
};
void runQuestion(const std::string& file, const Text& text, int runs, RandomSource& random, const RunSink& sink,
    const RunHooks& hooks = {});

} // namespace runner
} // namespace numbrelle
