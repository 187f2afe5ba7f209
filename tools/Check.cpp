#include "tools/Check.h"

#include "drill/Drill.h"
#include "drill/PictureRules.h"
#include "platform/Recording.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"
#include "script/Messages.h"
#include "tools/Engine.h"
#include "tools/NameCheck.h"
#include "tools/Wording.h"

#include <algorithm>
#include <map>
#include <set>

namespace numbrelle::runner {

namespace {

// Findings in the order they were first seen, merged by check and what, and
// by statement where one is named: the same slip on two lines is two findings.
class Findings {
public:
    Finding& note(const std::string& check, bool failed, const std::string& what, std::uint32_t seed,
        const std::string& example = {}, std::int32_t index = -1)
    {
        auto [it, added] = m_byKey.try_emplace(check + '\n' + what + '\n' + std::to_string(index), m_list.size());
        if (added) {
            Finding finding;
            finding.check = check;
            finding.failed = failed;
            finding.what = what;
            finding.firstSeed = seed;
            finding.example = example;
            finding.index = index;
            m_list.push_back(std::move(finding));
            m_lastSeed.push_back(0);
        }
        return m_list[it->second];
    }
    // Counts the run once however often it shows the problem.
    Finding& noteRun(const std::string& check, bool failed, const std::string& what, std::uint32_t seed,
        const std::string& example = {}, std::int32_t index = -1)
    {
        Finding& finding = note(check, failed, what, seed, example, index);
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

void checkShape(const DrawingCommand& command, std::uint32_t seed, Findings& findings)
{
    const std::string kind = DrawingStatement(command.kind);
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
}

void checkPicture(const DrawingList& drawing, std::uint32_t seed, Findings& findings)
{
    for (const DrawingCommand& command : drawing.entries) {
        checkShape(command, seed, findings);
        if (IgnoresPenWidth(command))
            findings.noteRun("picture", false,
                std::string(DrawingStatement(command.kind)) + " pen width will be ignored", seed, quoted(command.text));
    }
}

// Every accepted answer typed back into the one-line answer box must be marked right.
void checkMarking(const Text& answerText, std::uint32_t seed, Findings& findings)
{
    if (answerText.empty())
        return; // reported as an empty answer
    for (TextView answer : AcceptedAnswers(answerText)) {
        const Text piece(answer);
        const bool typable = std::all_of(piece.begin(), piece.end(), [](char16_t c) { return c >= 0x20 && c != 0x7F; });
        if (!typable)
            findings.noteRun("marking", true,
                "an accepted answer holds a line break or control character and cannot be typed", seed, quoted(piece));
        else if (!CheckAnswer(answerText, piece))
            findings.noteRun("marking", true, "an accepted answer typed back is marked wrong", seed, quoted(piece));
    }
}

// A picture question may keep its text and vary its picture, so the picture
// counts towards telling questions apart.
Text questionKey(const QuestionRecord& record)
{
    Text question = record.questionText;
    for (const DrawingCommand& command : record.drawingList.entries) {
        for (std::int16_t n : { static_cast<std::int16_t>(command.kind), command.x1, command.y1, command.x2, command.y2,
                 command.red, command.green, command.blue })
            question += static_cast<char16_t>(n);
        question += command.text;
        question += u'\0';
    }
    return question;
}

// Counts how often each statement ran in one run.
class RanCounter final : public RunObserver {
public:
    void start(std::size_t statements) { m_times.assign(statements, 0); }
    Watching watching() const override { return { true, false }; }
    void statementPassed(std::int32_t index, bool ran, std::size_t /*depth*/) override
    {
        if (ran && index >= 0 && static_cast<std::size_t>(index) < m_times.size())
            ++m_times[static_cast<std::size_t>(index)];
    }
    const std::vector<int>& times() const { return m_times; }

private:
    std::vector<int> m_times;
};

// The lines that hold c, counted as the statement list counts them: a line
// ends only at a CR.
std::vector<std::int32_t> linesHolding(const Text& text, bool (*holds)(const Text&, std::size_t))
{
    std::vector<std::int32_t> lines;
    std::int32_t line = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r')
            ++line;
        else if (holds(text, i) && (lines.empty() || lines.back() != line))
            lines.push_back(line);
    }
    return lines;
}

void noteLines(Findings& findings, const std::string& check, const std::string& what, std::vector<std::int32_t> lines)
{
    if (lines.empty())
        return;
    Finding& finding = findings.note(check, false, what, 0);
    finding.line = lines.front();
    finding.lines = std::move(lines);
}

// What the decoding left: U+FFFD for every byte it could not decode, and
// line ends of LF alone, which a Linux editor writes and which end no line.
void checkDecoding(const DecodedText& decoded, Findings& findings)
{
    noteLines(findings, "encoding",
        "bytes that cannot be read as " + std::string(EncodingName(decoded.encoding))
            + " show as U+FFFD: the file is damaged or in an encoding the program does not read",
        linesHolding(decoded.text, [](const Text& text, std::size_t i) { return text[i] == u'\uFFFD'; }));
    noteLines(findings, "line-ends",
        "line ends of LF alone end no line: a // comment runs on to the next CR and lines are counted by CR; "
        "save with CR LF line ends",
        linesHolding(decoded.text,
            [](const Text& text, std::size_t i) { return text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'); }));
}

// What the runs of one file showed, gathered run by run, beside what its
// statement list tells without running.
class QuestionCheck {
public:
    QuestionCheck(const std::string& file, const DecodedText& decoded, int runs)
        : m_inspector(m_boxes, m_random)
    {
        m_report.file = file;
        m_report.encoding = EncodingName(decoded.encoding);
        m_report.runs = runs;
        m_inspector.BuildStatementList(decoded.text);
        checkDecoding(decoded, m_findings);
        checkStatements();
    }

    // Sees every run, to tell which declarations ran.
    RunObserver* observer() { return &m_ran; }
    void beforeRun() { m_ran.start(m_inspector.statementList().entries.size()); }

    void take(const RunReport& run)
    {
        const auto seed = static_cast<std::uint32_t>(run.run);
        noteMessages(run, seed);
        noteDeclarations(seed);
        noteTexts(run, seed);
        checkMarking(run.record.answerText, seed, m_findings);
        checkPicture(run.record.drawingList, seed, m_findings);
        m_questions.insert(questionKey(run.record));
        m_total += run.milliseconds;
        if (run.milliseconds > m_report.worstMilliseconds) {
            m_report.worstMilliseconds = run.milliseconds;
            m_report.worstSeed = seed;
        }
    }

    CheckReport finish();

private:
    void checkStatements();
    Finding& noteStatement(Finding& finding);
    void noteDeclarations(std::uint32_t seed);
    void noteMessages(const RunReport& run, std::uint32_t seed);
    Finding& noteError(const CapturedMessage& message, std::uint32_t seed);
    void noteTexts(const RunReport& run, std::uint32_t seed);

    // The statement list as the runs see it, for lines and contexts.
    RecordingMessageBox m_boxes;
    ScriptedRandom m_random;
    Interpreter m_inspector;
    RanCounter m_ran;
    CheckReport m_report;
    Findings m_findings;
    std::set<Text> m_questions;
    Text m_firstCategory;
    Text m_firstDescription;
    double m_total = 0;
};

// Names and declarations are warnings: what they cause in a run (a fault, an
// empty answer) is reported by the checks of the run.
void QuestionCheck::checkStatements()
{
    const StatementList& list = m_inspector.statementList();
    for (const NameWarning& warning : checkNames(list))
        noteStatement(m_findings.note("names", false, warning.what, 0, {}, warning.index));
    for (const NameWarning& warning : declarationsInLoops(list))
        noteStatement(m_findings.note("declaration", false, warning.what, 0, {}, warning.index));
}

Finding& QuestionCheck::noteStatement(Finding& finding)
{
    finding.line = lineOf(m_inspector.statementList(), finding.index);
    finding.context = utf8(m_inspector.StatementContext(finding.index));
    return finding;
}

void QuestionCheck::noteDeclarations(std::uint32_t seed)
{
    for (const NameWarning& warning : repeatedDeclarations(m_inspector.statementList(), m_ran.times()))
        noteStatement(m_findings.noteRun("declaration", false, warning.what, seed, {}, warning.index));
}

void QuestionCheck::noteMessages(const RunReport& run, std::uint32_t seed)
{
    for (std::size_t i = 0; i < run.messages.size(); ++i) {
        const CapturedMessage& message = run.messages[i];
        if (!message.scriptError)
            continue;
        Finding& finding = noteError(message, seed);
        if (finding.index < 0) {
            finding.index = message.index;
            finding.line = message.line;
            finding.context = utf8(run.contexts[i]);
        }
    }
}

// The guards' own notices are reported as guards, once per run; every other
// error as itself, each time it was shown.
Finding& QuestionCheck::noteError(const CapturedMessage& message, std::uint32_t seed)
{
    if (message.text.starts_with(messages::statementCapReached))
        return m_findings.noteRun("guard", true,
            "statement cap reached (" + std::to_string(maxStatementsPerRun) + " statements in one run)", seed);
    if (message.text.starts_with(messages::tooManyMessages))
        return m_findings.noteRun("guard", true,
            "message cap reached (more than " + std::to_string(maxMessagesPerRun) + " messages in one run)", seed);
    Finding& finding = m_findings.note("error", true, utf8(message.text), seed);
    ++finding.count;
    return finding;
}

void QuestionCheck::noteTexts(const RunReport& run, std::uint32_t seed)
{
    const QuestionRecord& record = run.record;
    if (record.title.empty())
        m_findings.noteRun("empty", true, "empty title", seed);
    if (record.questionText.empty())
        m_findings.noteRun("empty", true, "empty question", seed);
    if (record.answerText.empty())
        m_findings.noteRun("empty", true, "empty answer", seed);
    if (run.run == 1) {
        m_firstCategory = record.categoryText;
        m_firstDescription = record.descriptionText;
        return;
    }
    // The library lists a file under the category and description of one
    // run, so they must not depend on the draw.
    if (record.categoryText != m_firstCategory)
        m_findings.noteRun(
            "differs", true, "category differs from the run of seed 1", seed, quoted(record.categoryText));
    if (record.descriptionText != m_firstDescription)
        m_findings.noteRun(
            "differs", true, "description differs from the run of seed 1", seed, quoted(record.descriptionText));
}

CheckReport QuestionCheck::finish()
{
    const int runs = m_report.runs;
    m_report.distinctQuestions = static_cast<int>(m_questions.size());
    m_report.meanMilliseconds = runs > 0 ? m_total / runs : 0;
    // Fewer runs than a drill cannot show more questions than runs.
    if (m_report.distinctQuestions < std::min(drillLength, runs)) {
        m_findings.note("variety", false,
            std::to_string(m_report.distinctQuestions) + " distinct questions in " + std::to_string(runs)
                + " runs, fewer than a drill of " + std::to_string(drillLength) + " asks",
            1);
    }
    // Timing depends on the machine, so it only warns.
    if (m_report.worstMilliseconds > frameBudgetMilliseconds) {
        m_findings.note("time", false, "a question took longer than the 16 ms frame budget", m_report.worstSeed,
            millisecondsText(m_report.worstMilliseconds));
    }
    m_report.findings = m_findings.take();
    return std::move(m_report);
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

CheckReport checkQuestion(const std::string& file, const DecodedText& decoded, int runs)
{
    QuestionCheck check(file, decoded, runs);
    StdRandom random;
    RunHooks hooks;
    hooks.observer = check.observer();
    hooks.beforeRun = [&](int run) {
        check.beforeRun();
        random.seed(static_cast<std::uint32_t>(run));
    };
    runQuestion(
        file, decoded.text, runs, random, [&](const RunReport& run) { check.take(run); }, hooks);
    return check.finish();
}

} // namespace numbrelle::runner
