// The window's look, shared by every screen and by anything else that shows a
// screen as the learner sees it: the layout's font and colours, its twips, and
// the kinds of text the screens are built from.
#pragma once

#include "drill/Controls.h"
#include "script/Text.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <Qt>

class QFrame;
class QLabel;
class QWidget;

namespace numbrelle {

// Registers the fonts that stand in for the layout's font ("ＭＳ Ｐゴシック"), once.
void InstallJapaneseFonts();

// Point sizes of the layout at the 96 dots per inch it was drawn for, so that
// texts fill their labels as intended whatever the screen reports.
inline constexpr int textPixels = 24; // 18 pt
inline constexpr int listPixels = 27; // 20.25 pt
inline constexpr int titlePixels = 35; // 26.25 pt
inline constexpr int markPixels = 37; // 27.75 pt
inline constexpr int picturePixels = 16; // texts printed on the question picture
// The smallest a fitted text shrinks to: the size of the picture's texts, the
// smallest the layout already asks a learner to read (two thirds of 18 pt).
inline constexpr int smallestTextPixels = picturePixels;

inline const QColor layoutBackground { 255, 255, 192 };
inline const QColor layoutOlive { 128, 128, 0 };

QFont LayoutFont(int pixelSize, bool bold = false);

// The layout is drawn up in twips, 15 to a pixel.
inline QRect Twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

// The window's background, olive texts and 18 pt font, on widget and what it holds.
void ApplyLayoutLook(QWidget& widget);

// A script's text as a label shows it: CR LF breaks become line breaks.
QString ShownText(TextView text);
void SetCaption(QLabel* label, TextView text);

// A plain text named "Label<number>", wrapped, never read as markup.
QLabel* MakeLabel(
    QWidget* parent, int number, const QString& text, QRect where, Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
// A text like MakeLabel's that always shows within its label (FittedLabel).
FittedLabel* MakeFittedLabel(QWidget* parent, int number, const QString& text, QRect where, FittedLabel::Fit fit,
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop);
// A clickable text in the buttons' bold font.
ClickLabel* MakeButton(QWidget* parent, int number, const QString& text, QRect where);
// The outlined rectangle a group of texts sits on.
void MakePanelRect(QWidget* parent, QRect where);

} // namespace numbrelle
