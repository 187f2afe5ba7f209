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
enum class Mode { Run, List };

struct Options {
    Mode mode = Mode::Run;
    bool json = false;
    int runs = 1;
    std::optional<std::uint32_t> seed; // none: from the clock
    std::vector<std::string> files;
    bool help = false;
};

struct ParsedArguments {
    std::optional<Options> options;
    std::string error; // one line, when options is empty
};

ParsedArguments parseArguments(const std::vector<std::string>& arguments);
extern const char* const usageText;

// A message box as a run showed it, and the statement that was running.
struct CapturedMessage {
    std::int32_t index = -1;
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

    bool reportedScriptError() const;
};

// A question file read as the program reads it; nothing when it cannot be read.
std::optional<Text> readQuestion(FileSystem& files, const std::string& path);

// Builds the statement list of text once and runs it `runs` times on the same
// list, as a drill does, handing each run's report to sink as the run ends.
using RunSink = std::function<void(const RunReport&)>;
void runQuestion(const std::string& file, const Text& text, int runs, RandomSource& random, const RunSink& sink);

// Reports of runs and statement lists, in the two output forms.
std::string runJson(const RunReport& report);
std::string runText(const RunReport& report);
std::string listJson(const std::string& file, const StatementList& list);

// The whole program below the argument parsing: reads every file (any
// unreadable one stops everything with BadUsage), then lists or runs them.
// random must already be seeded.
int runFiles(const Options& options, FileSystem& files, RandomSource& random, std::ostream& out, std::ostream& err);

// Parses, seeds (from the clock unless --seed is given) and runs.
int runMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace runner
} // namespace numbrelle
