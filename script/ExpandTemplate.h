// Expanding a compiled text template (Template.h) while a script runs: each
// reference is read like any operand, so its fault is the statement's.
#pragma once

#include "script/QuestionRecord.h"
#include "script/Template.h"
#include "script/Text.h"

#include <span>
#include <vector>

namespace numbrelle {

class Interpreter;

// Expands a compiled template into out; false (and a raised fault) when a
// reference faults or the text grows past its limit.
bool ExpandTemplate(Interpreter& interp, const std::vector<TemplatePiece>& pieces, Text& out);

// The rest of an expansion whose first `leading` characters are already
// written elsewhere: the pieces are read in order and the limit applies to
// the whole, exactly as ExpandTemplate of all of it would.
bool ExpandRest(Interpreter& interp, std::span<const TemplatePiece> pieces, std::size_t leading, Text& out);

// Expands a template and appends it to a record text; nothing when it faults.
void AppendExpanded(Interpreter& interp, const std::vector<TemplatePiece>& pieces, RecordField field);

} // namespace numbrelle
