#include "script/Numbers.h"

#include <algorithm>
#include <bit>
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

constexpr std::uint64_t powersOf5[] = { 1ULL, 5ULL, 25ULL, 125ULL, 625ULL, 3125ULL, 15625ULL, 78125ULL, 390625ULL,
    1953125ULL, 9765625ULL, 48828125ULL, 244140625ULL, 1220703125ULL, 6103515625ULL, 30517578125ULL, 152587890625ULL };
constexpr double powersOf10[]
    = { 1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16 };

// Rounds |value| to 7 significant digits, halves to even, exactly as printf
// does, for magnitudes from 1e-10 up to 1e7 (where nearly every script value
// lies): |value| = digits x 10^(exponent - 6) with 10^6 <= digits < 10^7.
// A single is M x 2^E with a 24-bit M, so |value| x 10^k is M x 5^k x 2^(E+k):
// integer arithmetic gives it exactly. Outside that range the caller falls
// back to the general formatter.
bool sevenDigits(float value, std::uint32_t& digits, int& exponent)
{
    const float magnitude = std::fabs(value);
    if (!(magnitude >= 1e-10f && magnitude < 1e7f))
        return false;
    // In range the single is normal: 24-bit mantissa with its hidden bit.
    const auto bits = std::bit_cast<std::uint32_t>(magnitude);
    const std::uint64_t mantissa = (bits & 0x7FFFFFu) | 0x800000u;
    const int binaryExponent = static_cast<int>(bits >> 23) - 127 - 23;
    // floor(log10(2) x floor(log2 |value|)), possibly one too low; the loop corrects it.
    const int log2 = binaryExponent + 23;
    int decimalExponent = log2 >= 0 ? (log2 * 78913) >> 18 : -((-log2 * 78913 + 262143) >> 18);
    // The logarithm may be one off near powers of ten; the integer test decides.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int k = 6 - decimalExponent;
        if (k < 0 || k > 16)
            return false;
        const unsigned __int128 scaled = static_cast<unsigned __int128>(mantissa) * powersOf5[k];
        const int shift = -(binaryExponent + k);
        unsigned __int128 whole = 0;
        unsigned __int128 rest = 0;
        unsigned __int128 half = 0;
        if (shift <= 0) {
            whole = scaled << -shift;
        } else {
            whole = scaled >> shift;
            rest = scaled & ((static_cast<unsigned __int128>(1) << shift) - 1);
            half = static_cast<unsigned __int128>(1) << (shift - 1);
        }
        if (whole < 1000000) {
            --decimalExponent;
            continue;
        }
        if (whole >= 10000000) {
            ++decimalExponent;
            continue;
        }
        if (shift > 0 && (rest > half || (rest == half && (whole & 1))))
            ++whole;
        if (whole == 10000000) {
            whole = 1000000;
            ++decimalExponent;
        }
        digits = static_cast<std::uint32_t>(whole);
        exponent = decimalExponent;
        return true;
    }
    return false;
}

} // namespace

double SingleTextValue(float value)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? 0.0 : static_cast<double>(value);
    std::uint32_t digits = 0;
    int exponent = 0;
    if (sevenDigits(value, digits, exponent)) {
        // Both operands are exact doubles, so the one division rounds exactly
        // as reading the decimal text would.
        const double magnitude = exponent >= 6 ? static_cast<double>(digits) * powersOf10[exponent - 6]
                                               : static_cast<double>(digits) / powersOf10[6 - exponent];
        return value < 0 ? -magnitude : magnitude;
    }
    char buffer[32];
    const auto written
        = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 7);
    double result = 0;
    std::from_chars(buffer, written.ptr, result);
    return result;
}

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

Fault SingleFromDouble(double value, float& out)
{
    // Even a value that would round down to the largest single is refused.
    if (std::fabs(value) > FLT_MAX)
        return Fault::Overflow;
    out = static_cast<float>(value);
    return Fault::None;
}

Fault ToSingle(TextView text, float& out)
{
    const auto value = ParseNumber(text);
    if (!value)
        return Fault::TypeMismatch;
    return SingleFromDouble(*value, out);
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
    std::uint32_t digits = 0;
    int exponent = 0;
    if (sevenDigits(value, digits, exponent)) {
        if (value < 0)
            out += u'-';
        char text[8];
        for (int i = 6; i >= 0; --i, digits /= 10)
            text[i] = static_cast<char>('0' + digits % 10);
        int significant = 7;
        while (significant > 1 && text[significant - 1] == '0')
            --significant;
        if (exponent < -4) {
            // Exponent form below 0.0001, as %G writes it: 2.5E-06.
            out += static_cast<char16_t>(text[0]);
            if (significant > 1) {
                out += u'.';
                out.append(text + 1, text + significant);
            }
            out += u"E-";
            AppendIntegerText(out, -exponent < 10 ? 0 : (-exponent) / 10);
            out += static_cast<char16_t>(u'0' + (-exponent) % 10);
        } else if (exponent >= 0) {
            out.append(text, text + std::min(exponent + 1, 7));
            if (significant > exponent + 1) {
                out += u'.';
                out.append(text + exponent + 1, text + significant);
            }
        } else {
            out += u"0.";
            out.append(static_cast<std::size_t>(-exponent - 1), u'0');
            out.append(text, text + significant);
        }
        return;
    }
    // to_chars with a precision formats exactly as printf's %.7g does, which
    // rounds the exact binary value half to even; only the exponent letter differs.
    char buffer[32];
    const auto result
        = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 7);
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
