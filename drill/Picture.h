// Drawing a question's DrawingList. Coordinates are thousandths of the
// picture's height, for x as well as y; the pen width belongs to the picture
// and carries over from one entry, and one question, to the next.
#pragma once

#include "script/DrawingList.h"

#include <QColor>
#include <QPointF>
#include <QString>

#include <vector>

class QFontMetricsF;
class QPainter;

namespace numbrelle {

inline constexpr double twipsPerPixel = 15.0;

// One entry of a DrawingList where it lands on the picture, in pixels: what
// the picture paints, and what anything measuring the picture measures.
struct PlacedDrawing {
    std::size_t entry = 0; // its index in the list
    DrawingKind kind = DrawingKind::Line;
    QPointF first; // a line's start, a box's corner, a circle's centre, a text's top-left
    QPointF second; // a line's end, the box's opposite corner
    double radius = 0;
    int penWidth = 1; // the width in force
    bool filled = false;
    QColor colour;
    QString text;
};

// The entries that draw something, in list order, placed on a picture
// heightTwips high. penWidth is the picture's pen width in pixels, read and
// updated as painting would.
std::vector<PlacedDrawing> PlaceDrawingList(const DrawingList& list, float heightTwips, int& penWidth);

// Where a printed text with its top-left corner at topLeft has its baseline.
QPointF PrintBaseline(const QFontMetricsF& metrics, QPointF topLeft);

// Draws every entry in list order on painter, whose coordinates are the
// picture's pixels; heightTwips is the picture's height. penWidth is the
// picture's pen width in pixels, read and updated.
void PaintDrawingList(QPainter& painter, const DrawingList& list, float heightTwips, int& penWidth);

} // namespace numbrelle
