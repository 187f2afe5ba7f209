#include "script/ExpandTemplate.h"

#include "script/Interpreter.h"
#include "script/Limits.h"

namespace numbrelle {

bool ExpandTemplate(Interpreter& interp, const std::vector<TemplatePiece>& pieces, Text& out)
{
    return ExpandRest(interp, pieces, 0, out);
}

bool ExpandRest(Interpreter& interp, std::span<const TemplatePiece> pieces, std::size_t leading, Text& out)
{
    out.clear();
    for (const TemplatePiece& piece : pieces) {
        if (piece.isReference) {
            Value value;
            if (!interp.checkedOperandValue(piece.reference, value))
                return false;
            value.appendTo(out);
        } else {
            out += piece.literal;
        }
        if (leading + out.size() > maxTextLength) {
            interp.raise(Fault::Overflow);
            out.clear();
            return false;
        }
    }
    return true;
}

void AppendExpanded(Interpreter& interp, const std::vector<TemplatePiece>& pieces, RecordField field)
{
    Text& expanded = interp.scratchText();
    if (ExpandTemplate(interp, pieces, expanded))
        interp.appendToRecord(field, expanded);
}

} // namespace numbrelle
