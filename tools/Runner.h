// The command line of numbrelle-run, the headless runner: runs question files
// as the program does, with every message box recorded instead of shown, and
// prints what each run produced, for question authors (readable) and for
// tests and tools (one JSON line per run). The work itself is the engine's,
// the check's and the reports'; this only parses, seeds and hands on.
#pragma once

#include <cstdint>
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
    // --check: the numbrelle-preview that measures the layout; none: the
    // layout is not checked. runMain takes the one beside the runner.
    std::optional<std::string> previewProgram;
};

inline constexpr int defaultCheckRuns = 200;

struct ParsedArguments {
    std::optional<Options> options;
    std::string error; // one line, when options is empty
};

ParsedArguments parseArguments(const std::vector<std::string>& arguments);
extern const char* const usageText;

// The whole program below the argument parsing: reads every file (any
// unreadable one stops everything with BadUsage), then lists or runs them.
// random must already be seeded.
int runFiles(const Options& options, FileSystem& files, RandomSource& random, std::ostream& out, std::ostream& err);

// Parses, seeds (from the clock unless --seed is given) and runs.
int runMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

} // namespace runner
} // namespace numbrelle
