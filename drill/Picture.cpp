#include "drill/Picture.h"

#include "drill/PictureRules.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <algorithm>
#include <array>

namespace numbrelle {

namespace {

QColor colourOf(const DrawingCommand& entry)
{
    auto component = [](std::int16_t value) { return std::clamp<int>(value, 0, 255); };
    return QColor(component(entry.red), component(entry.green), component(entry.blue));
}

double pixels(std::int16_t twips) { return twips / twipsPerPixel; }

// A coordinate whose scaled value does not fit keeps the previous entry's.
void scale(const DrawingCommand& entry, float heightTwips, std::array<std::int16_t, 4>& scaled)
{
    const std::array<std::int16_t, 4> units { entry.x1, entry.y1, entry.x2, entry.y2 };
    for (std::size_t i = 0; i < units.size(); ++i) {
        if (std::optional<std::int16_t> twips = UnitsToTwips(heightTwips, units[i]))
            scaled[i] = *twips;
    }
}

} // namespace

std::vector<PlacedDrawing> PlaceDrawingList(const DrawingList& list, float heightTwips, int& penWidth)
{
    std::vector<PlacedDrawing> placed;
    placed.reserve(list.entries.size());
    std::array<std::int16_t, 4> scaled {};
    for (std::size_t index = 0; index < list.entries.size(); ++index) {
        const DrawingCommand& entry = list.entries[index];
        scale(entry, heightTwips, scaled);
        penWidth = PenWidthAfter(entry, penWidth);
        PlacedDrawing shape;
        shape.entry = index;
        shape.kind = entry.kind;
        shape.first = QPointF(pixels(scaled[0]), pixels(scaled[1]));
        shape.second = QPointF(pixels(scaled[2]), pixels(scaled[3]));
        shape.colour = colourOf(entry);
        shape.penWidth = penWidth;
        switch (shape.kind) {
        case DrawingKind::Line: break;
        case DrawingKind::Box: shape.filled = IsPaint(entry.text); break;
        case DrawingKind::Circle:
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
