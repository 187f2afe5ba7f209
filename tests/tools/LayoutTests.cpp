// The layout warnings that --check takes from numbrelle-preview: read back
// from its lines, folded into each file's report, and a preview that is
// missing, fails or hangs said so rather than taken for a clean layout.
#include "tests/tools/RunnerFixture.h"
#include "tools/Layout.h"

#include <fstream>
#include <sys/stat.h>

namespace numbrelle {
namespace {

using runner::Finding;
using runner::LayoutCheck;
using runner::LayoutResult;

const std::string clean = "title(Clean);\r\nstrout(Fine);\r\nans(1);\r\nline(0,500,1000,500);\r\nprint(A,100,100);\r\n";
// The label's height is drawn, so only some runs put it on the line.
const std::string planted = "title(Planted);\r\nstrout(Look);\r\nans(1);\r\nint(y);\r\nrandom(y,2,0);\r\n"
                            "=*(y,y,240);\r\nline(0,500,1000,500);\r\nprint(LABEL,100,y);\r\n";

TEST(ReadPreviewLine, WarningsAndFilesItCouldNotShow)
{
    const std::vector<std::string> files { "a.txt", "dir: x/b.txt", "dir" };
    struct Row {
        const char* line;
        bool errorOutput;
        int file; // -1: not read
        int lineNumber;
        const char* what;
        int count;
        std::uint32_t firstSeed;
    };
    const Row rows[] = {
        { "a.txt: line 8: label \"L\" touches a line (line 7)  (3 of 20 runs, first seed 2)", false, 0, 8,
            "label \"L\" touches a line (line 7)", 3, 2 },
        { "a.txt: the question text is cut off  (20 of 20 runs, first seed 1)", false, 0, 0,
            "the question text is cut off", 20, 1 },
        // The longest name that fits wins, though a shorter one is its start.
        { "dir: x/b.txt: line 2: x  (1 of 1 runs, first seed 1)", false, 1, 2, "x", 1, 1 },
        { "numbrelle-preview: a.txt: not a question file", true, 0, 0, "not checked: not a question file", 0, 0 },
        { "c.txt: line 1: x  (1 of 1 runs, first seed 1)", false, -1, 0, "", 0, 0 },
        { "a.txt: line x: y  (1 of 1 runs, first seed 1)", false, -1, 0, "", 0, 0 },
        { "a.txt: no counts", false, -1, 0, "", 0, 0 },
        { "a.txt: x  (1 of 1 runs, first seed -1)", false, -1, 0, "", 0, 0 },
        { "QStandardPaths: XDG_RUNTIME_DIR not set", true, -1, 0, "", 0, 0 },
        { "a.txt: not a question file", true, -1, 0, "", 0, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        const auto read = runner::readPreviewLine(row.line, files, row.errorOutput);
        ASSERT_EQ(read.has_value(), row.file >= 0);
        if (!read)
            continue;
        EXPECT_EQ(read->first, static_cast<std::size_t>(row.file));
        const Finding& finding = read->second;
        EXPECT_EQ(finding.check, "layout");
        EXPECT_FALSE(finding.failed);
        EXPECT_EQ(finding.line, row.lineNumber);
        EXPECT_EQ(finding.what, row.what);
        EXPECT_EQ(finding.count, row.count);
        EXPECT_EQ(finding.firstSeed, row.firstSeed);
    }
}

class LayoutTest : public RunnerTest {
protected:
    // A stand-in for the preview: a shell script in the scratch folder.
    std::string program(const std::string& name, const std::string& body)
    {
        const std::string file = write(name, "#!/bin/sh\n" + body + "\n");
        chmod(file.c_str(), 0755);
        return file;
    }

    struct Checked {
        int status;
        std::string out;
        std::string err;
    };
    Checked check(const std::vector<std::string>& files, std::optional<std::string> preview, bool json = false)
    {
        runner::Options options;
        options.mode = runner::Mode::Check;
        options.json = json;
        options.runs = 3;
        options.files = files;
        options.previewProgram = std::move(preview);
        StdFileSystem system { maxQuestionFileBytes };
        ScriptedRandom random;
        std::ostringstream out, err;
        const int status = runner::runFiles(options, system, random, out, err);
        return { status, out.str(), err.str() };
    }
};

// The built numbrelle-run finds the built preview beside it, as installed.
TEST_F(LayoutTest, TheRunnerFoldsThePreviewsWarningsIntoEachFile)
{
    if (!NUMBRELLE_HAS_PREVIEW)
        GTEST_SKIP() << "built without the window";
    const std::string cleanFile = write("clean.txt", clean);
    const std::string plantedFile = write("planted.txt", planted);
    const std::string out = path("out.json");
    const std::string command = std::string(NUMBRELLE_RUN) + " --check --json --runs 30 " + cleanFile + " "
        + plantedFile + " " + cleanFile + " >" + out;
    ASSERT_EQ(std::system(command.c_str()), 0) << "layout warnings do not fail the check";
    std::ifstream lines(out);
    std::vector<Json> reports;
    for (std::string line; std::getline(lines, line);)
        reports.push_back(Json::parse(line));
    ASSERT_EQ(reports.size(), 3u);
    for (std::size_t i = 0; i < reports.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(reports[i]["layoutRuns"], 20);
        std::vector<Json> layout;
        for (const Json& finding : reports[i]["findings"]) {
            if (finding["check"] == "layout")
                layout.push_back(finding);
        }
        if (i != 1) {
            EXPECT_TRUE(layout.empty()) << reports[i].dump();
            continue;
        }
        ASSERT_EQ(layout.size(), 1u) << reports[i].dump();
        EXPECT_EQ(layout[0]["what"], "label \"LABEL\" touches a line (line 7)");
        EXPECT_EQ(layout[0]["line"], 8);
        EXPECT_EQ(layout[0]["failed"], false);
        EXPECT_GT(layout[0]["count"].get<int>(), 0);
        EXPECT_LT(layout[0]["count"].get<int>(), 20);
    }
}

TEST_F(LayoutTest, WithoutThePreviewTheLayoutIsSaidOnceNotToBeChecked)
{
    const std::vector<std::string> files { write("a.txt", clean), write("b.txt", clean) };
    const Checked text = check(files, std::nullopt);
    EXPECT_EQ(text.status, 0);
    const std::string note = "layout not checked: no numbrelle-preview beside numbrelle-run\n";
    EXPECT_EQ(text.out.find(note), text.out.size() - note.size()) << text.out;
    EXPECT_EQ(text.out.find("layout"), text.out.rfind("layout")) << text.out;

    const Checked json = check(files, std::nullopt, true);
    std::istringstream lines(json.out);
    int reports = 0;
    for (std::string line; std::getline(lines, line); ++reports)
        EXPECT_EQ(Json::parse(line)["layoutRuns"], 0);
    EXPECT_EQ(reports, 2);
    EXPECT_EQ(json.err, "numbrelle-run: " + note);
}

TEST_F(LayoutTest, APreviewThatFailsOrSaysWhatCannotBeReadChecksNothing)
{
    const std::string file = write("a.txt", clean);
    struct Row {
        const char* name;
        std::string body;
        std::string note; // part of it
    };
    const Row rows[] = {
        { "fails", "exit 3", "failed with status 3" },
        { "warns unreadably", "echo 'something odd'; exit 1", "failed with status 1: something odd" },
        { "warns without a line", "exit 1", "failed with status 1" },
        { "killed", "kill -9 $$", "ended by signal 9" },
        { "missing", "", "cannot start" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string preview = row.body.empty() ? path("no-such-program") : program("preview.sh", row.body);
        const Checked result = check({ file }, preview);
        EXPECT_EQ(result.status, 0);
        EXPECT_NE(result.out.find("layout not checked: "), std::string::npos) << result.out;
        EXPECT_NE(result.out.find(row.note), std::string::npos) << result.out;
    }
}

TEST_F(LayoutTest, APreviewThatTakesTooLongIsStopped)
{
    const std::string file = write("a.txt", clean);
    const std::string preview = program("slow.sh", "exec sleep 30");
    LayoutCheck layout(preview, { file }, 1, std::chrono::milliseconds(100));
    const LayoutResult result = layout.finish();
    EXPECT_FALSE(result.checked);
    EXPECT_EQ(result.note, "numbrelle-preview took longer than 1 s");
}

// The preview is handed the files as arguments, never through a shell, and a
// name that looks like an option is not taken for one.
TEST_F(LayoutTest, FilesReachThePreviewAsTheyAreNamed)
{
    const std::string quote = write("it's $(x).txt", clean);
    const std::string argumentsFile = path("arguments");
    const std::string preview = program("echo.sh",
        "for a in \"$@\"; do printf '%s\\n' \"$a\"; done >" + argumentsFile + "; printf '%s: line 5: x  (1 of 3 runs, "
            + "first seed 2)\\n' \"$4\"; exit 1");
    const Checked result = check({ quote }, preview, true);
    std::ifstream read(argumentsFile);
    std::vector<std::string> arguments;
    for (std::string line; std::getline(read, line);)
        arguments.push_back(line);
    EXPECT_EQ(arguments, (std::vector<std::string> { "--layout", "--runs", "3", quote }));
    const Json report = Json::parse(result.out);
    EXPECT_EQ(report["layoutRuns"], 3);
    // variety, and the layout's; the clock's time warning may come on a busy machine.
    Json findings = Json::array();
    for (const Json& finding : report["findings"])
        if (finding["check"] != "time")
            findings.push_back(finding);
    ASSERT_EQ(findings.size(), 2u) << result.out;
    EXPECT_EQ(findings[1]["line"], 5);
}

} // namespace
} // namespace numbrelle
