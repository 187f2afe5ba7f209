// Runs untrusted bytes exactly as the program meets a question file: decoded
// from code page 932, lines joined, the list built once and run three times as
// a drill does, with every message box recorded.
#pragma once

#include "platform/Files.h"
#include "platform/Recording.h"
#include "platform/StdRandom.h"
#include "script/Interpreter.h"
#include "script/Messages.h"
#include "script/Numbers.h"

#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace numbrelle::hostile {

struct RunResult {
    std::vector<Text> boxes;
    QuestionRecord record;
};

class HostileRun {
public:
    static constexpr int runs = 3;

    // Every run of the list, in order.
    std::vector<RunResult> run(const std::string& bytes)
    {
        m_files.contents["/q/hostile"] = bytes;
        m_interp.BuildStatementList(ReadQuestionFile(m_files, "/q/hostile"));
        std::vector<RunResult> results;
        for (int i = 0; i < runs; ++i) {
            m_box.texts.clear();
            m_interp.RunScript();
            results.push_back(RunResult { m_box.texts, m_interp.record() });
        }
        return results;
    }

    const Interpreter& interpreter() const { return m_interp; }

private:
    MemoryFileSystem m_files;
    RecordingMessageBox m_box;
    StdRandom m_random;
    Interpreter m_interp { m_box, m_random };
};

inline std::string repeat(std::string_view piece, std::size_t times)
{
    std::string out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

// The context of a statement in a box: keyword, four blanks, operand in quotes.
inline Text context(TextView keyword, TextView operand)
{
    Text text(keyword);
    text += u"    \"";
    text += operand;
    text += u'"';
    return text;
}

// An error box: the message, a blank line, the statement index, four blanks
// and the context.
inline Text errorBox(TextView message, int index, TextView statementContext)
{
    Text text(message);
    text += u"\r\n\r\n";
    text += IntegerText(index);
    text += u"    ";
    text += statementContext;
    return text;
}

inline Text faultBox(Fault fault, int index, TextView statementContext)
{
    Text message(messages::errorPrefix);
    message += messages::faultDescription(fault);
    return errorBox(message, index, statementContext);
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
