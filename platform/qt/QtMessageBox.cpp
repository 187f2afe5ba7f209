#include "platform/qt/QtMessageBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace numbrelle {

namespace {

// Room kept for the window manager's title bar and border around the box.
constexpr int frameWidthAllowance = 16;
constexpr int frameHeightAllowance = 40;
// Text widths are fractional; a pixel more keeps a line that fits from wrapping.
constexpr int roundingAllowance = 1;

} // namespace

void QtMessageBox::show(const std::u16string& text)
{
    QString shown = QString::fromStdU16String(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ProgramMessageBox box(shown, m_parent);
    box.exec();
}

ProgramMessageBox::ProgramMessageBox(const QString& text, QWidget* parent)
    : QMessageBox(parent)
    , m_text(new QTextEdit(this))
{
    // A box is a window of its own and would otherwise take the toolkit's
    // small default font.
    if (parent)
        setFont(parent->font());
    setWindowTitle(QString::fromLatin1(programCaption));
    setIcon(QMessageBox::NoIcon);
    // Script texts are shown as written, never read as markup.
    setTextFormat(Qt::PlainText);
    setText(text);
    setStandardButtons(QMessageBox::Ok);
    // Some desktop styles put an icon on the OK button; the box has none.
    if (QAbstractButton* ok = button(QMessageBox::Ok))
        ok->setIcon(QIcon());

    // The box's own label cannot scroll, so the same text is shown in a
    // read-only text area that looks like it and can.
    m_text->setObjectName(QStringLiteral("MessageText"));
    m_text->setPlainText(text);
    m_text->setReadOnly(true);
    m_text->setFrameShape(QFrame::NoFrame);
    m_text->setFocusPolicy(Qt::NoFocus);
    m_text->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QPalette colours = m_text->palette();
    colours.setColor(QPalette::Base, colours.color(QPalette::Window));
    m_text->setPalette(colours);
    if (auto* label = findChild<QLabel*>(QStringLiteral("qt_msgbox_label")); label && layout()) {
        delete layout()->replaceWidget(label, m_text);
        label->hide();
    }
    qApp->installEventFilter(this);
}

ProgramMessageBox::~ProgramMessageBox() { qApp->removeEventFilter(this); }

void ProgramMessageBox::fitTo(const QRect& available)
{
    const QSize most(available.width() - frameWidthAllowance, available.height() - frameHeightAllowance);

    // What the box takes around its text: margins, spacing and the OK button.
    const QSize probe(std::max(1, most.width() / 2), 1);
    m_text->setFixedSize(probe);
    layout()->invalidate();
    const QSize chrome = layout()->totalMinimumSize() - probe;

    QTextDocument measure;
    measure.setDefaultFont(m_text->font());
    measure.setDocumentMargin(m_text->document()->documentMargin());
    measure.setDefaultTextOption(m_text->document()->defaultTextOption());
    measure.setPlainText(m_text->toPlainText());
    const int natural = static_cast<int>(std::ceil(measure.size().width())) + roundingAllowance;
    const int widest = std::max(1, most.width() - chrome.width());
    const int tallest = std::max(1, most.height() - chrome.height());

    int width = std::min(natural, widest);
    measure.setTextWidth(width);
    int height = static_cast<int>(std::ceil(measure.size().height()));
    // The scroll bar is decided here, once: left to itself it would come and
    // go as the box is laid out and rewrap the text.
    const bool scrolls = height > tallest;
    if (scrolls) {
        const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_text);
        width = std::min(natural + bar, widest);
        height = tallest;
    }
    m_text->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    m_text->setFixedSize(width, height);
    layout()->invalidate();
}

void ProgramMessageBox::showEvent(QShowEvent* event)
{
    const QScreen* shownOn = screen();
    fitTo(shownOn ? shownOn->availableGeometry() : QRect(0, 0, 640, 480));
    // Sizes the box around the text and centres it on the window, within the screen.
    QMessageBox::showEvent(event);
}

bool ProgramMessageBox::eventFilter(QObject* watched, QEvent* event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (key && static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && (widget == this || isAncestorOf(widget)))
            return true;
    }
    return false;
}

} // namespace numbrelle
