// The switch and the way back on a real X server. Xvfb offers a single mode,
// the size of its screen; xrandr-add-mode adds smaller ones and stays
// connected, because a mode made by a client goes when the client does.

#include "ChildProcess.h"
#include "XObserver.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <thread>

using namespace std::chrono_literals;
using numbrelle::test::ChildProcess;
using numbrelle::test::findProgram;
using numbrelle::test::observe;
using numbrelle::test::Observed;

namespace {

constexpr auto startLimit = 20s;
constexpr auto endLimit = 20s;

// An X server on a display number it picks itself, so tests never collide
// with a desktop or with each other.
class Xvfb {
public:
    Xvfb(const std::string& xvfb, const std::string& screen)
        : m_process({ xvfb, "-displayfd", "1", "-screen", "0", screen, "-nolisten", "tcp" }, {}, false)
    {
        if (auto number = m_process.readLine(startLimit))
            m_display = ":" + *number;
    }
    bool running() const { return !m_display.empty(); }
    const std::string& display() const { return m_display; }
    std::string environment() const { return "DISPLAY=" + m_display; }

private:
    ChildProcess m_process;
    std::string m_display;
};

// The watchdog restores after the program has gone, so the test waits for
// the desktop's size, for a bounded time, before it looks.
Observed observeUntil(const std::string& display, int width, int height)
{
    auto deadline = std::chrono::steady_clock::now() + endLimit;
    Observed seen = observe(display);
    while ((seen.width != width || seen.height != height) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(20ms);
        seen = observe(display);
    }
    return seen;
}

class X11Display : public testing::Test {
protected:
    void SetUp() override
    {
        auto xvfb = findProgram("Xvfb");
        if (!xvfb)
            GTEST_SKIP() << "Xvfb is not installed";
        m_xvfbPath = *xvfb;
    }

    // Starts Xvfb with `screen` and adds `modes` to its output.
    void startServer(const std::string& screen, std::vector<std::string> modes)
    {
        m_server = std::make_unique<Xvfb>(m_xvfbPath, screen);
        ASSERT_TRUE(m_server->running()) << "Xvfb did not start";
        modes.insert(modes.begin(), XRANDR_ADD_MODE);
        m_modes = std::make_unique<ChildProcess>(modes, std::vector { m_server->environment() });
        ASSERT_EQ(m_modes->readLine(startLimit), "ready");
    }

    // Starts the probe and returns the modes it listed and its verdict.
    std::vector<std::string> startProbe(const std::string& ending)
    {
        m_probe = std::make_unique<ChildProcess>(
            std::vector<std::string> { DISPLAY_PROBE, ending }, std::vector { m_server->environment() });
        std::vector<std::string> lines;
        while (auto line = m_probe->readLine(startLimit)) {
            lines.push_back(*line);
            if (*line == "switched" || *line == "unchanged")
                break;
        }
        return lines;
    }

    // Destroyed in reverse: the probe, then the helper, then the server.
    std::string m_xvfbPath;
    std::unique_ptr<Xvfb> m_server;
    std::unique_ptr<ChildProcess> m_modes;
    std::unique_ptr<ChildProcess> m_probe;
};

struct Ending {
    const char* name;
    const char* probeArgument;
    int signal; // sent once the probe has switched; 0 for none
    bool (*expectedStatus)(int status);
};

const Ending endings[] = {
    { "SIGTERM", "wait", SIGTERM, [](int s) { return WIFEXITED(s) && WEXITSTATUS(s) == 128 + SIGTERM; } },
    { "SIGINT", "wait", SIGINT, [](int s) { return WIFEXITED(s) && WEXITSTATUS(s) == 128 + SIGINT; } },
    { "SIGHUP", "wait", SIGHUP, [](int s) { return WIFEXITED(s) && WEXITSTATUS(s) == 128 + SIGHUP; } },
    { "end of main", "exit", 0, [](int s) { return WIFEXITED(s) && WEXITSTATUS(s) == 0; } },
    { "uncaught exception", "throw", 0, [](int s) { return WIFSIGNALED(s) && WTERMSIG(s) == SIGABRT; } },
    // Nothing in the program runs; its watchdog restores.
    { "SIGKILL", "wait", SIGKILL, [](int s) { return WIFSIGNALED(s) && WTERMSIG(s) == SIGKILL; } },
};

void PrintTo(const Ending& ending, std::ostream* out) { *out << ending.name; }

class X11DisplayEnding : public X11Display, public testing::WithParamInterface<Ending> { };

TEST_P(X11DisplayEnding, SwitchesTo640x480AndPutsTheDesktopBack)
{
    const Ending& ending = GetParam();
    startServer("1024x768x16", { "640x480" });
    if (HasFatalFailure())
        return;
    auto lines = startProbe(ending.probeArgument);
    ASSERT_FALSE(lines.empty());
    ASSERT_EQ(lines.back(), "switched");
    if (ending.signal) {
        Observed during = observe(m_server->display());
        EXPECT_EQ(during.width, 640);
        EXPECT_EQ(during.height, 480);
        m_probe->signal(ending.signal);
    }
    auto status = m_probe->waitForExit(endLimit);
    ASSERT_TRUE(status) << "the probe did not end";
    EXPECT_TRUE(ending.expectedStatus(*status)) << "wait status " << *status;
    Observed after = observeUntil(m_server->display(), 1024, 768);
    EXPECT_EQ(after.width, 1024);
    EXPECT_EQ(after.height, 768);
    EXPECT_EQ(after.modeName, "1024x768");
}

INSTANTIATE_TEST_SUITE_P(
    Endings, X11DisplayEnding, testing::ValuesIn(endings), [](const testing::TestParamInfo<Ending>& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c)
            name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
        return name;
    });

TEST_F(X11Display, ModesAreTheOutputsInTheServersOrderAndTheFirstMatchIsTaken)
{
    startServer("1024x768x16", { "800x600", "640x480", "640x480" });
    if (HasFatalFailure())
        return;
    // The search stops at the first match and never looks at the second.
    auto lines = startProbe("wait");
    std::vector<std::string> expected { "1024x768x16", "800x600x16", "640x480x16", "switched" };
    EXPECT_EQ(lines, expected);
    // The helper names its modes by their place on its command line.
    EXPECT_EQ(observe(m_server->display()).modeName, "640x480_test2");
}

TEST_F(X11Display, A24BitDesktopIsNeverSwitched)
{
    startServer("1024x768x24", { "640x480" });
    if (HasFatalFailure())
        return;
    auto lines = startProbe("wait");
    std::vector<std::string> expected { "1024x768x24", "640x480x24", "unchanged" };
    EXPECT_EQ(lines, expected);
    Observed seen = observe(m_server->display());
    EXPECT_EQ(seen.width, 1024);
    EXPECT_EQ(seen.height, 768);
    m_probe->signal(SIGTERM);
    EXPECT_TRUE(m_probe->waitForExit(endLimit));
    EXPECT_EQ(observe(m_server->display()).modeName, "1024x768");
}

// The program itself, as a user meets it: started on the X server (not Qt's
// offscreen platform the other tests use), ended by a key or from outside.
struct ProgramEnding {
    const char* name;
    int signal; // 0: the Escape key, typed through xdotool
};

void PrintTo(const ProgramEnding& ending, std::ostream* out) { *out << ending.name; }

class X11Program : public X11Display, public testing::WithParamInterface<ProgramEnding> { };

TEST_P(X11Program, SwitchesWhenShownAndPutsTheDesktopBack)
{
    const ProgramEnding& ending = GetParam();
    auto xdotool = findProgram("xdotool");
    if (!xdotool && !ending.signal)
        GTEST_SKIP() << "xdotool is not installed";
    startServer("1024x768x16", { "640x480" });
    if (HasFatalFailure())
        return;
    ChildProcess program({ NUMBRELLE_PROGRAM }, { m_server->environment(), "QT_QPA_PLATFORM=xcb" });
    ASSERT_TRUE(program.started());
    Observed during = observeUntil(m_server->display(), 640, 480);
    ASSERT_EQ(during.width, 640) << "the program did not switch";
    ASSERT_EQ(during.height, 480);

    if (ending.signal) {
        program.signal(ending.signal);
    } else {
        // No window manager runs, so the window is given the focus directly.
        // The empty name matches any; --pid alone would take the next word for one.
        ChildProcess typist({ *xdotool, "search", "--sync", "--onlyvisible", "--pid", std::to_string(program.pid()),
                                "--name", "", "windowfocus", "--sync", "key", "Escape" },
            { m_server->environment() });
        EXPECT_EQ(typist.waitForExit(endLimit), 0) << "xdotool did not type Escape into the window";
    }
    EXPECT_TRUE(program.waitForExit(endLimit)) << "the program did not end";
    Observed after = observeUntil(m_server->display(), 1024, 768);
    EXPECT_EQ(after.width, 1024);
    EXPECT_EQ(after.height, 768);
    EXPECT_EQ(after.modeName, "1024x768");
}

const ProgramEnding programEndings[] = { { "Escape", 0 }, { "SIGTERM", SIGTERM }, { "SIGKILL", SIGKILL } };

INSTANTIATE_TEST_SUITE_P(Endings, X11Program, testing::ValuesIn(programEndings),
    [](const testing::TestParamInfo<ProgramEnding>& info) { return std::string(info.param.name); });

// No X server at all (a console, or a desktop without X): nothing to switch,
// and the program runs on.
TEST(NoX11Display, NothingIsSwitchedAndTheProgramRunsOn)
{
    for (const char* display : { "DISPLAY=", "DISPLAY=:-1" }) {
        ChildProcess probe({ DISPLAY_PROBE, "exit" }, { display });
        EXPECT_EQ(probe.readLine(startLimit), "unchanged") << display;
        auto status = probe.waitForExit(endLimit);
        ASSERT_TRUE(status) << display;
        EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << display;
    }
}

} // namespace
