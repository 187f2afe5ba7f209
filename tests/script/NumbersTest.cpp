#include "script/Numbers.h"

#include <bit>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

using namespace numbrelle;

namespace {

struct IntCase {
    std::u16string text;
    Fault fault;
    std::int16_t value;
};

TEST(Numbers, ToInt16FollowsTheNumberSyntaxAndRoundsHalfToEven)
{
    const IntCase cases[] = {
        { u"2.5", Fault::None, 2 },
        { u"3.5", Fault::None, 4 },
        { u"-2.5", Fault::None, -2 },
        { u"0.5", Fault::None, 0 },
        { u"1.5", Fault::None, 2 },
        { u" 12 ", Fault::None, 12 },
        { u"+7", Fault::None, 7 },
        { u"1e3", Fault::None, 1000 },
        { u"1E+3", Fault::None, 1000 },
        { u"25e-1", Fault::None, 2 },
        { u".5", Fault::None, 0 },
        { u"5.", Fault::None, 5 },
        { u"-32768", Fault::None, -32768 },
        { u"32767", Fault::None, 32767 },
        { u"-32768.5", Fault::None, -32768 },
        { u"1e-999", Fault::None, 0 },
        { u"32767.5", Fault::Overflow, 0 },
        { u"40000", Fault::Overflow, 0 },
        { u"-32769", Fault::Overflow, 0 },
        { u"1e999", Fault::Overflow, 0 },
        { u"", Fault::TypeMismatch, 0 },
        { u" ", Fault::TypeMismatch, 0 },
        { u"abc", Fault::TypeMismatch, 0 },
        { u"1,000", Fault::TypeMismatch, 0 },
        { u"0x10", Fault::TypeMismatch, 0 },
        { u"\uFF11\uFF12", Fault::TypeMismatch, 0 },
        { u"1e", Fault::TypeMismatch, 0 },
        { u"e5", Fault::TypeMismatch, 0 },
        { u".", Fault::TypeMismatch, 0 },
        { u"+-1", Fault::TypeMismatch, 0 },
        { u"\t1", Fault::TypeMismatch, 0 },
        { u"1 2", Fault::TypeMismatch, 0 },
        { u"Infinity", Fault::TypeMismatch, 0 },
        { u"NaN", Fault::TypeMismatch, 0 },
    };
    for (const IntCase& c : cases) {
        std::int16_t value = 0;
        EXPECT_EQ(ToInt16(c.text, value), c.fault) << utf8(c.text);
        if (c.fault == Fault::None) {
            EXPECT_EQ(value, c.value) << utf8(c.text);
        }
    }
}

TEST(Numbers, ToInt32HasTheWiderRange)
{
    std::int32_t value = 0;
    EXPECT_EQ(ToInt32(u"40000", value), Fault::None);
    EXPECT_EQ(value, 40000);
    EXPECT_EQ(ToInt32(u"-2147483648", value), Fault::None);
    EXPECT_EQ(value, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(ToInt32(u"2147483647.5", value), Fault::Overflow);
    EXPECT_EQ(ToInt32(u"x", value), Fault::TypeMismatch);
}

TEST(Numbers, ToSingleRefusesEverythingBeyondTheLargestSingle)
{
    float value = 0;
    EXPECT_EQ(ToSingle(u"0.1", value), Fault::None);
    EXPECT_EQ(value, 0.1f);
    EXPECT_EQ(ToSingle(u"3.4028234e38", value), Fault::None);
    // Would round down to the largest single, but lies above it.
    EXPECT_EQ(ToSingle(u"3.4028235e38", value), Fault::Overflow);
    EXPECT_EQ(ToSingle(u"-1e39", value), Fault::Overflow);
    EXPECT_EQ(ToSingle(u"1e-50", value), Fault::None);
    EXPECT_EQ(value, 0.0f);
    EXPECT_EQ(ToSingle(u"Infinity", value), Fault::TypeMismatch);
    EXPECT_EQ(ToSingle(u"-Infinity", value), Fault::TypeMismatch);
}

TEST(Numbers, SingleTextWritesSevenSignificantDigits)
{
    const std::pair<float, std::u16string> cases[] = {
        { 0.5f, u"0.5" },
        { -0.25f, u"-0.25" },
        { 3.0f, u"3" },
        { 1.0f / 3.0f, u"0.3333333" },
        { 2.0f / 3.0f, u"0.6666667" },
        { 1234567.0f, u"1234567" },
        { 12345678.0f, u"1.234568E+07" },
        { 10000000.0f, u"1E+07" },
        { 1e10f, u"1E+10" },
        { 1e-5f, u"1E-05" },
        { 2.5e-6f, u"2.5E-06" },
        { 0.0001f, u"0.0001" },
        { 0.1f, u"0.1" },
        { 0.1f * 3.0f, u"0.3" },
        { -0.0f, u"0" },
        { 0.0f, u"0" },
        { 57.29f, u"57.29" },
        { std::numeric_limits<float>::infinity(), u"Infinity" },
        { -std::numeric_limits<float>::infinity(), u"-Infinity" },
        { std::numeric_limits<float>::quiet_NaN(), u"NaN" },
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(utf8(SingleText(value)), utf8(text)) << value;
}

// What the general formatter makes of a single: its text as %.7G writes it,
// and the value of that text.
struct Formatted {
    std::string text;
    double value = 0;
};

Formatted formatted(float value)
{
    char buffer[32];
    const auto written
        = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value), std::chars_format::general, 7);
    Formatted result { std::string(buffer, written.ptr), 0 };
    for (char& c : result.text)
        c = c == 'e' ? 'E' : c;
    std::from_chars(buffer, written.ptr, result.value);
    return result;
}

float singleOfBits(std::uint32_t bits)
{
    float value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// The fast seven-digit rounding must agree with the general formatter on
// every single: a spread of a million bit patterns covers every binade, and
// the halfway cases are among them.
TEST(Numbers, SingleTextAgreesWithTheGeneralFormatter)
{
    int compared = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 4093) {
        const float value = singleOfBits(static_cast<std::uint32_t>(bits));
        if (!std::isfinite(value) || value == 0)
            continue;
        const Formatted expected = formatted(value);
        ASSERT_EQ(utf8(SingleText(value)), expected.text) << bits;
        ASSERT_EQ(SingleTextValue(value), expected.value) << expected.text;
        ++compared;
    }
    EXPECT_GT(compared, 1000000);
}

// A single element keeps the value of its own text in place of the single
// stored (VariableStore.h), which must show the same text and read as the
// same number. Every single of the range has been checked once; these
// patterns keep checking.
TEST(Numbers, TheValueOfASinglesTextIsItsOwnValue)
{
    int compared = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFu; bits += 4093) {
        const float value = singleOfBits(static_cast<std::uint32_t>(bits));
        if (!InSevenDigitRange(value))
            continue;
        const auto kept = static_cast<float>(SingleTextValue(value));
        ASSERT_EQ(SingleText(kept), SingleText(value)) << bits;
        ASSERT_EQ(static_cast<float>(SingleTextValue(kept)), kept) << bits;
        ++compared;
    }
    EXPECT_GT(compared, 200000);
    for (const float edge : { 1e-10f, -1e-10f, 9999999.0f, 9999999.5f, 1e7f, 0.0f }) {
        const bool inRange = std::fabs(edge) >= 1e-10 && std::fabs(edge) < 1e7;
        EXPECT_EQ(InSevenDigitRange(edge), inRange) << edge;
    }
}

// =sin and =cos store a multiple of 0.0001 in the 16-bit scale as the single
// nearest it, taken to be the value of its own text without rounding again.
TEST(Numbers, EveryScaledSixteenBitValueIsItsOwnTextsValue)
{
    for (std::int32_t r = -32768; r <= 32767; ++r) {
        const auto value = static_cast<float>(r / 10000.0);
        ASSERT_EQ(static_cast<float>(SingleTextValue(value)), value) << r;
    }
}

// The fast rounding finds the decimal exponent by comparing with the singles
// nearest each power of ten, where a digit is most easily lost or gained.
TEST(Numbers, SingleTextAgreesAroundPowersOfTen)
{
    for (int k = -12; k <= 8; ++k) {
        const auto nearest = std::bit_cast<std::uint32_t>(static_cast<float>(std::pow(10.0, k)));
        for (std::uint32_t bits = nearest - 8; bits <= nearest + 8; ++bits) {
            for (const float value : { singleOfBits(bits), -singleOfBits(bits) }) {
                const Formatted expected = formatted(value);
                ASSERT_EQ(utf8(SingleText(value)), expected.text) << bits;
                ASSERT_EQ(SingleTextValue(value), expected.value) << expected.text;
            }
        }
    }
}

TEST(Numbers, IntegerTextAndRounding)
{
    EXPECT_EQ(IntegerText(0), u"0");
    EXPECT_EQ(IntegerText(25), u"25");
    EXPECT_EQ(IntegerText(-32768), u"-32768");
    const std::pair<double, double> rounding[] = {
        { 2.5, 2 },
        { 3.5, 4 },
        { -2.5, -2 },
        { -3.5, -4 },
        { 0.49999999999999994, 0 },
        { 12.5, 12 },
        { 13.5, 14 },
        { 87.5, 88 },
        { -0.5, -0.0 },
    };
    for (const auto& [in, out] : rounding)
        EXPECT_EQ(RoundHalfEven(in), out) << in;
}

} // namespace
