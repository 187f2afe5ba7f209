// ans appends to the accepted answers; the script writes the "_" between
// alternatives itself, so several ans statements build one list.
#include "script/ExpandTemplate.h"
#include "script/Handlers.h"
#include "script/StatementList.h"

namespace numbrelle {

void runAns(Interpreter& interp, const Statement& s) { AppendExpanded(interp, s.compiled.templ, RecordField::Answer); }

} // namespace numbrelle
