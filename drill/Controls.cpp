#include "drill/Controls.h"

#include "drill/Picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTextLayout>
#include <QToolButton>

#include <algorithm>

namespace numbrelle {

ClickLabel::ClickLabel(const QString& text, QWidget* parent)
    : QLabel(text, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ClickLabel::mousePressEvent(QMouseEvent* event) { m_pressed = event->button() == Qt::LeftButton; }

// Like a button, the click counts only when released over the text.
void ClickLabel::mouseReleaseEvent(QMouseEvent* event)
{
    bool wasPressed = m_pressed;
    m_pressed = false;
    if (wasPressed && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

namespace {

// A label's line breaks, as a text layout takes them.
QString withLineSeparators(QString text) { return text.replace(QChar(u'\n'), QChar::LineSeparator); }

// Lays text out in lines of width as a label draws them (leading above each
// line); returns the height, and the widest line in widest.
qreal layOut(QTextLayout& layout, qreal width, QTextOption::WrapMode mode, qreal* widest = nullptr)
{
    QTextOption option;
    option.setWrapMode(mode);
    layout.setTextOption(option);
    const qreal leading = QFontMetricsF(layout.font()).leading();
    qreal height = 0;
    qreal wide = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += leading;
        line.setPosition(QPointF(0, height));
        height += line.height();
        wide = std::max(wide, line.naturalTextWidth());
    }
    layout.endLayout();
    if (widest)
        *widest = wide;
    return height;
}

QFont withPixels(QFont font, int pixels)
{
    font.setPixelSize(pixels);
    return font;
}

} // namespace

FittedLabel::FittedLabel(Fit fit, int smallestPixels, QWidget* parent)
    : QLabel(parent)
    , m_fit(fit)
    , m_smallestPixels(smallestPixels)
{
}

QFont FittedLabel::shownFont() const { return fitting().font; }

QString FittedLabel::shownText() const { return fitting().text; }

bool FittedLabel::elided() const { return fitting().elided; }

QRectF FittedLabel::textArea() const
{
    return QRectF(contentsRect().adjusted(margin(), margin(), -margin(), -margin()));
}

FittedLabel::Fitting FittedLabel::fitting() const
{
    const QRectF area = textArea();
    return m_fit == Fit::OneLine ? fitOneLine(area) : fitWrapped(area);
}

FittedLabel::Fitting FittedLabel::fitOneLine(const QRectF& area) const
{
    const QString line = QString(text()).replace(QChar(u'\n'), QChar(u' '));
    const bool oneLine = line == text();
    for (int pixels = font().pixelSize(); pixels >= m_smallestPixels; --pixels) {
        const QFont font = withPixels(this->font(), pixels);
        if (QFontMetricsF(font).horizontalAdvance(line) <= area.width())
            return { oneLine && pixels == this->font().pixelSize(), font, line, false };
    }
    const QFont smallest = withPixels(font(), m_smallestPixels);
    const QString cut = QFontMetricsF(smallest).elidedText(line, Qt::ElideRight, area.width());
    return { false, smallest, cut, true };
}

FittedLabel::Fitting FittedLabel::fitWrapped(const QRectF& area) const
{
    const QString text = withLineSeparators(this->text());
    {
        // As a plain label breaks it: between words only.
        QTextLayout plain(text, font());
        qreal widest = 0;
        const qreal height = layOut(plain, area.width(), QTextOption::WordWrap, &widest);
        if (widest <= area.width() && height <= area.height())
            return { true, font(), this->text(), false };
    }
    for (int pixels = font().pixelSize(); pixels > m_smallestPixels; --pixels) {
        QTextLayout layout(text, withPixels(font(), pixels));
        if (layOut(layout, area.width(), QTextOption::WrapAtWordBoundaryOrAnywhere) <= area.height())
            return { false, layout.font(), this->text(), false };
    }
    const QFont smallest = withPixels(font(), m_smallestPixels);
    QTextLayout layout(text, smallest);
    const bool tooTall = layOut(layout, area.width(), QTextOption::WrapAtWordBoundaryOrAnywhere) > area.height();
    return { false, smallest, this->text(), tooTall };
}

void FittedLabel::paintEvent(QPaintEvent* event)
{
    const Fitting fit = fitting();
    if (fit.plain) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(fit.font);
    painter.setPen(palette().color(foregroundRole()));
    const QRectF area = textArea();
    if (m_fit == Fit::OneLine) {
        painter.drawText(area, static_cast<int>(alignment()), fit.text);
        return;
    }
    QTextLayout layout(withLineSeparators(fit.text), fit.font);
    layOut(layout, area.width(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (int i = 0; i < layout.lineCount(); ++i) {
        const QTextLine line = layout.lineAt(i);
        const bool last = i + 1 == layout.lineCount()
            || layout.lineAt(i + 1).position().y() + layout.lineAt(i + 1).height() > area.height();
        if (!last || !fit.elided) {
            line.draw(&painter, area.topLeft());
        } else {
            // The last line that fits says that more follows.
            const QString rest = layout.text().mid(line.textStart());
            const QString cut = QFontMetricsF(fit.font).elidedText(
                rest.section(QChar::LineSeparator, 0, 0) + QStringLiteral("…"), Qt::ElideRight, area.width());
            painter.drawText(area.topLeft() + line.position() + QPointF(0, line.ascent()), cut);
        }
        if (last)
            break;
    }
}

FocusFrame::FocusFrame(QWidget* control, const QColor& colour)
    : QWidget(control->parentWidget())
    , m_control(control)
    , m_colour(colour)
{
    setObjectName(control->objectName() + QStringLiteral("Focus"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    // Made after the control, it lies over it, and under what is made later.
    control->installEventFilter(this);
    follow();
}

bool FocusFrame::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_control) {
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide: follow(); break;
        default: break;
        }
    }
    return false;
}

void FocusFrame::follow()
{
    setGeometry(m_control->geometry());
    setVisible(m_control->isVisible() && m_control->hasFocus());
}

void FocusFrame::paintEvent(QPaintEvent*)
{
    constexpr int width = 2;
    QPainter painter(this);
    painter.setPen(QPen(m_colour, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.drawRect(QRectF(rect()).adjusted(width / 2.0, width / 2.0, -width / 2.0, -width / 2.0));
}

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent)
{
}

void PictureBox::clear()
{
    // Drawn at the screen's pixel density so lines and text stay sharp when
    // the window is scaled up. A hidden widget gets no resize event, so the
    // size is checked here, where every question's drawing begins.
    const qreal ratio = devicePixelRatioF();
    if (m_image.size() != size() * ratio || m_image.devicePixelRatio() != ratio) {
        m_image = QImage(size() * ratio, QImage::Format_ARGB32_Premultiplied);
        m_image.setDevicePixelRatio(ratio);
    }
    m_image.fill(Qt::white);
    update();
}

float PictureBox::heightTwips() const { return static_cast<float>(height() * twipsPerPixel); }

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(QPointF(0, 0), m_image);
}

ProgressBar::ProgressBar(QWidget* parent)
    : QWidget(parent)
{
}

void ProgressBar::setProgress(std::size_t done, std::size_t count)
{
    m_fraction = count ? static_cast<double>(done) / static_cast<double>(count) : 0;
    update();
}

void ProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.fillRect(QRectF(0, 0, m_fraction * width(), height()), QColor(127, 127, 0));
}

UpDown::UpDown(QWidget* parent)
    : QWidget(parent)
    , m_up(new QToolButton(this))
    , m_down(new QToolButton(this))
{
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* button : { m_up, m_down }) {
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, &UpDown::up);
    connect(m_down, &QToolButton::clicked, this, &UpDown::down);
}

void UpDown::stopRepeating()
{
    for (QToolButton* button : { m_up, m_down })
        button->setDown(false);
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int half = height() / 2;
    m_up->setGeometry(0, 0, width(), half);
    m_down->setGeometry(0, half, width(), height() - half);
}

} // namespace numbrelle
