// The arithmetic statements: target, first operand, second operand. The
// keyword fixes the number type (16-bit integers, or singles for the dec=
// family); operands are read as values and converted, and the result goes back
// through StoreValue, which converts it to the target's type.
//
// The steps follow the language's working texts exactly, because scripts see
// what a faulting step leaves behind: an operand that cannot be evaluated
// leaves the previous working text in place, so a bad second operand counts as
// equal to the first, and a faulting operation leaves the first operand as the
// result.

#include "script/Handlers.h"
#include "script/Operands.h"

#include <cmath>

namespace numbrelle {

namespace {

struct Operands {
    const Ref& target;
    Value first; // what the working text held when the first operand was converted
    Value second; // likewise for the second
};

// Steps 1, 2 and 4: the working text starts as the last character the operand
// scan read and is replaced by each operand's value that can be evaluated.
Operands evaluateOperands(Interpreter& interp, const CompiledStatement& compiled)
{
    Value working = Value::ofText(compiled.scanLast);
    Value value;
    if (interp.checkedNumericValue(compiled.fields[1], value))
        working = value;
    Value first = working;
    if (interp.checkedNumericValue(compiled.fields[2], value))
        working = value;
    return { compiled.fields[0], first, working };
}

// Each integer operation answers its fault and writes out only on success.
using IntegerOperation = Fault (*)(std::int16_t, std::int16_t, std::int16_t&);

Fault add(std::int16_t a, std::int16_t b, std::int16_t& out) { return CheckedInt16(std::int32_t { a } + b, out); }
Fault subtract(std::int16_t a, std::int16_t b, std::int16_t& out) { return CheckedInt16(std::int32_t { a } - b, out); }
Fault multiply(std::int16_t a, std::int16_t b, std::int16_t& out) { return CheckedInt16(std::int32_t { a } * b, out); }

// Truncating division; -32768 / -1 is the one quotient outside the range.
Fault divide(std::int16_t a, std::int16_t b, std::int16_t& out)
{
    if (b == 0)
        return Fault::DivisionByZero;
    return CheckedInt16(std::int32_t { a } / b, out);
}

// The remainder takes the sign of the dividend. -32768 mod -1 faults like the
// quotient it comes from.
Fault modulo(std::int16_t a, std::int16_t b, std::int16_t& out)
{
    if (b == 0)
        return Fault::DivisionByZero;
    if (a == -32768 && b == -1)
        return Fault::Overflow;
    out = static_cast<std::int16_t>(std::int32_t { a } % b);
    return Fault::None;
}

Fault power(std::int16_t a, std::int16_t b, std::int16_t& out)
{
    if (a == 0 && b < 0)
        return Fault::DivisionByZero;
    return CheckedInt16(RoundHalfEven(std::pow(static_cast<double>(a), static_cast<double>(b))), out);
}

// Both operands ints read straight from their variables or written as
// integers, as in loops: neither can fault, so no working text is left behind
// and the steps above come to these two values.
bool quickIntegerOperands(Interpreter& interp, const CompiledStatement& compiled, std::int16_t& a, std::int16_t& b)
{
    const VariableStore& variables = interp.variables();
    return variables.quickNumericInt(compiled.fields[1], a) && variables.quickNumericInt(compiled.fields[2], b);
}

// The operation is a template argument so that it is compiled into the
// runner of each statement rather than called through a pointer.
template <IntegerOperation operation> void runInteger(Interpreter& interp, const Statement& statement)
{
    std::int16_t a = 0;
    std::int16_t b = 0;
    if (quickIntegerOperands(interp, statement.compiled, a, b)) {
        interp.raise(operation(a, b, a));
        interp.storeInt(statement.compiled.fields[0], a);
        return;
    }
    Operands operands = evaluateOperands(interp, statement.compiled);
    std::int16_t result = int16OrZero(interp, operands.first);
    std::int16_t second = int16OrZero(interp, operands.second);
    interp.raise(operation(result, second, result));
    interp.storeInt(operands.target, result);
}

// Each single operation writes its result (infinite or undefined ones too, as
// the floating-point unit leaves them) and answers the fault to raise.
using SingleOperation = Fault (*)(float, float, float&);

// Single operands are finite, so only an overflow of the single range can
// make a sum, difference or product infinite.
Fault rangeCheck(float result, float& out)
{
    out = result;
    return std::isfinite(result) ? Fault::None : Fault::Overflow;
}

Fault decAdd(float a, float b, float& out) { return rangeCheck(a + b, out); }
Fault decSubtract(float a, float b, float& out) { return rangeCheck(a - b, out); }
Fault decMultiply(float a, float b, float& out) { return rangeCheck(a * b, out); }

Fault decDivide(float a, float b, float& out)
{
    out = a / b;
    if (b == 0)
        return a == 0 ? Fault::InvalidArgument : Fault::DivisionByZero;
    return std::isfinite(out) ? Fault::None : Fault::Overflow;
}

// Undefined powers fault before anything is written. A power beyond the single
// (or double) range is not checked: it becomes infinite, and only a numeric
// target then refuses it.
Fault decPower(float a, float b, float& out)
{
    if (a == 0 && b < 0)
        return Fault::DivisionByZero;
    if (a < 0 && std::trunc(b) != b)
        return Fault::InvalidArgument;
    out = static_cast<float>(std::pow(static_cast<double>(a), static_cast<double>(b)));
    return Fault::None;
}

// As quickIntegerOperands, for operands converted to singles.
bool quickSingleOperands(Interpreter& interp, const CompiledStatement& compiled, float& a, float& b)
{
    const VariableStore& variables = interp.variables();
    return variables.quickNumericSingle(compiled.fields[1], a) && variables.quickNumericSingle(compiled.fields[2], b);
}

template <SingleOperation operation> void runSingle(Interpreter& interp, const Statement& statement)
{
    const CompiledStatement& compiled = statement.compiled;
    float result = 0;
    float second = 0;
    if (!quickSingleOperands(interp, compiled, result, second)) {
        Operands operands = evaluateOperands(interp, compiled);
        result = singleOrZero(interp, operands.first);
        second = singleOrZero(interp, operands.second);
    }
    const Ref& target = compiled.fields[0];
    interp.raise(operation(result, second, result));
    if (std::isfinite(result)) {
        interp.storeSingle(target, result);
        return;
    }
    // The text of an infinite or undefined result is no number: a str target
    // takes it, a bit target becomes true, a numeric target refuses it.
    Text text = SingleText(result);
    interp.storeValue(target, Value::ofText(text));
}

} // namespace

void runAdd(Interpreter& interp, const Statement& statement) { runInteger<add>(interp, statement); }
void runSubtract(Interpreter& interp, const Statement& statement) { runInteger<subtract>(interp, statement); }
void runMultiply(Interpreter& interp, const Statement& statement) { runInteger<multiply>(interp, statement); }
void runDivide(Interpreter& interp, const Statement& statement) { runInteger<divide>(interp, statement); }
void runPower(Interpreter& interp, const Statement& statement) { runInteger<power>(interp, statement); }
void runMod(Interpreter& interp, const Statement& statement) { runInteger<modulo>(interp, statement); }

void runDecAdd(Interpreter& interp, const Statement& statement) { runSingle<decAdd>(interp, statement); }
void runDecSubtract(Interpreter& interp, const Statement& statement) { runSingle<decSubtract>(interp, statement); }
void runDecMultiply(Interpreter& interp, const Statement& statement) { runSingle<decMultiply>(interp, statement); }
void runDecDivide(Interpreter& interp, const Statement& statement) { runSingle<decDivide>(interp, statement); }
void runDecPower(Interpreter& interp, const Statement& statement) { runSingle<decPower>(interp, statement); }

} // namespace numbrelle
