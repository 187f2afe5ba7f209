// line, square and circle: each appends one command to the question's drawing
// list; the window draws the list after the run. A field that faults counts as
// 0 and the entry is still appended, so one bad coordinate does not lose the
// whole shape.

#include "script/Handlers.h"
#include "script/Numbers.h"
#include "script/Operands.h"

namespace numbrelle {

namespace {

// Pen widths and colour components may be left out: an empty field takes its
// default without a fault.
std::int16_t numberOr(Interpreter& interp, const Ref& field, std::int16_t fallback)
{
    return field.text.empty() ? fallback : numericInt16OrZero(interp, field);
}

// Colour components are kept as converted; the picture limits them to 0..255
// when it draws.
void setColour(Interpreter& interp, const Ref* fields, DrawingCommand& command)
{
    command.red = numberOr(interp, fields[0], 0);
    command.green = numberOr(interp, fields[1], 0);
    command.blue = numberOr(interp, fields[2], 0);
}

void append(Interpreter& interp, DrawingCommand&& command) { interp.addDrawing(std::move(command)); }

DrawingCommand corners(Interpreter& interp, const std::vector<Ref>& fields, DrawingKind kind)
{
    DrawingCommand command;
    command.kind = kind;
    command.x1 = numericInt16OrZero(interp, fields[0]);
    command.y1 = numericInt16OrZero(interp, fields[1]);
    command.x2 = numericInt16OrZero(interp, fields[2]);
    command.y2 = numericInt16OrZero(interp, fields[3]);
    return command;
}

} // namespace

void runLine(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    DrawingCommand command = corners(interp, fields, DrawingKind::Line);
    command.text = IntegerText(numberOr(interp, fields[4], 1));
    setColour(interp, &fields[5], command);
    append(interp, std::move(command));
}

// A box's width field is kept as text: it may be "#paint" for a filled box.
void runSquare(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    DrawingCommand command = corners(interp, fields, DrawingKind::Box);
    const Ref& width = fields[4];
    if (!width.text.empty())
        command.text = numericOrWritten(interp, width).toText();
    setColour(interp, &fields[5], command);
    append(interp, std::move(command));
}

void runCircle(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    DrawingCommand command;
    command.kind = DrawingKind::Circle;
    command.x1 = numericInt16OrZero(interp, fields[0]);
    command.y1 = numericInt16OrZero(interp, fields[1]);
    command.x2 = numericInt16OrZero(interp, fields[2]);
    command.text = IntegerText(numberOr(interp, fields[3], 1));
    setColour(interp, &fields[4], command);
    append(interp, std::move(command));
}

} // namespace numbrelle
