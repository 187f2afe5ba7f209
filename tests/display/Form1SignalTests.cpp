// The real window with the display guard, on Qt's offscreen platform: a
// termination signal ends the program through the window's own close
// handling, which puts the display back once.

#include "RecordingDisplaySettings.h"
#include "drill/DisplayGuard.h"
#include "drill/Form1.h"
#include "drill/QuestionScript.h"
#include "platform/Beeper.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Random.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

using namespace numbrelle;
using numbrelle::test::RecordingDisplaySettings;

namespace {

// The window needs its services; none of them matters to the display.
class NoScript final : public QuestionScript {
public:
    void BuildStatementList(TextView) override { }
    void RunScript() override { }
    const QuestionRecord& record() const override { return m_record; }

private:
    QuestionRecord m_record;
};

class NoFiles final : public FileSystem {
public:
    std::string programFolder() override { return "/nonexistent"; }
    std::vector<std::string> listFiles(const std::string&) override { return {}; }
    std::optional<std::string> readBytes(const std::string&) override { return std::nullopt; }
};

class Noon final : public Clock {
public:
    float secondsSinceMidnight() override { return 43200; }
};

class Silence final : public Beeper {
public:
    void beep() override { }
};

class Half final : public RandomSource {
public:
    void seed(std::uint32_t) override { }
    float next() override { return 0.5f; }
};

int runEventLoop()
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(10'000);
    return QCoreApplication::exec();
}

class Form1Signal : public testing::TestWithParam<int> { };

TEST_P(Form1Signal, ClosesTheWindowAndRestoresTheSwitchedDisplayOnce)
{
    int signal = GetParam();
    NoScript script;
    NoFiles files;
    Noon clock;
    Silence beeper;
    Half random;
    std::vector<std::string> log;
    RecordingDisplaySettings settings({ { 640, 480, 16 } }, &log);

    Form1 window(script, clock, beeper, files, random, settings);
    DisplayGuard guard(settings, [&window] { window.close(); });
    window.show();
    QCoreApplication::processEvents();
    ASSERT_NE(std::find(log.begin(), log.end(), "changeMode 0"), log.end()) << "the window did not switch";

    std::raise(signal);
    EXPECT_EQ(runEventLoop(), 128 + signal);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(std::count(log.begin(), log.end(), "restore"), 1);
    EXPECT_EQ(log.back(), "restore");
}

INSTANTIATE_TEST_SUITE_P(Signals, Form1Signal, testing::Values(SIGINT, SIGTERM, SIGHUP),
    [](const testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
