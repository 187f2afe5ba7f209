#include "tools/preview/Arguments.h"

#include <charconv>

namespace numbrelle::preview {

const char* const previewUsage = "usage: numbrelle-preview [--seed S] FILE\n"
                                 "       numbrelle-preview --png DIR [--runs N] FILE...\n"
                                 "       numbrelle-preview --layout [--runs N] FILE...\n"
                                 "\n"
                                 "The window shows FILE's question screen as the drill shows it, with the seed,\n"
                                 "the accepted answers, the run's message boxes and the layout warnings beside it,\n"
                                 "and runs the file again whenever it is saved. PageDown and PageUp choose the\n"
                                 "next and previous seed; Enter marks the typed answer and goes back again.\n"
                                 "\n"
                                 "--png writes DIR/NAME-S.png, the question screen of seed S for S = 1..N\n"
                                 "(N = 1 unless --runs is given), and DIR/NAME-S-picture.png when the run drew,\n"
                                 "and prints the layout warnings: printed labels that touch a line or one another\n"
                                 "or leave the picture, question texts cut off, titles and names wider than their\n"
                                 "labels. It needs no display. Exit status 0 without warnings, 1 with warnings,\n"
                                 "2 for a file that cannot be shown or bad usage.\n"
                                 "\n"
                                 "--layout prints the same warnings and writes no image.\n";

namespace {

template <typename Number> bool parseNumber(const std::string& text, Number& out, Number least)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
    return error == std::errc() && end == text.data() + text.size() && out >= least;
}

} // namespace

ParsedArguments ParseArguments(const std::vector<std::string>& arguments)
{
    Arguments parsed;
    std::vector<std::string> files;
    std::optional<int> runs;
    bool seedGiven = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            parsed.help = true;
        } else if (argument == "--png") {
            if (!hasValue)
                return { std::nullopt, "--png needs a folder" };
            if (parsed.png)
                return { std::nullopt, "give one of --png DIR and --layout" };
            parsed.png = PngOptions { arguments[++i], 1, {} };
        } else if (argument == "--layout") {
            if (parsed.png)
                return { std::nullopt, "give one of --png DIR and --layout" };
            parsed.png = PngOptions { {}, 1, {} };
        } else if (argument == "--runs") {
            int value = 0;
            if (!hasValue || !parseNumber(arguments[++i], value, 1))
                return { std::nullopt, "--runs needs a whole number of at least 1" };
            runs = value;
        } else if (argument == "--seed") {
            if (!hasValue || !parseNumber(arguments[++i], parsed.seed, std::uint32_t { 1 }))
                return { std::nullopt, "--seed needs a whole number of at least 1" };
            seedGiven = true;
        } else if (argument.starts_with("--")) {
            return { std::nullopt, "unknown option " + argument };
        } else {
            files.push_back(argument);
        }
    }
    if (parsed.help)
        return { parsed, {} };
    if (parsed.png) {
        const std::string option = parsed.png->folder.empty() ? "--layout" : "--png";
        if (seedGiven)
            return { std::nullopt, option + " uses the seeds 1..N; --seed does not apply" };
        if (files.empty())
            return { std::nullopt, option + " needs at least one file" };
        parsed.png->runs = runs.value_or(1);
        parsed.png->files = std::move(files);
        return { parsed, {} };
    }
    if (runs)
        return { std::nullopt, "--runs goes with --png" };
    if (files.size() != 1)
        return { std::nullopt, "the window shows one file" };
    parsed.file = files.front();
    return { parsed, {} };
}

} // namespace numbrelle::preview
