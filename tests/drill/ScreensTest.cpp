// The question and marking screens on their own, outside the window: what a
// run leaves is shown with the window's look and width rule, so any other
// place that shows a question shows what the learner sees.
#include "drill/Controls.h"
#include "drill/Drill.h"
#include "drill/Layout.h"
#include "drill/MarkingScreen.h"
#include "drill/QuestionScreen.h"
#include "script/Interpreter.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

DrawingCommand filledBox(int red)
{
    return DrawingCommand { DrawingKind::Box, 100, 100, 900, 900, u"#paint", static_cast<std::int16_t>(red), 0, 0 };
}

TEST(QuestionScreen, ShowsARunWithTheWindowsLookAndWidthRule)
{
    struct Row {
        const char* name;
        std::vector<DrawingCommand> drawing;
        int textWidth;
        bool picture;
    } rows[] = {
        { "no drawing", {}, 9255 / 15, false },
        { "a drawing", { filledBox(255) }, 4695 / 15, true },
    };
    QuestionScreen screen;
    screen.show();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QuestionRecord record;
        record.title = u"たしざん";
        record.questionText = u"5+7=\r\n?";
        record.drawingList.entries = row.drawing;
        screen.answerBox()->setText(QStringLiteral("old"));
        screen.showQuestion(record, u"3/20");
        EXPECT_EQ(screen.titleLabel()->text(), "たしざん");
        EXPECT_EQ(screen.questionLabel()->text(), "5+7=\n?");
        EXPECT_EQ(screen.counterLabel()->text(), "3/20");
        EXPECT_EQ(screen.answerBox()->text(), "");
        EXPECT_EQ(screen.questionLabel()->width(), row.textWidth);
        EXPECT_EQ(screen.picture()->isVisible(), row.picture);
        if (row.picture) {
            EXPECT_EQ(QColor(screen.picture()->image().pixel(100, 100)), QColor(255, 0, 0));
        }
    }
    EXPECT_EQ(screen.objectName(), "Frame2");
    EXPECT_EQ(screen.titleLabel()->font().pixelSize(), textPixels);
    EXPECT_EQ(screen.palette().color(QPalette::Window), layoutBackground);
    EXPECT_EQ(screen.titleLabel()->palette().color(QPalette::WindowText), layoutOlive);
}

TEST(MarkingScreen, ShowsTheMarkAndMessage)
{
    MarkingScreen screen;
    screen.showMarking(MarkAnswer(u"12", u"13"));
    EXPECT_EQ(screen.markLabel()->text(), "×");
    EXPECT_EQ(screen.messageLabel()->text(), "違います。\n\n解答：13\n正解：12");
    EXPECT_EQ(screen.markLabel()->font().pixelSize(), markPixels);
    EXPECT_EQ(screen.objectName(), "Frame3");
}

} // namespace
} // namespace numbrelle
