// The bundled question files as files and as scripts: each is code page 932
// with CR LF lines, ends every statement with ";", and runs many times without
// a single error box and with every text of the question filled in.
#include "QuestionRuns.h"
#include "script/Limits.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace numbrelle::questions {
namespace {

// The script with comments, blanks and line breaks taken out, as the language
// sees it before splitting.
std::u16string codeOnly(const Text& script)
{
    enum class State { Code, LineComment, BlockComment } state = State::Code;
    std::u16string code;
    for (std::size_t i = 0; i < script.size(); ++i) {
        const char16_t c = script[i];
        const char16_t next = i + 1 < script.size() ? script[i + 1] : u'\0';
        if (c == u'/' && next == u'/')
            state = State::LineComment;
        else if (c == u'/' && next == u'*')
            state = State::BlockComment;
        if (state == State::LineComment) {
            if (c == u'\r')
                state = State::Code;
            continue;
        }
        if (state == State::BlockComment) {
            if (c == u'*' && next == u'/') {
                ++i;
                state = State::Code;
            }
            continue;
        }
        if (c != u' ' && c != u'\u3000' && c != u'\r' && c != u'\n')
            code += c;
    }
    return code;
}

bool inPicture(int v) { return v >= 0 && v <= 1000; }

// Everything a question draws must land on the square picture.
std::string pictureProblem(const DrawingList& drawing)
{
    for (const DrawingCommand& c : drawing.entries) {
        bool fits = true;
        switch (c.kind) {
        case DrawingKind::Line:
        case DrawingKind::Box: fits = inPicture(c.x1) && inPicture(c.y1) && inPicture(c.x2) && inPicture(c.y2); break;
        case DrawingKind::Circle:
            fits = inPicture(c.x1 - c.x2) && inPicture(c.x1 + c.x2) && inPicture(c.y1 - c.x2) && inPicture(c.y1 + c.x2);
            break;
        case DrawingKind::Text: fits = inPicture(c.x1) && inPicture(c.y1) && !c.text.empty(); break;
        }
        if (!fits)
            return "kind " + std::to_string(static_cast<int>(c.kind)) + " at " + std::to_string(c.x1) + ","
                + std::to_string(c.y1) + " text " + utf8(c.text);
    }
    return {};
}

// The code points of a UTF-8 text.
std::u32string codePoints(const std::string& text)
{
    std::u32string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const int length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
        char32_t v = length == 1 ? c : c & (0x3F >> (length - 1));
        for (int k = 1; k < length && i + k < text.size(); ++k)
            v = (v << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        out += v;
        i += length;
    }
    return out;
}

// The school year in which each kanji is taught, from the table beside this test.
const std::map<char32_t, int>& kanjiYears()
{
    static const std::map<char32_t, int> years = [] {
        std::map<char32_t, int> table;
        std::ifstream in(NUMBRELLE_KANJI_TABLE);
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#')
                continue;
            std::istringstream fields(line);
            int year = 0;
            std::string kanji;
            fields >> year >> kanji;
            for (char32_t c : codePoints(kanji))
                table.emplace(c, year);
        }
        return table;
    }();
    return years;
}

bool isKanji(char32_t c) { return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF); }

// The primary-school year of a category "小1" … "小6", or 0 for the others.
int primaryYear(const std::string& category)
{
    if (category.size() == 4 && category.starts_with("小") && category[3] >= '1' && category[3] <= '6')
        return category[3] - '0';
    return 0;
}

// The kanji of text that a child of that year has not learnt yet.
std::string unlearntKanji(const std::string& text, int year)
{
    std::string unlearnt;
    const std::u32string points = codePoints(text);
    for (std::size_t i = 0; i < points.size(); ++i) {
        if (!isKanji(points[i]))
            continue;
        const auto found = kanjiYears().find(points[i]);
        if (found == kanjiYears().end() || found->second > year) {
            // Kanji lie in the three-byte range of UTF-8.
            const char32_t c = points[i];
            unlearnt += static_cast<char>(0xE0 | (c >> 12));
            unlearnt += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            unlearnt += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return unlearnt;
}

class BundledFile : public ::testing::TestWithParam<std::string> { };

TEST_P(BundledFile, IsCodePage932WithCrLfLines)
{
    StdFileSystem files { maxQuestionFileBytes };
    std::optional<std::string> bytes = files.readBytes((questionFolder() / GetParam()).string());
    ASSERT_TRUE(bytes.has_value());
    ASSERT_FALSE(bytes->empty());

    EXPECT_EQ(DecodeCp932(*bytes).find(u'\uFFFD'), std::u16string::npos) << "a byte that is not code page 932";
    for (std::size_t i = 0; i < bytes->size(); ++i) {
        if ((*bytes)[i] == '\n') {
            EXPECT_TRUE(i > 0 && (*bytes)[i - 1] == '\r') << "lone LF at byte " << i;
        }
        if ((*bytes)[i] == '\r') {
            EXPECT_TRUE(i + 1 < bytes->size() && (*bytes)[i + 1] == '\n') << "lone CR at byte " << i;
        }
    }
    EXPECT_TRUE(bytes->ends_with("\r\n"));
}

TEST_P(BundledFile, EndsEveryStatementWithSemicolon)
{
    QuestionFile file(GetParam());
    const std::u16string code = codeOnly(file.text());
    ASSERT_FALSE(code.empty());
    EXPECT_EQ(code.back(), u';') << "text after the last statement";

    bool inside = false;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const char16_t c = code[i];
        if (inside) {
            // A ";" or "(" in an operand would split or swallow statements.
            EXPECT_NE(c, u';') << "\";\" inside parentheses at " << i << ": "
                               << utf8(code.substr(i > 30 ? i - 30 : 0, 60));
            EXPECT_NE(c, u'(') << "\"(\" inside parentheses at " << i;
            if (c == u')')
                inside = false;
            continue;
        }
        if (c == u'(')
            inside = true;
        if (c == u'}') {
            const std::u16string_view rest = std::u16string_view(code).substr(i + 1);
            EXPECT_TRUE(rest.starts_with(u";") || rest.starts_with(u"else{"))
                << "\"}\" not closed by \";\" at " << i << ": " << utf8(code.substr(i > 30 ? i - 30 : 0, 40));
        }
    }
    EXPECT_FALSE(inside) << "unclosed parenthesis";
}

TEST_P(BundledFile, RunsCleanlyWithEveryTextFilledIn)
{
    QuestionFile file(GetParam());
    const QuestionRun first = file.run();
    for (int i = 0; i < runsPerFile; ++i) {
        const QuestionRun run = i == 0 ? first : file.run();
        SCOPED_TRACE("run " + std::to_string(i) + ": " + run.question);
        ASSERT_TRUE(run.boxes.empty()) << run.boxes.front();
        ASSERT_FALSE(run.title.empty());
        ASSERT_FALSE(run.category.empty());
        ASSERT_FALSE(run.description.empty());
        ASSERT_FALSE(run.question.empty());
        // An empty accepted answer would mark an empty typed answer right.
        for (const std::string& answer : run.answers)
            ASSERT_FALSE(answer.empty()) << "answer text " << run.answerText;
        // The list shows what the first run said; later runs must say the same.
        ASSERT_EQ(run.title, first.title);
        ASSERT_EQ(run.category, first.category);
        ASSERT_EQ(run.description, first.description);
        ASSERT_EQ(pictureProblem(run.drawing), "");
        if (run.question.find("図の") != std::string::npos) {
            ASSERT_FALSE(run.drawing.empty()) << "a figure question without its figure";
        }
    }
}

// A primary-school file writes only the kanji its year has learnt, the rest in
// kana, in everything the learner reads: title, category, description, question.
TEST_P(BundledFile, UsesOnlyTheKanjiOfItsSchoolYear)
{
    QuestionFile file(GetParam());
    for (int i = 0; i < runsPerFile; ++i) {
        const QuestionRun run = file.run();
        const int year = primaryYear(run.category);
        if (year == 0)
            return;
        for (const std::string* text : { &run.title, &run.category, &run.description, &run.question })
            ASSERT_EQ(unlearntKanji(*text, year), "") << "in " << *text;
    }
}

TEST(KanjiTable, HoldsEveryYearWhole)
{
    // The table's own counts: 80, 160, 200, 202, 193 and 191 kanji, none twice.
    std::map<int, int> counts;
    for (const auto& [kanji, year] : kanjiYears())
        ++counts[year];
    EXPECT_EQ(counts, (std::map<int, int> { { 1, 80 }, { 2, 160 }, { 3, 200 }, { 4, 202 }, { 5, 193 }, { 6, 191 } }));
    EXPECT_EQ(unlearntKanji("次の計算をしなさい。", 1), "次計算");
    EXPECT_EQ(unlearntKanji("次の計算をしなさい。", 3), "");
    EXPECT_EQ(unlearntKanji("九九の段", 2), "段");
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name;
    for (char c : info.param)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Questions, BundledFile, ::testing::ValuesIn(bundledFileNames()), testName);

TEST(BundledLibrary, CoversEnoughKindsAndCategories)
{
    const std::vector<std::string> names = bundledFileNames();
    EXPECT_GE(names.size(), 40u);

    std::set<std::string> categories;
    std::set<std::string> titles;
    for (const std::string& name : names) {
        QuestionFile file(name);
        const QuestionRun run = file.run();
        categories.insert(run.category);
        EXPECT_TRUE(titles.insert(run.title).second) << "two files titled " << run.title;
    }
    EXPECT_GE(categories.size(), 8u);
}

} // namespace
} // namespace numbrelle::questions
