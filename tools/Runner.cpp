#include "tools/Runner.h"

#include "platform/StdFileSystem.h"
#include "platform/StdRandom.h"
#include "script/Limits.h"
#include "tools/Check.h"
#include "tools/Engine.h"
#include "tools/Layout.h"
#include "tools/Report.h"
#include "tools/Trace.h"

#include <algorithm>
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
      "  --check    run each file with the seeds 1..N and report what would trouble a drill;\n"
      "             with numbrelle-preview beside numbrelle-run, also the layout of seeds 1..20\n"
      "exit status: 0 no script error (with --check: every file healthy), 1 a script error was\n"
      "reported (a check failed), 2 bad usage or an unreadable file\n";

namespace {

template <typename Number> bool parseNumber(const std::string& text, Number& out)
{
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// The value of an option: what is written after its "=", or else the next
// argument, which is then taken.
std::optional<std::string> optionValue(
    const std::optional<std::string>& written, const std::vector<std::string>& arguments, std::size_t& i)
{
    if (written)
        return written;
    if (i + 1 < arguments.size())
        return arguments[++i];
    return std::nullopt;
}

// Applies the option arguments[i], named name and with the value written
// after its "=", if any; the error when it is wrong.
std::optional<std::string> applyOption(const std::string& name, const std::optional<std::string>& written,
    const std::vector<std::string>& arguments, std::size_t& i, Options& options)
{
    const std::string& argument = arguments[i];
    if (name == "--help" || name == "-h") {
        options.help = true;
    } else if (name == "--json" && !written) {
        options.json = true;
    } else if ((name == "--list" || name == "--trace" || name == "--check") && !written) {
        const Mode mode = name == "--list" ? Mode::List : name == "--trace" ? Mode::Trace : Mode::Check;
        if (options.mode != Mode::Run && options.mode != mode)
            return "--list, --trace and --check cannot be combined";
        options.mode = mode;
    } else if (name == "--runs") {
        auto text = optionValue(written, arguments, i);
        int runs = 0;
        if (!text || !parseNumber(*text, runs) || runs < 1)
            return "--runs needs a whole number of at least 1";
        options.runs = runs;
    } else if (name == "--seed") {
        auto text = optionValue(written, arguments, i);
        std::uint32_t seed = 0;
        if (!text || !parseNumber(*text, seed))
            return "--seed needs a whole number from 0 to 4294967295";
        options.seed = seed;
    } else {
        return "unknown option " + argument;
    }
    return std::nullopt;
}

// What only the whole command line can get wrong.
std::optional<std::string> checkCombination(const Options& options)
{
    if (options.files.empty() && !options.help)
        return "no question file given";
    if (options.mode == Mode::Trace && options.json)
        return "--trace has no JSON form";
    if (options.mode == Mode::Check && options.seed)
        return "--check uses the seeds 1..N; --seed does not apply";
    return std::nullopt;
}

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
        std::optional<std::string> written;
        if (auto equals = argument.find('='); equals != std::string::npos) {
            name = argument.substr(0, equals);
            written = argument.substr(equals + 1);
        }
        if (name == "--")
            optionsEnded = true;
        else if (std::optional<std::string> error = applyOption(name, written, arguments, i, options))
            return { std::nullopt, *error };
    }
    if (std::optional<std::string> error = checkCombination(options))
        return { std::nullopt, *error };
    return { options, {} };
}

namespace {

// Runs one file as often as asked and writes each run's report, with the
// trace in front of each when it was asked for. True when a run reported a
// script error.
bool runFile(const Options& options, const std::string& file, const DecodedText& decoded, int runs,
    RandomSource& random, std::ostream& out)
{
    const Text& text = decoded.text;
    std::optional<StatementList> list;
    std::optional<TraceWriter> trace;
    RunHooks hooks;
    if (options.mode == Mode::Trace) {
        list.emplace(BuildStatementList(text));
        trace.emplace(*list, out);
        hooks.observer = &*trace;
        hooks.beforeRun = [&](int run) { out << "== " << file << "  (trace of run " << run << ")\n"; };
    }
    bool scriptError = false;
    runQuestion(
        file, text, runs, random,
        [&](const RunReport& report) {
            if (trace)
                trace->finishRun();
            scriptError = scriptError || report.reportedScriptError();
            out << (options.json ? runJson(report, decoded.encoding) + "\n" : runText(report));
        },
        hooks);
    return scriptError;
}

// Checks every file, with the preview measuring the layout meanwhile when
// there is one, and writes the reports; true when a file is not healthy.
bool checkFiles(
    const Options& options, const std::vector<DecodedText>& texts, int runs, std::ostream& out, std::ostream& err)
{
    const int layoutSeeds = std::min(runs, layoutRuns);
    std::optional<LayoutCheck> layout;
    if (options.previewProgram)
        layout.emplace(*options.previewProgram, options.files, layoutSeeds);
    std::vector<CheckReport> reports;
    for (std::size_t i = 0; i < options.files.size(); ++i)
        reports.push_back(checkQuestion(options.files[i], texts[i], runs));

    LayoutResult layoutResult;
    if (layout)
        layoutResult = layout->finish();
    else
        layoutResult.note = "no numbrelle-preview beside numbrelle-run";
    bool unhealthy = false;
    for (CheckReport& report : reports) {
        report.layoutRuns = layoutResult.checked ? layoutSeeds : 0;
        if (auto found = layoutResult.findings.find(report.file); found != layoutResult.findings.end())
            report.findings.insert(report.findings.end(), found->second.begin(), found->second.end());
        out << (options.json ? checkJson(report) + "\n" : checkText(report));
        unhealthy = unhealthy || !report.healthy();
    }
    // Said once, after the reports; beside the JSON lines rather than among them.
    const std::string layoutText = layoutResult.checked
        ? "layout checked by numbrelle-preview on seeds 1.." + std::to_string(layoutSeeds)
        : "layout not checked: " + layoutResult.note;
    if (!options.json)
        out << layoutText << '\n';
    else if (!layoutResult.checked)
        err << "numbrelle-run: " << layoutText << '\n';
    return unhealthy;
}

} // namespace

int runFiles(const Options& options, FileSystem& files, RandomSource& random, std::ostream& out, std::ostream& err)
{
    // Every file is read before anything runs, so an unreadable one is
    // reported without a partial result in front of it.
    std::vector<DecodedText> texts;
    for (const std::string& file : options.files) {
        std::optional<DecodedText> text = readQuestion(files, file);
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
    if (options.mode == Mode::Check)
        scriptError = checkFiles(options, texts, runs, out, err);
    for (std::size_t i = 0; i < options.files.size() && options.mode != Mode::Check; ++i) {
        const std::string& file = options.files[i];
        if (options.mode == Mode::List)
            out << listJson(file, BuildStatementList(texts[i].text)) << '\n';
        else
            scriptError = runFile(options, file, texts[i], runs, random, out) || scriptError;
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
    if (options.mode == Mode::Check)
        options.previewProgram = previewBeside();
    StdRandom random;
    random.seed(*options.seed);
    StdFileSystem files { maxQuestionFileBytes };
    return runFiles(options, files, random, out, err);
}

} // namespace numbrelle::runner
