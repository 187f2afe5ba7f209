#include "tools/Trace.h"

#include "tools/Engine.h"
#include "tools/Wording.h"

#include <ostream>

namespace numbrelle::runner {

namespace {

const char* fieldName(RecordField field)
{
    switch (field) {
    case RecordField::Question: return "question";
    case RecordField::Title: return "title";
    case RecordField::Description: return "description";
    case RecordField::Category: return "category";
    case RecordField::Answer: return "answer";
    }
    return "?";
}

} // namespace

TraceWriter::TraceWriter(const StatementList& list, std::ostream& out)
    : m_list(list)
    , m_out(out)
{
}

void TraceWriter::statementPassed(std::int32_t index, bool ran, std::size_t depth)
{
    m_out << index << "  " << lineText(lineOf(m_list, index)) << "  depth " << depth << "  "
          << (ran ? "ran    " : "skipped") << "  ";
    if (index >= 0 && static_cast<std::size_t>(index) < m_list.entries.size()) {
        const Statement& statement = m_list.entries[static_cast<std::size_t>(index)];
        m_out << utf8(statement.keyword) << ' ' << quoted(statement.operand);
    }
    if (!m_effects.empty())
        m_out << "  ->" << m_effects;
    m_out << '\n';
    m_effects.clear();
}

void TraceWriter::stored(const Location& at, const Text& name, const Value& value)
{
    m_effects += ' ' + utf8(name) + ':' + std::to_string(at.index) + " = " + quoted(value.toText()) + ';';
}

void TraceWriter::appended(RecordField field, const Text& text)
{
    m_effects += ' ' + std::string(fieldName(field)) + " += " + quoted(text) + ';';
}

void TraceWriter::messageShown(std::int32_t, const Text& text) { m_effects += " message " + quoted(text) + ';'; }

void TraceWriter::statementCapHit() { m_out << "statement cap reached: the run stops here\n"; }

void TraceWriter::messageCapHit() { m_effects += " message cap reached, later messages are not shown;"; }

void TraceWriter::finishRun()
{
    // A fault noticed after the last statement, or the cap's own message.
    if (!m_effects.empty())
        m_out << "after the run  ->" << m_effects << '\n';
    m_effects.clear();
}

} // namespace numbrelle::runner
