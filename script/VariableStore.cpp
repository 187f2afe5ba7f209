#include "script/VariableStore.h"

#include "script/Numbers.h"

#include <algorithm>
#include <atomic>
#include <functional>

namespace numbrelle {

namespace {

template <typename T> void declareIn(std::vector<VariableEntry<T>>& table, Text&& name, std::int16_t upperBound)
{
    VariableEntry<T>& entry = table.emplace_back();
    entry.name = std::move(name);
    entry.upperBound = upperBound;
    entry.elements.assign(static_cast<std::size_t>(upperBound) + 1, T {});
}

template <typename T> std::size_t tableSize(const std::vector<VariableEntry<T>>& table) { return table.size(); }

// Every run of every store has its own stamp, so that a reference resolved
// against one store is never taken as resolved against another.
std::uint64_t nextRunStamp()
{
    static std::atomic<std::uint64_t> runs { 0 };
    return ++runs;
}

bool aliases(const Text& storage, TextView view)
{
    const std::less<const char16_t*> before;
    return !view.empty() && !before(view.data(), storage.data())
        && before(view.data(), storage.data() + storage.size() + 1);
}

// The stored-text limit counts characters, not the memory behind them, and a
// str keeps its buffer when a shorter text replaces a longer one (or is handed
// the buffer of a scratch text that once held a megabyte). So no element may
// keep much more memory than its text needs, else a loop storing short texts
// into many elements could hold gigabytes while counting a few characters.
// Appending doubles a buffer at most, so ordinary growth never trims.
bool bufferFarAboveText(const Text& text)
{
    constexpr std::size_t slack = 256;
    return text.capacity() > 4 * text.size() + slack;
}

void keepBufferNearText(Text& element)
{
    if (bufferFarAboveText(element))
        element.shrink_to_fit();
}

} // namespace

VariableStore::VariableStore() { clear(); }

void VariableStore::clear()
{
    m_ints.clear();
    m_strs.clear();
    m_singles.clear();
    m_bits.clear();
    m_index.clear();
    m_elementCount = 0;
    m_maxNameLength = 0;
    m_textChars = 0;
    m_declarations = 0;
    m_colonFree = {};
    m_runStamp = nextRunStamp();
    restamp();
}

Fault VariableStore::Declare(VarType type, TextView operandText)
{
    std::size_t entries = 0;
    switch (type) {
    case VarType::Int: entries = tableSize(m_ints); break;
    case VarType::Str: entries = tableSize(m_strs); break;
    case VarType::Single: entries = tableSize(m_singles); break;
    case VarType::Bit: entries = tableSize(m_bits); break;
    }
    if (entries >= static_cast<std::size_t>(maxTableEntries))
        return Fault::Overflow;

    // The closing "," is not part of the declaration.
    const TextView scanned = operandText.substr(0, operandText.empty() ? 0 : operandText.size() - 1);
    Text name;
    Text boundText;
    std::int16_t upperBound = 0;
    Fault fault = Fault::None;
    for (const char16_t c : scanned) {
        if (c == u':') {
            boundText = u"0";
        } else if (boundText.empty()) {
            name += c;
        } else {
            boundText += c;
            std::int16_t bound = 0;
            const Fault converted
                = boundText.size() > maxBoundTextLength ? Fault::TypeMismatch : ToInt16(boundText, bound);
            // The bound text always starts with "0", so it cannot be negative.
            if (converted == Fault::None && bound >= 0)
                upperBound = bound;
            else if (converted != Fault::None)
                fault = converted;
        }
    }
    if (m_elementCount + upperBound + 1 > maxElements)
        return Fault::Overflow;
    m_elementCount += upperBound + 1;

    m_maxNameLength = std::max(m_maxNameLength, name.size());
    NameSlots& slots = m_index[FoldName(name)];
    std::int32_t& first = slots.first[static_cast<std::size_t>(type)];
    if (first < 0)
        first = static_cast<std::int32_t>(entries);
    switch (type) {
    case VarType::Int: declareIn(m_ints, std::move(name), upperBound); break;
    case VarType::Str: declareIn(m_strs, std::move(name), upperBound); break;
    case VarType::Single: declareIn(m_singles, std::move(name), upperBound); break;
    case VarType::Bit: declareIn(m_bits, std::move(name), upperBound); break;
    }
    ++m_declarations;
    restamp();
    return fault;
}

const NameSlots* VariableStore::slotsFor(const Text& foldedName) const
{
    if (foldedName.size() > m_maxNameLength)
        return nullptr;
    const auto it = m_index.find(foldedName);
    return it == m_index.end() ? nullptr : &it->second;
}

// Which table and entry a name leads to: the first declaration under the name
// in the first table of the search order that has one.
void VariableStore::resolve(const Text& foldedName, Lookup lookup, Resolution& out) const
{
    out.stamp = m_stamp;
    out.table = -1;
    out.entry = -1;
    out.ints = nullptr;
    out.singles = nullptr;
    out.upperBound = 0;
    const NameSlots* slots = slotsFor(foldedName);
    if (!slots)
        return;
    static constexpr VarType order[] = { VarType::Int, VarType::Str, VarType::Single, VarType::Bit };
    for (const VarType type : order) {
        if ((lookup != Lookup::AnyType && type == VarType::Str) || (lookup == Lookup::IntsOnly && type != VarType::Int))
            continue;
        const std::int32_t entry = slots->first[static_cast<std::size_t>(type)];
        if (entry >= 0) {
            out.table = static_cast<std::int8_t>(type);
            out.entry = entry;
            out.upperBound = upperBound(type, entry);
            if (type == VarType::Int)
                out.ints = m_ints[static_cast<std::size_t>(entry)].elements.data();
            if (type == VarType::Single)
                out.singles = m_singles[static_cast<std::size_t>(entry)].elements.data();
            return;
        }
    }
}

Fault VariableStore::resolveIndex(const Ref& ref, std::int16_t& index) const
{
    index = 0;
    if (!ref.hasIndex)
        return Fault::None;
    // Only the int table is searched for an index variable; its element 0 is the index.
    if (ref.key.stamp != m_stamp)
        resolve(ref.foldedIndexKey, Lookup::IntsOnly, ref.key);
    if (ref.key.ints) {
        index = *ref.key.ints;
        return Fault::None;
    }
    // A written index was converted when the reference was split.
    index = ref.indexValue;
    return ref.indexFault;
}

Fault VariableStore::locate(const Ref& ref, Lookup lookup, Location& out, bool& found) const
{
    found = false;
    std::int16_t index = 0;
    if (const Fault fault = resolveIndex(ref, index); fault != Fault::None)
        return fault;
    Resolution& resolution = lookup == Lookup::Numeric ? ref.numeric : ref.any;
    if (resolution.stamp != m_stamp)
        resolve(ref.foldedName, lookup, resolution);
    if (resolution.entry < 0)
        return Fault::None;
    found = true;
    const auto type = static_cast<VarType>(resolution.table);
    if (index < 0 || index > upperBound(type, resolution.entry))
        return Fault::SubscriptOutOfRange;
    out = Location { type, resolution.entry, index };
    return Fault::None;
}

Fault VariableStore::slowValue(const Ref& ref, Lookup lookup, Value& out) const
{
    Location at;
    bool found = false;
    if (const Fault fault = locate(ref, lookup, at, found); fault != Fault::None)
        return fault;
    out = found ? read(at) : ref.literal();
    return Fault::None;
}

Fault VariableStore::storeConverted(const Location& at, const Value& value)
{
    const auto i = static_cast<std::size_t>(at.index);
    switch (at.type) {
    case VarType::Int: {
        std::int16_t converted = 0;
        if (const Fault fault = value.toInt16(converted); fault != Fault::None)
            return fault;
        m_ints[at.entry].elements[i] = converted;
        break;
    }
    case VarType::Str: {
        Text& element = m_strs[at.entry].elements[i];
        m_colonFree = {};
        if (value.kind == ValueKind::Text) {
            if (value.text.size() > maxTextLength
                || m_textChars - element.size() + value.text.size() > maxStoredTextChars)
                return Fault::Overflow;
            m_textChars = m_textChars - element.size() + value.text.size();
            if (aliases(element, value.text))
                element = Text(value.text);
            else
                element.assign(value.text);
            keepBufferNearText(element);
        } else {
            // A number's text is a few characters: the limits cannot be reached.
            m_textChars -= element.size();
            element.clear();
            value.appendTo(element);
            m_textChars += element.size();
        }
        break;
    }
    case VarType::Single: {
        float converted = 0;
        if (const Fault fault = value.toSingle(converted); fault != Fault::None)
            return fault;
        // Ints, bits and singles convert to the value of their text already.
        if (value.kind == ValueKind::Text && InSevenDigitRange(converted))
            converted = static_cast<float>(SingleTextValue(converted));
        m_singles[at.entry].elements[i] = converted;
        break;
    }
    case VarType::Bit: m_bits[at.entry].elements[i] = value.isZeroText() ? 0 : 1; break;
    }
    return Fault::None;
}

Fault VariableStore::StoreText(const Ref& target, Text& text, Location* storedAt)
{
    Location at;
    bool found = false;
    if (const Fault fault = locate(target, Lookup::AnyType, at, found);
        fault != Fault::None || !found || at.type != VarType::Str)
        return fault != Fault::None || !found ? fault : StoreValue(target, Value::ofText(text), storedAt);
    if (storedAt)
        storedAt->entry = -1;
    Text& element = m_strs[at.entry].elements[static_cast<std::size_t>(at.index)];
    m_colonFree = {};
    if (text.size() > maxTextLength || m_textChars - element.size() + text.size() > maxStoredTextChars)
        return Fault::Overflow;
    m_textChars = m_textChars - element.size() + text.size();
    // A scratch buffer far larger than its text stays with the scratch, which
    // will fill it again; the element gets a copy.
    if (bufferFarAboveText(text))
        element.assign(text);
    else
        element.swap(text);
    keepBufferNearText(element);
    if (storedAt)
        *storedAt = at;
    return Fault::None;
}

Fault VariableStore::appendToStr(const Ref& target, TextView rest)
{
    Location at;
    if (!quickLocate(target, target.any, at) || at.type != VarType::Str)
        return Fault::None;
    Text& element = m_strs[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)];
    if (element.size() + rest.size() > maxTextLength || m_textChars + rest.size() > maxStoredTextChars)
        return Fault::Overflow;
    m_textChars += rest.size();
    element += rest;
    return Fault::None;
}

bool VariableStore::strHoldsColon(const Ref& target)
{
    Location at;
    if (!quickLocate(target, target.any, at) || at.type != VarType::Str)
        return true;
    const TextView element = m_strs[static_cast<std::size_t>(at.entry)].elements[static_cast<std::size_t>(at.index)];
    const bool known
        = m_colonFree.entry == at.entry && m_colonFree.index == at.index && m_colonFree.length <= element.size();
    if (contains(element.substr(known ? m_colonFree.length : 0), u':')) {
        m_colonFree = {};
        return true;
    }
    m_colonFree = { at.entry, at.index, element.size() };
    return false;
}

const Text& VariableStore::entryName(VarType type, std::int32_t entry) const
{
    switch (type) {
    case VarType::Int: return m_ints[entry].name;
    case VarType::Str: return m_strs[entry].name;
    case VarType::Single: return m_singles[entry].name;
    case VarType::Bit: break;
    }
    return m_bits[entry].name;
}

} // namespace numbrelle
