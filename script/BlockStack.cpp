#include "script/BlockStack.h"

namespace numbrelle {

Fault BlockStack::push(BlockKind kind, std::int16_t value)
{
    if (m_entries.size() >= maxBlockEntries)
        return Fault::Overflow;
    m_entries.push_back(BlockEntry { kind, value });
    if (isSkip(m_entries.back()))
        ++m_skipped;
    return Fault::None;
}

void BlockStack::pop()
{
    if (m_entries.empty())
        return;
    if (isSkip(m_entries.back()))
        --m_skipped;
    m_entries.pop_back();
}

void BlockStack::set(std::size_t i, BlockKind kind, std::int16_t value)
{
    BlockEntry& entry = m_entries[i];
    if (isSkip(entry))
        --m_skipped;
    entry = BlockEntry { kind, value };
    if (isSkip(entry))
        ++m_skipped;
}

void BlockStack::clear()
{
    m_entries.clear();
    m_skipped = 0;
}

} // namespace numbrelle
