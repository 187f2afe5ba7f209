#include "script/Numbers.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>

namespace numbrelle {

namespace {

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Checks the number syntax and copies the unsigned part as ASCII for
// from_chars. Returns false for anything that is not a number.
bool scanNumber(TextView text, std::string& ascii, bool& negative)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    std::size_t i = begin;
    negative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < end && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < end && text[i] == u'.') {
        ++i;
        while (i < end && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < end && isDigit(text[i])) {
            ++i;
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return false;
    }
    if (i != end)
        return false;
    ascii.assign(end - start, '\0');
    for (std::size_t k = start; k < end; ++k)
        ascii[k - start] = static_cast<char>(text[k]);
    return true;
}

// from_chars reports a value beyond the double range without telling which
// way it went; the position of the first significant digit tells.
double outOfRangeValue(const std::string& ascii)
{
    long long pointPosition = 0;
    long long firstSignificant = 0;
    bool seenSignificant = false;
    bool seenPoint = false;
    long long position = 0;
    std::size_t i = 0;
    for (; i < ascii.size() && ascii[i] != 'e' && ascii[i] != 'E'; ++i) {
        if (ascii[i] == '.') {
            seenPoint = true;
            pointPosition = position;
            continue;
        }
        if (ascii[i] != '0' && !seenSignificant) {
            seenSignificant = true;
            firstSignificant = position;
        }
        ++position;
    }
    if (!seenPoint)
        pointPosition = position;
    long long exponent = 0;
    if (i < ascii.size()) {
        ++i;
        bool negativeExponent = false;
        if (i < ascii.size() && (ascii[i] == '+' || ascii[i] == '-'))
            negativeExponent = ascii[i++] == '-';
        for (; i < ascii.size(); ++i)
            exponent = std::min<long long>(exponent * 10 + (ascii[i] - '0'), 1'000'000'000LL);
        if (negativeExponent)
            exponent = -exponent;
    }
    if (!seenSignificant)
        return 0.0;
    const long long magnitude = pointPosition - firstSignificant + exponent;
    return magnitude > 0 ? HUGE_VAL : 0.0;
}

} // namespace

std::optional<double> ParseNumber(TextView text)
{
    std::string ascii;
    bool negative = false;
    if (!scanNumber(text, ascii, negative))
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(ascii.data(), ascii.data() + ascii.size(), value);
    if (result.ec == std::errc::result_out_of_range)
        value = outOfRangeValue(ascii);
    return negative ? -value : value;
}

double RoundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction < 0.5)
        return floor;
    if (fraction > 0.5)
        return floor + 1;
    return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

Fault CheckedInt16(double rounded, std::int16_t& out)
{
    if (!(rounded >= -32768.0 && rounded <= 32767.0))
        return Fault::Overflow;
    out = static_cast<std::int16_t>(rounded);
    return Fault::None;
}

Fault CheckedInt32(double rounded, std::int32_t& out)
{
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0))
        return Fault::Overflow;
    out = static_cast<std::int32_t>(rounded);
    return Fault::None;
}

Fault ToInt16(TextView text, std::int16_t& out)
{
    // Most operands are short plain integers ("1", "-7", "1000"); they need
    // neither the full syntax check nor a double.
    if (!text.empty() && text.size() <= 5) {
        std::size_t i = text[0] == u'-' ? 1 : 0;
        std::int32_t magnitude = 0;
        if (i < text.size()) {
            for (; i < text.size() && isDigit(text[i]); ++i)
                magnitude = magnitude * 10 + (text[i] - u'0');
            if (i == text.size() && magnitude <= 32767) {
                out = static_cast<std::int16_t>(text[0] == u'-' ? -magnitude : magnitude);
                return Fault::None;
            }
        }
    }
    const auto value = ParseNumber(text);
    if (!value)
        return Fault::TypeMismatch;
    return CheckedInt16(RoundHalfEven(*value), out);
}

Fault ToInt32(TextView text, std::int32_t& out)
{
    const auto value = ParseNumber(text);
    if (!value)
        return Fault::TypeMismatch;
    return CheckedInt32(RoundHalfEven(*value), out);
}

Fault ToSingle(TextView text, float& out)
{
    const auto value = ParseNumber(text);
    if (!value)
        return Fault::TypeMismatch;
    // Even a value that would round down to the largest single is refused.
    if (std::fabs(*value) > FLT_MAX)
        return Fault::Overflow;
    out = static_cast<float>(*value);
    return Fault::None;
}

void AppendIntegerText(Text& out, std::int32_t value)
{
    char buffer[16];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

Text IntegerText(std::int32_t value)
{
    Text out;
    AppendIntegerText(out, value);
    return out;
}

void AppendSingleText(Text& out, float value)
{
    if (std::isnan(value)) {
        out += u"NaN";
        return;
    }
    if (std::isinf(value)) {
        out += value < 0 ? u"-Infinity" : u"Infinity";
        return;
    }
    if (value == 0) {
        out += u'0'; // negative zero included
        return;
    }
    // to_chars with a precision formats exactly as printf's %.7g does, which
    // rounds the exact binary value half to even; only the exponent letter differs.
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
        std::chars_format::general, 7);
    for (const char* p = buffer; p != result.ptr; ++p)
        out += *p == 'e' ? u'E' : static_cast<char16_t>(*p);
}

Text SingleText(float value)
{
    Text out;
    AppendSingleText(out, value);
    return out;
}

} // namespace numbrelle
