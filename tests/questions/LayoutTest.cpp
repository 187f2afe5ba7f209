// The bundled questions as the window lays them out, measured with the
// window's own fonts: every printed label of every picture stays clear of the
// drawn lines and of the other labels, and the question text and title fit
// their labels. The first picture of each file is saved for a person to look at.
#include "QuestionRuns.h"

#include "drill/Form1.h"
#include "drill/Picture.h"
#include "script/Numbers.h"

#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace numbrelle::questions {
namespace {

// The window's layout, in pixels (twips / 15).
constexpr double pictureTwips = 4095;
constexpr int picturePixels = 273;
constexpr double questionWidth = 9255 / 15.0;
constexpr double questionWidthBesidePicture = 4695 / 15.0;
constexpr double questionHeight = 5535 / 15.0;
constexpr double titleWidth = 5895 / 15.0; // the question screen's heading
constexpr double listTitleWidth = 4815 / 15.0; // the selection screen's name, "12_" and the title
// A label's ink may come no closer than this to a line's edge or another label.
constexpr double clearance = 1.0;

QFont windowFont(int pixelSize)
{
    InstallJapaneseFonts();
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(pixelSize);
    return font;
}

// A picture coordinate in pixels, scaled the way the picture is drawn.
double pixels(std::int16_t units) { return RoundHalfEven(pictureTwips / 1000.0 * units) / 15.0; }

struct Segment {
    QPointF a, b;
    double halfWidth;
};

bool crosses(const Segment& s, const QRectF& r)
{
    // Sample the segment finely: labels are a few pixels across, lines at most a picture long.
    const double length = std::hypot(s.b.x() - s.a.x(), s.b.y() - s.a.y());
    const int steps = std::max(1, static_cast<int>(length * 4));
    const QRectF grown = r.adjusted(
        -s.halfWidth - clearance, -s.halfWidth - clearance, s.halfWidth + clearance, s.halfWidth + clearance);
    for (int i = 0; i <= steps; ++i) {
        const QPointF p = s.a + (s.b - s.a) * (static_cast<double>(i) / steps);
        if (grown.contains(p))
            return true;
    }
    return false;
}

bool circleCrosses(QPointF centre, double radius, double halfWidth, const QRectF& r)
{
    double nearest = 0, farthest = 0;
    const double dx = std::max({ r.left() - centre.x(), 0.0, centre.x() - r.right() });
    const double dy = std::max({ r.top() - centre.y(), 0.0, centre.y() - r.bottom() });
    nearest = std::hypot(dx, dy);
    for (QPointF corner : { r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight() })
        farthest = std::max(farthest, std::hypot(corner.x() - centre.x(), corner.y() - centre.y()));
    return nearest <= radius + halfWidth + clearance && farthest >= radius - halfWidth - clearance;
}

struct Label {
    std::string text;
    QRectF ink;
};

// What is wrong with one picture's labels, or nothing.
std::string labelProblem(const DrawingList& drawing, const QFontMetricsF& metrics)
{
    std::vector<Segment> segments;
    std::vector<QRectF> filled;
    std::vector<std::pair<QPointF, double>> circles;
    std::vector<Label> labels;
    int penWidth = 1;
    for (const DrawingCommand& c : drawing.entries) {
        const QPointF first(pixels(c.x1), pixels(c.y1)), second(pixels(c.x2), pixels(c.y2));
        std::int16_t width = 0;
        const bool hasWidth = ToInt16(c.text, width) == Fault::None && width >= 1;
        switch (c.kind) {
        case DrawingKind::Line:
            penWidth = hasWidth ? width : penWidth;
            segments.push_back({ first, second, penWidth / 2.0 });
            break;
        case DrawingKind::Box: {
            const QRectF box = QRectF(first, second).normalized();
            if (utf8(c.text) == "#paint") {
                filled.push_back(box);
                break;
            }
            penWidth = hasWidth ? width : 1;
            for (auto [a, b] : { std::pair { box.topLeft(), box.topRight() }, { box.topRight(), box.bottomRight() },
                     { box.bottomRight(), box.bottomLeft() }, { box.bottomLeft(), box.topLeft() } })
                segments.push_back({ a, b, penWidth / 2.0 });
            break;
        }
        case DrawingKind::Circle:
            penWidth = hasWidth ? width : penWidth;
            circles.emplace_back(first, pixels(c.x2));
            break;
        case DrawingKind::Text: {
            const QString text = QString::fromStdU16String(c.text);
            const QRectF ink = metrics.tightBoundingRect(text).translated(first + QPointF(0, metrics.ascent()));
            labels.push_back({ utf8(c.text), ink });
            break;
        }
        }
    }
    const QRectF picture(0, 0, picturePixels, picturePixels);
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const Label& label = labels[i];
        if (!picture.contains(label.ink))
            return "\"" + label.text + "\" runs off the picture";
        for (const Segment& s : segments) {
            if (crosses(s, label.ink)) {
                std::ostringstream where;
                where << "\"" << label.text << "\" at " << label.ink.left() << "," << label.ink.top() << " "
                      << label.ink.width() << "x" << label.ink.height() << " touches the line " << s.a.x() << ","
                      << s.a.y() << " - " << s.b.x() << "," << s.b.y();
                return where.str();
            }
        }
        for (const auto& [centre, radius] : circles) {
            if (circleCrosses(centre, radius, 1.0, label.ink))
                return "\"" + label.text + "\" touches a circle";
        }
        for (const QRectF& box : filled) {
            if (box.intersects(label.ink.adjusted(-clearance, -clearance, clearance, clearance)))
                return "\"" + label.text + "\" touches a filled box";
        }
        for (std::size_t j = i + 1; j < labels.size(); ++j) {
            if (labels[j].ink.intersects(label.ink.adjusted(-clearance, -clearance, clearance, clearance)))
                return "\"" + label.text + "\" touches \"" + labels[j].text + "\"";
        }
    }
    return {};
}

void savePicture(const std::string& name, const DrawingList& drawing, const QFont& font)
{
    QImage image(picturePixels, picturePixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    int penWidth = 1;
    PaintDrawingList(painter, drawing, static_cast<float>(pictureTwips), penWidth);
    painter.end();
    QDir().mkpath(QStringLiteral(NUMBRELLE_PICTURE_DIR));
    image.save(QStringLiteral(NUMBRELLE_PICTURE_DIR "/") + QString::fromStdString(name) + QStringLiteral(".png"));
}

class Layout : public ::testing::TestWithParam<std::string> { };

TEST_P(Layout, LabelsStayClearAndTextsFit)
{
    const QFont pictureFont = windowFont(16);
    const QFontMetricsF pictureMetrics(pictureFont);
    const QFontMetricsF textMetrics(windowFont(24));
    QuestionFile file(GetParam());
    bool saved = false;
    for (int i = 0; i < runsPerFile; ++i) {
        const QuestionRun run = file.run();
        SCOPED_TRACE("run " + std::to_string(i) + ": " + run.question);
        if (i == 0) {
            const double heading = textMetrics.horizontalAdvance(QString::fromStdString(run.title));
            EXPECT_LE(heading, titleWidth) << "the title is wider than the question screen's heading";
            // The list numbers its entries; three digits cover the library.
            const double listed = textMetrics.horizontalAdvance(QString::fromStdString("140_" + run.title));
            EXPECT_LE(listed, listTitleWidth)
                << run.title << " is wider than the selection screen's name: " << listed << " px";
        }
        const double width = run.drawing.empty() ? questionWidth : questionWidthBesidePicture;
        const QRectF text = textMetrics.boundingRect(
            QRectF(0, 0, width, 100000), Qt::TextWordWrap, QString::fromStdString(run.question));
        ASSERT_LE(text.height(), questionHeight) << "the question text does not fit its label";
        if (run.drawing.empty())
            continue;
        if (!saved) {
            savePicture(GetParam(), run.drawing, pictureFont);
            saved = true;
        }
        ASSERT_EQ(labelProblem(run.drawing, pictureMetrics), "");
    }
}

std::string testName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name;
    for (char c : info.param)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Questions, Layout, ::testing::ValuesIn(bundledFileNames()), testName);

// The measurement itself, on pictures made to order.
TEST(LayoutMeasure, FindsLabelsOnLinesAndLeavesClearOnesAlone)
{
    const QFontMetricsF metrics(windowFont(16));
    auto picture = [](std::vector<DrawingCommand> entries) {
        DrawingList list;
        list.entries = std::move(entries);
        return list;
    };
    auto text = [](std::int16_t x, std::int16_t y, const char16_t* t) {
        return DrawingCommand { DrawingKind::Text, x, y, 0, 0, t, 0, 0, 0 };
    };
    auto line = [](std::int16_t x1, std::int16_t y1, std::int16_t x2, std::int16_t y2) {
        return DrawingCommand { DrawingKind::Line, x1, y1, x2, y2, u"2", 0, 0, 0 };
    };
    const struct {
        const char* name;
        DrawingList drawing;
        bool clear;
    } rows[] = {
        { "label above a line", picture({ line(100, 500, 900, 500), text(400, 400, u"5") }), true },
        { "label on a line", picture({ line(100, 500, 900, 500), text(400, 460, u"5") }), false },
        { "line through a label's middle", picture({ line(420, 100, 420, 900), text(400, 400, u"12") }), false },
        { "two labels apart", picture({ text(100, 100, u"A"), text(300, 100, u"B") }), true },
        { "two labels on top of each other", picture({ text(100, 100, u"A"), text(120, 110, u"B") }), false },
        { "label off the picture", picture({ text(990, 100, u"10cm") }), false },
        { "label inside a circle",
            picture({ { DrawingKind::Circle, 500, 500, 300, 0, u"1", 0, 0, 0 }, text(480, 480, u"O") }), true },
        { "label on a circle",
            picture({ { DrawingKind::Circle, 500, 500, 300, 0, u"1", 0, 0, 0 }, text(780, 480, u"r") }), false },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(labelProblem(row.drawing, metrics).empty(), row.clear) << labelProblem(row.drawing, metrics);
    }
}

} // namespace
} // namespace numbrelle::questions

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
