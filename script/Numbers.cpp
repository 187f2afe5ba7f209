#include "script/Numbers.h"

#include <algorithm>
#include <array>
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

// The range of the seven-digit rounding below: 10^-10 <= |value| < 10^7, where
// nearly every script value lies. Outside it the general formatter is used.
constexpr int lowestExponent = -10;
constexpr int highestExponent = 6;

// A positive normal single as M x 2^E with its 24-bit mantissa M.
struct BinarySingle {
    std::uint64_t mantissa;
    int exponent;
};

constexpr BinarySingle binaryOf(std::uint32_t bits)
{
    return { (bits & 0x7FFFFFu) | 0x800000u, static_cast<int>(bits >> 23) - 127 - 23 };
}

// Whether the positive normal single with these bits is at least 10^k, decided
// exactly in integers: M x 2^E >= 10^k. Within the range every side fits in
// 64 bits (M x 10^10 < 2^58, and 2^-E < 2^60).
constexpr bool atLeastPowerOfTen(std::uint32_t bits, int k)
{
    const BinarySingle single = binaryOf(bits);
    std::uint64_t left = single.mantissa;
    std::uint64_t right = 1;
    for (int i = 0; i < (k < 0 ? -k : k); ++i)
        (k < 0 ? left : right) *= 10;
    if (single.exponent >= 0)
        left <<= single.exponent;
    else
        right <<= -single.exponent;
    return left >= right;
}

// The bits of the smallest single at or above 10^k. A positive single's bits
// order as its values do, so |value| >= 10^k exactly when its bits are at
// least these.
constexpr std::uint32_t powerOfTenThreshold(int k)
{
    double power = 1;
    for (int i = 0; i < (k < 0 ? -k : k); ++i)
        power = k < 0 ? power / 10 : power * 10;
    auto bits = std::bit_cast<std::uint32_t>(static_cast<float>(power));
    while (!atLeastPowerOfTen(bits, k))
        ++bits;
    while (atLeastPowerOfTen(bits - 1, k))
        --bits;
    return bits;
}

constexpr auto powerOfTenThresholds = [] {
    std::array<std::uint32_t, highestExponent - lowestExponent + 2> thresholds {};
    for (int k = lowestExponent; k <= highestExponent + 1; ++k)
        thresholds[static_cast<std::size_t>(k - lowestExponent)] = powerOfTenThreshold(k);
    return thresholds;
}();

static_assert(powerOfTenThresholds.front() == sevenDigitRangeLow && powerOfTenThresholds.back() == sevenDigitRangeEnd);

std::uint32_t thresholdOf(int k) { return powerOfTenThresholds[static_cast<std::size_t>(k - lowestExponent)]; }

// Rounds |value| to 7 significant digits, halves to even, exactly as printf
// does: |value| = digits x 10^(exponent - 6) with 10^6 <= digits < 10^7.
// The decimal exponent comes from the thresholds above; then, with
// k = 6 - exponent, |value| x 10^k = M x 5^k x 2^(E+k), which 64-bit integers
// hold exactly (M x 5^16 < 2^62). False outside the range.
bool sevenDigits(float value, std::uint32_t& digits, int& exponent)
{
    if (!InSevenDigitRange(value))
        return false;
    const auto bits = std::bit_cast<std::uint32_t>(std::fabs(value));
    const BinarySingle single = binaryOf(bits);
    // floor(log10 |value|) is floor(log10(2) x floor(log2 |value|)) or one more.
    const int log2 = single.exponent + 23;
    int decimalExponent = log2 >= 0 ? (log2 * 78913) >> 18 : -((-log2 * 78913 + 262143) >> 18);
    if (decimalExponent < highestExponent && bits >= thresholdOf(decimalExponent + 1))
        ++decimalExponent;
    const int k = highestExponent - decimalExponent;
    const std::uint64_t scaled = single.mantissa * powersOf5[k];
    const int shift = -(single.exponent + k);
    std::uint64_t whole = scaled;
    if (shift > 0) {
        whole = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t { 1 } << shift) - 1);
        const std::uint64_t half = std::uint64_t { 1 } << (shift - 1);
        if (rest > half || (rest == half && (whole & 1)))
            ++whole;
    } else {
        whole = scaled << -shift;
    }
    if (whole == 10000000) {
        whole = 1000000;
        ++decimalExponent;
    }
    digits = static_cast<std::uint32_t>(whole);
    exponent = decimalExponent;
    return true;
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
