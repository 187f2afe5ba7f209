// The open blocks and loops of a run. The statement list is flat, so blocks
// are matched as they run: each opener pushes an entry and "}" closes the
// innermost one.
#pragma once

#include "script/Fault.h"
#include "script/Limits.h"

#include <cstdint>
#include <vector>

namespace numbrelle {

// A plain block runs its statements when its value is 1 and skips them when it
// is 0; a loop's value is the index of its loop statement.
enum class BlockKind : std::int16_t { Plain = 0, While = 1, For = 2 };

struct BlockEntry {
    BlockKind kind = BlockKind::Plain;
    std::int16_t value = 0;
};

// The stack counts its skipping entries as they change, so deciding whether a
// statement is skipped costs nothing per statement.
class BlockStack {
public:
    bool empty() const { return m_entries.empty(); }
    std::size_t size() const { return m_entries.size(); }
    const BlockEntry& top() const { return m_entries.back(); }
    const BlockEntry& at(std::size_t i) const { return m_entries[i]; }
    int skipDepth() const { return m_skipped; }

    Fault push(BlockKind kind, std::int16_t value);
    void pop();
    void set(std::size_t i, BlockKind kind, std::int16_t value);
    void setTop(BlockKind kind, std::int16_t value) { set(m_entries.size() - 1, kind, value); }
    void clear();

private:
    static bool isSkip(const BlockEntry& e) { return e.kind == BlockKind::Plain && e.value == 0; }
    std::vector<BlockEntry> m_entries;
    int m_skipped = 0;
};

} // namespace numbrelle
