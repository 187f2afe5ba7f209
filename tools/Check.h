// The health check of question files: runs a file with the seeds 1..N and
// reports what a drill would stumble over (script errors, run guards, empty or
// unstable texts, answers that cannot be marked right, too little variety,
// picture mistakes, slow questions).
#pragma once

#include "script/Text.h"

#include <cstdint>
#include <string>
#include <vector>

namespace numbrelle::runner {

// One kind of problem, with how often it came up. A warning (failed false)
// is worth a look but does not make the file unhealthy.
struct Finding {
    std::string check; // error, guard, empty, differs, marking, variety, picture, time
    bool failed = true;
    std::string what;
    int count = 0; // errors: times shown; variety and time: 0; the rest: runs affected
    std::uint32_t firstSeed = 0;
    std::string example; // what the first affected run showed, when it helps
    // Errors and guards: the statement that showed the message.
    std::int32_t index = -1;
    std::int32_t line = 0;
    std::string context;
};

struct CheckReport {
    std::string file;
    int runs = 0;
    std::vector<Finding> findings;
    int distinctQuestions = 0;
    double meanMilliseconds = 0;
    double worstMilliseconds = 0;
    std::uint32_t worstSeed = 0;

    bool healthy() const;
};

inline constexpr int drillLength = 20;
inline constexpr double frameBudgetMilliseconds = 16;
// A rough width of one printed character in picture units, about a full-width
// character at the picture's usual size; half-width characters are narrower,
// so the estimate errs towards warning. Only a warning rests on it.
inline constexpr int printCharacterWidth = 50;

// Runs text once for each seed 1..runs, reseeding before each run so that
// `--seed S` repeats the run of seed S.
CheckReport checkQuestion(const std::string& file, const Text& text, int runs);

} // namespace numbrelle::runner
