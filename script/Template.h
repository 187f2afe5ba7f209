// Text templates, the operand of every statement that writes text: escapes for
// what the script text cannot hold, "$" for a literal character and [name] for
// a variable's value. A template is compiled once per statement list, here,
// and expanded on every run (ExpandTemplate.h), so the statement list needs
// only this half.
#pragma once

#include "script/Text.h"
#include "script/Value.h"

#include <vector>

namespace numbrelle {

// One piece of a text template: literal text, or a bracketed reference.
struct TemplatePiece {
    Text literal;
    bool isReference = false;
    Ref reference;
};

// Splits a text operand (closing "," included, which is not part of the text)
// into literal pieces and bracketed references.
std::vector<TemplatePiece> CompileTemplate(TextView operand);

} // namespace numbrelle
