// The random statement: the only source of variety between questions. It draws
// r in [0, 1) from the platform's generator and stores r * A + B rounded to the
// nearest integer, so B..B+A are reachable with the two ends half as likely.

#include "script/Handlers.h"
#include "script/Interpreter.h"
#include "script/Numbers.h"

#include "platform/Random.h"

namespace numbrelle {

namespace {

// How many of the width and base fields the operand reaches. A field is only
// evaluated when its closing comma is written, so random(x) reads neither and
// random(x,) reads an empty width, which faults.
int fieldsClosed(TextView operand)
{
    int commas = 0;
    for (char16_t c : operand) {
        if (c == u',' && ++commas == 3)
            break;
    }
    return commas - 1;
}

} // namespace

void runRandom(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    int closed = fieldsClosed(statement.operand);
    std::int16_t width = closed >= 1 ? interp.numericInt16OrZero(fields[1]) : 0;
    std::int16_t base = closed >= 2 ? interp.numericInt16OrZero(fields[2]) : 0;

    // r, A and B are exact in a double and so is r * A + B, so only the final
    // rounding decides which integer a draw lands on.
    double drawn = static_cast<double>(interp.random().next()) * width + base;
    std::int16_t value = 0;
    Fault fault = CheckedInt16(RoundHalfEven(drawn), value);
    if (fault != Fault::None) {
        interp.raise(fault);
        value = 0;
    }
    interp.storeValue(fields[0], Value::ofInt(value));
}

} // namespace numbrelle
