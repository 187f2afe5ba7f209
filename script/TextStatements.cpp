// strout, title, extext and linetext: each appends its expanded template to
// one text of the question record. A template that faults appends nothing.
#include "script/ExpandTemplate.h"
#include "script/Handlers.h"
#include "script/StatementList.h"

namespace numbrelle {

void runStrout(Interpreter& interp, const Statement& s)
{
    AppendExpanded(interp, s.compiled.templ, RecordField::Question);
}
void runTitle(Interpreter& interp, const Statement& s) { AppendExpanded(interp, s.compiled.templ, RecordField::Title); }
void runExtext(Interpreter& interp, const Statement& s)
{
    AppendExpanded(interp, s.compiled.templ, RecordField::Description);
}
void runLinetext(Interpreter& interp, const Statement& s)
{
    AppendExpanded(interp, s.compiled.templ, RecordField::Category);
}

} // namespace numbrelle
