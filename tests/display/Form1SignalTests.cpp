// The real window with the display guard, on Qt's offscreen platform: a
// termination signal ends the program through the window's own close
// handling, which puts the display back once.

#include "drill/DisplayGuard.h"
#include "drill/Form1.h"
#include "platform/Recording.h"
#include "tests/display/EventLoop.h"
#include "tests/support/LineScript.h"

#include <QApplication>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>

using namespace numbrelle;

namespace {

class Form1Signal : public ::testing::TestWithParam<int> { };

TEST_P(Form1Signal, ClosesTheWindowAndRestoresTheSwitchedDisplayOnce)
{
    int signal = GetParam();
    // The window needs its services; none of them matters to the display.
    RecordingMessageBox messages;
    numbrelle::testing::LineScript script(messages);
    MemoryFileSystem files;
    FixedClock clock(43200);
    RecordingBeeper beeper;
    ScriptedRandom random({ 0.5f });
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

INSTANTIATE_TEST_SUITE_P(Signals, Form1Signal, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
    [](const ::testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
