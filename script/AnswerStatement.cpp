// ans appends to the accepted answers; the script writes the "_" between
// alternatives itself, so several ans statements build one list.
#include "script/Handlers.h"
#include "script/Interpreter.h"

namespace numbrelle {

void runAns(Interpreter& interp, const Statement& s) { interp.appendExpanded(s.compiled.templ, RecordField::Answer); }

} // namespace numbrelle
