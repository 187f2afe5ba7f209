// The random statement: the only source of variety between questions. It draws
// r in [0, 1) from the platform's generator and stores r * A + B rounded to the
// nearest integer, so B..B+A are reachable with the two ends half as likely.

#include "script/Handlers.h"
#include "script/Operands.h"

#include "platform/Random.h"

namespace numbrelle {

void runRandom(Interpreter& interp, const Statement& statement)
{
    const CompiledStatement& compiled = statement.compiled;
    const std::vector<Ref>& fields = compiled.fields;
    // A field is only evaluated when its closing comma is written, so random(x)
    // reads neither width nor base and random(x,) reads an empty width, which
    // faults.
    std::int16_t width = compiled.closedFields >= 2 ? numericInt16OrZero(interp, fields[1]) : 0;
    std::int16_t base = compiled.closedFields >= 3 ? numericInt16OrZero(interp, fields[2]) : 0;

    // r, A and B are exact in a double and so is r * A + B, so only the final
    // rounding decides which integer a draw lands on.
    double drawn = static_cast<double>(interp.random().next()) * width + base;
    std::int16_t value = 0;
    interp.raise(CheckedInt16(RoundHalfEven(drawn), value));
    interp.storeInt(fields[0], value);
}

} // namespace numbrelle
