// The preprocessed script: a flat list of statements, each a keyword and an
// operand in which every parenthesised group is closed by one ",". Building it
// is purely textual and never reports anything; statements are judged when run.
#pragma once

#include "script/Template.h"
#include "script/Text.h"
#include "script/Value.h"

#include <cstdint>
#include <vector>

namespace numbrelle {

class Interpreter;
struct Statement;
using Handler = void (*)(Interpreter&, const Statement&);

// A condition's operator text, named once when the list is compiled. Invalid
// is any other text; None is no operator at all.
enum class Comparison : std::uint8_t { None, Equal, NotEqual, Less, LessOrEqual, Greater, GreaterOrEqual, Invalid };

// What is worked out once per statement list (Compile.h) so that runs need
// not re-scan operands: the handler, the operand's fields and, for text
// statements, the template.
struct CompiledStatement {
    Handler handler = nullptr; // null: the keyword is not one of the language
    bool isBlock = false; // block statements run while others are skipped
    // The operand's length as text work, counted on every pass that runs the
    // statement; worked out once, as the run would on every pass.
    std::int64_t operandWork = 0;
    std::vector<Ref> fields;
    int closedFields = 0; // how many of the fields a comma closed
    Text scanLast; // the last character the field scan read, if any
    Text conditionOperator; // if{ and while{
    Comparison comparison = Comparison::None;
    bool operatorSeen = false;
    std::vector<TemplatePiece> templ;
};

struct Statement {
    Text keyword;
    Text operand;
    // Where the statement starts in the script (1-based; 0 when it holds nothing).
    std::int32_t line = 0;
    std::int32_t column = 0;
    CompiledStatement compiled;
};

struct StatementList {
    std::vector<Statement> entries; // never empty
    std::int32_t lastIndex = -1;
    // More than 32767 ";": the list is one empty entry and each run only says so.
    bool tooLong = false;
};

// The four passes: comments, blanks and braces, keyword case, splitting.
// Keywords are left unresolved; CompileStatementList resolves them.
StatementList BuildStatementList(TextView script);

} // namespace numbrelle
