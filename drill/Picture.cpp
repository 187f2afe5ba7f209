#include "drill/Picture.h"

#include "script/Numbers.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>

namespace numbrelle {

namespace {

bool isPaint(const Text& text)
{
    static constexpr char16_t paint[] = u"#paint";
    if (text.size() != 6)
        return false;
    for (std::size_t i = 0; i < 6; ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != paint[i])
            return false;
    }
    return true;
}

// Widths that are not a whole number of at least 1 leave the width in force.
void applyPenWidth(const Text& text, int& penWidth)
{
    std::int16_t width = 0;
    if (ToInt16(text, width) == Fault::None && width >= 1)
        penWidth = width;
}

QColor colourOf(const DrawingCommand& entry)
{
    auto component = [](std::int16_t value) { return std::clamp<int>(value, 0, 255); };
    return QColor(component(entry.red), component(entry.green), component(entry.blue));
}

double pixels(std::int16_t twips) { return twips / twipsPerPixel; }

} // namespace

void PaintDrawingList(QPainter& painter, const DrawingList& list, float heightTwips, int& penWidth)
{
    // A coordinate whose scaled value does not fit keeps the previous entry's.
    std::array<std::int16_t, 4> scaled {};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const DrawingCommand& entry : list.entries) {
        const std::array<std::int16_t, 4> units { entry.x1, entry.y1, entry.x2, entry.y2 };
        for (std::size_t i = 0; i < 4; ++i) {
            double twips = RoundHalfEven(
                static_cast<double>(heightTwips) / 1000.0 * static_cast<double>(static_cast<float>(units[i])));
            if (twips >= -32768 && twips <= 32767)
                scaled[i] = static_cast<std::int16_t>(twips);
        }
        const QPointF first(pixels(scaled[0]), pixels(scaled[1]));
        const QPointF second(pixels(scaled[2]), pixels(scaled[3]));
        const QColor colour = colourOf(entry);
        auto outline = [&] {
            painter.setPen(QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter.setBrush(Qt::NoBrush);
        };

        switch (entry.kind) {
        case DrawingKind::Line:
            applyPenWidth(entry.text, penWidth);
            outline();
            painter.drawLine(first, second);
            break;
        case DrawingKind::Box:
            penWidth = 1;
            if (isPaint(entry.text)) {
                outline();
                painter.setBrush(colour);
            } else {
                applyPenWidth(entry.text, penWidth);
                outline();
            }
            painter.drawRect(QRectF(first, second).normalized());
            break;
        case DrawingKind::Circle: {
            applyPenWidth(entry.text, penWidth);
            double radius = pixels(scaled[2]);
            if (radius < 0)
                break; // no circle has a negative radius
            outline();
            painter.drawEllipse(first, radius, radius);
            break;
        }
        case DrawingKind::Text: {
            painter.setPen(Qt::black);
            QFontMetricsF metrics(painter.font());
            painter.drawText(first + QPointF(0, metrics.ascent()), QString::fromStdU16String(entry.text));
            break;
        }
        }
    }
    painter.restore();
}

} // namespace numbrelle
