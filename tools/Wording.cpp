#include "tools/Wording.h"

#include <cstdio>

namespace numbrelle::runner {

std::string quoted(const Text& text)
{
    std::string in = utf8(text);
    std::string out = "\"";
    for (char c : in) {
        switch (c) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

std::string lineText(std::int32_t line) { return line > 0 ? "line " + std::to_string(line) : "no line"; }

std::string millisecondsText(double milliseconds)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f ms", milliseconds);
    return buffer;
}

} // namespace numbrelle::runner
