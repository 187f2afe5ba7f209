// The reports of numbrelle-run in their two forms: readable text for question
// authors, and one JSON object per line for tests and tools.
#pragma once

#include "platform/Files.h"

#include <string>

namespace numbrelle {

struct StatementList;

namespace runner {

struct CheckReport;
struct RunReport;

// encoding is the last field, so that a reader of the older objects finds
// every field where it was.
std::string runJson(const RunReport& report, TextEncoding encoding);
std::string runText(const RunReport& report);
std::string listJson(const std::string& file, const StatementList& list);
std::string checkJson(const CheckReport& report);
std::string checkText(const CheckReport& report);

} // namespace runner
} // namespace numbrelle
