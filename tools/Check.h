// The health check of question files: runs a file with the seeds 1..N and
// reports what a drill would stumble over (script errors, run guards, empty or
// unstable texts, answers that cannot be marked right, too little variety,
// picture mistakes, slow questions).
#pragma once

#include "platform/Files.h"
#include "script/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle::runner {

// One kind of problem, with how often it came up. A warning (failed false)
// is worth a look but does not make the file unhealthy.
struct Finding {
    // error, guard, empty, differs, marking, variety, picture, time; and the
    // warnings names, declaration, encoding, line-ends and layout
    std::string check;
    bool failed = true;
    std::string what;
    // errors: times shown; variety, time and what the statement list alone
    // tells (names, declarations in loops, encoding, line ends): 0; the rest: runs affected
    int count = 0;
    std::uint32_t firstSeed = 0; // 0 when no run showed it
    std::string example; // what the first affected run showed, when it helps
    // Errors, guards, names and declarations: the statement to blame.
    std::int32_t index = -1;
    std::int32_t line = 0; // also for layout and encoding; 0: no line of the file
    std::string context;
    std::vector<std::int32_t> lines; // encoding and line ends: every line that shows it
};

struct CheckReport {
    std::string file;
    std::string encoding; // the encoding the file was read in, by name
    int runs = 0;
    std::vector<Finding> findings;
    int distinctQuestions = 0;
    double meanMilliseconds = 0;
    double worstMilliseconds = 0;
    std::uint32_t worstSeed = 0;
    int layoutRuns = 0; // the seeds 1..N whose layout the preview measured; 0: not measured

    bool healthy() const;
};

inline constexpr int drillLength = 20;
inline constexpr double frameBudgetMilliseconds = 16;
// A rough width of one printed character in picture units, about a full-width
// character at the picture's usual size; half-width characters are narrower,
// so the estimate errs towards warning. Only a warning rests on it.
inline constexpr int printCharacterWidth = 50;

// Runs the file's text once for each seed 1..runs, reseeding before each run
// so that `--seed S` repeats the run of seed S; adds what the statement list
// and the decoding tell without running.
CheckReport checkQuestion(const std::string& file, const DecodedText& decoded, int runs);

} // namespace numbrelle::runner
