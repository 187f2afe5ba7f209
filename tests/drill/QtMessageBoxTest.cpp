// The program's message box as a learner meets it: the window's font, one OK
// button without an icon, within the smallest screen the program runs on, and
// unmoved by a held key.
#include "platform/qt/QtMessageBox.h"

#include "drill/Layout.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace numbrelle {
namespace {

// Runs check on the box that show() puts up, then closes it if check did not.
void whileShown(QtMessageBox& box, const std::u16string& text, const std::function<void(QMessageBox&)>& check)
{
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        check(*shown);
        if (QApplication::activeModalWidget() == shown)
            shown->button(QMessageBox::Ok)->click();
    });
    box.show(text);
}

TEST(QtMessageBox, IsModalWithOneOkButtonNoIconAndTheCaption)
{
    QtMessageBox box;
    QString seenTitle;
    QString seenText;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool modal = false;
    bool buttonIcon = true;
    whileShown(box, u"エラー　：　x\r\n<b>1</b>", [&](QMessageBox& shown) {
        modal = shown.isModal();
        seenTitle = shown.windowTitle();
        seenText = shown.text();
        buttons = static_cast<int>(shown.buttons().size());
        icon = shown.icon();
        buttonIcon = !shown.button(QMessageBox::Ok)->icon().isNull();
    });
    EXPECT_TRUE(modal);
    EXPECT_EQ(seenTitle, "Numbrelle");
    EXPECT_EQ(seenText, "エラー　：　x\n<b>1</b>");
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_FALSE(buttonIcon);
}

TEST(QtMessageBox, TakesTheWindowsFont)
{
    QWidget window;
    ApplyLayoutLook(window);
    QtMessageBox box(&window);
    int textPixelsSeen = 0;
    int buttonPixelsSeen = 0;
    whileShown(box, u"ok", [&](QMessageBox& shown) {
        textPixelsSeen = shown.findChild<QTextEdit*>()->font().pixelSize();
        buttonPixelsSeen = shown.button(QMessageBox::Ok)->font().pixelSize();
    });
    EXPECT_EQ(textPixelsSeen, textPixels);
    EXPECT_EQ(buttonPixelsSeen, textPixels);
}

TEST(ProgramMessageBox, FitsA640x480ScreenAndKeepsItsText)
{
    const QString longLine = QString(300, QChar(u'あ'));
    QStringList manyLines;
    for (int i = 0; i < 80; ++i)
        manyLines << QStringLiteral("行%1").arg(i);
    struct Row {
        const char* name;
        QString text;
        bool scrolls;
    } rows[] = {
        { "short", QStringLiteral("ok"), false },
        { "a long line of Japanese", longLine, false },
        { "one word longer than the screen", QString(200, QChar(u'a')), false },
        { "an error with a long statement",
            QStringLiteral("エラー　：　型が一致しません。\n\n12\nans(") + QString(150, QChar(u'x'))
                + QStringLiteral(")"),
            false },
        { "more lines than the screen holds", manyLines.join(QChar(u'\n')), true },
    };
    const QRect screen(0, 0, 640, 480);
    QWidget window;
    ApplyLayoutLook(window);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ProgramMessageBox box(row.text, &window);
        box.show();
        box.fitTo(screen);
        QApplication::processEvents(); // the box lays itself out again
        EXPECT_LE(box.width(), screen.width() - 16);
        EXPECT_LE(box.height(), screen.height() - 40);
        EXPECT_EQ(box.text(), row.text);
        QTextEdit* text = box.textArea();
        EXPECT_EQ(text->toPlainText(), row.text);
        EXPECT_TRUE(box.rect().contains(text->geometry()));
        EXPECT_TRUE(box.rect().contains(box.button(QMessageBox::Ok)->geometry()));
        // All of the text is in view, or it scrolls to show the rest.
        const bool scrolls = text->verticalScrollBar()->maximum() > 0;
        EXPECT_EQ(scrolls, row.scrolls);
        EXPECT_LE(text->document()->size().width(), text->viewport()->width() + 1);
    }
}

TEST(QtMessageBox, AHeldKeyDoesNotCloseIt)
{
    QtMessageBox box;
    bool openAfterRepeats = false;
    bool closedByPress = false;
    whileShown(box, u"hello", [&](QMessageBox& shown) {
        for (Qt::Key key : { Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Space }) {
            QTest::simulateEvent(shown.windowHandle(), true, key, Qt::NoModifier, QString(), true);
            QTest::simulateEvent(shown.windowHandle(), false, key, Qt::NoModifier, QString(), true);
        }
        openAfterRepeats = shown.isVisible();
        QTest::keyClick(shown.windowHandle(), Qt::Key_Return);
        closedByPress = !shown.isVisible();
    });
    EXPECT_TRUE(openAfterRepeats);
    EXPECT_TRUE(closedByPress);
}

} // namespace
} // namespace numbrelle
