// The author's guide runs: every script block in docs/authoring.md is run once
// and what it produced must read exactly as the result block after it, so the
// guide cannot drift from the language.
//
// A script block is fenced as ```numbrelle and the block right after it as
// ```expect. The run uses a generator that always answers 0.5 (the guide says
// so), and the result is written one field per line:
//   title: / category: / description: / answer:   the record's texts
//   question:                                     one line per line of the question
//   picture:                                      one line per drawing entry
//   message:                                      one line per line of the message boxes
// Fields that stay empty are left out.
#include "script/Text.h"
#include "tests/support/ScriptRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace numbrelle {
namespace {

struct Example {
    int line = 0; // where the script block starts in the guide
    std::string script;
    std::string expected;
    bool hasExpectation = false;
};

std::vector<Example> guideExamples()
{
    std::ifstream in(NUMBRELLE_AUTHORING_GUIDE);
    EXPECT_TRUE(in.good()) << "cannot read " << NUMBRELLE_AUTHORING_GUIDE;
    std::vector<Example> examples;
    enum class Block { None, Script, Expect, Other } block = Block::None;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (block == Block::None) {
            if (line == "```numbrelle") {
                examples.push_back({ number, {}, {}, false });
                block = Block::Script;
            } else if (line == "```expect") {
                // An expectation belongs to the script block just before it.
                if (examples.empty() || examples.back().hasExpectation)
                    ADD_FAILURE() << "line " << number << ": a result block without its script";
                else
                    examples.back().hasExpectation = true;
                block = Block::Expect;
            } else if (line.starts_with("```")) {
                block = Block::Other;
            }
            continue;
        }
        if (line == "```") {
            block = Block::None;
            continue;
        }
        if (block == Block::Script)
            examples.back().script += (examples.back().script.empty() ? "" : "\r\n") + line;
        else if (block == Block::Expect)
            examples.back().expected += line + "\n";
    }
    return examples;
}

void addLines(std::string& out, const std::string& field, const std::string& text)
{
    if (text.empty())
        return;
    std::string current;
    auto flush = [&] { out += field + ":" + (current.empty() ? "" : " " + current) + "\n"; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            flush();
            current.clear();
            ++i;
        } else {
            current += text[i];
        }
    }
    flush();
}

// An entry as the guide shows it: the statement that made it and its fields.
std::string pictureLine(const DrawingCommand& c)
{
    std::ostringstream out;
    out << DrawingStatement(c.kind) << ' ';
    switch (c.kind) {
    case DrawingKind::Line: out << c.x1 << ' ' << c.y1 << ' ' << c.x2 << ' ' << c.y2 << ' ' << utf8(c.text); break;
    case DrawingKind::Box:
        out << c.x1 << ' ' << c.y1 << ' ' << c.x2 << ' ' << c.y2 << ' ' << (c.text.empty() ? "-" : utf8(c.text));
        break;
    case DrawingKind::Circle: out << c.x1 << ' ' << c.y1 << ' ' << c.x2 << ' ' << utf8(c.text); break;
    case DrawingKind::Text: out << utf8(c.text) << ' ' << c.x1 << ' ' << c.y1; return out.str();
    }
    out << ' ' << c.red << ' ' << c.green << ' ' << c.blue;
    return out.str();
}

std::string runOnce(const std::string& script)
{
    testing::ScriptRun run;
    run.scripted.values = { 0.5f };
    const QuestionRecord& record = run.run(fromUtf8(script));

    std::string out;
    addLines(out, "title", utf8(record.title));
    addLines(out, "category", utf8(record.categoryText));
    addLines(out, "description", utf8(record.descriptionText));
    addLines(out, "question", utf8(record.questionText));
    addLines(out, "answer", utf8(record.answerText));
    for (const DrawingCommand& command : record.drawingList.entries)
        out += "picture: " + pictureLine(command) + "\n";
    for (const Text& text : run.box.texts)
        addLines(out, "message", utf8(text));
    return out;
}

TEST(AuthoringGuide, EveryExampleRunsAsTheGuideShows)
{
    const std::vector<Example> examples = guideExamples();
    // Every statement gets an example, and there are complete ones besides.
    EXPECT_GE(examples.size(), 20u);
    for (const Example& example : examples) {
        SCOPED_TRACE("docs/authoring.md line " + std::to_string(example.line));
        ASSERT_TRUE(example.hasExpectation) << "a script block without its result block";
        EXPECT_EQ(runOnce(example.script), example.expected) << example.script;
    }
}

// The picture of the preview in the guide is made from its third complete
// example, kept beside the picture as a UTF-8 file; it must be that example.
TEST(AuthoringGuide, PreviewPictureIsMadeFromTheThirdExample)
{
    std::ifstream in(NUMBRELLE_PREVIEW_EXAMPLE, std::ios::binary);
    ASSERT_TRUE(in.good()) << "cannot read " << NUMBRELLE_PREVIEW_EXAMPLE;
    std::string file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bool found = false;
    for (const Example& example : guideExamples())
        found = found || example.script + "\r\n" == file;
    EXPECT_TRUE(found) << "docs/screenshots/rectangle.txt is no longer an example of the guide";
}

// The guide's claim that every keyword is shown: each appears in some example.
TEST(AuthoringGuide, ShowsEveryStatement)
{
    std::string scripts;
    for (const Example& example : guideExamples())
        scripts += example.script + "\n";
    const char* keywords[] = { "title(", "linetext(", "extext(", "strout(", "ans(", "int(", "str(", "single(", "bit(",
        "random(", "if(", "}else{", "while(", "for(", "break;", "=(", "=+(", "=-(", "=*(", "=/(", "=^(", "=mod(",
        "dec=+(", "dec=-(", "dec=*(", "dec=/(", "dec=^(", "=sin(", "=cos(", "=tan(", "=log(", "=log10(", "=log_(",
        "=not(", "bit=and(", "bit=or(", "bit=xor(", "bit=nand(", "bit=nor(", "line(", "square(", "circle(", "print(",
        "msgbox(" };
    for (const char* keyword : keywords)
        EXPECT_NE(scripts.find(keyword), std::string::npos) << keyword << " has no example";
}

} // namespace
} // namespace numbrelle
