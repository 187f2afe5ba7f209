#include "script/Value.h"

#include "script/Numbers.h"

#include <charconv>
#include <cmath>

namespace numbrelle {

namespace {

// A finite single read back through its 7-digit text form, as a double. The
// round trip is part of the language: 1/3 stored in a single reads 0.3333333.
double throughSingleText(float value) { return SingleTextValue(value); }

} // namespace

Text Value::toText() const
{
    Text out;
    appendTo(out);
    return out;
}

void Value::appendTo(Text& out) const
{
    switch (kind) {
    case ValueKind::Int: AppendIntegerText(out, intValue); break;
    case ValueKind::Single: AppendSingleText(out, singleValue); break;
    case ValueKind::Bit: out += bitValue ? u'1' : u'0'; break;
    case ValueKind::Text: out += text; break;
    }
}

bool Value::isZeroText() const
{
    switch (kind) {
    case ValueKind::Int: return intValue == 0;
    case ValueKind::Single: return singleValue == 0;
    case ValueKind::Bit: return !bitValue;
    case ValueKind::Text: break;
    }
    return text == u"0";
}

bool Value::isOneText() const
{
    switch (kind) {
    case ValueKind::Int: return intValue == 1;
    case ValueKind::Bit: return bitValue;
    case ValueKind::Single: return std::isfinite(singleValue) && throughSingleText(singleValue) == 1.0;
    case ValueKind::Text: break;
    }
    return text == u"1";
}

bool Value::textEquals(const Value& other) const
{
    if (kind == ValueKind::Int && other.kind == ValueKind::Int)
        return intValue == other.intValue;
    if (kind == ValueKind::Text && other.kind == ValueKind::Text)
        return text == other.text;
    return toText() == other.toText();
}

// The integer conversions differ only in their range.
template <typename Integer, Fault (*checked)(double, Integer&), Fault (*fromText)(TextView, Integer&)>
Fault Value::toInteger(Integer& out) const
{
    switch (kind) {
    case ValueKind::Int: out = intValue; return Fault::None;
    case ValueKind::Bit: out = bitValue ? 1 : 0; return Fault::None;
    case ValueKind::Single:
        if (!std::isfinite(singleValue))
            return Fault::TypeMismatch;
        return checked(RoundHalfEven(throughSingleText(singleValue)), out);
    case ValueKind::Text: break;
    }
    if (hasNumber)
        return checked(RoundHalfEven(number), out);
    return fromText(text, out);
}

Fault Value::slowToInt16(std::int16_t& out) const
{
    return toInteger<std::int16_t, CheckedInt16<double>, ToInt16>(out);
}

Fault Value::toInt32(std::int32_t& out) const { return toInteger<std::int32_t, CheckedInt32, ToInt32>(out); }

Fault Value::toSingle(float& out) const
{
    switch (kind) {
    case ValueKind::Int: out = intValue; return Fault::None;
    case ValueKind::Bit: out = bitValue ? 1.0f : 0.0f; return Fault::None;
    case ValueKind::Single:
        if (!std::isfinite(singleValue))
            return Fault::TypeMismatch;
        out = static_cast<float>(throughSingleText(singleValue));
        return Fault::None;
    case ValueKind::Text: break;
    }
    if (hasNumber)
        return SingleFromDouble(number, out);
    return ToSingle(text, out);
}

Ref::Ref(TextView written)
    : text(written)
{
    if (const auto parsed = ParseNumber(written)) {
        isNumber = true;
        number = *parsed;
        isSingle = SingleFromDouble(number, single) == Fault::None;
        std::int16_t value = 0;
        if (written.size() <= 6 && CheckedInt16(RoundHalfEven(number), value) == Fault::None
            && IntegerText(value) == written) {
            isIntegerText = true;
            integer = value;
        }
    }
    const std::size_t firstColon = written.find(u':');
    foldedName = FoldName(written.substr(0, firstColon));
    if (firstColon != TextView::npos) {
        hasIndex = true;
        const TextView key = written.substr(written.rfind(u':') + 1);
        indexText.assign(1, u'0');
        indexText.append(key.begin(), key.end());
        foldedIndexKey = FoldName(key);
        indexFault = ToInt16(indexText, indexValue);
    }
}

} // namespace numbrelle
