// The rules of drawing a picture without a painter: where units land, which
// boxes are filled, and which pen width each entry leaves behind. The window
// and the runner's check both go by them.
#include "drill/PictureRules.h"

#include "script/Text.h"

#include <gtest/gtest.h>

#include <optional>

namespace numbrelle {
namespace {

DrawingCommand entry(DrawingKind kind, const char16_t* text)
{
    DrawingCommand command;
    command.kind = kind;
    command.text = text;
    return command;
}

TEST(PictureRules, UnitsScaleByTheHeightHalvesToEven)
{
    struct Row {
        float height;
        std::int16_t units;
        std::optional<std::int16_t> twips;
    } rows[] = {
        { 4095, 1000, 4095 },
        { 4095, 500, 2047 }, // 4.095 is a little less in binary: 2047.4999...
        { 4500, 500, 2250 },
        { 1000, 3, 3 },
        { 500, 3, 2 }, // 1.5 goes to 2
        { 500, 5, 2 }, // 2.5 goes to 2
        { 4095, -1, -4 }, // -4.095
        { 4095, 8001, 32764 }, // still fits
        { 4095, 8002, std::nullopt }, // 32768.19 does not
        { 4095, -8003, std::nullopt },
        { 4095, 0, 0 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.units) + " units of " + std::to_string(row.height));
        EXPECT_EQ(UnitsToTwips(row.height, row.units), row.twips);
    }
}

TEST(PictureRules, PaintIgnoresTheCaseOfAsciiLettersOnly)
{
    struct Row {
        const char16_t* text;
        bool paint;
    } rows[] = { { u"#paint", true }, { u"#PAINT", true }, { u"#Paint", true }, { u"#paint ", false },
        { u"paint", false }, { u"", false }, { u"＃paint", false }, { u"#ｐaint", false } };
    for (const Row& row : rows) {
        SCOPED_TRACE(utf8(row.text));
        EXPECT_EQ(IsPaint(row.text), row.paint);
    }
}

TEST(PictureRules, PenWidthCarriesOverFromEntryToEntry)
{
    struct Row {
        DrawingKind kind;
        const char16_t* text;
        int before;
        int after;
        bool ignored; // what the check warns of
    } rows[] = {
        { DrawingKind::Line, u"7", 1, 7, false },
        { DrawingKind::Line, u"2.5", 1, 2, false }, // rounded, halves to even
        { DrawingKind::Line, u"0", 5, 5, true },
        { DrawingKind::Line, u"-3", 5, 5, true },
        { DrawingKind::Line, u"abc", 4, 4, true },
        { DrawingKind::Circle, u"3", 9, 3, false },
        { DrawingKind::Circle, u"0", 9, 9, true },
        // A box starts from 1 whatever came before it.
        { DrawingKind::Box, u"4", 9, 4, false },
        { DrawingKind::Box, u"#paint", 9, 1, false },
        { DrawingKind::Box, u"#PAINT", 9, 1, false },
        { DrawingKind::Box, u"", 9, 1, false },
        { DrawingKind::Box, u"thick", 9, 1, true },
        { DrawingKind::Box, u"0", 9, 1, true },
        // A print has no pen width.
        { DrawingKind::Text, u"5", 3, 3, false },
        { DrawingKind::Text, u"", 3, 3, false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(DrawingStatement(row.kind)) + " " + utf8(row.text));
        const DrawingCommand command = entry(row.kind, row.text);
        EXPECT_EQ(PenWidthAfter(command, row.before), row.after);
        EXPECT_EQ(IgnoresPenWidth(command), row.ignored);
    }
}

TEST(PictureRules, KindsAreNamedByTheStatementThatMakesThem)
{
    EXPECT_STREQ(DrawingStatement(DrawingKind::Line), "line");
    EXPECT_STREQ(DrawingStatement(DrawingKind::Box), "square");
    EXPECT_STREQ(DrawingStatement(DrawingKind::Circle), "circle");
    EXPECT_STREQ(DrawingStatement(DrawingKind::Text), "print");
    EXPECT_STREQ(DrawingStatement(static_cast<DrawingKind>(7)), "drawing");
}

} // namespace
} // namespace numbrelle
