// Values as statements pass them to one another. In the language every value
// is a text; keeping the type a value came from lets an int be read and stored
// again without a round trip through its text, which gives the same result.
#pragma once

#include "script/Fault.h"
#include "script/Text.h"

#include <cstdint>

namespace numbrelle {

enum class ValueKind : std::uint8_t { Int, Single, Bit, Text };

struct Value {
    ValueKind kind = ValueKind::Text;
    std::int16_t intValue = 0;
    float singleValue = 0;
    bool bitValue = false;
    // For ValueKind::Text: valid until the next store or declaration.
    TextView text;
    // A text known to be a number (an operand written as one) carries its
    // value, so converting it again need not parse it again.
    bool hasNumber = false;
    double number = 0;

    static Value ofInt(std::int16_t v)
    {
        Value r;
        r.kind = ValueKind::Int;
        r.intValue = v;
        return r;
    }
    static Value ofSingle(float v)
    {
        Value r;
        r.kind = ValueKind::Single;
        r.singleValue = v;
        return r;
    }
    static Value ofBit(bool v)
    {
        Value r;
        r.kind = ValueKind::Bit;
        r.bitValue = v;
        return r;
    }
    static Value ofText(TextView v)
    {
        Value r;
        r.kind = ValueKind::Text;
        r.text = v;
        return r;
    }

    // The value's text form: IntegerText, SingleText, "1"/"0", or the text.
    Text toText() const;
    void appendTo(Text& out) const;
    // True when the text form is exactly "0" (the bit statements' false).
    bool isZeroText() const;
    bool isOneText() const;
    bool textEquals(const Value& other) const;

    // The conversions of the language applied to the value's text form.
    Fault toInt16(std::int16_t& out) const
    {
        if (kind != ValueKind::Int)
            return slowToInt16(out);
        out = intValue;
        return Fault::None;
    }
    Fault toInt32(std::int32_t& out) const;
    Fault toSingle(float& out) const;

private:
    Fault slowToInt16(std::int16_t& out) const;
    template <typename Integer, Fault (*checked)(double, Integer&), Fault (*fromText)(TextView, Integer&)>
    Fault toInteger(Integer& out) const;
};

// Where a reference's name led the last time it was looked up: a table and an
// entry (-1: no variable). Valid while the store's stamp is unchanged, that is
// within one run and with no declaration since.
struct Resolution {
    std::uint64_t stamp = 0;
    std::int8_t table = -1;
    std::int32_t entry = -1;
    std::int16_t upperBound = 0;
    // An int variable's elements. They never move once declared (an entry's
    // array is made whole by its declaration), and the stamp changes with
    // every declaration and run, so the pointer is as valid as the rest.
    const std::int16_t* ints = nullptr;
    // A single variable's elements, valid in the same way.
    const float* singles = nullptr;
};

// A variable reference as written in an operand: a name, or name:index. It is
// split once; which variable it names is cached until a declaration could
// change the answer.
struct Ref {
    Text text; // exactly as written
    Text foldedName; // before the first ":", ASCII letters folded
    bool hasIndex = false;
    Text indexText; // "0" and the characters after the last ":"
    Text foldedIndexKey; // the characters after the last ":", folded: an int variable's name?
    // ToInt16 of indexText, for when the key names no int variable.
    Fault indexFault = Fault::None;
    std::int16_t indexValue = 0;

    // The text is an int as IntegerText writes it ("7", "-12"): when no
    // variable has the name, its value can be that int, which reads the same.
    bool isIntegerText = false;
    std::int16_t integer = 0;
    bool isNumber = false; // the text has the number syntax
    double number = 0;
    // ToSingle of the text, when it is a number within the single range.
    bool isSingle = false;
    float single = 0;

    // The value of the reference when no variable has its name.
    Value literal() const
    {
        if (isIntegerText)
            return Value::ofInt(integer);
        Value value = Value::ofText(text);
        value.hasNumber = isNumber;
        value.number = number;
        return value;
    }

    mutable Resolution any; // int, str, single, bit
    mutable Resolution numeric; // int, single, bit
    mutable Resolution key; // the index key among the ints

    Ref() = default;
    explicit Ref(TextView written);
};

} // namespace numbrelle
