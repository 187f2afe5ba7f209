#include "drill/Layout.h"

#include "drill/Controls.h"

#include <QFrame>
#include <QLabel>
#include <QPalette>
#include <QWidget>

namespace numbrelle {

namespace {

const QString layoutFamily = QStringLiteral("ＭＳ Ｐゴシック");

// What every text label of the layout shares: its control name, plain text
// (script texts are shown as written, never read as markup), wrapping and place.
template <typename LabelT>
LabelT* SetUpLabel(LabelT* label, int number, const QString& text, QRect where, Qt::Alignment align)
{
    label->setText(text);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(align);
    label->setGeometry(where);
    return label;
}
} // namespace

void InstallJapaneseFonts()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    QFont::insertSubstitutions(layoutFamily, { QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP") });
}

QFont LayoutFont(int pixelSize, bool bold)
{
    QFont font(layoutFamily);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

void ApplyLayoutLook(QWidget& widget)
{
    InstallJapaneseFonts();
    widget.setAutoFillBackground(true);
    QPalette colours = widget.palette();
    colours.setColor(QPalette::Window, layoutBackground);
    colours.setColor(QPalette::WindowText, layoutOlive);
    colours.setColor(QPalette::Text, layoutOlive);
    widget.setPalette(colours);
    widget.setFont(LayoutFont(textPixels));
}

QString ShownText(TextView text)
{
    QString shown = QString::fromStdU16String(Text(text));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

void SetCaption(QLabel* label, TextView text) { label->setText(ShownText(text)); }

QLabel* MakeLabel(QWidget* parent, int number, const QString& text, QRect where, Qt::Alignment align)
{
    return SetUpLabel(new QLabel(parent), number, text, where, align);
}

FittedLabel* MakeFittedLabel(
    QWidget* parent, int number, const QString& text, QRect where, FittedLabel::Fit fit, Qt::Alignment align)
{
    return SetUpLabel(new FittedLabel(fit, smallestTextPixels, parent), number, text, where, align);
}

ClickLabel* MakeButton(QWidget* parent, int number, const QString& text, QRect where)
{
    auto* label = new ClickLabel(text, parent);
    label->setObjectName(QStringLiteral("Label%1").arg(number));
    label->setTextFormat(Qt::PlainText);
    label->setFont(LayoutFont(listPixels, true));
    label->setAlignment(Qt::AlignCenter);
    label->setGeometry(where);
    return label;
}

void MakePanelRect(QWidget* parent, QRect where)
{
    auto* rectangle = new QFrame(parent);
    rectangle->setFrameShape(QFrame::Box);
    rectangle->setGeometry(where);
}

} // namespace numbrelle
