// Every number rule of the language in one place: the text-to-number
// conversions, the text forms of numbers, and rounding. Values travel between
// statements as texts, so these rules decide what a question shows and which
// answer it expects.
#pragma once

#include "script/Fault.h"
#include "script/Text.h"

#include <bit>
#include <cstdint>
#include <optional>

namespace numbrelle {

// Parses the number syntax shared by every conversion: optional U+0020 blanks
// around; an optional sign; digits with an optional "." and fraction, or "."
// and digits; an optional exponent (E or e, optional sign, digits). Nothing
// else is a number. Infinite when the magnitude is beyond the double range.
std::optional<double> ParseNumber(TextView text);

// Rounds to the nearest integer, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

Fault ToInt16(TextView text, std::int16_t& out);
Fault ToInt32(TextView text, std::int32_t& out);
Fault ToSingle(TextView text, float& out);

// A parsed number as a single: beyond the largest single is an overflow.
Fault SingleFromDouble(double value, float& out);
// The one 16-bit range check, for rounded doubles and exact integer results
// alike; a NaN is outside the range too.
template <typename Number> Fault CheckedInt16(Number value, std::int16_t& out)
{
    if (!(value >= -32768 && value <= 32767))
        return Fault::Overflow;
    out = static_cast<std::int16_t>(value);
    return Fault::None;
}
// Range-checked conversion of an already rounded double.
Fault CheckedInt32(double rounded, std::int32_t& out);

// What a finite single reads as once written with SingleText and read back:
// the nearest double to its 7-significant-digit form.
double SingleTextValue(float value);
// The bits of the smallest singles at or above 1e-10 and 1e7; Numbers.cpp
// checks them against the powers of ten it works them out from.
inline constexpr std::uint32_t sevenDigitRangeLow = 0x2EDBE6FFu;
inline constexpr std::uint32_t sevenDigitRangeEnd = 0x4B189680u;

// Whether 1e-10 <= |value| < 1e7, where SingleText and SingleTextValue take
// their fast, exact way (and where nearly every script value lies). A
// positive single's bits order as its values do.
inline bool InSevenDigitRange(float value)
{
    const std::uint32_t magnitude = std::bit_cast<std::uint32_t>(value) & 0x7FFFFFFFu;
    return magnitude >= sevenDigitRangeLow && magnitude < sevenDigitRangeEnd;
}

Text IntegerText(std::int32_t value);
// At most 7 significant digits, as "%.7G" writes them; negative zero is "0";
// non-finite values are "Infinity", "-Infinity" and "NaN", which no conversion
// accepts, so they never reach a numeric variable.
Text SingleText(float value);
void AppendSingleText(Text& out, float value);
void AppendIntegerText(Text& out, std::int32_t value);

} // namespace numbrelle
