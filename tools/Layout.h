// The layout warnings of numbrelle-preview, folded into the check. The runner
// links no Qt, so it starts the preview as a program of its own, with an
// argument list (no shell), a time limit and no input, and reads back the
// warnings it prints, one line each.
#pragma once

#include "tools/Check.h"

#include <array>
#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <variant>
#include <vector>

namespace numbrelle::runner {

// The numbrelle-preview in the folder of the running program, links
// followed, so that bin/numbrelle-run finds the one beside the file it links
// to; nothing when there is none that can be run.
std::optional<std::string> previewBeside();

// The layout is measured on the first seeds only: a screen costs the preview
// far more than a run costs the check, and a drill asks this many questions.
inline constexpr int layoutRuns = drillLength;
// A slow machine or a sanitizer build is not to be cut short; a preview that
// hangs is. The limit grows with the screens asked for.
inline constexpr std::chrono::milliseconds layoutTimeBase { 30'000 };
inline constexpr std::chrono::milliseconds layoutTimePerScreen { 20 };
// More than any library's warnings; a preview printing without end is cut off.
inline constexpr std::size_t layoutOutputLimit = 8U << 20U;

struct LayoutResult {
    bool checked = false;
    std::string note; // why the layout was not checked
    // The warnings of each file, by the file as given; a file the preview
    // could not show has one warning that says why.
    std::map<std::string, std::vector<Finding>> findings;
};

// One line that the preview printed on its output (a warning) or on its error
// output (a file it could not show), read back with the place in files of the
// file it names; nothing for a line of neither kind or of a file not asked
// for. files are the files as they were passed to it.
std::optional<std::pair<std::size_t, Finding>> readPreviewLine(
    const std::string& line, const std::vector<std::string>& files, bool errorOutput);

// The preview, started over files (each once) with the seeds 1..runs, working
// while the check runs; finish() collects what it printed.
class LayoutCheck {
public:
    // limit: none, the limit for so many screens (layoutTimeBase and layoutTimePerScreen).
    LayoutCheck(const std::string& program, const std::vector<std::string>& files, int runs,
        std::optional<std::chrono::milliseconds> limit = std::nullopt);
    ~LayoutCheck();
    LayoutCheck(const LayoutCheck&) = delete;
    LayoutCheck& operator=(const LayoutCheck&) = delete;

    // Waits for the preview, at most until the time limit counted from the
    // start, and reads its warnings; a preview still running is killed.
    LayoutResult finish();

private:
    void stop();
    std::optional<std::string> drainOutputs(std::array<std::string, 2>& printed);
    std::variant<int, std::string> waitForExit();
    LayoutResult readBack(const std::array<std::string, 2>& printed, int exitStatus) const;

    std::string m_program;
    std::vector<std::string> m_files; // unique, as given
    std::vector<std::string> m_arguments; // as passed: a name that starts with "-" gets "./"
    std::chrono::steady_clock::time_point m_deadline;
    std::chrono::milliseconds m_limit {};
    pid_t m_pid = -1;
    int m_out = -1;
    int m_err = -1;
    std::string m_startError;
};

} // namespace numbrelle::runner
