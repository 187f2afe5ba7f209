#include "tools/Runner.h"

#include <nlohmann/json.hpp>

#include <array>
#include <sstream>

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
std::string indented(const Text& text, const std::string& indent)
{
    std::string lines = utf8(text);
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n')
            continue;
        out += lines[i];
        if (lines[i] == '\n')
            out += indent;
    }
    return out;
}

std::string drawingSummary(const DrawingList& drawing)
{
    if (drawing.empty())
        return "none";
    static constexpr std::array<const char*, 4> kinds = { "line", "box", "circle", "text" };
    std::array<int, 5> counts {};
    for (const DrawingCommand& command : drawing.entries) {
        const auto kind = static_cast<std::int16_t>(command.kind);
        ++counts[kind >= 0 && kind < 4 ? kind : 4];
    }
    std::ostringstream out;
    out << drawing.entries.size() << (drawing.entries.size() == 1 ? " entry" : " entries") << " (";
    const char* separator = "";
    for (std::size_t kind = 0; kind < counts.size(); ++kind) {
        if (counts[kind] == 0)
            continue;
        out << separator << counts[kind] << ' ' << (kind < kinds.size() ? kinds[kind] : "other");
        separator = ", ";
    }
    out << ')';
    return out.str();
}

} // namespace

std::string lineText(std::int32_t line) { return line > 0 ? "line " + std::to_string(line) : "no line"; }

std::string runJson(const RunReport& report)
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
        { "drawing", drawingJson(record.drawingList) }, { "messages", messages }, { "messageLines", lines } };
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

} // namespace numbrelle::runner
