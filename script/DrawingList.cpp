#include "script/DrawingList.h"

namespace numbrelle {

Fault AddDrawing(DrawingList& list, DrawingCommand command)
{
    // The last index is a 16-bit number: index 32767 is the last one there is.
    if (list.entries.size() >= 32768)
        return Fault::Overflow;
    list.entries.push_back(std::move(command));
    return Fault::None;
}

} // namespace numbrelle
