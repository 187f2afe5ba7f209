#include "drill/Picture.h"

#include "script/Numbers.h"

#include <QFontMetricsF>
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

std::vector<PlacedDrawing> PlaceDrawingList(const DrawingList& list, float heightTwips, int& penWidth)
{
    std::vector<PlacedDrawing> placed;
    placed.reserve(list.entries.size());
    // A coordinate whose scaled value does not fit keeps the previous entry's.
    std::array<std::int16_t, 4> scaled {};
    for (std::size_t index = 0; index < list.entries.size(); ++index) {
        const DrawingCommand& entry = list.entries[index];
        const std::array<std::int16_t, 4> units { entry.x1, entry.y1, entry.x2, entry.y2 };
        for (std::size_t i = 0; i < 4; ++i) {
            double twips = RoundHalfEven(
                static_cast<double>(heightTwips) / 1000.0 * static_cast<double>(static_cast<float>(units[i])));
            if (twips >= -32768 && twips <= 32767)
                scaled[i] = static_cast<std::int16_t>(twips);
        }
        PlacedDrawing shape;
        shape.entry = index;
        shape.kind = entry.kind;
        shape.first = QPointF(pixels(scaled[0]), pixels(scaled[1]));
        shape.second = QPointF(pixels(scaled[2]), pixels(scaled[3]));
        shape.colour = colourOf(entry);
        switch (shape.kind) {
        case DrawingKind::Line: applyPenWidth(entry.text, penWidth); break;
        case DrawingKind::Box:
            penWidth = 1;
            shape.filled = isPaint(entry.text);
            if (!shape.filled)
                applyPenWidth(entry.text, penWidth);
            break;
        case DrawingKind::Circle:
            applyPenWidth(entry.text, penWidth);
            shape.radius = pixels(scaled[2]);
            if (shape.radius < 0)
                continue; // no circle has a negative radius
            break;
        case DrawingKind::Text:
            shape.colour = Qt::black;
            shape.text = QString::fromStdU16String(entry.text);
            break;
        default: continue; // no such kind: nothing drawn
        }
        shape.penWidth = penWidth;
        placed.push_back(std::move(shape));
    }
    return placed;
}

QPointF PrintBaseline(const QFontMetricsF& metrics, QPointF topLeft) { return topLeft + QPointF(0, metrics.ascent()); }

void PaintDrawingList(QPainter& painter, const DrawingList& list, float heightTwips, int& penWidth)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(painter.font());
    for (const PlacedDrawing& shape : PlaceDrawingList(list, heightTwips, penWidth)) {
        painter.setPen(QPen(shape.colour, shape.penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(shape.filled ? QBrush(shape.colour) : QBrush(Qt::NoBrush));
        switch (shape.kind) {
        case DrawingKind::Line: painter.drawLine(shape.first, shape.second); break;
        case DrawingKind::Box: painter.drawRect(QRectF(shape.first, shape.second).normalized()); break;
        case DrawingKind::Circle: painter.drawEllipse(shape.first, shape.radius, shape.radius); break;
        case DrawingKind::Text: painter.drawText(PrintBaseline(metrics, shape.first), shape.text); break;
        }
    }
    painter.restore();
}

} // namespace numbrelle
