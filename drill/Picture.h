// Drawing a question's DrawingList. Coordinates are thousandths of the
// picture's height, for x as well as y; the pen width belongs to the picture
// and carries over from one entry, and one question, to the next.
#pragma once

#include "script/DrawingList.h"

class QPainter;

namespace numbrelle {

inline constexpr double twipsPerPixel = 15.0;

// Draws every entry in list order on painter, whose coordinates are the
// picture's pixels; heightTwips is the picture's height. penWidth is the
// picture's pen width in pixels, read and updated.
void PaintDrawingList(QPainter& painter, const DrawingList& list, float heightTwips, int& penWidth);

} // namespace numbrelle
