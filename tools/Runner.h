// The headless runner: runs question files as the program does, with every
// message box recorded instead of shown, and prints what each run produced,
// for question authors (readable) and for tests and tools (one JSON line per run).
#pragma once

#include "script/Interpreter.h"
#include "script/Text.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace numbrelle {

class FileSystem;
class RandomSource;

namespace runner {

enum ExitStatus : int {
    Success = 0,
    ScriptErrorReported = 1,
    BadUsage = 2,
};

// What the runner is asked to do with the files. New modes go here, in
// parseArguments and in runFiles.
enum class Mode { Run, List, Trace, Check };

struct Options {
    Mode mode = Mode::Run;
    bool json = false;
    std::optional<int> runs; // none: 1, or defaultCheckRuns for --check
    std::optional<std::uint32_t> seed; // none: from the clock
    std::vector<std::string> files;
    bool help = false;
};

inline constexpr int defaultCheckRuns = 200;

struct ParsedArguments {
    std::optional<Options> options;
    std::string error; // one line, when options is empty
};

ParsedArguments parseArguments(const std::vector<std::string>& arguments);
extern const char* const usageText;

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

// A question file read as the program reads it; nothing when it cannot be read.
std::optional<Text> readQuestion(FileSystem& files, const std::string& path);

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

// Writes one line per statement pass of the runs it observes, with what each
// statement stored, appended or showed. Set only when asked for, so plain runs
// pay nothing for it.
class TraceWriter final : public RunObserver {
public:
    TraceWriter(const StatementList& list, std::ostream& out);

    void statementPassed(std::int32_t index, bool ran, std::size_t depth) override;
    void stored(const Location& at, const Text& name, const Value& value) override;
    void appended(RecordField field, const Text& text) override;
    void messageShown(std::int32_t index, const Text& text) override;
    void statementCapHit() override;
    void messageCapHit() override;
    // Writes what happened after the last statement passed; call after each run.
    void finishRun();

private:
    const StatementList& m_list;
    std::ostream& m_out;
    // What the statement now running did; a statement's effects come before
    // the interpreter says it passed, and are written on its line.
    std::string m_effects;
};

// One line of text, quoted, with CR, LF, tab, quote and backslash escaped.
std::string quoted(const Text& text);

// Reports of runs and statement lists, in the two output forms.
std::string runJson(const RunReport& report);
std::string runText(const RunReport& report);
// "line 12", or "no line" for 0.
std::string lineText(std::int32_t line);
std::string listJson(const std::string& file, const StatementList& list);

// The whole program below the argument parsing: reads every file (any
// unreadable one stops everything with BadUsage), then lists or runs them.
// random must already be seeded.
int runFiles(const Options& options, FileSystem& files, RandomSource& random, std::ostream& out, std::ostream& err);

// Parses, seeds (from the clock unless --seed is given) and runs.
int runMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace runner
} // namespace numbrelle
