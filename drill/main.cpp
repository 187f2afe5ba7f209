// Numbrelle: builds the services, the interpreter and the window, and runs.
#include "drill/DisplayGuard.h"
#include "drill/Form1.h"
#include "drill/InterpreterScript.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtBeeper.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/x11/X11DisplaySettings.h"
#include "script/Interpreter.h"
#include "script/Limits.h"

#include <QApplication>

using namespace numbrelle;

int main(int argc, char** argv)
{
    // The desktop's mode is noted before anything can change it, and the
    // watchdog that puts it back if the program dies is forked while the
    // program still has one thread. It must outlive the application.
    X11DisplaySettings display;
    display.startWatchdog();

    // Qt scales the 640 x 480 layout on high-density screens by itself.
    QApplication app(argc, argv);

    StdFileSystem files { maxQuestionFileBytes };
    SystemClock clock;
    StdRandom random;
    QtBeeper beeper;
    QtMessageBox messages;

    Interpreter interpreter(messages, random);
    InterpreterScript script(interpreter);
    Form1 window(script, clock, beeper, files, random, display);
    messages.setParent(&window);
    // Termination signals close the window through its one close path.
    DisplayGuard displayGuard(display, [&window] { window.close(); });
    window.show();
    return app.exec();
}
