// Numbrelle: builds the services, the interpreter and the window, and runs.
#include "drill/Form1.h"
#include "drill/InterpreterScript.h"
#include "platform/DisplaySettings.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "platform/SystemClock.h"
#include "platform/qt/QtBeeper.h"
#include "platform/qt/QtMessageBox.h"
#include "script/Interpreter.h"

#include <QApplication>

using namespace numbrelle;

int main(int argc, char** argv)
{
    // Qt scales the 640 x 480 layout on high-density screens by itself.
    QApplication app(argc, argv);

    StdFileSystem files;
    SystemClock clock;
    StdRandom random;
    QtBeeper beeper;
    QtMessageBox messages;
    // The display-settings service: the one place where it is chosen.
    NoDisplaySettings display;

    Interpreter interpreter(messages, random);
    InterpreterScript script(interpreter);
    Form1 window(script, clock, beeper, files, random, display);
    messages.setParent(&window);
    window.show();
    return app.exec();
}
