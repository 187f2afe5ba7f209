#include "tools/Engine.h"

#include "platform/Recording.h"
#include "script/Messages.h"

#include <chrono>

namespace numbrelle::runner {

namespace {

// Records every box the run shows, with the statement the interpreter named.
// Passes everything on to the trace, when there is one.
class MessageCapture final : public RunObserver {
public:
    explicit MessageCapture(RunObserver* next)
        : m_next(next)
    {
    }

    // The boxes, the caps and the drawing are all the capture needs; the rest
    // is asked for only when someone is listening behind it.
    Watching watching() const override { return m_next ? m_next->watching() : Watching { false, false }; }
    void statementPassed(std::int32_t index, bool ran, std::size_t depth) override
    {
        if (m_next)
            m_next->statementPassed(index, ran, depth);
    }
    void drawn(std::int32_t index) override
    {
        drawnBy.push_back(index);
        if (m_next)
            m_next->drawn(index);
    }
    void stored(const Location& at, const Text& name, const Value& value) override
    {
        if (m_next)
            m_next->stored(at, name, value);
    }
    void appended(RecordField field, const Text& text) override
    {
        if (m_next)
            m_next->appended(field, text);
    }
    void messageShown(std::int32_t index, const Text& text) override
    {
        shown.push_back({ index, text });
        if (m_next)
            m_next->messageShown(index, text);
    }
    void statementCapHit() override
    {
        statementCap = true;
        if (m_next)
            m_next->statementCapHit();
    }
    void messageCapHit() override
    {
        messageCap = true;
        if (m_next)
            m_next->messageCapHit();
    }

    void clear()
    {
        shown.clear();
        drawnBy.clear();
        statementCap = messageCap = false;
    }

    std::vector<std::pair<std::int32_t, Text>> shown;
    // The statement that added each drawing entry of the run so far.
    std::vector<std::int32_t> drawnBy;
    bool statementCap = false;
    bool messageCap = false;

private:
    RunObserver* m_next;
};

// The boxes are the truth of what was shown; the observer says which
// statement showed each of them.
void addMessages(
    RunReport& report, const std::vector<Text>& boxes, const MessageCapture& capture, const Interpreter& interpreter)
{
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        CapturedMessage message;
        message.text = boxes[i];
        if (i < capture.shown.size())
            message.index = capture.shown[i].first;
        message.line = lineOf(interpreter.statementList(), message.index);
        // Every error the language reports starts with the prefix, and no
        // msgbox text can: the full-width blank in it never survives
        // preprocessing and no escape writes one.
        message.scriptError = message.text.starts_with(messages::errorPrefix);
        report.contexts.push_back(message.index >= 0 ? interpreter.StatementContext(message.index) : Text());
        report.messages.push_back(std::move(message));
    }
}

} // namespace

std::int32_t lineOf(const StatementList& list, std::int32_t index)
{
    if (index < 0 || index > list.lastIndex)
        return 0;
    return list.entries[static_cast<std::size_t>(index)].line;
}

bool RunReport::reportedScriptError() const
{
    for (const CapturedMessage& message : messages) {
        if (message.scriptError)
            return true;
    }
    return false;
}

std::optional<DecodedText> readQuestion(FileSystem& files, const std::string& path)
{
    // The program's own reading, so that the runner sees what a drill sees.
    return ReadQuestionText(files, path);
}

void runQuestion(const std::string& file, const Text& text, int runs, RandomSource& random, const RunSink& sink,
    const RunHooks& hooks)
{
    RecordingMessageBox boxes;
    MessageCapture capture(hooks.observer);
    Interpreter interpreter(boxes, random);
    interpreter.setObserver(&capture);
    interpreter.BuildStatementList(text);
    for (int run = 1; run <= runs; ++run) {
        boxes.texts.clear();
        capture.clear();
        if (hooks.beforeRun)
            hooks.beforeRun(run);
        const auto start = std::chrono::steady_clock::now();
        interpreter.RunScript();
        const auto end = std::chrono::steady_clock::now();

        RunReport report;
        report.file = file;
        report.run = run;
        report.milliseconds = std::chrono::duration<double, std::milli>(end - start).count();
        report.statementCapHit = capture.statementCap;
        report.messageCapHit = capture.messageCap;
        report.record = interpreter.record();
        for (std::int32_t index : capture.drawnBy)
            report.drawingLines.push_back(lineOf(interpreter.statementList(), index));
        addMessages(report, boxes.texts, capture, interpreter);
        sink(report);
    }
}

} // namespace numbrelle::runner
