#include "tools/Report.h"

#include "tools/Check.h"
#include "tools/Engine.h"
#include "tools/Wording.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <sstream>
#include <vector>

namespace numbrelle::runner {

namespace {

using Json = nlohmann::ordered_json;

// File names may be in any byte encoding; a byte that is not UTF-8 is shown
// as U+FFFD rather than making the output invalid.
std::string dump(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

Json drawingJson(const DrawingList& drawing)
{
    Json entries = Json::array();
    for (const DrawingCommand& command : drawing.entries) {
        entries.push_back({ { "kind", static_cast<std::int16_t>(command.kind) }, { "x1", command.x1 },
            { "y1", command.y1 }, { "x2", command.x2 }, { "y2", command.y2 }, { "text", utf8(command.text) },
            { "red", command.red }, { "green", command.green }, { "blue", command.blue } });
    }
    return entries;
}

// Continuation lines of a multi-line text line up under its first line.
// A CR before an LF is left out; a CR on its own stays.
std::string indented(const Text& text, const std::string& indent)
{
    const std::string lines = utf8(text);
    std::string out;
    out.reserve(lines.size());
    std::size_t start = 0;
    for (std::size_t end = lines.find('\n'); end != std::string::npos; end = lines.find('\n', start)) {
        const std::size_t kept = end > start && lines[end - 1] == '\r' ? end - 1 : end;
        out.append(lines, start, kept - start);
        out += '\n';
        out += indent;
        start = end + 1;
    }
    out.append(lines, start);
    return out;
}

std::string drawingSummary(const DrawingList& drawing)
{
    if (drawing.empty())
        return "none";
    // In the order of the kinds, each named by its statement; a number that
    // is no kind is counted last, apart.
    constexpr std::array kinds { DrawingKind::Line, DrawingKind::Box, DrawingKind::Circle, DrawingKind::Text };
    std::array<int, kinds.size() + 1> counts {};
    for (const DrawingCommand& command : drawing.entries) {
        const auto* kind = std::find(kinds.begin(), kinds.end(), command.kind);
        ++counts[static_cast<std::size_t>(kind - kinds.begin())];
    }
    std::ostringstream out;
    out << drawing.entries.size() << (drawing.entries.size() == 1 ? " entry" : " entries") << " (";
    const char* separator = "";
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] == 0)
            continue;
        out << separator << counts[i] << ' ' << (i < kinds.size() ? DrawingStatement(kinds[i]) : "other");
        separator = ", ";
    }
    out << ')';
    return out.str();
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\r')); }

// "3, 7, 12", the first twenty of them and how many more.
std::string numbersText(const std::vector<std::int32_t>& numbers)
{
    constexpr std::size_t shown = 20;
    std::string text;
    for (std::size_t i = 0; i < numbers.size() && i < shown; ++i)
        text += (i == 0 ? "" : ", ") + std::to_string(numbers[i]);
    if (numbers.size() > shown)
        text += " and " + std::to_string(numbers.size() - shown) + " more";
    return text;
}

} // namespace

std::string runJson(const RunReport& report, TextEncoding encoding)
{
    const QuestionRecord& record = report.record;
    Json messages = Json::array();
    Json lines = Json::array();
    for (const CapturedMessage& message : report.messages) {
        messages.push_back(utf8(message.text));
        lines.push_back(message.line);
    }
    Json json = { { "file", report.file }, { "run", report.run }, { "title", utf8(record.title) },
        { "question", utf8(record.questionText) }, { "answer", utf8(record.answerText) },
        { "description", utf8(record.descriptionText) }, { "category", utf8(record.categoryText) },
        { "drawing", drawingJson(record.drawingList) }, { "messages", messages }, { "messageLines", lines },
        { "encoding", EncodingName(encoding) } };
    return dump(json);
}

std::string runText(const RunReport& report)
{
    const QuestionRecord& record = report.record;
    const std::string indent(13, ' ');
    std::ostringstream out;
    out << "== " << report.file << "  (run " << report.run << ")\n";
    out << "title:       " << indented(record.title, indent) << '\n';
    out << "category:    " << indented(record.categoryText, indent) << '\n';
    out << "description: " << indented(record.descriptionText, indent) << '\n';
    out << "question:    " << indented(record.questionText, indent) << '\n';
    out << "answer:      " << indented(record.answerText, indent) << '\n';
    out << "drawing:     " << drawingSummary(record.drawingList) << '\n';
    out << "messages:    " << report.messages.size() << '\n';
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        const CapturedMessage& message = report.messages[i];
        // An error box already ends with its statement's index and context.
        out << "  " << (message.scriptError ? "error" : "msgbox") << "  " << lineText(message.line);
        if (!message.scriptError && message.index >= 0)
            out << "  at " << message.index << "    " << utf8(report.contexts[i]);
        out << "\n    " << indented(message.text, "    ") << '\n';
    }
    return out.str();
}

std::string listJson(const std::string& file, const StatementList& list)
{
    Json statements = Json::array();
    for (const Statement& statement : list.entries)
        statements.push_back({ { "keyword", utf8(statement.keyword) }, { "operand", utf8(statement.operand) } });
    return dump({ { "file", file }, { "lastIndex", list.lastIndex }, { "statements", statements } });
}

std::string checkJson(const CheckReport& report)
{
    Json findings = Json::array();
    for (const Finding& finding : report.findings) {
        Json json = { { "check", finding.check }, { "failed", finding.failed }, { "what", finding.what },
            { "count", finding.count }, { "firstSeed", finding.firstSeed }, { "example", finding.example } };
        if (finding.index >= 0 || finding.check == "error" || finding.check == "guard") {
            json["index"] = finding.index;
            json["line"] = finding.line;
            json["context"] = finding.context;
        } else if (finding.line > 0) {
            json["line"] = finding.line;
        }
        if (!finding.lines.empty())
            json["lines"] = finding.lines;
        findings.push_back(std::move(json));
    }
    Json json = { { "file", report.file }, { "runs", report.runs }, { "healthy", report.healthy() },
        { "findings", findings }, { "distinctQuestions", report.distinctQuestions },
        { "meanMs", report.meanMilliseconds }, { "worstMs", report.worstMilliseconds },
        { "worstSeed", report.worstSeed }, { "layoutRuns", report.layoutRuns }, { "encoding", report.encoding } };
    return dump(json);
}

std::string checkText(const CheckReport& report)
{
    std::ostringstream out;
    out << "== " << report.file << "  (" << report.runs << " runs, seeds 1.." << report.runs << "; read as "
        << report.encoding << ")\n";
    for (const Finding& finding : report.findings) {
        // The layout is measured on fewer seeds than the check runs.
        const std::string ofRuns = finding.check == "layout" ? " of " + std::to_string(report.layoutRuns) : "";
        out << (finding.failed ? "  FAIL  " : "  warn  ") << finding.check << ": ";
        if (finding.check == "error")
            out << firstLine(finding.what); // the rest is the statement, given below
        else
            out << finding.what;
        // Where and when, on a line of its own: variety and time speak of all
        // runs together and count none; what the statement list tells without
        // running names no seed.
        std::vector<std::string> where;
        if (finding.count > 0)
            where.push_back(std::to_string(finding.count) + ofRuns + (finding.check == "error" ? " times" : " runs")
                + ", first seed " + std::to_string(finding.firstSeed));
        else if (finding.check == "time")
            where.push_back("seed " + std::to_string(finding.firstSeed));
        if (finding.index >= 0)
            where.push_back(
                lineText(finding.line) + ", statement " + std::to_string(finding.index) + "    " + finding.context);
        else if (finding.lines.size() > 1)
            where.push_back("lines " + numbersText(finding.lines));
        else if (finding.line > 0)
            where.push_back(lineText(finding.line));
        for (std::size_t i = 0; i < where.size(); ++i)
            out << (i == 0 ? "\n        " : ", ") << where[i];
        if (!finding.example.empty())
            out << "\n        e.g. " << finding.example;
        out << '\n';
    }
    out << "  " << report.distinctQuestions << " distinct questions; time per question mean "
        << millisecondsText(report.meanMilliseconds) << ", worst " << millisecondsText(report.worstMilliseconds)
        << " (seed " << report.worstSeed << "), frame budget " << frameBudgetMilliseconds << " ms\n";
    int failed = 0;
    for (const Finding& finding : report.findings)
        failed += finding.failed ? 1 : 0;
    if (failed == 0)
        out << "  healthy\n";
    else
        out << "  " << failed << (failed == 1 ? " check failed\n" : " checks failed\n");
    return out.str();
}

} // namespace numbrelle::runner
