// int, str, single and bit: each appends one variable to its table.
#include "script/Handlers.h"
#include "script/Interpreter.h"

namespace numbrelle {

namespace {

void declare(Interpreter& interp, const Statement& statement, VarType type)
{
    interp.raise(interp.variables().Declare(type, statement.operand));
}

} // namespace

void runDeclareInt(Interpreter& interp, const Statement& statement) { declare(interp, statement, VarType::Int); }
void runDeclareStr(Interpreter& interp, const Statement& statement) { declare(interp, statement, VarType::Str); }
void runDeclareSingle(Interpreter& interp, const Statement& statement) { declare(interp, statement, VarType::Single); }
void runDeclareBit(Interpreter& interp, const Statement& statement) { declare(interp, statement, VarType::Bit); }

} // namespace numbrelle
