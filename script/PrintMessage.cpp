// print puts a short text on the question picture (one Text entry of the
// drawing list); msgbox shows its expanded text at once, in the middle of the
// run, and the run waits for the box to close.

#include "script/ExpandTemplate.h"
#include "script/Handlers.h"
#include "script/Operands.h"

namespace numbrelle {

// The text is a value, not a template: a numeric variable prints its value,
// anything else (a str variable's name included) prints as written.
void runPrint(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    DrawingCommand command;
    command.kind = DrawingKind::Text;
    command.text = numericOrWritten(interp, fields[0]).toText();
    command.x1 = numericInt16OrZero(interp, fields[1]);
    command.y1 = numericInt16OrZero(interp, fields[2]);
    interp.addDrawing(std::move(command));
}

// The whole operand is one template: commas are part of the message.
void runMsgbox(Interpreter& interp, const Statement& statement)
{
    Text message;
    if (ExpandTemplate(interp, statement.compiled.templ, message))
        interp.showMessage(message);
}

} // namespace numbrelle
