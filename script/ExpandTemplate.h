// Text templates, the operand of every statement that writes text: escapes for
// what the script text cannot hold, "$" for a literal character and [name] for
// a variable's value. A template is compiled once per statement list and
// expanded on every run.
#pragma once

#include "script/QuestionRecord.h"
#include "script/Text.h"
#include "script/Value.h"

#include <vector>

namespace numbrelle {

class Interpreter;

// One piece of a text template: literal text, or a bracketed reference.
struct TemplatePiece {
    Text literal;
    bool isReference = false;
    Ref reference;
};

// Splits a text operand (closing "," included, which is not part of the text)
// into literal pieces and bracketed references.
std::vector<TemplatePiece> CompileTemplate(TextView operand);

// Expands a compiled template into out; false (and a raised fault) when a
// reference faults or the text grows past its limit.
bool ExpandTemplate(Interpreter& interp, const std::vector<TemplatePiece>& pieces, Text& out);

// Expands a template and appends it to a record text; nothing when it faults.
void AppendExpanded(Interpreter& interp, const std::vector<TemplatePiece>& pieces, RecordField field);

} // namespace numbrelle
