// The program's message box as a learner meets it.
#include "platform/qt/QtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

TEST(QtMessageBox, IsModalWithOneOkButtonNoIconAndTheCaption)
{
    QtMessageBox box;
    QString seenTitle;
    QString seenText;
    int buttons = 0;
    QMessageBox::Icon icon = QMessageBox::Warning;
    bool modal = false;
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(shown, nullptr);
        modal = shown->isModal();
        seenTitle = shown->windowTitle();
        seenText = shown->text();
        buttons = shown->buttons().size();
        icon = shown->icon();
        shown->button(QMessageBox::Ok)->click();
    });
    box.show(u"エラー　：　x\r\n<b>1</b>");
    EXPECT_TRUE(modal);
    EXPECT_EQ(seenTitle, "Numbrelle");
    EXPECT_EQ(seenText, "エラー　：　x\n<b>1</b>");
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(icon, QMessageBox::NoIcon);
}

} // namespace
} // namespace numbrelle
