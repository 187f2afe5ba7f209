#include "tools/Runner.h"

#include "platform/Recording.h"
#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Messages.h"

#include <charconv>
#include <chrono>
#include <ostream>

namespace numbrelle::runner {

const char* const usageText = "usage: numbrelle-run [--runs N] [--seed S] [--json] [--list] FILE...\n"
                              "  --runs N   run each file N times on one statement list (default 1)\n"
                              "  --seed S   seed the random generator with S (default: from the clock)\n"
                              "  --json     one JSON object per run and line instead of the readable form\n"
                              "  --list     print each file's statement list as JSON instead of running it\n"
                              "exit status: 0 no script error, 1 a script error was reported, 2 bad usage or an unreadable file\n";

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& out)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Records every box the run shows, with the statement the interpreter named.
class MessageCapture final : public RunObserver {
public:
    void messageShown(std::int32_t index, const Text& text) override { shown.push_back({ index, text }); }

    std::vector<std::pair<std::int32_t, Text>> shown;
};

} // namespace

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
        } else if (name == "--list" && !value) {
            options.mode = Mode::List;
        } else if (name == "--runs") {
            auto text = takeValue();
            if (!text || !parseNumber(*text, options.runs) || options.runs < 1)
                return { std::nullopt, "--runs needs a whole number of at least 1" };
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

void runQuestion(const std::string& file, const Text& text, int runs, RandomSource& random, const RunSink& sink)
{
    RecordingMessageBox boxes;
    MessageCapture capture;
    Interpreter interpreter(boxes, random);
    interpreter.setObserver(&capture);
    interpreter.BuildStatementList(text);
    for (int run = 1; run <= runs; ++run) {
        boxes.texts.clear();
        capture.shown.clear();
        interpreter.RunScript();

        RunReport report;
        report.file = file;
        report.run = run;
        report.record = interpreter.record();
        // The boxes are the truth of what was shown; the observer says which
        // statement showed each of them.
        for (std::size_t i = 0; i < boxes.texts.size(); ++i) {
            CapturedMessage message;
            message.text = boxes.texts[i];
            if (i < capture.shown.size())
                message.index = capture.shown[i].first;
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
    if (options.mode == Mode::Run && !options.json && options.seed)
        out << "seed " << *options.seed << '\n';
    bool scriptError = false;
    for (std::size_t i = 0; i < options.files.size(); ++i) {
        if (options.mode == Mode::List) {
            out << listJson(options.files[i], BuildStatementList(texts[i])) << '\n';
            continue;
        }
        runQuestion(options.files[i], texts[i], options.runs, random, [&](const RunReport& report) {
            scriptError = scriptError || report.reportedScriptError();
            out << (options.json ? runJson(report) : runText(report)) << (options.json ? "\n" : "");
        });
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
