// Marking, timing and scoring rules of a drill, and the number box.
#include "drill/Drill.h"
#include "drill/NumberBox.h"
#include "script/Text.h"

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

struct AnswerCase {
    const char16_t* answerText;
    const char16_t* typed;
    bool right;
};

TEST(CheckAnswer, AcceptsExactlyTheAcceptedAnswers)
{
    const AnswerCase cases[] = {
        { u"12", u"12", true }, { u"12_１２", u"１２", true }, { u"x_y", u"y", true },
        { u"x_y", u"X", false }, // no case folding
        { u"5", u"5.0", false }, // no number reading
        { u"5", u" 5", false }, // no trimming
        { u"5", u"05", false }, { u"5_", u"", true }, // trailing "_": an empty answer is accepted
        { u"_5", u"", true }, { u"5__6", u"", true }, { u"", u"", true }, { u"", u"0", false }, { u"5", u"", false },
        { u"56", u"5", false }, // a prefix is not an answer
        { u"5", u"56", false },
        // Typed with a Japanese input method in full-width mode.
        { u"12", u"１２", true }, { u"-3", u"－３", true }, { u"-3", u"ー３", true }, { u"-3", u"−３", true },
        { u"3.5", u"３．５", true }, { u"X", u"Ｘ", true }, { u"x", u"Ｘ", false }, // folding keeps the case
        { u"1/2", u"１／２", true }, { u"１２", u"12", true }, // the script's side is folded too
        { u"５", u"5", true }, { u"ー", u"-", false }, // a long-vowel mark alone is a letter
        { u"ーa", u"-a", false }, { u"ラーメン", u"ラ-メン", false },
        { u"5", u"　5", false }, // an ideographic space is not folded
    };
    for (const AnswerCase& c : cases) {
        EXPECT_EQ(CheckAnswer(c.answerText, c.typed), c.right)
            << "answers " << utf8(c.answerText) << ", typed " << utf8(c.typed);
    }
}

TEST(AcceptedAnswers, AreThePiecesBetweenUnderscores)
{
    struct Row {
        const char16_t* answerText;
        std::vector<TextView> answers;
    } rows[] = {
        { u"12_１２", { u"12", u"１２" } },
        { u"5", { u"5" } },
        { u"5_", { u"5", u"" } },
        { u"_5", { u"", u"5" } },
        { u"5__6", { u"5", u"", u"6" } },
        { u"_", { u"", u"" } },
        { u"", { u"" } },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.answerText));
        EXPECT_EQ(AcceptedAnswers(row.answerText), row.answers);
        EXPECT_EQ(FirstAnswer(row.answerText), row.answers.front());
    }
}

TEST(FoldWideDigit, FoldsEveryFullWidthAsciiForm)
{
    EXPECT_EQ(FoldWideDigit(u"！～０９ＡＺａｚ"), u"!~09AZaz");
    EXPECT_EQ(FoldWideDigit(u"ー１ー"), u"-1ー");
    EXPECT_EQ(FoldWideDigit(u"ーー１"), u"ー-1");
    EXPECT_EQ(FoldWideDigit(u"ｰ1"), u"ｰ1"); // the half-width mark is a different letter
}

TEST(MarkAnswer, QuotesTheAnswerAsTypedAndTheFirstAcceptedAsWritten)
{
    Marking right = MarkAnswer(u"１２_12", u"12");
    EXPECT_TRUE(right.right);
    EXPECT_EQ(right.mark, u"○");
    EXPECT_EQ(right.message, u"正解です。");

    Marking wrong = MarkAnswer(u"１２_12", u"１３");
    EXPECT_FALSE(wrong.right);
    EXPECT_EQ(wrong.mark, u"×");
    EXPECT_EQ(wrong.message, u"違います。\r\n\r\n解答：１３\r\n正解：１２");

    EXPECT_EQ(MarkAnswer(u"", u"a").message, u"違います。\r\n\r\n解答：a\r\n正解：");
    EXPECT_EQ(FirstAnswer(u"x_y"), u"x");
    EXPECT_EQ(FirstAnswer(u"_y"), u"");
}

TEST(ResultSheet, TimeText)
{
    const std::pair<float, float> drills[] = { { 100.0f, 100.9f }, { 100.5f, 165.5f }, { 0.0f, 120.0f },
        { 10.0f, 17.2f }, { 0.0f, 60.0f }, { 0.0f, 61.0f }, { 86399.0f, 5.0f } };
    const char16_t* expected[] = { u"0秒", u"1分5秒", u"2分", u"7秒", u"1分", u"1分1秒", u"0秒" };
    for (std::size_t i = 0; i < std::size(drills); ++i) {
        EXPECT_EQ(TimeText(ElapsedSeconds(drills[i].first, drills[i].second)), expected[i])
            << drills[i].first << " to " << drills[i].second;
    }
}

TEST(ResultSheet, ScoreRoundsHalvesToEven)
{
    const int cases[][3] = { { 7, 8, 88 }, { 1, 8, 12 }, { 3, 8, 38 }, { 2, 3, 67 }, { 0, 5, 0 }, { 5, 5, 100 },
        { 32767, 32767, 100 }, { 1, 32767, 0 } };
    for (const auto& c : cases)
        EXPECT_EQ(Score(c[0], c[1]), c[2]) << c[0] << " of " << c[1];
}

TEST(ResultSheet, Texts)
{
    EXPECT_EQ(ResultHeading(u"たし算"), u"成績\r\nたし算");
    EXPECT_EQ(
        ResultSheet(u"1分5秒", 3, 2), u"時間：1分5秒\r\n\r\n問題数：3\r\n正解数：2\r\n誤答数：1\r\n\r\n点数：67点");
    EXPECT_EQ(CounterText(3, 20), u"3/20");
}

struct NumberBoxCase {
    const char16_t* typed;
    std::int16_t before;
    std::int16_t count;
    bool beep;
    const char16_t* shown; // null: the box keeps what was typed
};

TEST(NumberBoxRule, KeepsTheCountAtOneOrMore)
{
    const NumberBoxCase cases[] = {
        { u"20", 10, 20, false, nullptr },
        { u" 12 ", 10, 12, false, nullptr },
        { u"7.5", 10, 8, false, nullptr },
        { u"6.5", 10, 6, false, nullptr },
        { u"32767", 10, 32767, false, nullptr },
        { u"0", 10, 1, true, u"1" },
        { u"-4", 10, 1, true, u"1" },
        { u"0.4", 10, 1, true, u"1" },
        { u"abc", 15, 15, true, u"15" },
        { u"1,000", 15, 15, true, u"15" },
        { u"40000", 15, 15, true, u"15" },
        { u"32768", 32767, 32767, true, u"32767" }, // the up arrow at the top
        { u"", 15, 1, false, nullptr }, // empty counts as 1, silently
        // A sign typed before the digits is kept, and the count with it.
        { u"-", 15, 15, false, nullptr },
        { u" - ", 15, 15, false, nullptr },
        { u"+", 15, 15, false, nullptr },
        { u"+3", 15, 3, false, nullptr },
        { u"-3", 15, 1, true, u"1" },
        { u"--", 15, 15, true, u"15" },
        { u"- 3", 15, 15, true, u"15" },
        { u"-a", 15, 15, true, u"15" },
        { u" ", 15, 15, true, u"15" },
    };
    for (const NumberBoxCase& c : cases) {
        NumberBoxChange change = NumberBoxRule(c.typed, c.before);
        EXPECT_EQ(change.count, c.count) << utf8(c.typed);
        EXPECT_EQ(change.beep, c.beep) << utf8(c.typed);
        EXPECT_EQ(change.newText.has_value(), c.shown != nullptr) << utf8(c.typed);
        if (change.newText && c.shown) {
            EXPECT_EQ(*change.newText, c.shown) << utf8(c.typed);
        }
        // What the box is set back to must be kept without another beep.
        if (change.newText) {
            NumberBoxChange again = NumberBoxRule(*change.newText, change.count);
            EXPECT_FALSE(again.beep);
            EXPECT_EQ(again.count, change.count);
        }
    }
    EXPECT_EQ(SpinUpText(32767), u"32768");
    EXPECT_EQ(SpinDownText(1), u"0");
}

} // namespace
} // namespace numbrelle
