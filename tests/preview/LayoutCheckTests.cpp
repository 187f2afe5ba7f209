// Each layout warning with a small file that plants it, and files that come
// close without a problem, measured on the drill's own question screen.
#include "tests/preview/PreviewFiles.h"

#include "drill/QuestionScreen.h"
#include "tools/preview/LayoutCheck.h"
#include "tools/preview/PreviewRun.h"

#include <gtest/gtest.h>

namespace numbrelle::preview {
namespace {

struct Found {
    LayoutProblem problem;
    std::int32_t line;
    std::int32_t otherLine;
};

struct Row {
    const char* name;
    std::string body; // statements after the title, question and answer (lines 1 to 3)
    std::vector<Found> expected;
    std::string title = "Layout";
};

std::string lines(std::initializer_list<const char*> statements)
{
    std::string text;
    for (const char* statement : statements)
        text += std::string(statement) + "\r\n";
    return text;
}

TEST(CheckLayout, EachProblemAndItsNearMisses)
{
    using P = LayoutProblem;
    const std::string manyLines(30, 'x');
    const Row rows[] = {
        { "ClearOfEverything", lines({ "line(0,500,1000,500);", "print(A,100,100);", "print(B,500,100);" }), {} },
        { "LabelOnALine", lines({ "line(0,500,1000,500);", "print(LABEL,100,490);" }), { { P::LabelOnLine, 5, 4 } } },
        // Just above the line, its ink ends well before it.
        { "LabelAboveALine", lines({ "line(0,500,1000,500);", "print(LABEL,100,400);" }), {} },
        // A wide pen reaches further.
        { "LabelNearAThickLine", lines({ "line(0,500,1000,500,12);", "print(a,100,440);" }),
            { { P::LabelOnLine, 5, 4 } } },
        { "LabelOnLabel", lines({ "print(AB,400,100);", "print(CD,410,110);" }), { { P::LabelOnLabel, 4, 5 } } },
        { "LabelOutside", lines({ "print(FAR,990,10);" }), { { P::LabelOutside, 4, 0 } } },
        { "LabelOnACircle", lines({ "circle(500,800,100);", "print(X,500,700);" }), { { P::LabelOnLine, 5, 4 } } },
        { "LabelInsideACircle", lines({ "circle(500,500,300);", "print(X,480,480);" }), {} },
        { "LabelOnABoxOutline", lines({ "square(100,100,400,400);", "print(X,380,200);" }),
            { { P::LabelOnLine, 5, 4 } } },
        { "LabelInsideABox", lines({ "square(100,100,400,400);", "print(X,200,200);" }), {} },
        // A fill painted later hides the label; one painted before is its ground.
        { "LabelUnderALaterFill", lines({ "print(Z,100,850);", "square(50,830,300,950,#paint,0,0,200);" }),
            { { P::LabelCovered, 4, 5 } } },
        { "LabelOnAnEarlierFill", lines({ "square(50,800,500,990,#paint,200,200,255);", "print(Z,100,850);" }), {} },
        { "LabelAcrossAnEarlierFillsEdge",
            lines({ "square(50,800,500,990,#paint,200,200,255);", "print(ZZZ,450,850);" }),
            { { P::LabelOnLine, 5, 4 } } },
        { "QuestionTooTall", lines({ "strout(\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\n\\nlast);" }),
            { { P::QuestionTooTall, 0, 0 } } },
        // Beside a picture the area is half as wide.
        { "QuestionWordTooWide", lines({ ("strout(" + manyLines + ");").c_str(), "line(0,0,10,10);" }),
            { { P::QuestionTooWide, 0, 0 } } },
        { "QuestionWordFitsWithoutAPicture", lines({ ("strout(" + manyLines + ");").c_str() }), {} },
        { "TitleTooWide", "", { { P::TitleTooWide, 0, 0 }, { P::NameTooWide, 0, 0 } },
            "とてもとてもとても長い長い問題の名前です" },
        // The selection screen's label is narrower than the question screen's.
        { "NameTooWideOnly", "", { { P::NameTooWide, 0, 0 } }, "十五文字の題名がここにありますね" },
    };
    ScratchFolder folder;
    QuestionScreen screen;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        LoadedFile file;
        file.path = folder.path("q.txt");
        file.state = FileState::Question;
        file.text = fromUtf8("title(" + row.title + ");\r\nstrout(Q);\r\nans(1);\r\n" + row.body);
        const runner::RunReport report = RunSeed(file, 1).report;
        screen.showQuestion(report.record, u"1/1");
        const std::vector<LayoutWarning> warnings
            = CheckLayout(screen, report.record, report.drawingLines, DisplayName(file.path, report.record.title));
        ASSERT_EQ(warnings.size(), row.expected.size()) << (warnings.empty() ? "" : warnings[0].what);
        for (std::size_t i = 0; i < warnings.size(); ++i) {
            EXPECT_EQ(warnings[i].problem, row.expected[i].problem) << warnings[i].what;
            EXPECT_EQ(warnings[i].line, row.expected[i].line) << warnings[i].what;
            EXPECT_EQ(warnings[i].otherLine, row.expected[i].otherLine) << warnings[i].what;
        }
    }
}

} // namespace
} // namespace numbrelle::preview
