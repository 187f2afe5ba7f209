// The guard against a recording display service: every way out of the program
// that it covers ends with the mode restored.

#include "drill/DisplayGuard.h"
#include "platform/Recording.h"
#include "tests/display/EventLoop.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <stdexcept>

using namespace numbrelle;

namespace {

class DisplayGuardSignal : public testing::TestWithParam<int> { };

TEST_P(DisplayGuardSignal, RunsTheCloseHandlingOnceAndLeavesWithTheSignalsStatus)
{
    int signal = GetParam();
    std::vector<std::string> log;
    RecordingDisplaySettings settings({}, &log);
    {
        DisplayGuard guard(settings, [&log] { log.push_back("close"); });
        std::raise(signal);
        EXPECT_EQ(runEventLoop(), 128 + signal);
    }
    // The close handling restores; the guard itself leaves the service alone.
    EXPECT_EQ(log, (std::vector<std::string> { "close" }));

    // The program's own disposition is back once the guard is gone.
    struct sigaction current = {};
    sigaction(signal, nullptr, &current);
    EXPECT_EQ(current.sa_handler, SIG_DFL);
}

INSTANTIATE_TEST_SUITE_P(Signals, DisplayGuardSignal, testing::Values(SIGINT, SIGTERM, SIGHUP),
    [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

// A service whose restore leaves a mark a death test can see.
class AnnouncingDisplaySettings final : public DisplaySettings {
public:
    bool enumMode(int, DisplayModeInfo&) override { return false; }
    bool changeMode(int) override { return false; }
    void restore() override { std::fputs("display restored\n", stderr); }
};

// Called through a pointer so that the compiler cannot see the exception
// coming and warn about it.
void (*volatile thrower)() = [] { throw std::runtime_error("escaped"); };

void throwThroughNoexcept() noexcept { thrower(); }

struct Crash {
    const char* name;
    void (*run)();
};

const Crash crashes[] = {
    { "terminate", [] { std::terminate(); } },
    { "exception", [] { throwThroughNoexcept(); } },
};

void PrintTo(const Crash& crash, std::ostream* out) { *out << crash.name; }

class DisplayGuardCrash : public testing::TestWithParam<Crash> { };

TEST_P(DisplayGuardCrash, RestoresBeforeAborting)
{
    EXPECT_DEATH(
        {
            AnnouncingDisplaySettings settings;
            DisplayGuard guard(settings, [] {});
            GetParam().run();
        },
        "display restored");
}

INSTANTIATE_TEST_SUITE_P(Crashes, DisplayGuardCrash, testing::ValuesIn(crashes),
    [](const testing::TestParamInfo<Crash>& info) { return std::string(info.param.name); });

// A script that never returns keeps the event loop from the first signal; the
// second one must still end the program.
TEST(DisplayGuard, ASecondSignalBeforeTheFirstIsHandledEndsTheProgram)
{
    EXPECT_EXIT(
        {
            AnnouncingDisplaySettings settings;
            DisplayGuard guard(settings, [] {});
            std::raise(SIGTERM);
            std::raise(SIGTERM);
            std::_Exit(0);
        },
        testing::KilledBySignal(SIGTERM), "");
}

} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
