#include "platform/qt/QtMessageBox.h"

#include <QMessageBox>

namespace numbrelle {

void QtMessageBox::show(const std::u16string& text)
{
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(m_parent);
    box.setWindowTitle(QString::fromLatin1(programCaption));
    box.setIcon(QMessageBox::NoIcon);
    // Script texts are shown as written, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(shown);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace numbrelle
