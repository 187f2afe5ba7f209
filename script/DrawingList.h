// The picture of one question: what the drawing statements and print asked for,
// in picture units (thousandths of the picture's height, origin top-left).
// Nothing is drawn while a script runs; the window draws the list afterwards.
#pragma once

#include "script/Fault.h"
#include "script/Limits.h"
#include "script/Text.h"

#include <cstdint>
#include <vector>

namespace numbrelle {

enum class DrawingKind : std::int16_t { Line = 0, Box = 1, Circle = 2, Text = 3 };

// The statement that appends each kind, which is how reports name it, since
// that is the word the author wrote: "line", "square", "circle", "print";
// "drawing" for a number that is no kind.
const char* DrawingStatement(DrawingKind kind);

struct DrawingCommand {
    DrawingKind kind = DrawingKind::Line;
    std::int16_t x1 = 0;
    std::int16_t y1 = 0;
    std::int16_t x2 = 0; // the radius of a circle
    std::int16_t y2 = 0;
    Text text; // pen width text, "#paint", or the printed text
    std::int16_t red = 0;
    std::int16_t green = 0;
    std::int16_t blue = 0;

    bool operator==(const DrawingCommand&) const = default;
};

struct DrawingList {
    std::vector<DrawingCommand> entries;
    std::size_t textChars = 0;

    bool empty() const { return entries.empty(); }
};

// Appends one command; a list that already holds maxDrawingEntries, or whose
// texts would grow past their limit, faults with overflow and adds nothing.
Fault AddDrawing(DrawingList& list, DrawingCommand command);

} // namespace numbrelle
