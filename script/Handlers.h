// The statement handlers, one family per source file, all of one signature.
// The statement table (Statements.def) names each with its keyword.
#pragma once

namespace numbrelle {

class Interpreter;
struct Statement;

#define STATEMENT(keyword, handler, kind, operand, fields) void handler(Interpreter&, const Statement&);
#include "script/Statements.def"
#undef STATEMENT

} // namespace numbrelle
