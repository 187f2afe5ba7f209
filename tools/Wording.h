// How every report of numbrelle-run writes a script's text, a line number and
// a time, so that the run, the trace and the check read alike.
#pragma once

#include "script/Text.h"

#include <cstdint>
#include <string>

namespace numbrelle::runner {

// One line of text, quoted, with CR, LF, tab, quote and backslash escaped.
std::string quoted(const Text& text);

// "line 12", or "no line" for 0.
std::string lineText(std::int32_t line);

// "1.250 ms".
std::string millisecondsText(double milliseconds);

} // namespace numbrelle::runner
