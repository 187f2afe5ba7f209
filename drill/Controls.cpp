#include "drill/Controls.h"

#include "drill/Picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

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
