#include "script/DrawingList.h"

namespace numbrelle {

const char* DrawingStatement(DrawingKind kind)
{
    switch (kind) {
    case DrawingKind::Line: return "line";
    case DrawingKind::Box: return "square";
    case DrawingKind::Circle: return "circle";
    case DrawingKind::Text: return "print";
    }
    return "drawing";
}

Fault AddDrawing(DrawingList& list, DrawingCommand command)
{
    if (list.entries.size() >= maxDrawingEntries || list.textChars + command.text.size() > maxDrawingTextChars)
        return Fault::Overflow;
    list.textChars += command.text.size();
    list.entries.push_back(std::move(command));
    return Fault::None;
}

} // namespace numbrelle
