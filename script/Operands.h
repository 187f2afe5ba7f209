// The reads every statement handler shares, so that each rule of reading an
// operand is written once: the checked readers raise their fault on the
// statement and answer whether there was none; the "OrZero" readers go on
// with 0, the "OrWritten" readers with the field's own text.
#pragma once

#include "script/Interpreter.h"
#include "script/Numbers.h"

#include <cstdint>

namespace numbrelle {

// The field's NumericValue; its written text when the evaluation faults.
inline Value numericOrWritten(Interpreter& interp, const Ref& field)
{
    Value value;
    if (!interp.checkedNumericValue(field, value))
        value = Value::ofText(field.text);
    return value;
}

// The field's OperandValue; its written text when the evaluation faults.
inline Value operandOrWritten(Interpreter& interp, const Ref& field)
{
    Value value;
    if (!interp.checkedOperandValue(field, value))
        value = Value::ofText(field.text);
    return value;
}

// Converts a value, raising the fault; false when it faulted, n then 0.
inline bool checkedInt16(Interpreter& interp, const Value& value, std::int16_t& n)
{
    const Fault fault = value.toInt16(n);
    interp.raise(fault);
    if (fault == Fault::None)
        return true;
    n = 0;
    return false;
}

inline std::int16_t int16OrZero(Interpreter& interp, const Value& value)
{
    std::int16_t n = 0;
    checkedInt16(interp, value, n);
    return n;
}

inline std::int32_t int32OrZero(Interpreter& interp, const Value& value)
{
    std::int32_t n = 0;
    const Fault fault = value.toInt32(n);
    interp.raise(fault);
    return fault == Fault::None ? n : 0;
}

inline float singleOrZero(Interpreter& interp, const Value& value)
{
    float n = 0;
    const Fault fault = value.toSingle(n);
    interp.raise(fault);
    return fault == Fault::None ? n : 0;
}

// Evaluation and conversion as one step, 0 when either faults: how the
// statements read coordinates, widths and bounds.
inline std::int16_t numericInt16OrZero(Interpreter& interp, const Ref& field)
{
    Value value;
    std::int16_t n = 0;
    if (interp.checkedNumericValue(field, value))
        checkedInt16(interp, value, n);
    return n;
}

} // namespace numbrelle
