// What --check tells an author beside the runs: the encoding each file was
// read in, bytes it could not decode, and names and declarations that look
// like slips. None of it fails the check.
#include "tests/tools/RunnerFixture.h"

namespace numbrelle {
namespace {

std::string utf16(const std::u16string& text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8);
        const char low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string { high, low } : std::string { low, high };
    }
    return bytes;
}

// Asks "あ?" in every encoding; the title is what shows the decoding worked.
const std::u16string question = u"title(あ);\r\nstrout(q);\r\nans(1);\r\n";

TEST_F(RunnerTest, EachEncodingIsNamedInTheCheckAndTheRun)
{
    struct Row {
        const char* name;
        std::string bytes;
        const char* encoding;
    };
    const std::string utf8 = "title(\xE3\x81\x82);\r\nstrout(q);\r\nans(1);\r\n";
    const Row rows[] = {
        { "cp932", "title(\x82\xA0);\r\nstrout(q);\r\nans(1);\r\n", "CP932" },
        { "utf8", utf8, "UTF-8" },
        { "utf8-mark", "\xEF\xBB\xBF" + utf8, "UTF-8 BOM" },
        { "utf16le", utf16(question, false), "UTF-16LE" },
        { "utf16be", utf16(question, true), "UTF-16BE" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = write(row.name, row.bytes);
        Result ran = run({ "--json", "--seed", "1", file });
        ASSERT_EQ(ran.lines.size(), 1u) << ran.out << ran.err;
        EXPECT_EQ(ran.lines[0]["title"], "あ");
        EXPECT_EQ(ran.lines[0]["encoding"], row.encoding);

        Result checked = run({ "--check", "--json", "--runs", "3", file });
        ASSERT_EQ(checked.lines.size(), 1u);
        EXPECT_EQ(checked.lines[0]["encoding"], row.encoding);
        EXPECT_EQ(checked.status, 0) << checked.out;

        Result text = run({ "--check", "--runs", "3", file });
        EXPECT_NE(text.out.find("(3 runs, seeds 1..3; read as " + std::string(row.encoding) + ")\n"), std::string::npos)
            << text.out;
    }
}

TEST_F(RunnerTest, UndecodableBytesAreShownWithTheirLines)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<int> lines;
        const char* text; // part of the readable report
    };
    const Row rows[] = {
        // 0xFF and 0xFD are no characters of code page 932; line 4 has two.
        { "cp932", "title(T);\r\nstrout(\xFF);\r\nans(1);\r\nextext(\xFD\xFD);\r\n", { 2, 4 },
            "\n        lines 2, 4\n" },
        // A lone LF does not end a line, so the byte is still on line 1.
        { "cp932-lf", "title(T);\nstrout(\x80);ans(1);", { 1 }, "\n        line 1\n" },
        // An odd byte at the end, inside a comment so that it runs as nothing.
        { "utf16-odd-end", utf16(u"title(T);strout(q);ans(1);\r\n//", false) + "x", { 2 }, "\n        line 2\n" },
        { "clean", "title(T);\r\nstrout(q);\r\nans(1);", {}, "" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = write(row.name, row.bytes);
        Result result = run({ "--check", "--json", "--runs", "2", file });
        ASSERT_EQ(result.lines.size(), 1u);
        EXPECT_EQ(result.status, 0) << "a warning must not fail the check: " << result.out;
        std::vector<Json> found;
        for (const Json& finding : result.lines[0]["findings"]) {
            if (finding["check"] == "encoding")
                found.push_back(finding);
        }
        if (row.lines.empty()) {
            EXPECT_TRUE(found.empty()) << result.out;
            continue;
        }
        ASSERT_EQ(found.size(), 1u) << result.out;
        EXPECT_EQ(found[0]["failed"], false);
        EXPECT_EQ(found[0]["lines"], Json(row.lines));
        EXPECT_EQ(found[0]["line"], row.lines.front());
        EXPECT_NE(found[0]["what"].get<std::string>().find("U+FFFD"), std::string::npos);
        Result text = run({ "--check", "--runs", "2", file });
        EXPECT_NE(text.out.find("  warn  encoding: "), std::string::npos) << text.out;
        EXPECT_NE(text.out.find(row.text), std::string::npos) << text.out;
    }
}

TEST_F(RunnerTest, LineEndsOfLfAloneAreShownWithTheirLines)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::vector<int> lines; // as the statement list counts them
    };
    const Row rows[] = {
        { "all LF", "title(T);\nstrout(q);\nans(1);\n", { 1 } },
        { "some LF", "title(T);\r\nstrout(q);\nans(1);\r\n// note\nextext(x);", { 2, 3 } },
        { "CR LF and CR", "title(T);\r\nstrout(q);\rans(1);\r\n", {} },
        { "UTF-16 LF", utf16(u"title(T);\nstrout(q);ans(1);", false), { 1 } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Result result = run({ "--check", "--json", "--runs", "2", write("ends", row.bytes) });
        ASSERT_EQ(result.lines.size(), 1u);
        std::vector<Json> found;
        for (const Json& finding : result.lines[0]["findings"]) {
            if (finding["check"] == "line-ends")
                found.push_back(finding);
        }
        ASSERT_EQ(found.size(), row.lines.empty() ? 0u : 1u) << result.out;
        if (!found.empty()) {
            EXPECT_EQ(found[0]["lines"], Json(row.lines));
            EXPECT_EQ(found[0]["failed"], false);
        }
    }
}

TEST_F(RunnerTest, NameAndDeclarationSlipsAreWarnedWithTheirLines)
{
    struct Expected {
        const char* check;
        int line;
        const char* what; // part of it
        int count; // runs that showed it; 0 for what the list alone tells
    };
    struct Row {
        const char* name;
        std::string script;
        std::vector<Expected> warnings;
    };
    const std::string base = "title(T);\r\nstrout(q);\r\n";
    const Row rows[] = {
        { "misspelt reference", base + "int(total);\r\nans([totl]);",
            { { "names", 4, "[totl] names no declared variable", 0 } } },
        // The same slip twice is two warnings, one for each line.
        { "misspelt target twice", base + "int(sum);\r\n=+(smu,1,2);\r\n=+(smu,3,4);ans(1);",
            { { "names", 4, "target smu", 0 }, { "names", 5, "target smu", 0 } } },
        { "declaration in a loop", base + "ans(1);int(i);\r\nfor(i,1,3){\r\nint(t);\r\n};",
            { { "declaration", 5, "declaration of t inside a loop", 0 } } },
        { "declared again", base + "ans(1);int(n:3);\r\nint(n:9);",
            { { "declaration", 4, "n is declared again (lines 3, 4)", 3 } } },
        { "all declared", base + "int(a);random(a,9,1);\r\nans([a]);", {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string file = write("names", row.script);
        Result result = run({ "--check", "--json", "--runs", "3", file });
        ASSERT_EQ(result.lines.size(), 1u);
        EXPECT_EQ(result.status, 0) << result.out;
        std::vector<Json> found;
        for (const Json& finding : result.lines[0]["findings"]) {
            if (finding["check"] == "names" || finding["check"] == "declaration")
                found.push_back(finding);
        }
        ASSERT_EQ(found.size(), row.warnings.size()) << result.out;
        for (std::size_t i = 0; i < found.size(); ++i) {
            const Expected& expected = row.warnings[i];
            EXPECT_EQ(found[i]["check"], expected.check);
            EXPECT_EQ(found[i]["failed"], false);
            EXPECT_EQ(found[i]["line"], expected.line) << found[i].dump();
            EXPECT_NE(found[i]["what"].get<std::string>().find(expected.what), std::string::npos) << found[i].dump();
            EXPECT_EQ(found[i]["count"], expected.count);
            EXPECT_EQ(found[i]["firstSeed"], expected.count > 0 ? 1 : 0);
            EXPECT_GE(found[i]["index"].get<int>(), 0);
        }
    }
}

TEST_F(RunnerTest, NameWarningReadsWithItsLineAndStatement)
{
    const std::string file = write("names", "title(T);\r\nstrout(q);\r\nint(total);\r\nans([totl]);");
    Result result = run({ "--check", "--runs", "2", file });
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("  warn  names: [totl] names no declared variable: it shows as its own text; did you "
                              "mean total?\n        line 4, statement 3    ans    \"[totl],\"\n"),
        std::string::npos)
        << result.out;
}

} // namespace
} // namespace numbrelle
