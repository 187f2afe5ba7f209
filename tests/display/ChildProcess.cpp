#include "ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <sstream>
#include <string_view>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace numbrelle::test {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsLeft(Clock::time_point deadline)
{
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

} // namespace

ChildProcess::ChildProcess(
    const std::vector<std::string>& arguments, const std::vector<std::string>& environment, bool keepErrors)
{
    int fds[2];
    if (arguments.empty() || pipe2(fds, O_CLOEXEC) != 0)
        return;
    // Everything the child needs is built before the fork.
    std::vector<char*> argv;
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    // An entry given replaces the inherited one: a test's DISPLAY must never
    // fall back to the desktop of the person running the tests.
    auto overridden = [&environment](std::string_view entry) {
        std::string_view name = entry.substr(0, entry.find('=') + 1);
        return std::any_of(environment.begin(), environment.end(),
            [name](const std::string& given) { return std::string_view(given).starts_with(name); });
    };
    std::vector<std::string> settings;
    for (char** entry = environ; *entry; ++entry) {
        if (!overridden(*entry))
            settings.emplace_back(*entry);
    }
    settings.insert(settings.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& entry : settings)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t parent = getpid();

    m_pid = fork();
    if (m_pid == 0) {
        // A test killed by its time limit must not leave an X server behind.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent)
            _exit(127);
        dup2(fds[1], STDOUT_FILENO);
        if (!keepErrors) {
            int null = open("/dev/null", O_WRONLY);
            dup2(null, STDERR_FILENO);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(fds[1]);
    m_output = fds[0];
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_status) {
        signal(SIGTERM);
        if (!waitForExit(std::chrono::seconds(5))) {
            signal(SIGKILL);
            waitForExit(std::chrono::seconds(5));
        }
    }
    if (m_output >= 0)
        close(m_output);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds limit)
{
    auto deadline = Clock::now() + limit;
    for (;;) {
        if (auto end = m_buffer.find('\n'); end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            return line;
        }
        pollfd ready { m_output, POLLIN, 0 };
        int count = poll(&ready, 1, millisecondsLeft(deadline));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::nullopt;
        char chunk[256];
        ssize_t got = read(m_output, chunk, sizeof chunk);
        if (got <= 0)
            return std::nullopt;
        m_buffer.append(chunk, static_cast<size_t>(got));
    }
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds limit)
{
    if (m_status || m_pid <= 0)
        return m_status;
    auto deadline = Clock::now() + limit;
    do {
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_status = status;
            return m_status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    } while (Clock::now() < deadline);
    return std::nullopt;
}

void ChildProcess::signal(int number)
{
    if (m_pid > 0 && !m_status)
        kill(m_pid, number);
}

std::optional<std::string> findProgram(const std::string& program)
{
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "/usr/bin:/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        std::string candidate = (folder.empty() ? "." : folder) + "/" + program;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

} // namespace numbrelle::test
