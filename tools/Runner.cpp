#include "tools/Runner.h"

#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Messages.h"
#include "tools/Check.h"

#include <charconv>
#include <chrono>
#include <ostream>

namespace numbrelle::runner {

const char* const usageText
    = "usage: numbrelle-run [--runs N] [--seed S] [--json] [--list | --trace | --check] FILE...\n"
      "  --runs N   run each file N times on one statement list (default 1; 200 with --check)\n"
      "  --seed S   seed the random generator with S (default: from the clock)\n"
      "  --json     one JSON object per run (per file with --check) and line\n"
      "  --list     print each file's statement list as JSON instead of running it\n"
      "  --trace    before each run's result, one line per statement passed: index, line,\n"
      "             block depth, ran or skipped, statement, and what it stored, appended or showed\n"
      "  --check    run each file with the seeds 1..N and report what would trouble a drill\n"
      "exit status: 0 no script error (with --check: every file healthy), 1 a script error was\n"
      "reported (a check failed), 2 bad usage or an unreadable file\n";

namespace {

template <typename Number> bool parseNumber(const std::string& text, Number& out)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Records every box the run shows, with the statement the interpreter named.
// Passes everything on to the trace, when there is one.
class MessageCapture final : public RunObserver {
public:
    explicit MessageCapture(RunObserver* next)
        : m_next(next)
    {
    }

    void statementPassed(std::int32_t index, bool ran, std::size_t depth) override
    {
        // A statement adds one drawing entry at most.
        if (drawing && drawing->entries.size() > drawnBy.size())
            drawnBy.resize(drawing->entries.size(), index);
        if (m_next)
            m_next->statementPassed(index, ran, depth);
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

    std::vector<std::pair<std::int32_t, Text>> shown;
    // The statement that added each drawing entry of the run so far.
    const DrawingList* drawing = nullptr;
    std::vector<std::int32_t> drawnBy;
    bool statementCap = false;
    bool messageCap = false;

private:
    RunObserver* m_next;
};

} // namespace

std::int32_t lineOf(const StatementList& list, std::int32_t index)
{
    if (index < 0 || index > list.lastIndex)
        return 0;
    return list.entries[static_cast<std::size_t>(index)].line;
}

ParsedArguments parseArguments(const std::vector<std::string>& arguments)
{
    Options options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.files.push_back(argument);
            continue;
        }
        std::string name = argument;
        std::optional<std::string> value;
        if (auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 < arguments.size())
                return arguments[++i];
            return std::nullopt;
        };

        if (name == "--") {
            optionsEnded = true;
        } else if (name == "--help" || name == "-h") {
            options.help = true;
        } else if (name == "--json" && !value) {
            options.json = true;
        } else if ((name == "--list" || name == "--trace" || name == "--check") && !value) {
            const Mode mode = name == "--list" ? Mode::List : name == "--trace" ? Mode::Trace : Mode::Check;
            if (options.mode != Mode::Run && options.mode != mode)
                return { std::nullopt, "--list, --trace and --check cannot be combined" };
            options.mode = mode;
        } else if (name == "--runs") {
            auto text = takeValue();
            int runs = 0;
            if (!text || !parseNumber(*text, runs) || runs < 1)
                return { std::nullopt, "--runs needs a whole number of at least 1" };
            options.runs = runs;
        } else if (name == "--seed") {
            auto text = takeValue();
            std::uint32_t seed = 0;
            if (!text || !parseNumber(*text, seed))
                return { std::nullopt, "--seed needs a whole number from 0 to 4294967295" };
            options.seed = seed;
        } else {
            return { std::nullopt, "unknown option " + argument };
        }
    }
    if (options.files.empty() && !options.help)
        return { std::nullopt, "no question file given" };
    if (options.mode == Mode::Trace && options.json)
        return { std::nullopt, "--trace has no JSON form" };
    if (options.mode == Mode::Check && options.seed)
        return { std::nullopt, "--check uses the seeds 1..N; --seed does not apply" };
    return { options, {} };
}

bool RunReport::reportedScriptError() const
{
    for (const CapturedMessage& message : messages) {
        if (message.scriptError)
            return true;
    }
    return false;
}

std::optional<Text> readQuestion(FileSystem& files, const std::string& path)
{
    std::optional<std::string> bytes = files.readBytes(path);
    if (!bytes)
        return std::nullopt;
    // Read once, then decoded and joined by the program's own rules.
    MemoryFileSystem held;
    held.contents[path] = std::move(*bytes);
    return ReadQuestionFile(held, path);
}

void runQuestion(const std::string& file, const Text& text, int runs, RandomSource& random, const RunSink& sink,
    const RunHooks& hooks)
{
    RecordingMessageBox boxes;
    MessageCapture capture(hooks.observer);
    Interpreter interpreter(boxes, random);
    interpreter.setObserver(&capture);
    capture.drawing = &interpreter.record().drawingList;
    interpreter.BuildStatementList(text);
    for (int run = 1; run <= runs; ++run) {
        boxes.texts.clear();
        capture.shown.clear();
        capture.drawnBy.clear();
        capture.statementCap = capture.messageCap = false;
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
        // The boxes are the truth of what was shown; the observer says which
        // statement showed each of them.
        for (std::size_t i = 0; i < boxes.texts.size(); ++i) {
            CapturedMessage message;
            message.text = boxes.texts[i];
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
        sink(report);
    }
}

int runFiles(const Options& options, FileSystem& files, RandomSource& random, std::ostream& out, std::ostream& err)
{
    // Every file is read before anything runs, so an unreadable one is
    // reported without a partial result in front of it.
    std::vector<Text> texts;
    for (const std::string& file : options.files) {
        std::optional<Text> text = readQuestion(files, file);
        if (!text) {
            err << "numbrelle-run: cannot read " << file << '\n';
            return BadUsage;
        }
        texts.push_back(std::move(*text));
    }

    // Printed so that an author can repeat a run that showed something odd.
    if ((options.mode == Mode::Run || options.mode == Mode::Trace) && !options.json && options.seed)
        out << "seed " << *options.seed << '\n';
    const int runs = options.runs.value_or(options.mode == Mode::Check ? defaultCheckRuns : 1);
    bool scriptError = false;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        if (options.mode == Mode::List) {
            out << listJson(options.files[i], BuildStatementList(texts[i])) << '\n';
            continue;
        }
        if (options.mode == Mode::Check) {
            CheckReport report = checkQuestion(options.files[i], texts[i], runs);
            scriptError = scriptError || !report.healthy();
            out << (options.json ? checkJson(report) + "\n" : checkText(report));
            continue;
        }
        std::optional<StatementList> list;
        std::optional<TraceWriter> trace;
        RunHooks hooks;
        if (options.mode == Mode::Trace) {
            list.emplace(BuildStatementList(texts[i]));
            trace.emplace(*list, out);
            hooks.observer = &*trace;
            hooks.beforeRun = [&](int run) { out << "== " << options.files[i] << "  (trace of run " << run << ")\n"; };
        }
        runQuestion(
            options.files[i], texts[i], runs, random,
            [&](const RunReport& report) {
                if (trace)
                    trace->finishRun();
                scriptError = scriptError || report.reportedScriptError();
                out << (options.json ? runJson(report) : runText(report)) << (options.json ? "\n" : "");
            },
            hooks);
    }
    out.flush();
    return scriptError ? ScriptErrorReported : Success;
}

int runMain(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err)
{
    ParsedArguments parsed = parseArguments(arguments);
    if (!parsed.options) {
        err << "numbrelle-run: " << parsed.error << " (--help for usage)\n";
        return BadUsage;
    }
    Options& options = *parsed.options;
    if (options.help) {
        out << usageText;
        return Success;
    }
    if (!options.seed) {
        auto now = std::chrono::system_clock::now().time_since_epoch();
        options.seed = static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::microseconds>(now).count());
    }
    StdRandom random;
    random.seed(*options.seed);
    StdFileSystem files;
    return runFiles(options, files, random, out, err);
}

} // namespace numbrelle::runner
