// Drawing a DrawingList: scaling by the picture's height, the shapes and their
// colours, the pen width that carries over, and the order of painting.
#include "drill/Picture.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace numbrelle {
namespace {

constexpr int side = 300; // pixels; 1000 units
constexpr float sideTwips = side * 15;

DrawingCommand entry(
    DrawingKind kind, int x1, int y1, int x2, int y2, const char16_t* text, int r = 0, int g = 0, int b = 0)
{
    return DrawingCommand { kind, static_cast<std::int16_t>(x1), static_cast<std::int16_t>(y1),
        static_cast<std::int16_t>(x2), static_cast<std::int16_t>(y2), text, static_cast<std::int16_t>(r),
        static_cast<std::int16_t>(g), static_cast<std::int16_t>(b) };
}

QImage draw(std::vector<DrawingCommand> entries, int& penWidth)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintDrawingList(painter, DrawingList { std::move(entries) }, sideTwips, penWidth);
    return image;
}

QImage draw(std::vector<DrawingCommand> entries)
{
    int penWidth = 1;
    return draw(std::move(entries), penWidth);
}

bool inked(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 160; }

// How many pixels of column x are inked: the width of a horizontal line.
int thickness(const QImage& image, int x)
{
    int count = 0;
    for (int y = 0; y < side; ++y)
        count += inked(image, x, y);
    return count;
}

TEST(PaintDrawingList, ShapesLandWhereTheirUnitsSay)
{
    QImage filled = draw({ entry(DrawingKind::Box, 100, 100, 900, 900, u"#PAINT", 0, 128, 0) });
    EXPECT_EQ(QColor(filled.pixel(150, 150)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(filled.pixel(31, 150)), QColor(0, 128, 0));
    EXPECT_EQ(QColor(filled.pixel(20, 150)), QColor(Qt::white));

    QImage outline = draw({ entry(DrawingKind::Box, 100, 100, 900, 900, u"") });
    EXPECT_TRUE(inked(outline, 30, 150));
    EXPECT_FALSE(inked(outline, 150, 150));

    QImage diagonal = draw({ entry(DrawingKind::Line, 0, 0, 1000, 1000, u"1") });
    EXPECT_TRUE(inked(diagonal, 150, 150));
    EXPECT_TRUE(inked(diagonal, 280, 280));
    EXPECT_FALSE(inked(diagonal, 150, 50));

    // Radius 250 units is a quarter of the height, 75 pixels.
    QImage circle = draw({ entry(DrawingKind::Circle, 500, 500, 250, 0, u"2", 0, 0, 255) });
    EXPECT_EQ(qBlue(circle.pixel(225, 150)), 255);
    EXPECT_LT(qRed(circle.pixel(225, 150)), 100);
    EXPECT_FALSE(inked(circle, 150, 150));
    EXPECT_FALSE(inked(circle, 150, 60));
}

TEST(PaintDrawingList, LaterEntriesPaintOverEarlierOnes)
{
    QImage image = draw({ entry(DrawingKind::Box, 0, 0, 600, 600, u"#paint", 255, 0, 0),
        entry(DrawingKind::Box, 400, 400, 1000, 1000, u"#paint", 0, 0, 255) });
    EXPECT_EQ(QColor(image.pixel(150, 150)), QColor(0, 0, 255));
    EXPECT_EQ(QColor(image.pixel(60, 60)), QColor(255, 0, 0));
}

TEST(PaintDrawingList, ColourComponentsAreClampedToTheirRange)
{
    QImage image = draw({ entry(DrawingKind::Box, 0, 0, 1000, 1000, u"#paint", 999, -5, 300) });
    EXPECT_EQ(QColor(image.pixel(150, 150)), QColor(255, 0, 255));
}

TEST(PaintDrawingList, PenWidthCarriesOverUnlessAWholeNumberOfAtLeastOne)
{
    struct Case {
        const char16_t* width;
        int widthBefore;
        int widthAfter;
    } cases[] = {
        { u"7", 1, 7 },
        { u"0", 5, 5 },
        { u"-3", 5, 5 },
        { u"abc", 4, 4 },
        { u"", 3, 3 },
        { u"1", 6, 1 },
    };
    for (const Case& c : cases) {
        int penWidth = c.widthBefore;
        QImage image = draw({ entry(DrawingKind::Line, 0, 500, 1000, 500, c.width) }, penWidth);
        EXPECT_EQ(penWidth, c.widthAfter) << QString::fromStdU16String(c.width).toStdString();
        EXPECT_NEAR(thickness(image, 150), c.widthAfter, 1) << QString::fromStdU16String(c.width).toStdString();
    }

    // A box sets the width to 1 first; its own width applies when it is one.
    int penWidth = 9;
    draw({ entry(DrawingKind::Box, 0, 0, 10, 10, u"#paint") }, penWidth);
    EXPECT_EQ(penWidth, 1);
    penWidth = 9;
    draw({ entry(DrawingKind::Box, 0, 0, 10, 10, u"x") }, penWidth);
    EXPECT_EQ(penWidth, 1);
    penWidth = 9;
    draw({ entry(DrawingKind::Box, 0, 0, 10, 10, u"4") }, penWidth);
    EXPECT_EQ(penWidth, 4);
}

TEST(PaintDrawingList, CoordinateBeyondTheIntegerRangeKeepsThePreviousOne)
{
    // 30000 units of a 4500-twip picture do not fit; the first entry's x2
    // (the right edge) is used instead.
    QImage image = draw({ entry(DrawingKind::Line, 0, 500, 1000, 500, u"1"),
        entry(DrawingKind::Box, 100, 100, 30000, 200, u"#paint", 255, 0, 0) });
    EXPECT_EQ(QColor(image.pixel(250, 45)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(20, 45)), QColor(Qt::white));
}

TEST(PaintDrawingList, TextIsPrintedWithItsTopLeftAtThePoint)
{
    QImage image = draw({ entry(DrawingKind::Text, 500, 500, 0, 0, u"W") });
    bool below = false;
    bool above = false;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            if (inked(image, x, y)) {
                below |= y >= 150 && x >= 150;
                above |= y < 150 || x < 149;
            }
        }
    }
    EXPECT_TRUE(below);
    EXPECT_FALSE(above);
}

TEST(PaintDrawingList, UnknownKindsDrawNothing)
{
    QImage image = draw({ DrawingCommand { static_cast<DrawingKind>(7), 0, 0, 1000, 1000, u"5", 0, 0, 0 },
        DrawingCommand { static_cast<DrawingKind>(-1), 0, 0, 1000, 1000, u"5", 0, 0, 0 } });
    EXPECT_EQ(thickness(image, 150), 0);
}

} // namespace
} // namespace numbrelle
