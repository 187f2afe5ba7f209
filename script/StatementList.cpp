#include "script/StatementList.h"

#include "script/Limits.h"

namespace numbrelle {

namespace {

// The four passes run as one stream: each character that survives comment
// removal goes through blank removal, keyword case folding and splitting in
// turn. Every pass keeps only its own small state, so streaming gives the
// same result as four whole-text passes while knowing where each character
// came from.
class Builder {
public:
    void comments(TextView script)
    {
        enum class State { Code, LineComment, BlockComment } state = State::Code;
        const std::size_t n = script.size();
        for (std::size_t i = 0; i < n && !tooLong(); ++i) {
            const char16_t c = script[i];
            trackPosition(script, i);
            if (c == u'/' && i + 1 < n) {
                if (script[i + 1] == u'/')
                    state = State::LineComment;
                else if (script[i + 1] == u'*')
                    state = State::BlockComment;
            }
            switch (state) {
            case State::Code: blanksAndBraces(c); break;
            case State::LineComment:
                if (c == u'\r')
                    state = State::Code;
                break;
            case State::BlockComment:
                if (c == u'*' && i + 1 < n && script[i + 1] == u'/') {
                    ++i;
                    trackPosition(script, i);
                    state = State::Code;
                }
                break;
            }
        }
    }

    StatementList finish()
    {
        StatementList list;
        if (tooLong()) {
            list.entries.resize(1);
            list.lastIndex = -1;
            list.tooLong = true;
            return list;
        }
        const std::size_t needed = m_semicolons > 0 ? static_cast<std::size_t>(m_semicolons) : 1;
        if (m_entries.size() < needed)
            m_entries.resize(needed);
        list.entries = std::move(m_entries);
        // Text after the last ";" that landed in no entry of its own becomes one
        // more statement rather than being lost.
        list.lastIndex = list.entries.size() > needed ? m_semicolons : m_semicolons - 1;
        return list;
    }

private:
    void trackPosition(TextView script, std::size_t i)
    {
        m_position = i;
        if (i > 0 && script[i - 1] == u'\r') {
            ++m_line;
            m_lineStart = (script[i] == u'\n') ? i + 1 : i;
        }
    }

    void blanksAndBraces(char16_t c)
    {
        switch (c) {
        case u' ':
        case u'\u3000':
        case u'\r':
        case u'\n': return;
        case u'{':
            keywordCase(u'{');
            keywordCase(u';');
            return;
        default: keywordCase(c);
        }
    }

    void keywordCase(char16_t c)
    {
        if (c == u'(')
            m_caseInside = true;
        if (m_caseInside) {
            if (c == u')')
                m_caseInside = false;
            split(c);
        } else {
            split(LowerLetter(c));
        }
    }

    // Once there are too many ";" the result is settled; reading on would only
    // build entries that are thrown away.
    bool tooLong() const { return m_semicolons > maxSemicolons; }

    void split(char16_t c)
    {
        if (c == u';' && ++m_semicolons > maxSemicolons)
            return;
        if (c == u'(') {
            m_splitInside = true;
            return;
        }
        if (m_splitInside) {
            if (c == u')') {
                current().operand += u',';
                m_splitInside = false;
            } else {
                current().operand += c;
            }
            return;
        }
        if (c == u';') {
            Statement& s = entry(m_k);
            if (s.line == 0)
                markStart(s);
            ++m_k;
            return;
        }
        current().keyword += c;
    }

    Statement& current()
    {
        Statement& s = entry(m_k);
        if (s.line == 0)
            markStart(s);
        return s;
    }

    Statement& entry(std::size_t k)
    {
        // Entries are only ever one past the last: k grows one ";" at a time.
        if (k >= m_entries.size())
            m_entries.resize(k + 1);
        return m_entries[k];
    }

    void markStart(Statement& s)
    {
        s.line = m_line;
        s.column = static_cast<std::int32_t>(m_position - m_lineStart) + 1;
    }

    std::vector<Statement> m_entries;
    std::int64_t m_semicolons = 0;
    std::size_t m_k = 0;
    bool m_caseInside = false;
    bool m_splitInside = false;
    std::size_t m_position = 0;
    std::size_t m_lineStart = 0;
    std::int32_t m_line = 1;
};

} // namespace

StatementList BuildStatementList(TextView script)
{
    Builder builder;
    builder.comments(script);
    return builder.finish();
}

} // namespace numbrelle
