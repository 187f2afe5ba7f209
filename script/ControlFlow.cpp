// Blocks and loops. The statement list is flat, so blocks are matched as they
// run: each opener pushes an entry on the block stack, "}" closes the innermost
// one, and a loop repeats because its "}" sends control back to the loop
// statement, which then finds its own entry on top and carries on with it.

#include "script/Handlers.h"
#include "script/Messages.h"
#include "script/Operands.h"

namespace numbrelle {

namespace {

enum class Condition { Holds, DoesNotHold, BadOperator, Faulted };

void push(Interpreter& interp, BlockKind kind, std::int32_t value)
{
    interp.raise(interp.blocks().push(kind, static_cast<std::int16_t>(value)));
}

// The loop at the program counter is repeating when its own entry is on top.
bool ownEntryOnTop(Interpreter& interp, BlockKind kind)
{
    const BlockStack& blocks = interp.blocks();
    return !blocks.empty() && blocks.top().kind == kind && blocks.top().value == interp.programCounter();
}

bool compareIntegers(Interpreter& interp, const Value& left, const Value& right, std::int16_t& a, std::int16_t& b)
{
    Fault fault = left.toInt16(a);
    if (fault == Fault::None)
        fault = right.toInt16(b);
    interp.raise(fault);
    return fault == Fault::None;
}

bool ordered(Comparison comparison, std::int16_t a, std::int16_t b)
{
    switch (comparison) {
    case Comparison::Less: return a < b;
    case Comparison::LessOrEqual: return a <= b;
    case Comparison::Greater: return a > b;
    case Comparison::GreaterOrEqual: return a >= b;
    default: return false;
    }
}

Condition holdsWhen(bool holds) { return holds ? Condition::Holds : Condition::DoesNotHold; }

// Both operands ints read straight from their variables or written as
// integers, as loops test them: their texts are equal exactly when the
// numbers are, "0" is the number 0, and neither can fault.
bool quickCondition(Interpreter& interp, const CompiledStatement& compiled, Condition& out)
{
    std::int16_t a = 0;
    std::int16_t b = 0;
    const VariableStore& variables = interp.variables();
    if (compiled.comparison == Comparison::Invalid || !variables.quickOperandInt(compiled.fields[0], a)
        || !variables.quickOperandInt(compiled.fields[1], b))
        return false;
    switch (compiled.comparison) {
    case Comparison::None: out = holdsWhen(a == 0); break;
    case Comparison::Equal: out = holdsWhen(a == b); break;
    case Comparison::NotEqual: out = holdsWhen(a != b); break;
    default: out = holdsWhen(ordered(compiled.comparison, a, b)); break;
    }
    return true;
}

// The operands are read before the operator is looked at, left first, so an
// operand that faults is reported as that fault even beside a bad operator.
Condition testCondition(Interpreter& interp, const CompiledStatement& compiled)
{
    Condition quick = Condition::Faulted;
    if (quickCondition(interp, compiled, quick))
        return quick;
    Value left;
    Value right;
    if (!interp.checkedOperandValue(compiled.fields[0], left) || !interp.checkedOperandValue(compiled.fields[1], right))
        return Condition::Faulted;

    switch (compiled.comparison) {
    case Comparison::None: return holdsWhen(left.isZeroText());
    case Comparison::Equal: return holdsWhen(left.textEquals(right));
    case Comparison::NotEqual: return holdsWhen(!left.textEquals(right));
    case Comparison::Invalid: return Condition::BadOperator;
    default: break;
    }
    std::int16_t a = 0;
    std::int16_t b = 0;
    if (!compareIntegers(interp, left, right, a, b))
        return Condition::Faulted;
    return holdsWhen(ordered(compiled.comparison, a, b));
}

// The condition result of "if{" and "while{": 1 holds, 0 does not. A faulting
// condition holds when an operator was written, so that a loop testing a bad
// operand ends rather than runs.
bool conditionResult(Interpreter& interp, const CompiledStatement& compiled, Condition condition)
{
    switch (condition) {
    case Condition::Holds: return true;
    case Condition::DoesNotHold: return false;
    case Condition::BadOperator: interp.ReportScriptError(messages::invalidOperator); return false;
    case Condition::Faulted: return compiled.operatorSeen;
    }
    return false;
}

void closeOwnEntry(Interpreter& interp, std::int16_t value) { interp.blocks().setTop(BlockKind::Plain, value); }

// A for loop's start, end and step, read afresh on every pass. All three are
// evaluated before any is converted; an empty step counts towards the end.
struct LoopBounds {
    std::int16_t start = 0;
    std::int16_t end = 0;
    std::int16_t step = 0;
};

// Bounds that all read as ints with no fault, an empty step that names no
// variable included (the usual for(i,1,10)), need no texts in between.
bool quickLoopBounds(const VariableStore& variables, const std::vector<Ref>& fields, LoopBounds& bounds)
{
    if (!variables.quickNumericInt(fields[1], bounds.start) || !variables.quickNumericInt(fields[2], bounds.end))
        return false;
    if (variables.quickNamesNothing(fields[3]) && fields[3].text.empty())
        bounds.step = bounds.end >= bounds.start ? 1 : -1;
    else if (!variables.quickNumericInt(fields[3], bounds.step))
        return false;
    return true;
}

// startValue, when asked for, receives the start as it was read: the first
// pass stores it into the counter as it stands.
LoopBounds loopBounds(Interpreter& interp, const std::vector<Ref>& fields, Value* startValue)
{
    LoopBounds bounds;
    if (quickLoopBounds(interp.variables(), fields, bounds)) {
        if (startValue)
            *startValue = Value::ofInt(bounds.start);
        return bounds;
    }
    const Value start = numericOrWritten(interp, fields[1]);
    const Value end = numericOrWritten(interp, fields[2]);
    const Value step = numericOrWritten(interp, fields[3]);
    bounds.start = int16OrZero(interp, start);
    bounds.end = int16OrZero(interp, end);
    if (step.kind == ValueKind::Text && step.text.empty())
        bounds.step = bounds.end >= bounds.start ? 1 : -1;
    else
        bounds.step = int16OrZero(interp, step);
    if (startValue)
        *startValue = start;
    return bounds;
}

// The counter as a 16-bit integer; false (with the fault raised) when it
// cannot be read as one.
bool readCounter(Interpreter& interp, const Ref& counter, std::int16_t& out)
{
    if (interp.variables().quickNumericInt(counter, out))
        return true;
    Value read;
    return interp.checkedNumericValue(counter, read) && checkedInt16(interp, read, out);
}

// Whether the counter's variable kept the value stored into it, read back: a
// bit keeps only true, and a name that is no variable (a written number
// included) keeps nothing.
bool counterKept(Interpreter& interp, const Ref& counter, std::int16_t previous)
{
    const VariableStore& variables = interp.variables();
    std::int16_t stored = 0;
    if (variables.quickNumericInt(counter, stored))
        return stored != previous;
    Value after;
    return variables.NumericValue(counter, after) == Fault::None && after.toInt16(stored) == Fault::None
        && stored != previous;
}

// One more pass of a repeating loop: the counter advances by the step, and the
// loop's entry closes after the pass that reaches the end. A counter that
// cannot be read, cannot advance or is not kept by its variable would repeat
// the loop for ever, so the loop ends at once instead.
void stepLoop(Interpreter& interp, const Ref& counterName, const LoopBounds& bounds)
{
    std::int16_t before = 0;
    const bool readable = readCounter(interp, counterName, before);
    std::int16_t counter = before;
    const Fault overflow = CheckedInt16(std::int32_t { before } + bounds.step, counter);
    interp.raise(overflow);
    interp.storeInt(counterName, counter);

    const bool advanced = counter != before && counterKept(interp, counterName, before);
    if (!readable || overflow != Fault::None || !advanced)
        closeOwnEntry(interp, 0);
    else if (bounds.step > 0 ? counter >= bounds.end : counter <= bounds.end)
        closeOwnEntry(interp, 1);
}

} // namespace

void runIf(Interpreter& interp, const Statement& statement)
{
    const CompiledStatement& compiled = statement.compiled;
    bool result = conditionResult(interp, compiled, testCondition(interp, compiled));
    push(interp, BlockKind::Plain, result ? 1 : 0);
}

void runElse(Interpreter& interp, const Statement&)
{
    BlockStack& blocks = interp.blocks();
    if (blocks.empty()) {
        interp.raise(Fault::SubscriptOutOfRange);
        return;
    }
    if (blocks.top().kind != BlockKind::Plain) {
        interp.ReportScriptError(messages::elseOutsideIf);
        return;
    }
    closeOwnEntry(interp, blocks.top().value == 0 ? 1 : 0);
}

// The loop repeats while its condition does not hold.
void runWhile(Interpreter& interp, const Statement& statement)
{
    bool repeating = ownEntryOnTop(interp, BlockKind::While);
    // Nothing inside a skipped block can change the condition, so a loop met
    // there is opened as a skipped block instead of being tested for ever.
    if (!repeating && interp.blocks().skipDepth() > 0) {
        push(interp, BlockKind::Plain, 0);
        return;
    }

    const CompiledStatement& compiled = statement.compiled;
    Condition condition = testCondition(interp, compiled);
    bool holds = conditionResult(interp, compiled, condition);
    // A condition that cannot be tested would fail the same way on every pass.
    bool broken = condition == Condition::BadOperator || condition == Condition::Faulted;

    if (repeating) {
        if (holds || broken)
            closeOwnEntry(interp, 0);
        return;
    }
    if (holds)
        push(interp, BlockKind::Plain, 0);
    else
        push(interp, BlockKind::While, interp.programCounter());
}

void runFor(Interpreter& interp, const Statement& statement)
{
    bool repeating = ownEntryOnTop(interp, BlockKind::For);
    if (!repeating && interp.blocks().skipDepth() > 0) {
        push(interp, BlockKind::Plain, 0);
        return;
    }
    const std::vector<Ref>& fields = statement.compiled.fields;
    if (repeating) {
        stepLoop(interp, fields[0], loopBounds(interp, fields, nullptr));
        return;
    }
    Value startValue;
    const LoopBounds bounds = loopBounds(interp, fields, &startValue);
    interp.storeValue(fields[0], startValue);
    if (bounds.start == bounds.end)
        push(interp, BlockKind::Plain, 1);
    else
        push(interp, BlockKind::For, interp.programCounter());
}

void runClose(Interpreter& interp, const Statement&)
{
    BlockStack& blocks = interp.blocks();
    if (blocks.empty()) {
        interp.raise(Fault::SubscriptOutOfRange);
        return;
    }
    const BlockEntry& top = blocks.top();
    if (top.kind == BlockKind::Plain)
        blocks.pop();
    else
        interp.setProgramCounter(top.value - 1);
}

void runBreak(Interpreter& interp, const Statement&)
{
    BlockStack& blocks = interp.blocks();
    for (std::size_t i = blocks.size(); i-- > 0;) {
        const BlockEntry& entry = blocks.at(i);
        if (entry.kind == BlockKind::While || entry.kind == BlockKind::For) {
            blocks.set(i, BlockKind::Plain, 0);
            return;
        }
    }
    interp.ReportScriptError(messages::breakOutsideLoop);
}

} // namespace numbrelle
