// The health check and the trace: small broken files, each of which must
// trip exactly the check meant for it, read back from the JSON form.
#include "tests/tools/RunnerFixture.h"

namespace numbrelle {
namespace {

// A question that varies enough and trips nothing.
const std::string healthy = "title(Sums);linetext(Add);extext(Adds);int(a);int(b);int(c);"
                            "random(a,89,10);random(b,89,10);=+(c,a,b);strout([a]\\s+\\s[b]);ans([c]_[c].0);";

class CheckTest : public RunnerTest {
protected:
    // The one JSON report of a --check run of script.
    Json check(const std::string& script, int runs, int expectedStatus)
    {
        std::string file = write("question", script);
        Result result = run({ "--check", "--json", "--runs", std::to_string(runs), file });
        EXPECT_EQ(result.status, expectedStatus) << script << "\n" << result.out << result.err;
        if (result.lines.size() != 1) {
            ADD_FAILURE() << "expected one report for " << script;
            return Json::object();
        }
        EXPECT_EQ(result.lines[0]["file"], file);
        EXPECT_EQ(result.lines[0]["runs"], runs);
        return result.lines[0];
    }
};

TEST_F(CheckTest, HealthyFileHasNoFinding)
{
    // Things that look odd but are fine: a filled box in any case, a box
    // without a width, a width given, a short print, a circle inside.
    const std::string picture = "square(0,0,1000,1000,#PAINT,1,2,3);square(10,10,20,20);line(0,0,1000,1000,3);"
                                "print(short,10,10);circle(500,500,500);";
    for (const std::string& script : { healthy, healthy + picture }) {
        Json report = check(script, 50, 0);
        EXPECT_EQ(report["healthy"], true) << script;
        // The time warning reads the clock, and a busy machine can hold one
        // run past the frame budget; it never fails the check, so it is no
        // finding of the file here.
        Json findings = Json::array();
        for (const Json& finding : report["findings"])
            if (finding["check"] != "time")
                findings.push_back(finding);
        EXPECT_EQ(findings, Json::array()) << report.dump();
        EXPECT_GE(report["distinctQuestions"].get<int>(), 20);
        EXPECT_GE(report["worstMs"].get<double>(), report["meanMs"].get<double>());
        EXPECT_GE(report["worstSeed"].get<int>(), 1);
    }
}

TEST_F(CheckTest, EachBrokenFileTripsItsCheck)
{
    struct Row {
        const char* name;
        std::string script;
        int runs;
        std::string check;
        std::string what; // part of the finding's text
        bool failed;
        int count;
        int firstSeed;
        std::string example; // part of it; empty: not looked at
    };
    // healthy ends with ans(...); rows append after it or replace pieces.
    const Row rows[] = {
        { "unknown statement, three times a run", healthy + "int(i);while(i>=3){=+(i,i,1);bogus;};", 4, "error",
            "次の命令を認識できませんでした。", true, 12, 1, "" },
        { "error in some runs only", healthy + "if(a>=50){=/(c,a,0);};", 40, "error", "エラー", true, -1, -1, "" },
        { "endless loop", healthy + "int(i);while(i<=-1){};", 2, "guard", "statement cap", true, 2, 1, "" },
        { "message flood", healthy + "int(i);while(i>=60){=+(i,i,1);msgbox(x);};", 3, "guard", "message cap", true, 3,
            1, "" },
        { "no title", "strout(q);ans(1);", 3, "empty", "empty title", true, 3, 1, "" },
        { "no question", "title(T);ans(1);", 3, "empty", "empty question", true, 3, 1, "" },
        { "no answer", "title(T);strout(q);", 3, "empty", "empty answer", true, 3, 1, "" },
        { "answer only in some runs", "title(T);strout(q);int(k);random(k,1,0);if(k==1){ans(1);};", 30, "empty",
            "empty answer", true, -1, -1, "" },
        { "category drawn at random", healthy + "int(k);random(k,1,9);linetext([k]);", 30, "differs", "category", true,
            -1, -1, "" },
        { "description drawn at random", healthy + "int(k);random(k,1,9);extext([k]);", 30, "differs", "description",
            true, -1, -1, "" },
        { "answer with a line break", "title(T);strout(q);ans(1_2\\n3);", 3, "marking", "cannot be typed", true, 3, 1,
            "\"2\\r\\n3\"" },
        { "same question every run", "title(T);strout(q);ans(1);", 30, "variety", "1 distinct questions in 30 runs",
            false, 0, 1, "" },
        { "line off the picture", healthy + "line(0,0,1200,10);", 3, "picture", "line outside", false, 3, 1,
            "x2 = 1200" },
        { "box off the picture", healthy + "square(-5,0,10,10);", 3, "picture", "square outside", false, 3, 1,
            "x1 = -5" },
        { "circle over the edge", healthy + "circle(990,500,20);", 3, "picture", "circle outside", false, 3, 1,
            "right = 1010" },
        { "circle with a negative radius", healthy + "circle(500,500,-3);", 3, "picture", "negative radius", false, 3,
            1, "" },
        { "line width of zero", healthy + "line(0,0,10,10,0);", 3, "picture", "line pen width", false, 3, 1, "\"0\"" },
        { "box width that is no number", healthy + "square(0,0,10,10,thick);", 3, "picture", "square pen width", false,
            3, 1, "\"thick\"" },
        { "long print near the edge", healthy + "print(abcdefg,700,10);", 3, "picture", "print text", false, 3, 1,
            "\"abcdefg\" at x = 700" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Json report = check(row.script, row.runs, row.failed ? 1 : 0);
        EXPECT_EQ(report["healthy"], !row.failed);
        const Json* found = nullptr;
        for (const Json& finding : report["findings"]) {
            if (finding["check"] == row.check && finding["what"].get<std::string>().find(row.what) != std::string::npos)
                found = &finding;
        }
        ASSERT_NE(found, nullptr) << report.dump();
        EXPECT_EQ((*found)["failed"], row.failed);
        if (row.count >= 0) {
            EXPECT_EQ((*found)["count"], row.count);
            EXPECT_EQ((*found)["firstSeed"], row.firstSeed);
        } else {
            // Some runs, not all: the draw decides.
            EXPECT_GT((*found)["count"].get<int>(), 0);
            EXPECT_LT((*found)["count"].get<int>(), row.runs);
        }
        EXPECT_NE((*found)["example"].get<std::string>().find(row.example), std::string::npos) << found->dump();
        // Nothing else fails; small or slow files may warn of variety or time.
        for (const Json& finding : report["findings"]) {
            if (finding["check"] != row.check) {
                EXPECT_TRUE(finding["check"] == "variety" || finding["check"] == "time") << finding.dump();
            }
        }
    }
}

TEST_F(CheckTest, ErrorsNameTheirStatementAndLine)
{
    Json report
        = check("title(T);\r\nstrout(q);ans(1);\r\n\r\nint(i);\r\nwhile(i>=2){=+(i,i,1);\r\n  bogus(x);\r\n};", 5, 1);
    ASSERT_EQ(report["findings"].size(), 2u) << report.dump();
    Json finding = report["findings"][0];
    EXPECT_EQ(finding["check"], "error");
    EXPECT_EQ(finding["count"], 10); // twice a run
    EXPECT_EQ(finding["index"], 6);
    EXPECT_EQ(finding["line"], 6);
    EXPECT_EQ(finding["context"], "bogus    \"x,\"");
    EXPECT_EQ(report["findings"][1]["check"], "variety");
}

TEST_F(CheckTest, SeedOfAFindingRepeatsItsRun)
{
    // The run of seed S under --check is the run of --seed S.
    std::string file = write("random", "title(T);int(k);random(k,1,1000);strout([k]);if(k>=900){bogus;};ans(1);");
    Result checked = run({ "--check", "--json", "--runs", "60", file });
    ASSERT_EQ(checked.lines.size(), 1u);
    const Json& finding = checked.lines[0]["findings"].at(0);
    ASSERT_EQ(finding["check"], "error");
    Result again = run({ "--json", "--seed", std::to_string(finding["firstSeed"].get<int>()), file });
    ASSERT_EQ(again.lines.size(), 1u);
    EXPECT_EQ(again.lines[0]["messages"].size(), 1u);
    EXPECT_EQ(again.lines[0]["messages"][0], finding["what"]);
}

TEST_F(CheckTest, ReadableReportAndStatusOverSeveralFiles)
{
    std::string good = write("good", healthy);
    std::string bad = write("bad", healthy + "bogus;");
    Result result = run({ "--check", "--runs", "20", good, bad });
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("== " + good + "  (20 runs, seeds 1..20; read as CP932)\n"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("  healthy\n== " + bad), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("  FAIL  error: エラー　：　次の命令を認識できませんでした。\n"
                              "        20 times, first seed 1, line 1, statement 11    bogus    \"\"\n"),
        std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("  1 check failed\n"), std::string::npos) << result.out;
    EXPECT_EQ(run({ "--check", "--runs", "20", good }).status, 0);
}

TEST_F(RunnerTest, TraceShowsEveryPassAndWhatItDid)
{
    std::string file = write("loop", "int(i);\r\nwhile(i>=2){\r\n  =+(i,i,1);\r\n};\r\nstrout([i]\\n);title(x);bogus;");
    Result result = run({ "--trace", "--seed", "4", file });
    EXPECT_EQ(result.status, 1);
    const std::string expected = "seed 4\n"
                                 "== "
        + file
        + "  (trace of run 1)\n"
          "0  line 1  depth 0  ran      int \"i,\"\n"
          "1  line 2  depth 1  ran      while{ \"i>=2,\"\n"
          "2  line 3  depth 1  ran      =+ \"i,i,1,\"  -> i:0 = \"1\";\n"
          "3  line 4  depth 1  ran      } \"\"\n"
          "1  line 2  depth 1  ran      while{ \"i>=2,\"\n"
          "2  line 3  depth 1  ran      =+ \"i,i,1,\"  -> i:0 = \"2\";\n"
          "3  line 4  depth 1  ran      } \"\"\n"
          "1  line 2  depth 1  ran      while{ \"i>=2,\"\n"
          "2  line 3  depth 1  skipped  =+ \"i,i,1,\"\n"
          "3  line 4  depth 0  ran      } \"\"\n"
          "4  line 5  depth 0  ran      strout \"[i]\\\\n,\"  -> question += \"2\\r\\n\";\n"
          "5  line 5  depth 0  ran      title \"x,\"  -> title += \"x\";\n"
          "6  line 5  depth 0  ran      bogus \"\"  -> message \"エラー　：　次の命令を認識できませんでした。"
          "\\r\\n\\r\\n6    bogus    \\\"\\\"\";\n"
          "== "
        + file + "  (run 1)\n";
    EXPECT_EQ(result.out.substr(0, expected.size()), expected);
}

TEST_F(RunnerTest, TraceWithASeedRepeatsTheQuestion)
{
    std::string file = write("random", "int(a);random(a,1,30000);strout([a]);");
    Result traced = run({ "--trace", "--seed", "99", file });
    Result plain = run({ "--json", "--seed", "99", file });
    ASSERT_EQ(plain.lines.size(), 1u);
    const std::string question = plain.lines[0]["question"];
    EXPECT_NE(traced.out.find("-> question += \"" + question + "\";"), std::string::npos) << traced.out;
    EXPECT_NE(traced.out.find("question:    " + question + "\n"), std::string::npos) << traced.out;
    EXPECT_EQ(traced.out, run({ "--trace", "--seed", "99", file }).out);
}

TEST_F(RunnerTest, TraceNotesWhatHappensAfterTheLastStatement)
{
    std::string file = write("tail", "int(i);if(i:5==1){");
    Result result = run({ "--trace", file });
    EXPECT_NE(result.out.find("\nafter the run  -> message \"エラー"), std::string::npos) << result.out;
}

} // namespace
} // namespace numbrelle
