// Switches the display the way the program does, for the tests under Xvfb:
// the first 640 x 480 x 16 mode, with the display guard in place. Prints the
// modes it looked at (WIDTHxHEIGHTxBITS) and "switched" or "unchanged", then,
// by its argument:
//   wait   waits for a termination signal (or to be killed);
//   exit   leaves through the end of main;
//   throw  lets an exception escape the event loop.

#include "drill/DisplayGuard.h"
#include "platform/x11/X11DisplaySettings.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <stdexcept>

using namespace numbrelle;

namespace {

bool switchToDrillMode(DisplaySettings& settings)
{
    DisplayModeInfo mode;
    for (int number = 0; settings.enumMode(number, mode); ++number) {
        std::printf("%dx%dx%d\n", mode.width, mode.height, mode.bitsPerPixel);
        if (mode.height == 480 && mode.width == 640 && mode.bitsPerPixel == 16) {
            settings.changeMode(number);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const char* ending = argc > 1 ? argv[1] : "wait";
    X11DisplaySettings settings;
    settings.startWatchdog();
    QCoreApplication app(argc, argv);
    // The probe's close handling is the window's: restore.
    DisplayGuard guard(settings, [&settings] { settings.restore(); });

    std::printf("%s\n", switchToDrillMode(settings) ? "switched" : "unchanged");
    std::fflush(stdout);

    if (std::strcmp(ending, "exit") == 0)
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    else if (std::strcmp(ending, "throw") == 0)
        QTimer::singleShot(0, &app, [] { throw std::runtime_error("probe"); });
    return app.exec();
}
