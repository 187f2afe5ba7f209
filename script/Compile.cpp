#include "script/Compile.h"

#include "script/Handlers.h"
#include "script/Limits.h"
#include "script/Template.h"

#include <unordered_map>

namespace numbrelle {

namespace {

enum class Kind { Block, Plain };

// How a statement's operand is prepared; see Statements.def.
enum class OperandForm { Raw, Fields, Template, Condition, FieldsAndTemplate };

struct TableRow {
    Handler handler;
    Kind kind;
    OperandForm operand;
    int fields;
};

const std::unordered_map<TextView, TableRow>& statementTable()
{
    static const std::unordered_map<TextView, TableRow> table {
#define STATEMENT(keyword, handler, kind, operand, fields)                                                             \
    { keyword, TableRow { handler, Kind::kind, OperandForm::operand, fields } },
#include "script/Statements.def"
#undef STATEMENT
    };
    return table;
}

void compileFields(TextView operand, int n, CompiledStatement& compiled)
{
    Fields split = SplitFields(operand, n);
    compiled.fields.reserve(split.texts.size());
    for (const Text& field : split.texts)
        compiled.fields.emplace_back(field);
    compiled.closedFields = split.closed;
    compiled.scanLast = std::move(split.lastRead);
}

Comparison comparisonOf(TextView op)
{
    if (op.empty())
        return Comparison::None;
    static constexpr std::pair<TextView, Comparison> operators[] = { { u"==", Comparison::Equal },
        { u"=!", Comparison::NotEqual }, { u"<", Comparison::Less }, { u"<=", Comparison::LessOrEqual },
        { u">", Comparison::Greater }, { u">=", Comparison::GreaterOrEqual } };
    for (const auto& [text, comparison] : operators) {
        if (op == text)
            return comparison;
    }
    return Comparison::Invalid;
}

// A condition is cut at its operator characters: every "=", "<", ">" and "!"
// goes to the operator, wherever it stands; the rest is left before the first
// of them and right after it.
void compileCondition(TextView operand, CompiledStatement& compiled)
{
    Text left;
    Text right;
    const std::size_t end = operand.empty() ? 0 : operand.size() - 1;
    for (std::size_t i = 0; i < end; ++i) {
        const char16_t c = operand[i];
        if (c == u'=' || c == u'<' || c == u'>' || c == u'!') {
            compiled.conditionOperator += c;
            compiled.operatorSeen = true;
        } else if (compiled.operatorSeen) {
            right += c;
        } else {
            left += c;
        }
    }
    compiled.fields.emplace_back(left);
    compiled.fields.emplace_back(right);
    compiled.comparison = comparisonOf(compiled.conditionOperator);
}

void compileOperand(const TableRow& row, TextView operand, CompiledStatement& compiled)
{
    switch (row.operand) {
    case OperandForm::Raw: break;
    case OperandForm::Fields: compileFields(operand, row.fields, compiled); break;
    case OperandForm::Template: compiled.templ = CompileTemplate(operand); break;
    case OperandForm::Condition: compileCondition(operand, compiled); break;
    case OperandForm::FieldsAndTemplate:
        compileFields(operand, row.fields, compiled);
        // The template is the last field with its closing comma put back.
        compiled.templ = CompileTemplate(compiled.fields.back().text + u",");
        break;
    }
}

void compileStatement(Statement& statement)
{
    CompiledStatement compiled;
    compiled.operandWork = static_cast<std::int64_t>(statement.operand.size() >> textWorkShift);
    const auto& table = statementTable();
    if (const auto row = table.find(statement.keyword); row != table.end()) {
        compiled.handler = row->second.handler;
        compiled.isBlock = row->second.kind == Kind::Block;
        compileOperand(row->second, statement.operand, compiled);
    }
    statement.compiled = std::move(compiled);
}

} // namespace

void CompileStatementList(StatementList& list)
{
    for (Statement& statement : list.entries)
        compileStatement(statement);
}

Fields SplitFields(TextView operand, int n)
{
    Fields split;
    split.texts.resize(static_cast<std::size_t>(n > 0 ? n : 0));
    if (n <= 0)
        return split;
    std::size_t current = 0;
    for (const char16_t c : operand) {
        split.lastRead.assign(1, c);
        if (c == u',') {
            ++split.closed;
            if (current + 1 == split.texts.size())
                break;
            ++current;
        } else {
            split.texts[current] += c;
        }
    }
    return split;
}

} // namespace numbrelle
