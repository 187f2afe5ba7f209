// Makes the README's pictures of the program: the real window, offscreen, with
// the bundled question files, driven by keys and clicks the way a learner
// would, and saved screen by screen.
//
//   make_screenshots SOURCE_FOLDER OUTPUT_FOLDER
//
// SOURCE_FOLDER holds the questions folder; the clock and the random numbers
// are fixed, so the pictures come out the same every time.
#include "drill/Form1.h"
#include "drill/InterpreterScript.h"
#include "platform/DisplaySettings.h"
#include "platform/Recording.h"
#include "platform/StdRandom.h"
#include "script/Interpreter.h"
#include "script/Limits.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <cstdio>

using namespace numbrelle;

namespace {

class Driver {
public:
    Driver(Form1& form, Interpreter& interpreter, QString output)
        : m_form(form)
        , m_interpreter(interpreter)
        , m_output(std::move(output))
    {
    }

    void key(Qt::Key k) { QTest::keyClick(m_form.windowHandle(), k); }
    void type(const QString& ascii)
    {
        for (QChar c : ascii)
            QTest::keyClick(m_form.windowHandle(), c.toLatin1());
    }
    void click(const char* name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }

    // Picks the list item that reads text (or, for question types, ends with it).
    bool choose(const char* listName, const QString& text)
    {
        auto* list = control<QListWidget>(listName);
        for (int row = 0; list && row < list->count(); ++row) {
            const QString item = list->item(row)->text();
            if (item == text || item.endsWith(QStringLiteral("_") + text)) {
                // In view first, as a learner scrolls to it, so the picture shows the choice.
                list->scrollToItem(list->item(row));
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
                return true;
            }
        }
        std::fprintf(stderr, "no item %s in %s\n", text.toUtf8().constData(), listName);
        return false;
    }

    // The answer the current question accepts first, as a learner would type it.
    QString rightAnswer()
    {
        const QString answers = QString::fromStdU16String(m_interpreter.record().answerText);
        return answers.section(QLatin1Char('_'), 0, 0);
    }

    bool save(const char* name)
    {
        QApplication::processEvents();
        const QString path = m_output + QStringLiteral("/") + QString::fromLatin1(name) + QStringLiteral(".png");
        if (m_form.grab().save(path))
            return true;
        std::fprintf(stderr, "cannot write %s\n", path.toUtf8().constData());
        return false;
    }

    template <typename T> T* control(const char* name)
    {
        T* found = m_form.findChild<T*>(QString::fromLatin1(name));
        if (!found)
            std::fprintf(stderr, "no control %s\n", name);
        return found;
    }

private:
    Form1& m_form;
    Interpreter& m_interpreter;
    QString m_output;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_screenshots SOURCE_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    QApplication app(argc, argv);

    // The bundled files as if they lay beside the program.
    FolderFileSystem files(argv[1], maxQuestionFileBytes);
    FixedClock clock(10 * 3600);
    StdRandom random;
    RecordingBeeper beeper;
    RecordingMessageBox messages;
    NoDisplaySettings display;
    Interpreter interpreter(messages, random);
    InterpreterScript script(interpreter);
    Form1 form(script, clock, beeper, files, random, display);
    form.show();
    form.activateWindow();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;

    Driver drive(form, interpreter, QString::fromLocal8Bit(argv[2]));
    bool ok = drive.save("title");

    // Selection: the first year of junior high school, the coordinates chosen.
    drive.key(Qt::Key_Return);
    ok = drive.choose("List1", QStringLiteral("中1")) && ok;
    ok = drive.choose("List2", QStringLiteral("点の座標")) && ok;
    ok = drive.save("selection") && ok;

    // As a learner does: click into the number box, which selects its text, and type.
    drive.control<QWidget>("List2")->setFocus();
    drive.control<QWidget>("Text2")->setFocus();
    QApplication::processEvents();
    drive.type(QStringLiteral("3"));

    // A drill of three: the question with its picture, a right answer, a
    // wrong one, and the result sheet after two minutes and a bit.
    drive.click("Label3");
    ok = drive.save("question") && ok;
    drive.type(drive.rightAnswer());
    drive.key(Qt::Key_Return);
    ok = drive.save("marking-right") && ok;
    drive.key(Qt::Key_Return);
    drive.type(QStringLiteral("(0,0)"));
    drive.key(Qt::Key_Return);
    ok = drive.save("marking-wrong") && ok;
    drive.key(Qt::Key_Return);
    drive.type(drive.rightAnswer());
    drive.key(Qt::Key_Return);
    clock.seconds += 134;
    drive.key(Qt::Key_Return);
    ok = drive.save("result") && ok;

    if (!messages.texts.empty()) {
        std::fprintf(stderr, "a question file reported an error\n");
        ok = false;
    }
    return ok ? 0 : 1;
}
