// The run-time faults a statement step can raise. A faulting step is abandoned,
// its destination keeps its value, and the run loop reports the last fault after
// the statement.
#pragma once

#include <cstdint>

namespace numbrelle {

enum class Fault : std::uint8_t {
    None,
    TypeMismatch,
    Overflow,
    SubscriptOutOfRange,
    DivisionByZero,
    InvalidArgument,
};

} // namespace numbrelle
