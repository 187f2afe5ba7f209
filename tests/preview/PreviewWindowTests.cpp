// The preview window driven offscreen: it follows the file through saves by
// rename and in place, keeps the seed, says clearly why a file cannot be
// shown, and shows the marking screen for a typed answer.
#include "tests/preview/PreviewFiles.h"

#include "drill/Controls.h"
#include "drill/MarkingScreen.h"
#include "drill/QuestionScreen.h"
#include "tools/preview/PreviewWindow.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace numbrelle::preview {
namespace {

// A question whose text is the seed's draw, so that a run can be recognised.
std::string question(const std::string& title)
{
    return "title(" + title + ");\r\nint(n);\r\nrandom(n,1000,1);\r\nstrout([n]);\r\nans([n]);\r\n";
}

// Lets the window see the file system until condition holds, or fails.
bool waitFor(const std::function<bool()>& condition)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > 10000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QTest::qWait(5);
    }
    return true;
}

std::string title(const PreviewWindow& window) { return window.questionScreen()->titleLabel()->text().toStdString(); }
QString question(const PreviewWindow& window) { return window.questionScreen()->questionLabel()->text(); }

std::vector<QString> items(const QListWidget* list)
{
    std::vector<QString> texts;
    for (int i = 0; i < list->count(); ++i)
        texts.push_back(list->item(i)->text());
    return texts;
}

TEST(PreviewWindow, FollowsSavesByRenameAndInPlaceKeepingTheSeed)
{
    ScratchFolder folder;
    const std::string path = folder.write("q.txt", question("First"));
    PreviewWindow window(path);
    EXPECT_EQ(title(window), "First");
    window.showSeed(4);
    const QString seedFour = question(window);
    window.showSeed(5);
    EXPECT_NE(question(window), seedFour) << "two seeds drew the same number";
    window.showSeed(4);

    // Twice by rename: the second save only reaches a window that watches the new file.
    for (const char* next : { "Second", "Third" }) {
        SCOPED_TRACE(next);
        folder.saveByRename("q.txt", question(next));
        ASSERT_TRUE(waitFor([&] { return title(window) == next; }));
        EXPECT_EQ(window.seed(), 4u);
        EXPECT_EQ(question(window), seedFour);
    }
    folder.write("q.txt", question("Fourth"));
    ASSERT_TRUE(waitFor([&] { return title(window) == "Fourth"; }));
    EXPECT_TRUE(window.showsQuestion());
}

TEST(PreviewWindow, SaysWhyAFileCannotBeShownAndRecovers)
{
    ScratchFolder folder;
    const std::string path = folder.write("q.txt", question("Shown"));
    PreviewWindow window(path);
    auto problem = [&](const char* part) {
        return !window.showsQuestion() && window.problemLabel()->text().contains(QString::fromUtf8(part));
    };

    std::filesystem::remove(path);
    ASSERT_TRUE(waitFor([&] { return problem("見つかりません"); }));
    std::filesystem::create_directory(path);
    ASSERT_TRUE(waitFor([&] { return problem("読めません"); }));
    std::filesystem::remove(path);
    folder.write("q.txt", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    ASSERT_TRUE(waitFor([&] { return problem("問題ファイルではありません"); }));
    EXPECT_TRUE(window.answerList()->count() == 0 && window.messageList()->count() == 0);

    folder.saveByRename("q.txt", question("Back"));
    ASSERT_TRUE(waitFor([&] { return window.showsQuestion() && title(window) == "Back"; }));
}

TEST(PreviewWindow, KeysChooseSeedsAndMarkATypedAnswer)
{
    ScratchFolder folder;
    PreviewWindow window(folder.write("q.txt", question("Keys")));
    window.show();
    QLineEdit* answer = window.questionScreen()->answerBox();

    QTest::keyClick(answer, Qt::Key_PageUp);
    EXPECT_EQ(window.seed(), 1u);
    QTest::keyClick(answer, Qt::Key_PageDown);
    QTest::keyClick(answer, Qt::Key_PageDown);
    EXPECT_EQ(window.seed(), 3u);
    QTest::keyClick(answer, Qt::Key_PageUp);
    EXPECT_EQ(window.seed(), 2u);

    const QString drawn = question(window);
    ASSERT_EQ(items(window.answerList()), std::vector<QString> { drawn });
    struct Row {
        QString typed;
        const char* mark;
    };
    for (const Row& row : { Row { drawn, "○" }, Row { QStringLiteral("x"), "×" } }) {
        SCOPED_TRACE(row.mark);
        answer->setText(row.typed);
        QTest::keyClick(answer, Qt::Key_Return);
        ASSERT_TRUE(window.showsMarking());
        EXPECT_EQ(window.markingScreen()->markLabel()->text(), QString::fromUtf8(row.mark));
        QTest::keyClick(&window, Qt::Key_Return);
        EXPECT_TRUE(window.showsQuestion());
    }
    // A held Enter marks once and does not go back on its repeats.
    QTest::keyClick(answer, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), true);
    QCoreApplication::sendEvent(&window, &repeat);
    EXPECT_TRUE(window.showsMarking());
}

TEST(PreviewWindow, ListsAnswersAndEveryMessageBoxWithItsLine)
{
    ScratchFolder folder;
    // UTF-8 without a mark, Japanese in it: read as UTF-8.
    PreviewWindow window(folder.write("q.txt",
        "title(\xE3\x81\x9F\xE3\x81\x97\xE7\xAE\x97);\r\nmsgbox(hello);\r\nbogus(1);\r\nstrout(Q);ans(12_\xEF\xBC\x91"
        "\xEF\xBC\x92_);\r\n"));
    EXPECT_EQ(title(window), "たし算");
    EXPECT_EQ(items(window.answerList()),
        (std::vector<QString> { QStringLiteral("12"), QStringLiteral("１２"), QStringLiteral("（空の答え）") }));
    const std::vector<QString> messages = items(window.messageList());
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], QStringLiteral("2 行目: hello"));
    EXPECT_TRUE(messages[1].startsWith(QStringLiteral("3 行目: エラー　：　"))) << messages[1].toStdString();
    EXPECT_EQ(window.file().encoding, TextEncoding::Utf8);
}

} // namespace
} // namespace numbrelle::preview
