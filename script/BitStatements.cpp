// Truth values on the text form of values: a value is false when its text is
// exactly "0" and true otherwise, except for bit=xor, which counts only the
// exact text "1" as true. Results are 1 or 0, stored into a target of any type.

#include "script/Handlers.h"
#include "script/Interpreter.h"

namespace numbrelle {

namespace {

// An operand that faults takes part with its written text.
Value operand(Interpreter& interp, const Ref& field)
{
    Value value;
    if (!interp.checkedNumericValue(field, value))
        value = Value::ofText(field.text);
    return value;
}

template <typename Rule> void runTwoOperands(Interpreter& interp, const Statement& statement, Rule rule)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    Value x = operand(interp, fields[1]);
    Value y = operand(interp, fields[2]);
    interp.storeValue(fields[0], Value::ofInt(rule(x, y) ? 1 : 0));
}

} // namespace

void runNot(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    Value x = operand(interp, fields[1]);
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
