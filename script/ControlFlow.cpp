// Blocks and loops. The statement list is flat, so blocks are matched as they
// run: each opener pushes an entry on the block stack, "}" closes the innermost
// one, and a loop repeats because its "}" sends control back to the loop
// statement, which then finds its own entry on top and carries on with it.

#include "script/Handlers.h"
#include "script/Interpreter.h"
#include "script/Messages.h"

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

// The operands are read before the operator is looked at, left first, so an
// operand that faults is reported as that fault even beside a bad operator.
Condition testCondition(Interpreter& interp, const CompiledStatement& compiled)
{
    Value left;
    Value right;
    if (!interp.checkedOperandValue(compiled.fields[0], left) || !interp.checkedOperandValue(compiled.fields[1], right))
        return Condition::Faulted;

    const Text& op = compiled.conditionOperator;
    if (op.empty())
        return left.isZeroText() ? Condition::Holds : Condition::DoesNotHold;
    if (op == u"==")
        return left.textEquals(right) ? Condition::Holds : Condition::DoesNotHold;
    if (op == u"=!")
        return left.textEquals(right) ? Condition::DoesNotHold : Condition::Holds;

    bool holds = false;
    std::int16_t a = 0;
    std::int16_t b = 0;
    if (op == u"<" || op == u"<=" || op == u">" || op == u">=") {
        if (!compareIntegers(interp, left, right, a, b))
            return Condition::Faulted;
    }
    if (op == u"<")
        holds = a < b;
    else if (op == u"<=")
        holds = a <= b;
    else if (op == u">")
        holds = a > b;
    else if (op == u">=")
        holds = a >= b;
    else
        return Condition::BadOperator;
    return holds ? Condition::Holds : Condition::DoesNotHold;
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

// The 16-bit integer of a value, 0 when it does not convert.
// A field's NumericValue; the field's own text when the evaluation faults.
Value numericOrWritten(Interpreter& interp, const Ref& field)
{
    Value value;
    if (!interp.checkedNumericValue(field, value))
        value = Value::ofText(field.text);
    return value;
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
    const Ref& counterName = fields[0];
    Value start = numericOrWritten(interp, fields[1]);
    Value end = numericOrWritten(interp, fields[2]);
    Value step = numericOrWritten(interp, fields[3]);
    std::int16_t s = interp.int16OrZero(start);
    std::int16_t e = interp.int16OrZero(end);
    std::int16_t d = 0;
    if (step.kind == ValueKind::Text && step.text.empty())
        d = e >= s ? 1 : -1;
    else
        d = interp.int16OrZero(step);

    if (!repeating) {
        interp.storeValue(counterName, start);
        if (s == e)
            push(interp, BlockKind::Plain, 1);
        else
            push(interp, BlockKind::For, interp.programCounter());
        return;
    }

    Value read;
    std::int16_t before = 0;
    bool readFaulted = !interp.checkedNumericValue(counterName, read);
    if (!readFaulted) {
        Fault fault = read.toInt16(before);
        interp.raise(fault);
        readFaulted = fault != Fault::None;
        if (readFaulted)
            before = 0;
    }
    std::int32_t sum = std::int32_t { before } + d;
    bool overflowed = sum < -32768 || sum > 32767;
    std::int16_t counter = before;
    if (overflowed)
        interp.raise(Fault::Overflow);
    else
        counter = static_cast<std::int16_t>(sum);
    interp.storeValue(counterName, Value::ofInt(counter));

    // A counter that cannot be read, cannot advance or is not kept by its
    // variable (a bit, an unknown name) would repeat the loop for ever. An int
    // counter keeps exactly what was stored, so only other kinds are read back.
    bool advanced = counter != before;
    if (advanced && read.kind != ValueKind::Int) {
        Value after;
        std::int16_t stored = 0;
        advanced = interp.variables().NumericValue(counterName, after) == Fault::None
            && after.toInt16(stored) == Fault::None && stored != before;
    }
    if (readFaulted || overflowed || !advanced) {
        closeOwnEntry(interp, 0);
        return;
    }

    bool last = d > 0 ? counter >= e : counter <= e;
    if (last)
        closeOwnEntry(interp, 1);
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
