// The real window, offscreen, driven through its QWindow as keys and clicks
// arrive from the system: title, selection, question, marking and result
// screens, the number box, the picture, and the one way out.
#include "drill/Form1.h"
#include "script/Limits.h"

#include "drill/Controls.h"
#include "drill/Layout.h"
#include "platform/Recording.h"
#include "tests/support/LineScript.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace numbrelle {
namespace {

using namespace testing;

const std::string addition = "title=たしざん\r\ncategory=けいさん\r\ndescription=二つの数をたします。\r\n"
                             "question=5+7=\r\nanswer=12";
const std::string shapes = "title=ずけい\r\ncategory=ずけい\r\ndescription=図を見て答えます。\r\n"
                           "question=四角の数は？\r\nanswer=1\r\n"
                           "draw=1,100,100,900,900,#paint,255,0,0\r\n"
                           "draw=0,0,0,1000,1000,3,0,0,255\r\n"
                           "draw=2,500,500,300,0,2,0,128,0\r\n"
                           "draw=3,80,900,0,0,Ａ,0,0,0";
const std::string subtraction = "title=ひきざん\r\ncategory=けいさん\r\ndescription=ひきます。\r\n"
                                "question=9-6=\r\nanswer=3";

// The part of a widget drawn in something other than the background colour.
QRect inkOf(QWidget* widget)
{
    const QImage image = widget->grab().toImage();
    const QRgb background = image.pixel(0, 0);
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                ink |= QRect(x, y, 1, 1);
    return ink;
}

// The checks every fitted one-line label must pass, whatever its text.
void expectOneCentredLine(FittedLabel* label)
{
    const QFont font = label->shownFont();
    EXPECT_GE(font.pixelSize(), smallestTextPixels);
    EXPECT_LE(font.pixelSize(), textPixels);
    EXPECT_LE(QFontMetricsF(font).horizontalAdvance(label->shownText()), label->contentsRect().width());
    const QRect ink = inkOf(label);
    ASSERT_TRUE(ink.isValid());
    EXPECT_LE(ink.height(), QFontMetrics(font).height()); // one line
    EXPECT_NEAR(ink.left(), label->width() - 1 - ink.right(), 3); // centred
    EXPECT_NEAR(ink.top(), label->height() - 1 - ink.bottom(), 6);
}

class Form1Test : public ::testing::Test {
    // Public so that table rows can drive the window too.
public:
    void SetUp() override
    {
        files.addQuestion("a_addition.txt", addition);
        files.addQuestion("B_shapes.txt", shapes);
        files.addQuestion("c_subtraction.txt", subtraction);
    }

    void open()
    {
        form = std::make_unique<Form1>(script, clock, beeper, files, random, display);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }

    void openAtSelection()
    {
        open();
        key(Qt::Key_Return);
        ASSERT_TRUE(frame("Frame1")->isHidden());
    }

    void key(Qt::Key k) { QTest::keyClick(form->windowHandle(), k); }
    // One auto-repeat of a held key, as the system sends it: a release and a press.
    void repeat(Qt::Key k, const QString& text = QString())
    {
        QTest::simulateEvent(form->windowHandle(), false, k, Qt::NoModifier, text, true);
        QTest::simulateEvent(form->windowHandle(), true, k, Qt::NoModifier, text, true);
    }
    // Presses k, holds it for repeats auto-repeats, and lets go.
    void hold(Qt::Key k, int repeats)
    {
        QTest::simulateEvent(form->windowHandle(), true, k, Qt::NoModifier, QString(), false);
        for (int i = 0; i < repeats; ++i)
            repeat(k);
        QTest::simulateEvent(form->windowHandle(), false, k, Qt::NoModifier, QString(), false);
    }
    void type(const QString& ascii)
    {
        for (QChar c : ascii)
            QTest::keyClick(form->windowHandle(), c.toLatin1());
    }
    // What an input method hands the focused control when it commits a word.
    void commit(const QString& text)
    {
        QInputMethodEvent event;
        event.setCommitString(text);
        QApplication::sendEvent(QApplication::focusWidget(), &event);
    }
    void click(const char* name) { QTest::mouseClick(control<QWidget>(name), Qt::LeftButton); }
    void choose(const char* listName, int row)
    {
        QListWidget* list = control<QListWidget>(listName);
        QRect where = list->visualItemRect(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, where.center());
    }

    template <typename T> T* control(const char* name)
    {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QWidget* frame(const char* name) { return control<QWidget>(name); }
    QString caption(const char* name) { return control<QLabel>(name)->text(); }
    QStringList items(const char* listName)
    {
        QStringList texts;
        QListWidget* list = control<QListWidget>(listName);
        for (int i = 0; i < list->count(); ++i)
            texts << list->item(i)->text();
        return texts;
    }
    // The screen that shows: the first panel not hidden, or the selection.
    QString screen()
    {
        for (const char* name : { "Frame1", "Frame2", "Frame3", "Frame4" }) {
            if (!frame(name)->isHidden())
                return QString::fromLatin1(name);
        }
        return QStringLiteral("selection");
    }
    void save(const char* name)
    {
        form->grab().save(
            QStringLiteral(NUMBRELLE_SCREENSHOT_DIR "/") + QString::fromLatin1(name) + QStringLiteral(".png"));
    }
    // As a learner does: click into the box, which selects its text, and type.
    void setCount(const QString& count)
    {
        control<QWidget>("List2")->setFocus();
        control<QLineEdit>("Text2")->setFocus();
        QApplication::processEvents(); // the box selects its text once focused
        type(count);
    }

    FolderFileSystem files { maxQuestionFileBytes };
    RecordingMessageBox messages;
    LineScript script { messages };
    FixedClock clock { 36000.25f };
    RecordingBeeper beeper;
    ScriptedRandom random;
    RecordingDisplaySettings display;
    std::unique_ptr<Form1> form;
};

TEST_F(Form1Test, JapaneseTextHasAJapaneseFont)
{
    open();
    QFontInfo used(control<QLabel>("Label4")->font());
    const QString family = used.family();
    ASSERT_TRUE(family == "IPAPGothic" || family.startsWith("Noto Sans CJK"))
        << "no Japanese font for the layout's font; got " << family.toStdString()
        << " (install fonts-ipafont-gothic or fonts-noto-cjk)";
    QFontMetrics metrics(control<QLabel>("Label4")->font());
    EXPECT_TRUE(metrics.inFont(QChar(u'説')));
    EXPECT_TRUE(metrics.inFont(QChar(u'ア')));
}

TEST_F(Form1Test, StartUpShowsTheTitleAndSeedsTheRandomNumbers)
{
    open();
    save("1-title");
    EXPECT_EQ(screen(), "Frame1");
    EXPECT_EQ(form->size(), QSize(640, 480));
    EXPECT_EQ(frame("Frame2")->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(random.seeds.size(), 1u);
    EXPECT_EQ(caption("Label5"), "Numbrelle");
}

TEST_F(Form1Test, TitleStartLoadsTheLibraryAndSelectsTheFirstItems)
{
    open();
    click("Label7");
    save("2-selection");
    EXPECT_EQ(screen(), "selection");
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), "20");
    EXPECT_EQ(form->QuestionCount(), 20);
    EXPECT_EQ(items("List1"), QStringList({ "全て", "けいさん", "ずけい" }));
    EXPECT_EQ(control<QListWidget>("List1")->currentRow(), 0);
    EXPECT_EQ(items("List2"), QStringList({ "1_たしざん", "2_ずけい", "3_ひきざん" }));
    EXPECT_EQ(control<QListWidget>("List2")->currentRow(), 0);
    EXPECT_EQ(caption("Label2"), "1_たしざん");
    EXPECT_EQ(caption("Label4"), "二つの数をたします。");
    EXPECT_EQ(script.runs, 3);
    EXPECT_EQ(beeper.beeps, 0);
    EXPECT_TRUE(control<QWidget>("Picture1")->isHidden());
}

TEST_F(Form1Test, ChoosingACategoryFiltersTheQuestionTypes)
{
    openAtSelection();
    choose("List1", 1);
    EXPECT_EQ(items("List2"), QStringList({ "1_たしざん", "3_ひきざん" }));
    EXPECT_EQ(control<QListWidget>("List2")->currentRow(), 0);
    choose("List2", 1);
    EXPECT_EQ(caption("Label2"), "3_ひきざん");
    EXPECT_EQ(caption("Label4"), "ひきます。");
    choose("List1", 2);
    EXPECT_EQ(items("List2"), QStringList({ "2_ずけい" }));
    EXPECT_EQ(caption("Label2"), "2_ずけい");
    choose("List1", 0);
    EXPECT_EQ(items("List2").size(), 3);
}

TEST_F(Form1Test, ADrillOfThreeMarksAndScores)
{
    openAtSelection();
    setCount("3");
    EXPECT_EQ(form->QuestionCount(), 3);
    click("Label3");
    EXPECT_EQ(screen(), "Frame2");
    EXPECT_EQ(caption("Label10"), "1/3");
    EXPECT_EQ(caption("Label8"), "たしざん");
    EXPECT_EQ(caption("Label9"), "5+7=");
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), "");
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("Text1"));
    EXPECT_FALSE(control<QWidget>("List2")->isEnabled());
    save("3-question");

    type("12");
    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame3");
    EXPECT_EQ(caption("Label14"), "○");
    EXPECT_EQ(caption("Label12"), "正解です。");
    save("4-marking-right");

    key(Qt::Key_Enter); // the keypad's Enter
    EXPECT_EQ(caption("Label10"), "2/3");
    commit("１２");
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), "１２");
    click("Label11");
    EXPECT_EQ(caption("Label14"), "○");

    click("Label13");
    type("13");
    key(Qt::Key_Return);
    EXPECT_EQ(caption("Label14"), "×");
    EXPECT_EQ(caption("Label12"), "違います。\n\n解答：13\n正解：12");
    save("5-marking-wrong");

    clock.seconds += 65;
    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame4");
    EXPECT_EQ(caption("Label15"), "成績\nたしざん");
    EXPECT_EQ(caption("Label17"), "時間：1分5秒\n\n問題数：3\n正解数：2\n誤答数：1\n\n点数：67点");
    save("6-result");

    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "selection");
    EXPECT_TRUE(control<QWidget>("List1")->isEnabled());
    EXPECT_TRUE(control<QWidget>("Text2")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("List2"));
    EXPECT_EQ(script.builds, 4); // three at loading, one at Start
}

TEST_F(Form1Test, OneQuestionDrillGoesStraightToTheResult)
{
    openAtSelection();
    setCount("1");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame4");
    EXPECT_EQ(caption("Label17"), "時間：0秒\n\n問題数：1\n正解数：0\n誤答数：1\n\n点数：0点");
    key(Qt::Key_F1); // nothing on the result screen
    EXPECT_EQ(screen(), "Frame4");
}

// The counter passes 32767 on the way to the result sheet.
TEST_F(Form1Test, LargestDrillEndsWithTheResultSheet)
{
    openAtSelection();
    setCount("32767");
    key(Qt::Key_Return);
    // Straight to the window, without the repaint after each key that would
    // make this take minutes.
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    for (int i = 1; i < 32767; ++i) {
        QApplication::sendEvent(form->windowHandle(), &enter);
        QApplication::sendEvent(form->windowHandle(), &enter);
    }
    EXPECT_EQ(caption("Label10"), "32767/32767");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame4");
    EXPECT_EQ(form->QuestionNo(), 32768);
    EXPECT_TRUE(caption("Label17").contains("問題数：32767\n正解数：0\n誤答数：32767"));
}

TEST_F(Form1Test, F1AbortsOnlyTheQuestionScreenAndStartBeginsAfresh)
{
    openAtSelection();
    key(Qt::Key_F1); // nothing on the selection screen
    EXPECT_EQ(screen(), "selection");
    key(Qt::Key_Return);
    type("12");
    key(Qt::Key_Return);
    key(Qt::Key_F1); // nothing on the marking screen
    EXPECT_EQ(screen(), "Frame3");
    key(Qt::Key_Return);
    EXPECT_EQ(form->QuestionNo(), 2);
    EXPECT_EQ(form->CorrectCount(), 1);

    key(Qt::Key_F1);
    EXPECT_EQ(screen(), "selection");
    EXPECT_TRUE(control<QWidget>("List1")->isEnabled());
    EXPECT_TRUE(control<QWidget>("List2")->isEnabled());
    EXPECT_TRUE(control<QWidget>("Text2")->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("List2"));

    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame2");
    EXPECT_EQ(form->QuestionNo(), 1);
    EXPECT_EQ(form->CorrectCount(), 0);
    EXPECT_EQ(caption("Label10"), "1/20");
}

TEST_F(Form1Test, EnterStartsADrillWhicheverControlHasTheFocus)
{
    openAtSelection();
    for (const char* name : { "List1", "List2", "Text2" }) {
        control<QWidget>(name)->setFocus();
        key(Qt::Key_Return);
        EXPECT_EQ(screen(), "Frame2") << name;
        key(Qt::Key_F1);
    }
}

TEST_F(Form1Test, HandledKeysStillReachTheFocusedControl)
{
    openAtSelection();
    key(Qt::Key_Return);
    QSignalSpy returned(control<QLineEdit>("Text1"), &QLineEdit::returnPressed);
    type("7");
    key(Qt::Key_Return);
    EXPECT_EQ(screen(), "Frame3");
    EXPECT_EQ(returned.count(), 1);
}

TEST_F(Form1Test, NumberBoxFollowsItsRules)
{
    openAtSelection();
    enum How { Paste, Keys, Down, Up };
    struct Step {
        How how;
        const char* entered;
        const char* shown;
        int count;
        int beeps;
    } steps[] = {
        { Paste, "7.5", "7.5", 8, 0 },
        { Paste, "0", "1", 1, 1 },
        { Paste, "12", "12", 12, 1 },
        { Paste, "abc", "12", 12, 2 },
        { Paste, "40000", "12", 12, 3 },
        { Paste, "-2", "1", 1, 4 },
        { Down, "", "1", 1, 5 },
        { Up, "", "2", 2, 5 },
        { Paste, "6.5", "6.5", 6, 5 },
        { Paste, "32767", "32767", 32767, 5 },
        { Up, "", "32767", 32767, 6 },
        // Each key is a change of its own: every letter beeps and is undone.
        { Keys, "ab", "32767", 32767, 8 },
        { Keys, "40000", "4000", 4000, 9 },
        { Keys, "", "", 1, 9 },
        // A negative number typed key by key: the sign waits for its digits.
        { Paste, "12", "12", 12, 9 },
        { Keys, "-", "-", 12, 9 },
        { Keys, "-3", "1", 1, 10 },
    };
    QLineEdit* box = control<QLineEdit>("Text2");
    const QList<QToolButton*> arrows = control<QWidget>("UpDown1")->findChildren<QToolButton*>();
    for (const Step& step : steps) {
        const QString entered = QString::fromLatin1(step.entered);
        switch (step.how) {
        case Paste:
            setCount(QString());
            commit(entered);
            break;
        case Keys:
            setCount(entered);
            if (entered.isEmpty())
                key(Qt::Key_Backspace);
            break;
        case Down: QTest::mouseClick(arrows[1], Qt::LeftButton); break;
        case Up: QTest::mouseClick(arrows[0], Qt::LeftButton); break;
        }
        const std::string what = std::to_string(step.how) + " " + step.entered;
        EXPECT_EQ(box->text(), step.shown) << what;
        EXPECT_EQ(form->QuestionCount(), step.count) << what;
        EXPECT_EQ(beeper.beeps, step.beeps) << what;
    }
}

TEST_F(Form1Test, QuestionPictureIsShownBesideANarrowerText)
{
    openAtSelection();
    choose("List2", 1);
    key(Qt::Key_Return);
    QWidget* picture = control<QWidget>("WpictObj");
    EXPECT_FALSE(picture->isHidden());
    EXPECT_EQ(control<QLabel>("Label9")->width(), 4695 / 15);
    EXPECT_EQ(picture->geometry(), QRect(336, 72, 273, 273));
    QImage drawn = picture->grab().toImage();
    EXPECT_EQ(QColor(drawn.pixel(drawn.width() / 4, drawn.height() / 2)), QColor(255, 0, 0));
    save("7-question-picture");

    type("1");
    key(Qt::Key_Return);
    EXPECT_TRUE(picture->isHidden());
    key(Qt::Key_Return);
    EXPECT_FALSE(picture->isHidden()); // every question draws afresh
    key(Qt::Key_F1);
    EXPECT_TRUE(picture->isHidden());

    choose("List2", 0);
    key(Qt::Key_Return);
    EXPECT_TRUE(picture->isHidden());
    EXPECT_EQ(control<QLabel>("Label9")->width(), 9255 / 15);
}

TEST_F(Form1Test, EmptyFolderGivesAnEmptyLibraryAndNoDrill)
{
    files.removeQuestionsFolder();
    openAtSelection();
    const QString folder = QString::fromStdString(files.programFolder() + "/questions");
    EXPECT_EQ(caption("Label4"), "問題ファイルが「" + folder + "」フォルダーに見つかりません。");
    save("10-empty-folder");
    EXPECT_EQ(items("List1"), QStringList({ "全て" }));
    EXPECT_TRUE(items("List2").isEmpty());
    key(Qt::Key_Return);
    click("Label3");
    EXPECT_EQ(screen(), "selection");
    EXPECT_EQ(script.builds, 0);
}

TEST_F(Form1Test, SecondStartWhileLoadingIsIgnored)
{
    open();
    bool sawProgress = false;
    // Fires in the pending events processed after the first file.
    QTimer::singleShot(0, form.get(), [&] {
        sawProgress = form->isLoading() && !control<QWidget>("Picture1")->isHidden();
        key(Qt::Key_Return);
        click("Label7");
    });
    key(Qt::Key_Return);
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(script.runs, 3);
    EXPECT_EQ(items("List1"), QStringList({ "全て", "けいさん", "ずけい" }));
    EXPECT_EQ(items("List2").size(), 3);
}

TEST_F(Form1Test, EscapeWhileLoadingEndsAtOnce)
{
    open();
    QTimer::singleShot(0, form.get(), [&] { key(Qt::Key_Escape); });
    key(Qt::Key_Return);
    EXPECT_EQ(script.runs, 1); // no file after the one in hand
    EXPECT_EQ(display.restores, 1);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Form1Test, ScriptMessagesDuringLoadingDoNotStopIt)
{
    files.addQuestion("d_message.txt", "title=m\r\nmsgbox=hello");
    openAtSelection();
    EXPECT_EQ(messages.texts, std::vector<std::u16string> { u"hello" });
    EXPECT_EQ(items("List2").size(), 4);
}

TEST_F(Form1Test, EveryWayOutRestoresTheDisplayOnce)
{
    const std::function<void(Form1Test&)> ways[] = {
        [](Form1Test& t) { t.key(Qt::Key_Escape); },
        [](Form1Test& t) {
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Escape);
        },
        [](Form1Test& t) {
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Escape);
        },
        [](Form1Test& t) {
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Return);
            t.key(Qt::Key_Escape);
        },
        [](Form1Test& t) {
            t.key(Qt::Key_Return);
            t.click("Label1");
        },
        [](Form1Test& t) { t.form->windowHandle()->close(); },
    };
    for (std::size_t i = 0; i < std::size(ways); ++i) {
        display.restores = 0;
        open();
        ways[i](*this);
        EXPECT_FALSE(form->isVisible()) << "way " << i;
        EXPECT_EQ(display.restores, 1) << "way " << i;
        form.reset();
    }
}

TEST_F(Form1Test, ScreenSettingSwitchesToTheFirst640x480x16Mode)
{
    struct Case {
        std::vector<DisplayModeInfo> modes;
        std::vector<int> changes;
    } cases[] = {
        { {}, {} },
        { { { 640, 480, 32 }, { 1024, 768, 16 } }, {} },
        { { { 640, 480, 16 } }, { 0 } },
        { { { 800, 600, 16 }, { 640, 480, 16 }, { 640, 480, 16 } }, { 1 } },
        { { { 480, 640, 16 }, { 640, 480, 24 }, { 640, 480, 16 } }, { 2 } },
    };
    for (const Case& c : cases) {
        display = RecordingDisplaySettings {};
        display.modes = c.modes;
        open();
        EXPECT_EQ(display.changes, c.changes) << c.modes.size() << " modes";
        if (!c.changes.empty()) {
            EXPECT_EQ(form->pos(), QPoint(0, 0));
            EXPECT_EQ(display.asked.back(), c.changes[0]); // no mode looked at after the match
        }
        form.reset();
    }
}

TEST_F(Form1Test, AHeldKeyActsOnce)
{
    struct Row {
        const char* name;
        std::function<void(Form1Test&)> reach; // from the title screen
        Qt::Key held;
        const char* screenAfter;
    } rows[] = {
        { "Enter on the title", [](Form1Test&) {}, Qt::Key_Return, "selection" },
        { "Enter on the selection", [](Form1Test& t) { t.key(Qt::Key_Return); }, Qt::Key_Return, "Frame2" },
        { "Enter on a question",
            [](Form1Test& t) {
                t.key(Qt::Key_Return);
                t.key(Qt::Key_Return);
            },
            Qt::Key_Return, "Frame3" },
        { "Enter on the marking",
            [](Form1Test& t) {
                t.key(Qt::Key_Return);
                t.key(Qt::Key_Return);
                t.key(Qt::Key_Return);
            },
            Qt::Key_Enter, "Frame2" },
        { "F1 on a question",
            [](Form1Test& t) {
                t.key(Qt::Key_Return);
                t.key(Qt::Key_Return);
            },
            Qt::Key_F1, "selection" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        open();
        row.reach(*this);
        const int questionNo = form->QuestionNo();
        hold(row.held, 20);
        EXPECT_EQ(screen(), row.screenAfter);
        EXPECT_LE(form->QuestionNo(), questionNo + 1);
        EXPECT_TRUE(form->isVisible());
        form.reset();
    }

    // Repeats alone, as when a key held through a message box comes back to
    // the window, do nothing; Escape included.
    openAtSelection();
    key(Qt::Key_Return);
    for (Qt::Key k : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_F1, Qt::Key_Escape })
        repeat(k);
    EXPECT_EQ(screen(), "Frame2");
    EXPECT_EQ(caption("Label10"), "1/20");
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(display.restores, 0);
}

TEST_F(Form1Test, AHeldKeyStillReachesTheFocusedControl)
{
    openAtSelection();
    key(Qt::Key_Return);
    QSignalSpy returned(control<QLineEdit>("Text1"), &QLineEdit::returnPressed);
    QTest::simulateEvent(form->windowHandle(), true, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"), false);
    repeat(Qt::Key_7, QStringLiteral("7"));
    repeat(Qt::Key_7, QStringLiteral("7"));
    EXPECT_EQ(control<QLineEdit>("Text1")->text(), "777");
    QTest::simulateEvent(form->windowHandle(), false, Qt::Key_7, Qt::NoModifier, QStringLiteral("7"), false);
    hold(Qt::Key_Return, 3);
    EXPECT_EQ(returned.count(), 4);
    EXPECT_EQ(screen(), "Frame3");
}

TEST_F(Form1Test, AHeldSpinnerArrowRepeatsWithinTheRules)
{
    openAtSelection();
    setCount("3");
    auto* down = control<QWidget>("UpDown1")->findChildren<QToolButton*>()[1];
    const int stepsWaited = 10;
    QTest::mousePress(down, Qt::LeftButton);
    QTest::qWait(down->autoRepeatDelay() + stepsWaited * down->autoRepeatInterval());
    QTest::mouseRelease(down, Qt::LeftButton);
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), "1");
    EXPECT_EQ(form->QuestionCount(), 1);
    EXPECT_EQ(beeper.beeps, 1); // once at the end of the range, not at every repeat

    // Held while the drill starts: the count stays the drill's.
    setCount("5");
    auto* up = control<QWidget>("UpDown1")->findChildren<QToolButton*>()[0];
    QTest::mousePress(up, Qt::LeftButton);
    key(Qt::Key_Return);
    QTest::qWait(up->autoRepeatDelay() + stepsWaited * up->autoRepeatInterval());
    QTest::mouseRelease(up, Qt::LeftButton);
    EXPECT_EQ(form->QuestionCount(), 5);
    EXPECT_EQ(control<QLineEdit>("Text2")->text(), "5");
    EXPECT_EQ(caption("Label10"), "1/5");
}

TEST_F(Form1Test, NoStaleQuestionStandsBehindAScriptsBox)
{
    files.addQuestion("d_message.txt", "title=めっせーじ\r\nquestion=q{n}\r\nanswer=1\r\nmsgbox=hello");
    openAtSelection();
    choose("List2", 3);
    struct Seen {
        QString title, question, counter, answer;
        bool picture;
    };
    std::vector<Seen> seen;
    messages.whileShown = [&] {
        seen.push_back({ caption("Label8"), caption("Label9"), caption("Label10"), control<QLineEdit>("Text1")->text(),
            control<QWidget>("WpictObj")->isVisible() });
    };
    key(Qt::Key_Return);
    type("99");
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    ASSERT_EQ(seen.size(), 2u);
    for (std::size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i + 1);
        EXPECT_EQ(seen[i].title, "");
        EXPECT_EQ(seen[i].question, "");
        EXPECT_EQ(seen[i].counter, QStringLiteral("%1/20").arg(i + 1));
        EXPECT_EQ(seen[i].answer, "");
        EXPECT_FALSE(seen[i].picture);
    }
    EXPECT_EQ(caption("Label8"), "めっせーじ"); // shown once the run is over
}

TEST_F(Form1Test, LongNamesShowOnOneLineWithinTheirLabels)
{
    struct Row {
        const char* name;
        QString title;
        bool nameShrinks; // in Label2, with its number in front
        bool elided;
    } rows[] = {
        { "short", QStringLiteral("たしざん"), false, false },
        { "a little too long", QStringLiteral("とてもながいなまえのもんだいです"), true, false },
        { "too long for the smallest font", QString(60, QChar(u'長')), true, true },
        { "Latin letters", QStringLiteral("Addition and subtraction within 100"), true, false },
    };
    for (std::size_t i = 0; i < std::size(rows); ++i)
        files.addQuestion("d_" + std::to_string(i), "title=" + rows[i].title.toStdString() + "\r\nanswer=1");
    openAtSelection();
    for (int i = 0; i < static_cast<int>(std::size(rows)); ++i) {
        const Row& row = rows[i];
        SCOPED_TRACE(row.name);
        choose("List2", 3 + i);
        auto* name = control<FittedLabel>("Label2");
        EXPECT_EQ(name->text(), QStringLiteral("%1_").arg(4 + i) + row.title);
        EXPECT_EQ(name->shownFont().pixelSize() < textPixels, row.nameShrinks);
        EXPECT_EQ(name->elided(), row.elided);
        EXPECT_EQ(name->shownText().endsWith(QChar(u'…')), row.elided);
        expectOneCentredLine(name);
        if (i == 1)
            save("8-long-name-selection");

        key(Qt::Key_Return);
        auto* title = control<FittedLabel>("Label8");
        EXPECT_EQ(title->text(), row.title);
        EXPECT_EQ(title->elided(), row.elided);
        expectOneCentredLine(title);
        if (i == 2)
            save("9-long-name-question");
        key(Qt::Key_F1);
    }
}

TEST_F(Form1Test, LongTypedAnswersWrapInsideTheMarkingBox)
{
    struct Row {
        const char* name;
        QString typed;
        bool elided;
    } rows[] = {
        { "digits", QString(40, QChar(u'7')), false },
        { "Japanese", QString(30, QChar(u'あ')), false },
        { "words", QStringLiteral("one two three four five six seven eight"), false },
        { "more than the box holds", QString(400, QChar(u'8')), true },
    };
    openAtSelection();
    setCount(QString::number(std::size(rows)));
    key(Qt::Key_Return);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        commit(row.typed);
        key(Qt::Key_Return);
        auto* message = control<FittedLabel>("Label12");
        EXPECT_EQ(message->text(), "違います。\n\n解答：" + row.typed + "\n正解：12");
        EXPECT_EQ(message->elided(), row.elided);
        EXPECT_GE(message->shownFont().pixelSize(), smallestTextPixels);
        // Clear of the panel's outline, which lies on the label's right and bottom edges.
        const QRect ink = inkOf(message);
        EXPECT_LT(ink.right(), message->width() - 2);
        EXPECT_LT(ink.bottom(), message->height() - 2);
        if (row.typed.startsWith(u'7'))
            save("11-marking-long-answer");
        key(Qt::Key_Return);
    }
}

TEST_F(Form1Test, TheFocusedListIsOutlined)
{
    openAtSelection();
    auto outlined = [&](const char* listName) {
        const QImage window = form->grab().toImage();
        const QRect list = control<QWidget>(listName)->geometry();
        // Every side of the list, in the texts' olive.
        for (QPoint p : { list.topLeft(), list.bottomRight(), QPoint(list.center().x(), list.top()),
                 QPoint(list.left(), list.center().y()) }) {
            if (QColor(window.pixel(p)) != layoutOlive)
                return false;
        }
        return true;
    };
    struct Row {
        const char* focused;
        bool list1, list2;
    } rows[] = { { "List1", true, false }, { "List2", false, true }, { "Text2", false, false } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.focused);
        control<QWidget>(row.focused)->setFocus();
        EXPECT_EQ(outlined("List1"), row.list1);
        EXPECT_EQ(outlined("List2"), row.list2);
    }
    // As a learner moves it, with the Tab key.
    control<QWidget>("List1")->setFocus();
    key(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("List2"));
    EXPECT_FALSE(outlined("List1"));
    EXPECT_TRUE(outlined("List2"));
    save("12-focused-list");
    // Clicks reach the list through its outline.
    choose("List2", 2);
    EXPECT_EQ(caption("Label2"), "3_ひきざん");
}

} // namespace
} // namespace numbrelle
