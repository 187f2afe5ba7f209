#include "tools/Check.h"

#include "drill/Drill.h"
#include "platform/StdRandom.h"
#include "script/Messages.h"
#include "script/Numbers.h"
#include "tools/Runner.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <map>
#include <set>
#include <sstream>

namespace numbrelle::runner {

namespace {

using Json = nlohmann::ordered_json;

// Findings in the order they were first seen, merged by check and what.
class Findings {
public:
    Finding& note(const std::string& check, bool failed, const std::string& what, std::uint32_t seed,
        const std::string& example = {})
    {
        auto [it, added] = m_byKey.try_emplace(check + '\n' + what, m_list.size());
        if (added) {
            Finding finding;
            finding.check = check;
            finding.failed = failed;
            finding.what = what;
            finding.firstSeed = seed;
            finding.example = example;
            m_list.push_back(std::move(finding));
            m_lastSeed.push_back(0);
        }
        return m_list[it->second];
    }
    // Counts the run once however often it shows the problem.
    Finding& noteRun(const std::string& check, bool failed, const std::string& what, std::uint32_t seed,
        const std::string& example = {})
    {
        Finding& finding = note(check, failed, what, seed, example);
        std::uint32_t& last = m_lastSeed[static_cast<std::size_t>(&finding - m_list.data())];
        if (last != seed) {
            last = seed;
            ++finding.count;
        }
        return finding;
    }
    std::vector<Finding> take() { return std::move(m_list); }

private:
    std::vector<Finding> m_list;
    std::vector<std::uint32_t> m_lastSeed;
    std::map<std::string, std::size_t> m_byKey;
};

bool isPaint(const Text& text)
{
    Text folded = text;
    for (char16_t& c : folded)
        c = LowerLetter(c);
    return folded == u"#paint";
}

// The window keeps the width in force for a width that is not a whole number of at least 1.
bool ignoredWidth(const Text& text)
{
    std::int16_t width = 0;
    return !text.empty() && !(ToInt16(text, width) == Fault::None && width >= 1);
}

const char* kindName(DrawingKind kind)
{
    static constexpr const char* names[] = { "line", "box", "circle", "print" };
    const auto n = static_cast<std::int16_t>(kind);
    return n >= 0 && n < 4 ? names[n] : "drawing";
}

void checkPicture(const DrawingList& drawing, std::uint32_t seed, Findings& findings)
{
    for (const DrawingCommand& command : drawing.entries) {
        const std::string kind = kindName(command.kind);
        auto outside = [&](const char* name, int value) {
            if (value < 0 || value > 1000)
                findings.noteRun("picture", false, kind + " outside the picture (0..1000)", seed,
                    std::string(name) + " = " + std::to_string(value));
        };
        switch (command.kind) {
        case DrawingKind::Line:
        case DrawingKind::Box:
            outside("x1", command.x1);
            outside("y1", command.y1);
            outside("x2", command.x2);
            outside("y2", command.y2);
            break;
        case DrawingKind::Circle:
            if (command.x2 < 0) {
                findings.noteRun("picture", false, "circle with a negative radius is not drawn", seed,
                    "radius = " + std::to_string(command.x2));
                break;
            }
            outside("left", command.x1 - command.x2);
            outside("right", command.x1 + command.x2);
            outside("top", command.y1 - command.x2);
            outside("bottom", command.y1 + command.x2);
            break;
        case DrawingKind::Text: {
            outside("x", command.x1);
            outside("y", command.y1);
            const long right = command.x1 + static_cast<long>(command.text.size()) * printCharacterWidth;
            if (!command.text.empty() && right > 1000)
                findings.noteRun("picture", false, "print text likely to run off the picture", seed,
                    quoted(command.text) + " at x = " + std::to_string(command.x1));
            break;
        }
        }
        if (command.kind == DrawingKind::Text)
            continue;
        if (command.kind == DrawingKind::Box && isPaint(command.text))
            continue;
        if (ignoredWidth(command.text))
            findings.noteRun("picture", false, kind + " pen width will be ignored", seed, quoted(command.text));
    }
}

// Every accepted answer typed back into the one-line answer box must be marked right.
void checkMarking(const Text& answerText, std::uint32_t seed, Findings& findings)
{
    if (answerText.empty())
        return; // reported as an empty answer
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = answerText.find(u'_', start);
        const Text piece = answerText.substr(start, end == Text::npos ? Text::npos : end - start);
        bool typable = true;
        for (char16_t c : piece)
            typable = typable && c >= 0x20 && c != 0x7F;
        if (!typable)
            findings.noteRun("marking", true,
                "an accepted answer holds a line break or control character and cannot be typed", seed, quoted(piece));
        else if (!CheckAnswer(answerText, piece))
            findings.noteRun("marking", true, "an accepted answer typed back is marked wrong", seed, quoted(piece));
        if (end == Text::npos)
            break;
        start = end + 1;
    }
}

std::string firstLine(const std::string& text) { return text.substr(0, text.find('\r')); }

std::string milliseconds(double value)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f ms", value);
    return buffer;
}

} // namespace

bool CheckReport::healthy() const
{
    for (const Finding& finding : findings) {
        if (finding.failed)
            return false;
    }
    return true;
}

CheckReport checkQuestion(const std::string& file, const Text& text, int runs)
{
    CheckReport report;
    report.file = file;
    report.runs = runs;
    Findings findings;
    StdRandom random;
    std::set<Text> questions;
    Text firstCategory, firstDescription;
    double total = 0;

    RunHooks hooks;
    hooks.beforeRun = [&](int run) { random.seed(static_cast<std::uint32_t>(run)); };
    runQuestion(
        file, text, runs, random,
        [&](const RunReport& run) {
            const auto seed = static_cast<std::uint32_t>(run.run);
            for (std::size_t i = 0; i < run.messages.size(); ++i) {
                const CapturedMessage& message = run.messages[i];
                if (!message.scriptError)
                    continue;
                // The guards' own notices are reported as guards, once per run.
                const bool statementCap = message.text.starts_with(messages::statementCapReached);
                const bool messageCap = message.text.starts_with(messages::tooManyMessages);
                Finding* finding = nullptr;
                if (statementCap || messageCap) {
                    const std::string what = statementCap ? "statement cap reached ("
                            + std::to_string(Interpreter::maxStatementsPerRun) + " statements in one run)"
                                                          : "message cap reached (more than "
                            + std::to_string(Interpreter::maxMessagesPerRun) + " messages in one run)";
                    finding = &findings.noteRun("guard", true, what, seed);
                } else {
                    finding = &findings.note("error", true, utf8(message.text), seed);
                    ++finding->count;
                }
                if (finding->index < 0) {
                    finding->index = message.index;
                    finding->line = message.line;
                    finding->context = utf8(run.contexts[i]);
                }
            }
            const QuestionRecord& record = run.record;
            if (record.title.empty())
                findings.noteRun("empty", true, "empty title", seed);
            if (record.questionText.empty())
                findings.noteRun("empty", true, "empty question", seed);
            if (record.answerText.empty())
                findings.noteRun("empty", true, "empty answer", seed);
            if (run.run == 1) {
                firstCategory = record.categoryText;
                firstDescription = record.descriptionText;
            } else {
                // The library lists a file under the category and description of
                // one run, so they must not depend on the draw.
                if (record.categoryText != firstCategory)
                    findings.noteRun(
                        "differs", true, "category differs from the run of seed 1", seed, quoted(record.categoryText));
                if (record.descriptionText != firstDescription)
                    findings.noteRun("differs", true, "description differs from the run of seed 1", seed,
                        quoted(record.descriptionText));
            }
            checkMarking(record.answerText, seed, findings);
            checkPicture(record.drawingList, seed, findings);
            // A picture question may keep its text and vary its picture.
            Text question = record.questionText;
            for (const DrawingCommand& command : record.drawingList.entries) {
                for (std::int16_t n : { static_cast<std::int16_t>(command.kind), command.x1, command.y1, command.x2,
                         command.y2, command.red, command.green, command.blue })
                    question += static_cast<char16_t>(n);
                question += command.text;
                question += u'\0';
            }
            questions.insert(std::move(question));
            total += run.milliseconds;
            if (run.milliseconds > report.worstMilliseconds) {
                report.worstMilliseconds = run.milliseconds;
                report.worstSeed = seed;
            }
        },
        hooks);

    report.distinctQuestions = static_cast<int>(questions.size());
    report.meanMilliseconds = runs > 0 ? total / runs : 0;
    // Fewer runs than a drill cannot show more questions than runs.
    if (report.distinctQuestions < std::min(drillLength, runs)) {
        findings.note("variety", false,
            std::to_string(report.distinctQuestions) + " distinct questions in " + std::to_string(runs)
                + " runs, fewer than a drill of " + std::to_string(drillLength) + " asks",
            1);
    }
    // Timing depends on the machine, so it only warns.
    if (report.worstMilliseconds > frameBudgetMilliseconds) {
        findings.note("time", false, "a question took longer than the 16 ms frame budget", report.worstSeed,
            milliseconds(report.worstMilliseconds));
    }
    report.findings = findings.take();
    return report;
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
        }
        findings.push_back(std::move(json));
    }
    Json json
        = { { "file", report.file }, { "runs", report.runs }, { "healthy", report.healthy() }, { "findings", findings },
              { "distinctQuestions", report.distinctQuestions }, { "meanMs", report.meanMilliseconds },
              { "worstMs", report.worstMilliseconds }, { "worstSeed", report.worstSeed } };
    return json.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string checkText(const CheckReport& report)
{
    std::ostringstream out;
    out << "== " << report.file << "  (" << report.runs << " runs, seeds 1.." << report.runs << ")\n";
    for (const Finding& finding : report.findings) {
        out << (finding.failed ? "  FAIL  " : "  warn  ") << finding.check << ": ";
        if (finding.check == "error")
            out << firstLine(finding.what); // the rest is the statement, given below
        else
            out << finding.what;
        // Variety and time speak of all runs together and count none.
        if (finding.count > 0)
            out << "\n        " << finding.count << (finding.check == "error" ? " times" : " runs") << ", first seed "
                << finding.firstSeed;
        else if (finding.check == "time")
            out << "\n        seed " << finding.firstSeed;
        if (finding.index >= 0)
            out << ", " << lineText(finding.line) << ", statement " << finding.index << "    " << finding.context;
        if (!finding.example.empty())
            out << "\n        e.g. " << finding.example;
        out << '\n';
    }
    out << "  " << report.distinctQuestions << " distinct questions; time per question mean "
        << milliseconds(report.meanMilliseconds) << ", worst " << milliseconds(report.worstMilliseconds) << " (seed "
        << report.worstSeed << "), frame budget " << frameBudgetMilliseconds << " ms\n";
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
