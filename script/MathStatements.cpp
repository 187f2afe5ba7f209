// Functions of one number (sine, cosine and tangent of degrees, logarithms)
// and the plain assignment "=". Function values are rounded to four decimal
// places through a scaled integer, so questions show 0.7071 rather than the
// float's full expansion, and sin 180 is exactly 0.

#include "script/ExpandTemplate.h"
#include "script/Handlers.h"
#include "script/Operands.h"

#include <cmath>
#include <span>

namespace numbrelle {

namespace {

enum class Scale { Int16, Int32 };

// An argument is its field's numeric value or written text; one that does not
// convert is taken as 0.
double argument16(Interpreter& interp, const Ref& field)
{
    std::int16_t n = 0;
    if (interp.variables().quickNumericInt(field, n))
        return n;
    return int16OrZero(interp, numericOrWritten(interp, field));
}
double argument32(Interpreter& interp, const Ref& field)
{
    return int32OrZero(interp, numericOrWritten(interp, field));
}

// Stores f rounded to a multiple of 0.0001. When the scaled value does not fit
// its integer, nothing is stored: the target keeps its value and the overflow
// is reported.
void storeScaled(Interpreter& interp, const Ref& target, double f, Scale scale)
{
    double scaled = RoundHalfEven(f * 10000);
    std::int32_t r = 0;
    Fault fault = Fault::None;
    if (scale == Scale::Int16) {
        std::int16_t r16 = 0;
        fault = CheckedInt16(scaled, r16);
        r = r16;
    } else {
        fault = CheckedInt32(scaled, r);
    }
    if (fault != Fault::None) {
        interp.raise(fault);
        return;
    }
    // A multiple of 0.0001 within the 16-bit scale has at most five digits, so
    // the single nearest it is the value of its own text (a test checks every
    // one); a wider scale's may not be.
    const SingleKept kept = scale == Scale::Int16 ? SingleKept::Yes : SingleKept::No;
    interp.storeSingle(target, static_cast<float>(r / 10000.0), kept);
}

// The quotient pi / 180 is formed first, as the degree conversion always was.
double radians(double degrees) { return Interpreter::pi / 180 * degrees; }

// ln x, or a fault for x <= 0, where the logarithm is undefined.
bool logarithm(Interpreter& interp, double x, double& out)
{
    if (x <= 0) {
        interp.raise(Fault::InvalidArgument);
        return false;
    }
    out = std::log(x);
    return true;
}

// "=(t,[t]...)": a template that starts with the target's own value builds a
// text that starts with that text. When the whole is to be stored as it
// stands (below), only the rest is expanded and appended in place, rather than
// the whole copied and stored again; the steps, faults and text work are
// those of expanding the whole. Otherwise expanded receives what the
// expansion gives, and false is returned.
bool appendedToOwnText(Interpreter& interp, const CompiledStatement& compiled, Text& expanded)
{
    const std::vector<TemplatePiece>& pieces = compiled.templ;
    const VariableStore& variables = interp.variables();
    const Text* own = !pieces.empty() && pieces[0].isReference && !interp.watchesStores()
        ? variables.quickStr(compiled.fields[0])
        : nullptr;
    // A template that cannot be expanded passes on unexpanded.
    if (!own || variables.quickStr(pieces[0].reference) != own) {
        if (!ExpandTemplate(interp, pieces, expanded))
            expanded = compiled.fields[1].text;
        return false;
    }
    // Reading the reference is text work on its value.
    interp.chargeText(own->size());
    if (!ExpandRest(interp, std::span(pieces).subspan(1), own->size(), expanded)) {
        expanded = compiled.fields[1].text;
        return false;
    }
    if (own->size() + expanded.size() > variables.maxNameLength() && !contains(expanded, u':')
        && !interp.variables().strHoldsColon(compiled.fields[0])) {
        interp.raise(interp.variables().appendToStr(compiled.fields[0], expanded));
        return true;
    }
    expanded.insert(0, *own);
    return false;
}

} // namespace

void runSin(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    storeScaled(interp, fields[0], std::sin(radians(argument16(interp, fields[1]))), Scale::Int16);
}

void runCos(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    storeScaled(interp, fields[0], std::cos(radians(argument16(interp, fields[1]))), Scale::Int16);
}

void runTan(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    storeScaled(interp, fields[0], std::tan(radians(argument32(interp, fields[1]))), Scale::Int32);
}

void runLog(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    double ln = 0;
    if (logarithm(interp, argument32(interp, fields[1]), ln))
        storeScaled(interp, fields[0], ln, Scale::Int32);
}

void runLog10(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    // ln 10 first, then the quotient: log10 of 1000 then comes out just below
    // 3 and the scaled rounding makes it exactly 3.
    double ln10 = std::log(10.0);
    double ln = 0;
    if (logarithm(interp, argument32(interp, fields[1]), ln))
        storeScaled(interp, fields[0], ln / ln10, Scale::Int32);
}

void runLogBase(Interpreter& interp, const Statement& statement)
{
    const std::vector<Ref>& fields = statement.compiled.fields;
    double base = argument32(interp, fields[1]);
    double x = argument32(interp, fields[2]);
    double lnX = 0;
    double lnBase = 0;
    if (!logarithm(interp, x, lnX) || !logarithm(interp, base, lnBase))
        return;
    if (lnBase == 0) {
        // Base 1: x / 0, or 0 / 0 when x is 1 as well.
        interp.raise(lnX == 0 ? Fault::InvalidArgument : Fault::DivisionByZero);
        return;
    }
    storeScaled(interp, fields[0], lnX / lnBase, Scale::Int32);
}

void runAssign(Interpreter& interp, const Statement& statement)
{
    const CompiledStatement& compiled = statement.compiled;
    const Ref& source = compiled.fields[1];
    const std::vector<TemplatePiece>& pieces = compiled.templ;

    // The usual =(x,5) or =(x,n): a template that is its own field text needs
    // no expansion and reads through the field's prepared reference.
    bool plain = pieces.empty() ? source.text.empty()
                                : pieces.size() == 1 && !pieces[0].isReference && pieces[0].literal == source.text;
    if (plain) {
        interp.storeValue(compiled.fields[0], operandOrWritten(interp, source));
        return;
    }

    Text& expanded = interp.scratchText();
    if (appendedToOwnText(interp, compiled, expanded))
        return;
    // A text longer than every declared name, with no index part, names no
    // variable: it is its own value, and the (possibly long) text need not be
    // split and folded to find that out.
    if (expanded.size() > interp.variables().maxNameLength() && !contains(expanded, u':')) {
        interp.storeText(compiled.fields[0], expanded);
        return;
    }
    interp.storeValue(compiled.fields[0], operandOrWritten(interp, Ref(expanded)));
}

} // namespace numbrelle
