#include "tools/Layout.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace numbrelle::runner {

namespace {

using Clock = std::chrono::steady_clock;

const std::string previewName = "numbrelle-preview";
const std::string errorPrefix = previewName + ": ";

template <typename Number> bool readNumber(std::string_view text, Number& out)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The longest of files that line starts with, followed by ": "; a name may
// itself hold ": ".
std::optional<std::size_t> fileOf(std::string_view line, const std::vector<std::string>& files)
{
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string& file = files[i];
        if (line.size() > file.size() + 2 && line.starts_with(file) && line.substr(file.size(), 2) == ": "
            && (!found || file.size() > files[*found].size()))
            found = i;
    }
    return found;
}

// "WHAT  (K of N runs, first seed S)": the finding's text, count and seed.
bool readWarning(std::string_view text, Finding& finding)
{
    const std::size_t open = text.rfind("  (");
    if (open == std::string_view::npos || !text.ends_with(')'))
        return false;
    std::string_view counts = text.substr(open + 3, text.size() - open - 4);
    const std::size_t of = counts.find(" of ");
    const std::size_t seed = counts.find(" runs, first seed ");
    if (of == std::string_view::npos || seed == std::string_view::npos || seed < of)
        return false;
    int runs = 0;
    if (!readNumber(counts.substr(0, of), finding.count) || !readNumber(counts.substr(of + 4, seed - of - 4), runs)
        || !readNumber(counts.substr(seed + 18), finding.firstSeed))
        return false;
    finding.what = std::string(text.substr(0, open));
    return true;
}

// The environment with the offscreen platform named, so that the preview
// needs no display whatever the author's session has set.
std::vector<std::string> offscreenEnvironment()
{
    std::vector<std::string> environment;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view variable(*entry);
        if (!variable.starts_with("QT_QPA_PLATFORM="))
            environment.emplace_back(variable);
    }
    environment.emplace_back("QT_QPA_PLATFORM=offscreen");
    return environment;
}

std::vector<char*> pointers(std::vector<std::string>& strings)
{
    std::vector<char*> list;
    list.reserve(strings.size() + 1);
    for (std::string& string : strings)
        list.push_back(string.data());
    list.push_back(nullptr);
    return list;
}

std::string secondsText(std::chrono::milliseconds time) { return std::to_string((time.count() + 999) / 1000) + " s"; }

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> list;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        list.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return list;
}

} // namespace

std::optional<std::string> previewBeside()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    const std::filesystem::path preview = self.parent_path() / previewName;
    if (!std::filesystem::is_regular_file(preview, error) || access(preview.c_str(), X_OK) != 0)
        return std::nullopt;
    return preview.string();
}

std::optional<std::pair<std::size_t, Finding>> readPreviewLine(
    const std::string& line, const std::vector<std::string>& files, bool errorOutput)
{
    std::string_view text = line;
    if (errorOutput) {
        if (!text.starts_with(errorPrefix))
            return std::nullopt;
        text.remove_prefix(errorPrefix.size());
    }
    const std::optional<std::size_t> file = fileOf(text, files);
    if (!file)
        return std::nullopt;
    text.remove_prefix(files[*file].size() + 2);
    Finding finding;
    finding.check = "layout";
    finding.failed = false;
    if (errorOutput) {
        finding.what = "not checked: " + std::string(text);
        return std::pair { *file, finding };
    }
    if (text.starts_with("line ")) {
        const std::size_t colon = text.find(": ");
        if (colon == std::string_view::npos || !readNumber(text.substr(5, colon - 5), finding.line))
            return std::nullopt;
        text.remove_prefix(colon + 2);
    }
    if (!readWarning(text, finding))
        return std::nullopt;
    return std::pair { *file, finding };
}

LayoutCheck::LayoutCheck(const std::string& program, const std::vector<std::string>& files, int runs,
    std::optional<std::chrono::milliseconds> limit)
    : m_program(program)
{
    std::set<std::string> seen;
    for (const std::string& file : files) {
        if (seen.insert(file).second) {
            m_files.push_back(file);
            // The preview takes a name that starts with "--" for an option.
            m_arguments.push_back(file.starts_with('-') ? "./" + file : file);
        }
    }
    m_limit = limit.value_or(layoutTimeBase + layoutTimePerScreen * static_cast<long>(m_files.size()) * runs);
    m_deadline = Clock::now() + m_limit;

    std::vector<std::string> argv { program, "--layout", "--runs", std::to_string(runs) };
    argv.insert(argv.end(), m_arguments.begin(), m_arguments.end());
    std::vector<std::string> environment = offscreenEnvironment();
    std::array<int, 2> out {};
    std::array<int, 2> err {};
    if (pipe2(out.data(), O_CLOEXEC) != 0) {
        m_startError = std::strerror(errno);
        return;
    }
    if (pipe2(err.data(), O_CLOEXEC) != 0) {
        m_startError = std::strerror(errno);
        close(out[0]);
        close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    const int started
        = posix_spawn(&m_pid, program.c_str(), &actions, nullptr, pointers(argv).data(), pointers(environment).data());
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    m_out = out[0];
    m_err = err[0];
    if (started != 0) {
        m_pid = -1;
        m_startError = std::strerror(started);
        stop();
    }
}

LayoutCheck::~LayoutCheck() { stop(); }

void LayoutCheck::stop()
{
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
    for (int* fd : { &m_out, &m_err }) {
        if (*fd >= 0)
            close(*fd);
        *fd = -1;
    }
}

// Both outputs are read together, so that neither can fill its pipe and hold
// the preview up. Nothing when the preview overran its time or its output.
std::optional<std::string> LayoutCheck::drainOutputs(std::array<std::string, 2>& printed)
{
    bool overrun = false;
    while (m_out >= 0 || m_err >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(m_deadline - Clock::now());
        if (left.count() <= 0)
            break;
        std::array<pollfd, 2> fds { pollfd { m_out, POLLIN, 0 }, pollfd { m_err, POLLIN, 0 } };
        if (poll(fds.data(), fds.size(), static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        for (std::size_t i = 0; i < fds.size(); ++i) {
            int& fd = i == 0 ? m_out : m_err;
            if (fd < 0 || fds[i].revents == 0)
                continue;
            std::array<char, 4096> buffer {};
            const ssize_t got = read(fd, buffer.data(), buffer.size());
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0) {
                close(fd);
                fd = -1;
                continue;
            }
            printed[i].append(buffer.data(), static_cast<std::size_t>(got));
            overrun = overrun || printed[i].size() > layoutOutputLimit;
        }
        if (overrun)
            break;
    }
    if (m_out < 0 && m_err < 0)
        return std::nullopt;
    stop();
    return overrun ? previewName + " printed more than " + std::to_string(layoutOutputLimit >> 20U) + " MB"
                   : previewName + " took longer than " + secondsText(m_limit);
}

// Both outputs closed: the preview has ended, or is about to. Its exit status,
// or why there is none.
std::variant<int, std::string> LayoutCheck::waitForExit()
{
    int status = 0;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
        if (Clock::now() >= m_deadline) {
            stop();
            return previewName + " took longer than " + secondsText(m_limit);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    m_pid = -1;
    if (!WIFEXITED(status))
        return previewName + " ended by signal " + std::to_string(WTERMSIG(status));
    return WEXITSTATUS(status);
}

// The warnings read back, each under its file. 0: no warning, 1: warnings,
// 2: a file it could not show (said on the error output) or a usage it did not
// take. A warning that cannot be read back is not let pass as none.
LayoutResult LayoutCheck::readBack(const std::array<std::string, 2>& printed, int exitStatus) const
{
    LayoutResult result;
    std::array<int, 2> read {};
    std::string unread;
    for (std::size_t i = 0; i < printed.size(); ++i) {
        for (const std::string& line : lines(printed[i])) {
            if (auto finding = readPreviewLine(line, m_arguments, i == 1)) {
                result.findings[m_files[finding->first]].push_back(std::move(finding->second));
                ++read.at(i);
            } else if (unread.empty() && !line.empty() && (i == 0 || line.starts_with(errorPrefix))) {
                unread = line;
            }
        }
    }
    const bool expected = unread.empty()
        && ((exitStatus == 0 && read[0] == 0) || (exitStatus == 1 && read[0] > 0) || (exitStatus == 2 && read[1] > 0));
    if (!expected) {
        result.findings.clear();
        result.note = previewName + " failed with status " + std::to_string(exitStatus)
            + (unread.empty() ? std::string() : ": " + unread);
        return result;
    }
    result.checked = true;
    return result;
}

LayoutResult LayoutCheck::finish()
{
    LayoutResult failed;
    if (!m_startError.empty()) {
        failed.note = "cannot start " + m_program + ": " + m_startError;
        return failed;
    }
    std::array<std::string, 2> printed;
    if (auto overran = drainOutputs(printed)) {
        failed.note = std::move(*overran);
        return failed;
    }
    auto exited = waitForExit();
    if (auto* why = std::get_if<std::string>(&exited)) {
        failed.note = std::move(*why);
        return failed;
    }
    return readBack(printed, std::get<int>(exited));
}

} // namespace numbrelle::runner
