// The window with the real interpreter: question files in the language itself,
// read afresh at each Start, and script errors shown without stopping anything.
#include "drill/Form1.h"
#include "drill/InterpreterScript.h"
#include "script/Limits.h"

#include "platform/Recording.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

class InterpreterDrillTest : public ::testing::Test {
protected:
    void open()
    {
        form = std::make_unique<Form1>(script, clock, beeper, files, random, display);
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    void key(Qt::Key k) { QTest::keyClick(form->windowHandle(), k); }
    QString caption(const char* name) { return form->findChild<QLabel*>(QString::fromLatin1(name))->text(); }

    FolderFileSystem files { maxQuestionFileBytes };
    RecordingMessageBox messages;
    ScriptedRandom random;
    Interpreter interpreter { messages, random };
    InterpreterScript script { interpreter };
    FixedClock clock { 36000.25f };
    RecordingBeeper beeper;
    RecordingDisplaySettings display;
    std::unique_ptr<Form1> form;
};

TEST_F(InterpreterDrillTest, RunsQuestionFilesWrittenInTheLanguage)
{
    files.addQuestion("addition.txt",
        "// たし算\r\ntitle(たしざん);\r\nlinetext(けいさん);\r\nextext(二つの数を\\sたします。);\r\n"
        "strout(5+7=);\r\nans(12_十二);\r\n");
    open();
    key(Qt::Key_Return);
    QListWidget* list2 = form->findChild<QListWidget*>(QStringLiteral("List2"));
    ASSERT_EQ(list2->count(), 1);
    EXPECT_EQ(list2->item(0)->text(), "1_たしざん");
    EXPECT_EQ(caption("Label4"), "二つの数を たします。");
    EXPECT_TRUE(messages.texts.empty());

    key(Qt::Key_Return);
    EXPECT_EQ(caption("Label9"), "5+7=");
    QTest::keyClick(form->windowHandle(), '9');
    key(Qt::Key_Return);
    EXPECT_EQ(caption("Label12"), "違います。\n\n解答：9\n正解：12");
}

TEST_F(InterpreterDrillTest, EditedFileIsUsedByTheNextDrillUnderItsOldName)
{
    files.addQuestion("q.txt", "title(old);ans(1);");
    open();
    key(Qt::Key_Return);
    files.addQuestion("q.txt", "title(new);strout(changed);ans(2);");
    key(Qt::Key_Return);
    EXPECT_EQ(caption("Label8"), "new");
    EXPECT_EQ(caption("Label9"), "changed");
    EXPECT_EQ(caption("Label2"), "1_old");
}

TEST_F(InterpreterDrillTest, ScriptErrorsAreShownAndLoadingGoesOn)
{
    files.addQuestion("a.txt", "title(first);nosuchstatement(1);");
    files.addQuestion("b.txt", "title(second);");
    open();
    key(Qt::Key_Return);
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0].rfind(u"エラー　：　", 0), 0u) << utf8(messages.texts[0]);
    EXPECT_EQ(form->findChild<QListWidget*>(QStringLiteral("List2"))->count(), 2);
}

} // namespace
} // namespace numbrelle
