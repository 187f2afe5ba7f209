// Compiling a statement list: what is worked out once per list so that runs
// need not re-scan operands. Each keyword is looked up in the statement table,
// and its operand is cut into fields, a condition or a text template as the
// table says.
#pragma once

#include "script/StatementList.h"
#include "script/Text.h"

#include <vector>

namespace numbrelle {

void CompileStatementList(StatementList& list);

// An operand cut into comma-closed fields.
struct Fields {
    std::vector<Text> texts; // always n of them
    int closed = 0; // how many a comma closed
    Text lastRead; // the last character the scan read; empty when none
};

// Cuts an operand into n comma-closed fields; the comma closing field n ends
// the scan and whatever follows it is ignored.
Fields SplitFields(TextView operand, int n);

} // namespace numbrelle
