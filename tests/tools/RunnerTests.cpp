// The headless runner end to end: question files written to a temporary
// folder, run through the runner's main, the output read back as JSON.
#include "tests/tools/RunnerFixture.h"
#include "tools/Engine.h"
#include "tools/Report.h"
#include "tools/Runner.h"

#include "platform/Recording.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>

namespace numbrelle {
namespace {

const std::string unknownStatement = "エラー　：　次の命令を認識できませんでした。";

TEST_F(RunnerTest, JsonRunHasEveryRecordText)
{
    std::string file = write("sums",
        "title(Sums);\r\nstrout(1\\s+\\s2\\n=);\r\nans(3);\r\n"
        "linetext(Add);\r\nextext(Adds\\stwo);\r\n");
    Result result = run({ "--json", "--seed", "1", file });
    ASSERT_EQ(result.status, 0) << result.out;
    ASSERT_EQ(result.lines.size(), 1u);
    Json expected = { { "file", file }, { "run", 1 }, { "title", "Sums" }, { "question", "1 + 2\r\n=" },
        { "answer", "3" }, { "description", "Adds two" }, { "category", "Add" }, { "drawing", Json::array() },
        { "messages", Json::array() }, { "messageLines", Json::array() }, { "encoding", "CP932" } };
    EXPECT_EQ(result.lines[0], expected);
    // Last, so that a reader of the objects as they were finds every field in place.
    EXPECT_NE(result.out.find(",\"encoding\":\"CP932\"}\n"), std::string::npos) << result.out;
}

TEST_F(RunnerTest, ScriptErrorIsCapturedAndGivesStatusOne)
{
    std::string file = write("bad", "title(A);bogus(x);title(B);");
    Result result = run({ "--json", file });
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(result.lines.size(), 1u);
    // The run went on after the box.
    EXPECT_EQ(result.lines[0]["title"], "AB");
    EXPECT_EQ(result.lines[0]["messages"], Json::array({ unknownStatement + "\r\n\r\n1    bogus    \"x,\"" }));
}

TEST_F(RunnerTest, CodePage932FileArrivesAsUtf8)
{
    // 問題 and 表 (whose second byte is 0x5C) in code page 932, across a lone CR.
    std::string file = write("sjis", "title(\x96\xe2\x91\xe8);\rstrout(\x95\x5c);");
    Result result = run({ "--json", file });
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(result.lines.at(0)["title"], "問題");
    EXPECT_EQ(result.lines.at(0)["question"], "表");
}

TEST_F(RunnerTest, RunsRepeatOnOneListAndStartAfresh)
{
    std::string file = write("twice", "title(T);");
    std::string other = write("other", "nothing;");
    Result result = run({ "--runs", "3", "--json", file, other });
    EXPECT_EQ(result.status, 1);
    ASSERT_EQ(result.lines.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(result.lines[i]["file"], i < 3 ? file : other);
        EXPECT_EQ(result.lines[i]["run"], i % 3 + 1);
        // Each run empties the record before it fills it again.
        EXPECT_EQ(result.lines[i]["title"], i < 3 ? "T" : "");
        EXPECT_EQ(result.lines[i]["messages"].size(), i < 3 ? 0u : 1u);
    }
}

TEST_F(RunnerTest, SameSeedSameQuestions)
{
    std::string file = write("random", "int(a);random(a,1,30000);strout([a]);");
    Result first = run({ "--json", "--runs", "5", "--seed", "42", file });
    Result second = run({ "--json", "--runs", "5", "--seed=42", file });
    Result other = run({ "--json", "--runs", "5", "--seed", "43", file });
    ASSERT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(first.lines, second.lines);
    EXPECT_NE(first.lines, other.lines);
    std::set<std::string> questions;
    for (const Json& line : first.lines)
        questions.insert(line["question"].get<std::string>());
    EXPECT_GT(questions.size(), 1u) << "every run draws afresh";
}

TEST_F(RunnerTest, MsgboxIsCapturedButIsNoError)
{
    std::string file = write("box", "msgbox(hello);msgbox(a,b);");
    Result result = run({ "--json", file });
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.lines.at(0)["messages"], Json::array({ "hello", "a,b" }));
}

TEST_F(RunnerTest, EachMessageNamesItsLine)
{
    struct Row {
        std::string script;
        Json lines;
    };
    const Row rows[] = {
        // A statement that runs over several lines is placed where it starts.
        { "title(A);\r\n\r\nbogus;\r\nmsgbox(x);msgbox(\r\ny);", Json::array({ 3, 4, 4 }) },
        { "int(i);\r\nwhile(i>=2){\r\n  =+(i,i,1);\r\n  msgbox([i]);\r\n};", Json::array({ 4, 4 }) },
        // Comments take their lines with them.
        { "// note\r\n/* two\r\nlines */msgbox(a);", Json::array({ 3 }) },
        // Without any ";" the one entry is no statement of the list, and the
        // box says NoDate: no line is to blame.
        { "}", Json::array({ 0 }) },
    };
    for (const Row& row : rows) {
        std::string file = write("lines", row.script);
        Result result = run({ "--json", file });
        ASSERT_EQ(result.lines.size(), 1u) << row.script;
        EXPECT_EQ(result.lines[0]["messageLines"], row.lines) << row.script << "\n" << result.out;
        EXPECT_EQ(result.lines[0]["messageLines"].size(), result.lines[0]["messages"].size());
    }
}

TEST_F(RunnerTest, ListShowsEveryEntry)
{
    struct Row {
        std::string script;
        int lastIndex;
        Json statements;
    };
    const Row rows[] = {
        { "Random(A,1,9);\r\nIF(a==b){strout(x);};", 3,
            Json::array({ { { "keyword", "random" }, { "operand", "A,1,9," } },
                { { "keyword", "if{" }, { "operand", "a==b," } }, { { "keyword", "strout" }, { "operand", "x," } },
                { { "keyword", "}" }, { "operand", "" } } }) },
        // A ";" inside parentheses stays in the operand and adds a spare entry.
        { "strout(a;b);", 1,
            Json::array(
                { { { "keyword", "strout" }, { "operand", "a;b," } }, { { "keyword", "" }, { "operand", "" } } }) },
        { "", -1, Json::array({ { { "keyword", "" }, { "operand", "" } } }) },
    };
    for (const Row& row : rows) {
        std::string file = write("list", row.script);
        Result result = run({ "--list", file });
        EXPECT_EQ(result.status, 0) << row.script;
        ASSERT_EQ(result.lines.size(), 1u) << row.script;
        Json expected = { { "file", file }, { "lastIndex", row.lastIndex }, { "statements", row.statements } };
        EXPECT_EQ(result.lines[0], expected) << row.script;
    }
}

TEST_F(RunnerTest, BadUsageAndUnreadableFilesGiveStatusTwo)
{
    std::string good = write("good", "title(A);");
    fs::create_directory(path("folder"));
    ASSERT_EQ(mkfifo(path("pipe").c_str(), 0600), 0);
    // clang-format off
    const std::vector<std::vector<std::string>> rows = {
        {},
        { "--json" },
        { "--bogus", good },
        { "--runs", "0", good },
        { "--runs", "-1", good },
        { "--runs", "x", good },
        { "--runs", "2x", good },
        { good, "--runs" },
        { "--seed", "-1", good },
        { "--seed", "4294967296", good },
        { "--json=yes", good },
        { good, path("missing") },
        { path("folder") },
        { path("pipe") }, // must not wait for a writer
        { "--trace", "--json", good },
        { "--check", "--seed", "3", good },
        { "--check", "--list", good },
        { "--trace", "--check", good },
        { "--check=1", good },
    };
    // clang-format on
    for (const auto& arguments : rows) {
        Result result = run(arguments);
        std::string shown;
        for (const std::string& argument : arguments)
            shown += argument + " ";
        EXPECT_EQ(result.status, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        // One line saying why.
        EXPECT_FALSE(result.err.empty()) << shown;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << shown;
    }
}

TEST_F(RunnerTest, ReadableFormNamesTheStatementOfEachMessage)
{
    std::string file = write("readable", "title(Sums);strout(a\\nb);bogus;");
    Result result = run({ "--seed", "7", file });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("seed 7"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("title:       Sums\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("question:    a\n             b\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  error  line 1\n    エラー"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\n    2    bogus    \"\"\n"), std::string::npos) << result.out;
}

// Continuation lines of a record text line up under its first line; only a
// CR that ends a line with its LF is left out.
TEST(RunText, ContinuationLinesLineUp)
{
    runner::RunReport report;
    report.file = "f";
    report.run = 1;
    report.record.questionText = u"a\r\nb\rc\r\r\nd\n問\r";
    const std::string text = runner::runText(report);
    EXPECT_NE(text.find("question:    a\n             b\rc\r\n             d\n             問\r\n"), std::string::npos)
        << text;
}

// What a trace or a check mode will rely on: its observer sees each run whole,
// while the runner still captures the boxes.
TEST(RunQuestion, ObserverSeesEveryRun)
{
    struct Counts final : RunObserver {
        void statementPassed(std::int32_t, bool, std::size_t) override { ++passed; }
        void stored(const Location&, const Text&, const Value&) override { ++stores; }
        void appended(RecordField, const Text&) override { ++appends; }
        void messageShown(std::int32_t index, const Text&) override { shownAt.push_back(index); }
        int passed = 0, stores = 0, appends = 0;
        std::vector<std::int32_t> shownAt;
    } counts;
    ScriptedRandom random;
    std::vector<std::size_t> boxes;
    runner::runQuestion(
        "f", u"int(a);=(a,5);title([a]);bogus;", 2, random,
        [&](const runner::RunReport& report) { boxes.push_back(report.messages.size()); },
        runner::RunHooks { &counts, {} });
    EXPECT_EQ(counts.passed, 8);
    EXPECT_EQ(counts.stores, 2);
    EXPECT_EQ(counts.appends, 2);
    EXPECT_EQ(counts.shownAt, (std::vector<std::int32_t> { 3, 3 }));
    EXPECT_EQ(boxes, (std::vector<std::size_t> { 1, 1 }));
}

// The runner learns which statement drew each entry from the drawing itself,
// not from watching every statement, which plain runs no longer do.
TEST(RunQuestion, DrawingLinesNameTheStatementThatDrew)
{
    struct Rows {
        const char16_t* script;
        std::vector<std::int32_t> lines;
    };
    const Rows rows[] = {
        { u"line(0,0,9,9,1,,,);\r\nprint(x,1,1);", { 1, 2 } },
        { u"int(k);\r\nfor(k,0,3){\r\nline(0,0,k,k,1,,,);\r\n};\r\ncircle(5,5,2,1,,,);", { 3, 3, 3, 3, 5 } },
        { u"int(k);\r\nif(k==1){\r\nline(0,0,1,1,1,,,);\r\n};\r\nsquare(0,0,2,2,1,,,);", { 5 } },
    };
    for (const Rows& row : rows) {
        SCOPED_TRACE(utf8(row.script));
        ScriptedRandom random;
        std::vector<std::vector<std::int32_t>> lines;
        std::vector<std::size_t> entries;
        runner::runQuestion("f", row.script, 2, random, [&](const runner::RunReport& report) {
            lines.push_back(report.drawingLines);
            entries.push_back(report.record.drawingList.entries.size());
        });
        EXPECT_EQ(lines, (std::vector { row.lines, row.lines }));
        EXPECT_EQ(entries, (std::vector { row.lines.size(), row.lines.size() }));
    }
}

// An observer that watches neither statements nor stores is not called for
// them; the boxes and the record texts still reach it.
TEST(RunQuestion, ObserverIsCalledOnlyForWhatItWatches)
{
    struct Boxes final : RunObserver {
        Watching watching() const override { return { false, false }; }
        void statementPassed(std::int32_t, bool, std::size_t) override { ++passed; }
        void stored(const Location&, const Text&, const Value&) override { ++stores; }
        void appended(RecordField, const Text&) override { ++appends; }
        void messageShown(std::int32_t, const Text&) override { ++shown; }
        int passed = 0, stores = 0, appends = 0, shown = 0;
    } boxes;
    ScriptedRandom random;
    runner::runQuestion(
        "f", u"int(a);=(a,5);str(t);=(t,[t]x);title([a]);bogus;", 1, random, [](const runner::RunReport&) {},
        runner::RunHooks { &boxes, {} });
    EXPECT_EQ(boxes.passed, 0);
    EXPECT_EQ(boxes.stores, 0);
    EXPECT_EQ(boxes.appends, 1);
    EXPECT_EQ(boxes.shown, 1);
}

TEST_F(RunnerTest, ProgramExitStatus)
{
    std::string good = write("good", "title(A);");
    std::string bad = write("bad", "bogus;");
    struct Row {
        std::string arguments;
        int status;
    };
    const Row rows[] = {
        { "--json " + good, 0 },
        { "--json " + bad, 1 },
        { "--json " + path("missing"), 2 },
        { "--help", 0 },
    };
    for (const Row& row : rows) {
        std::string command = std::string(NUMBRELLE_RUN) + " " + row.arguments + " >/dev/null 2>&1";
        int status = std::system(command.c_str());
        ASSERT_TRUE(WIFEXITED(status)) << command;
        EXPECT_EQ(WEXITSTATUS(status), row.status) << command;
    }
}

} // namespace
} // namespace numbrelle
