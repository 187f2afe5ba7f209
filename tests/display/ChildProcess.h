// A child program for the tests under Xvfb: started with its output on a pipe,
// read line by line with a time limit, and always gone when the object is.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace numbrelle::test {

class ChildProcess {
public:
    // `environment` entries ("NAME=value") replace or add to this process's own.
    // Its standard error is dropped unless `keepErrors`.
    ChildProcess(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {},
        bool keepErrors = true);
    ~ChildProcess();

    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // The next line of output without its newline; nothing when the child
    // closes its output or `limit` passes first.
    std::optional<std::string> readLine(std::chrono::milliseconds limit);
    // The child's wait status once it has ended; nothing if it is still
    // running after `limit`.
    std::optional<int> waitForExit(std::chrono::milliseconds limit);
    void signal(int number);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffer;
    std::optional<int> m_status;
};

// Where `program` is on PATH, if it is.
std::optional<std::string> findProgram(const std::string& program);

} // namespace numbrelle::test
