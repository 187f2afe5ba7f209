// Runs untrusted bytes exactly as the program meets a question file: decoded
// from code page 932, lines joined, the list built once and run three times as
// a drill does, with every message box recorded.
#pragma once

#include "platform/StdRandom.h"
#include "tests/support/ScriptRun.h"

#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace numbrelle::hostile {

using testing::context;
using testing::errorBox;
using testing::faultBox;
using testing::RunResult;

class HostileRun {
public:
    static constexpr int runs = 3;

    // Every run of the list, in order.
    std::vector<RunResult> run(const std::string& bytes)
    {
        m_run.buildFile(bytes);
        return m_run.runs(runs);
    }

    const Interpreter& interpreter() const { return m_run.interp; }

private:
    StdRandom m_random;
    testing::ScriptRun m_run { m_random };
};

inline std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// Peak memory is only meaningful without a sanitizer, which keeps freed memory
// in quarantine and maps shadow memory of its own.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool memoryIsMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool memoryIsMeasurable = false;
#else
inline constexpr bool memoryIsMeasurable = true;
#endif
#else
inline constexpr bool memoryIsMeasurable = true;
#endif

// Runs work in a child process and answers its peak resident memory in
// kilobytes, or -1 when the child did not end normally. The child starts with
// this process's pages, so the figure is an upper bound.
inline long peakKilobytesOf(const std::function<void()>& work)
{
    const pid_t child = fork();
    if (child == 0) {
        work();
        _exit(0);
    }
    int status = 0;
    rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return usage.ru_maxrss;
}

inline constexpr long peakMemoryLimitKilobytes = 256 * 1024;

} // namespace numbrelle::hostile
