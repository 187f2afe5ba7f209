// Truth values on the text form of values: a value is false when its text is
// exactly "0" and true otherwise, except for bit=xor, which counts only the
// exact text "1" as true. Results are 1 or 0, stored into a target of any type.

#include "script/Handlers.h"
#include "script/Operands.h"

namespace numbrelle {

namespace {

template <typename Rule> void runTwoOperands(Interpreter& interp, const Statement& statement, Rule rule)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    Value x = numericOrWritten(interp, fields[1]);
    Value y = numericOrWritten(interp, fields[2]);
    interp.storeValue(fields[0], Value::ofInt(rule(x, y) ? 1 : 0));
}

} // namespace

void runNot(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    Value x = numericOrWritten(interp, fields[1]);
    interp.storeValue(fields[0], Value::ofInt(x.isZeroText() ? 1 : 0));
}

void runBitAnd(Interpreter& interp, const Statement& statement)
{
    runTwoOperands(
        interp, statement, [](const Value& x, const Value& y) { return !x.isZeroText() && !y.isZeroText(); });
}

void runBitOr(Interpreter& interp, const Statement& statement)
{
    runTwoOperands(
        interp, statement, [](const Value& x, const Value& y) { return !x.isZeroText() || !y.isZeroText(); });
}

void runBitXor(Interpreter& interp, const Statement& statement)
{
    runTwoOperands(interp, statement, [](const Value& x, const Value& y) { return x.isOneText() != y.isOneText(); });
}

void runBitNand(Interpreter& interp, const Statement& statement)
{
    runTwoOperands(interp, statement, [](const Value& x, const Value& y) { return x.isZeroText() || y.isZeroText(); });
}

void runBitNor(Interpreter& interp, const Statement& statement)
{
    runTwoOperands(interp, statement, [](const Value& x, const Value& y) { return x.isZeroText() && y.isZeroText(); });
}

} // namespace numbrelle
