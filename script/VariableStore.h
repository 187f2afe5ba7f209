// The script's variables: four typed tables searched in the order int, str,
// single, bit. Every variable is an array indexed from 0. The first declaration
// of a name keeps winning: later namesakes are stored but never found.
#pragma once

#include "script/Fault.h"
#include "script/Limits.h"
#include "script/Numbers.h"
#include "script/Text.h"
#include "script/Value.h"

#include <array>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace numbrelle {

enum class VarType : std::uint8_t { Int = 0, Str = 1, Single = 2, Bit = 3 };

// Whether a single is known to be the value of its own text (SingleTextValue).
enum class SingleKept : std::uint8_t { No, Yes };

// Which tables a name is looked up in: OperandValue searches all four,
// NumericValue all but str, and an index names only an int variable.
enum class Lookup : std::uint8_t { AnyType, Numeric, IntsOnly };

// The first entry of each table declared under one folded name, -1 for none.
struct NameSlots {
    std::array<std::int32_t, 4> first { -1, -1, -1, -1 };
};

template <typename T> struct VariableEntry {
    Text name;
    std::int16_t upperBound = 0;
    std::vector<T> elements;
};

// Where a reference landed: a table, an entry and an element index.
struct Location {
    VarType type = VarType::Int;
    std::int32_t entry = -1;
    std::int16_t index = 0;
};

class VariableStore {
public:
    VariableStore();
    void clear();

    // Runs a declaration statement's operand (closing "," included).
    Fault Declare(VarType type, TextView operandText);

    // The value of an operand: a variable's element, or the text itself when no
    // variable has the name. NumericValue does not search the str table.
    Fault OperandValue(const Ref& ref, Value& out) const
    {
        return quickRead(ref, ref.any, out) ? Fault::None : slowValue(ref, Lookup::AnyType, out);
    }
    Fault NumericValue(const Ref& ref, Value& out) const
    {
        return quickRead(ref, ref.numeric, out) ? Fault::None : slowValue(ref, Lookup::Numeric, out);
    }
    // NumericValue when it is an int that needs no conversion and cannot
    // fault: an element of an int variable, or a written integer that names no
    // variable. False when the reference is anything else; NumericValue then
    // decides.
    bool quickNumericInt(const Ref& ref, std::int16_t& out) const { return quickInt(ref, ref.numeric, out); }
    // The same for OperandValue.
    bool quickOperandInt(const Ref& ref, std::int16_t& out) const { return quickInt(ref, ref.any, out); }
    // NumericValue converted with ToSingle, when that needs no text and cannot
    // fault: an element of an int or single variable, or a written number
    // that names no variable. A single element is read through its text form
    // (SingleTextValue), as every reading of one is; within the seven-digit
    // range an element already holds that value (see singleElements).
    bool quickNumericSingle(const Ref& ref, float& out) const
    {
        const Resolution& resolution = ref.numeric;
        if (resolution.stamp != m_stamp)
            return false;
        std::int16_t index = 0;
        if (ref.hasIndex && !quickIndex(ref, resolution, index))
            return false;
        if (resolution.singles) {
            const float element = resolution.singles[index];
            out = InSevenDigitRange(element) ? element : static_cast<float>(SingleTextValue(element));
            return true;
        }
        if (resolution.ints) {
            out = resolution.ints[index];
            return true;
        }
        if (resolution.entry >= 0 || ref.hasIndex || !ref.isSingle)
            return false;
        out = ref.single;
        return true;
    }
    // The reference is a plain name already known to name no variable
    // (NumericValue is then its text).
    bool quickNamesNothing(const Ref& ref) const
    {
        return !ref.hasIndex && ref.numeric.stamp == m_stamp && ref.numeric.entry < 0;
    }

    // Stores a value into the element the target names; an unknown target is
    // ignored without a fault.
    // storedAt, when given, receives where the value went (entry -1: nowhere).
    Fault StoreValue(const Ref& target, const Value& value, Location* storedAt = nullptr)
    {
        if (storedAt)
            storedAt->entry = -1;
        Location at;
        if (!quickLocate(target, target.any, at)) {
            bool found = false;
            if (const Fault fault = locate(target, Lookup::AnyType, at, found); fault != Fault::None || !found)
                return fault;
        }
        const Fault fault = storeAt(at, value);
        if (storedAt && fault == Fault::None)
            *storedAt = at;
        return fault;
    }
    // StoreValue of an int into an element of an int variable found the quick
    // way; false, with nothing stored, when the target is anything else.
    bool quickStoreInt(const Ref& target, std::int16_t value)
    {
        Location at;
        if (!quickLocate(target, target.any, at) || at.type != VarType::Int)
            return false;
        m_ints[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)] = value;
        return true;
    }
    // StoreValue of a finite single into an element of a single variable found
    // the quick way; false, with nothing stored, when the target is anything
    // else. What is kept is the value of the single's text, as storing its text
    // would keep.
    bool quickStoreSingle(const Ref& target, float value, SingleKept kept)
    {
        Location at;
        if (!quickLocate(target, target.any, at) || at.type != VarType::Single)
            return false;
        m_singles[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)]
            = kept == SingleKept::Yes ? value : static_cast<float>(SingleTextValue(value));
        return true;
    }
    // The str element a reference names, found the quick way; null when it
    // names anything else or is not yet resolved.
    const Text* quickStr(const Ref& ref) const
    {
        Location at;
        if (!quickLocate(ref, ref.any, at) || at.type != VarType::Str)
            return nullptr;
        return &m_strs[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)];
    }
    // Appends to the str element that quickStr finds for target, under the
    // limits StoreText applies to the whole text.
    Fault appendToStr(const Ref& target, TextView rest);
    // Whether the str element that quickStr finds for target holds a ":".
    bool strHoldsColon(const Ref& target);
    // As StoreValue of the text; a str target takes the text over by swapping,
    // so a loop that rebuilds a long text does not copy it once more.
    Fault StoreText(const Ref& target, Text& text, Location* storedAt = nullptr);

    Value read(const Location& at) const
    {
        const auto i = static_cast<std::size_t>(at.index);
        switch (at.type) {
        case VarType::Int: return Value::ofInt(m_ints[at.entry].elements[i]);
        case VarType::Str: return Value::ofText(m_strs[at.entry].elements[i]);
        case VarType::Single: return Value::ofSingle(m_singles[at.entry].elements[i]);
        case VarType::Bit: break;
        }
        return Value::ofBit(m_bits[at.entry].elements[i] != 0);
    }

    const std::vector<VariableEntry<std::int16_t>>& ints() const { return m_ints; }
    const std::vector<VariableEntry<Text>>& strs() const { return m_strs; }
    const std::vector<VariableEntry<float>>& singles() const { return m_singles; }
    const std::vector<VariableEntry<std::uint8_t>>& bits() const { return m_bits; }
    const Text& entryName(VarType type, std::int32_t entry) const;
    // No declared name is longer: a longer text names no variable.
    std::size_t maxNameLength() const { return m_maxNameLength; }

private:
    // Loops read and write the same references over and over. Once a
    // reference is resolved (its name, and for name:index the index too),
    // finding its element needs no lookup and no conversion, and cannot fault
    // while the index is within the bounds. False sends the caller to the
    // general rule, locate, which also resolves what was not yet.
    bool quickLocate(const Ref& ref, const Resolution& resolution, Location& out) const
    {
        if (resolution.stamp != m_stamp || resolution.entry < 0)
            return false;
        std::int16_t index = 0;
        if (ref.hasIndex && !quickIndex(ref, resolution, index))
            return false;
        out = Location { static_cast<VarType>(resolution.table), resolution.entry, index };
        return true;
    }
    // The index of a resolved name:index, when it is within the bounds.
    bool quickIndex(const Ref& ref, const Resolution& resolution, std::int16_t& index) const
    {
        if (ref.key.stamp != m_stamp)
            return false;
        if (ref.key.ints)
            index = *ref.key.ints;
        else if (ref.indexFault == Fault::None)
            index = ref.indexValue;
        else
            return false;
        return index >= 0 && index <= resolution.upperBound;
    }
    bool quickRead(const Ref& ref, const Resolution& resolution, Value& out) const
    {
        Location at;
        if (quickLocate(ref, resolution, at)) {
            out = read(at);
            return true;
        }
        // A plain name resolved to no variable is its own text.
        if (ref.hasIndex || resolution.stamp != m_stamp || resolution.entry >= 0)
            return false;
        out = ref.literal();
        return true;
    }
    bool quickInt(const Ref& ref, const Resolution& resolution, std::int16_t& out) const
    {
        if (resolution.stamp != m_stamp)
            return false;
        if (ref.hasIndex) {
            std::int16_t index = 0;
            if (!resolution.ints || !quickIndex(ref, resolution, index))
                return false;
            out = resolution.ints[index];
            return true;
        }
        if (resolution.ints) {
            out = *resolution.ints;
            return true;
        }
        if (resolution.entry >= 0 || !ref.isIntegerText)
            return false;
        out = ref.integer;
        return true;
    }
    // Stores into a located element; an int into an int needs no conversion.
    Fault storeAt(const Location& at, const Value& value)
    {
        if (at.type == VarType::Int && value.kind == ValueKind::Int) {
            m_ints[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)] = value.intValue;
            return Fault::None;
        }
        return storeConverted(at, value);
    }
    Fault storeConverted(const Location& at, const Value& value);
    Fault slowValue(const Ref& ref, Lookup lookup, Value& out) const;
    // Finds the element a reference names (lookup AnyType or Numeric); found
    // is false when no table holds the name. Faults for a bad index or one
    // outside the variable's bounds.
    Fault locate(const Ref& ref, Lookup lookup, Location& out, bool& found) const;
    const NameSlots* slotsFor(const Text& foldedName) const;
    void resolve(const Text& foldedName, Lookup lookup, Resolution& out) const;
    std::int16_t upperBound(VarType type, std::int32_t entry) const
    {
        switch (type) {
        case VarType::Int: return m_ints[static_cast<std::size_t>(entry)].upperBound;
        case VarType::Str: return m_strs[static_cast<std::size_t>(entry)].upperBound;
        case VarType::Single: return m_singles[static_cast<std::size_t>(entry)].upperBound;
        case VarType::Bit: break;
        }
        return m_bits[static_cast<std::size_t>(entry)].upperBound;
    }
    Fault resolveIndex(const Ref& ref, std::int16_t& index) const;
    // What resolutions made now are stamped with: the run in the high half,
    // the declarations so far in the low half.
    void restamp() { m_stamp = (m_runStamp << 32) | (m_declarations & 0xFFFFFFFFu); }

    std::vector<VariableEntry<std::int16_t>> m_ints;
    std::vector<VariableEntry<Text>> m_strs;
    // Every single element within the seven-digit range (InSevenDigitRange)
    // holds the value of its own text, SingleTextValue: a store keeps that
    // value rather than the single it was given. The two show the same text
    // and read as the same number (SingleTextValue of the one is the other),
    // which a check of every single in the range confirms, so nothing a script
    // sees changes, and reading such an element needs no second rounding.
    std::vector<VariableEntry<float>> m_singles;
    std::vector<VariableEntry<std::uint8_t>> m_bits;
    std::unordered_map<Text, NameSlots> m_index;
    std::int64_t m_elementCount = 0;
    std::size_t m_maxNameLength = 0;
    std::size_t m_textChars = 0;
    // How much of one str element is known to hold no ":". Appending keeps
    // what is known, so a text built up by appending is scanned only where it
    // grew; every other change to a str element forgets it.
    struct ColonFreePrefix {
        std::int32_t entry = -1;
        std::int16_t index = 0;
        std::size_t length = 0;
    };
    ColonFreePrefix m_colonFree;
    std::uint64_t m_runStamp = 0;
    std::uint64_t m_declarations = 0;
    std::uint64_t m_stamp = 0;
};

} // namespace numbrelle
