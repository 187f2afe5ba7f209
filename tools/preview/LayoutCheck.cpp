#include "tools/preview/LayoutCheck.h"

#include "drill/Controls.h"
#include "drill/Layout.h"
#include "drill/Picture.h"
#include "drill/QuestionScreen.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineF>

#include <algorithm>
#include <cmath>

namespace numbrelle::preview {

namespace {

// The selection screen's Label2, where the display name is shown.
const QRect nameLabel = Twips(4680, 120, 4815, 495);

std::string px(double value) { return std::to_string(static_cast<long>(std::ceil(value))); }

std::string quotedText(const QString& text) { return "\"" + text.toStdString() + "\""; }

double pointToRect(QPointF p, const QRectF& r)
{
    const double dx = std::max({ r.left() - p.x(), 0.0, p.x() - r.right() });
    const double dy = std::max({ r.top() - p.y(), 0.0, p.y() - r.bottom() });
    return std::hypot(dx, dy);
}

double pointToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t = length2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0);
    const QPointF nearest = a + ab * t;
    return std::hypot(p.x() - nearest.x(), p.y() - nearest.y());
}

// The gap between a segment and a rectangle; 0 when they meet.
double segmentToRect(QPointF a, QPointF b, const QRectF& r)
{
    if (r.contains(a) || r.contains(b))
        return 0;
    const QPointF corners[] = { r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft() };
    const QLineF segment(a, b);
    double gap = std::min(pointToRect(a, r), pointToRect(b, r));
    for (int i = 0; i < 4; ++i) {
        const QLineF edge(corners[i], corners[(i + 1) % 4]);
        if (segment.intersects(edge) == QLineF::BoundedIntersection)
            return 0;
        gap = std::min(gap, pointToSegment(corners[i], a, b));
    }
    return gap;
}

// Whether a circle's outline, a ring halfWidth either side of radius, meets r.
bool ringMeets(QPointF centre, double radius, double halfWidth, const QRectF& r)
{
    double farthest = 0;
    for (QPointF corner : { r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight() })
        farthest = std::max(farthest, std::hypot(corner.x() - centre.x(), corner.y() - centre.y()));
    return pointToRect(centre, r) <= radius + halfWidth && farthest >= radius - halfWidth;
}

std::vector<std::pair<QPointF, QPointF>> boxEdges(const QRectF& box)
{
    return { { box.topLeft(), box.topRight() }, { box.topRight(), box.bottomRight() },
        { box.bottomRight(), box.bottomLeft() }, { box.bottomLeft(), box.topLeft() } };
}

struct Label {
    const PlacedDrawing* shape;
    QRectF ink;
};

class PictureCheck {
public:
    PictureCheck(const QuestionScreen& screen, const QuestionRecord& record, const std::vector<std::int32_t>& lines,
        std::vector<LayoutWarning>& warnings)
        : m_lines(lines)
        , m_warnings(warnings)
    {
        int penWidth = 1;
        const PictureBox& picture = *screen.picture();
        m_picture = QRectF(picture.rect());
        m_shapes = PlaceDrawingList(record.drawingList, picture.heightTwips(), penWidth);
        const QFontMetricsF metrics(picture.font());
        for (const PlacedDrawing& shape : m_shapes) {
            if (shape.kind != DrawingKind::Text || shape.text.isEmpty())
                continue;
            const QRectF ink = metrics.tightBoundingRect(shape.text).translated(PrintBaseline(metrics, shape.first));
            if (!ink.isEmpty())
                m_labels.push_back({ &shape, ink });
        }
    }

    void run()
    {
        for (std::size_t i = 0; i < m_labels.size(); ++i) {
            const Label& label = m_labels[i];
            if (!m_picture.contains(label.ink))
                warn(LayoutProblem::LabelOutside, label, nullptr, "runs outside the picture");
            for (const PlacedDrawing& shape : m_shapes)
                checkAgainst(label, shape);
            const QRectF clear = grown(label.ink, labelClearance);
            for (std::size_t j = i + 1; j < m_labels.size(); ++j) {
                if (clear.intersects(m_labels[j].ink))
                    warn(LayoutProblem::LabelOnLabel, label, m_labels[j].shape,
                        "touches label " + quotedText(m_labels[j].shape->text));
            }
        }
    }

private:
    static QRectF grown(const QRectF& r, double by) { return r.adjusted(-by, -by, by, by); }

    void checkAgainst(const Label& label, const PlacedDrawing& shape)
    {
        const double reach = shape.penWidth / 2.0 + labelClearance;
        switch (shape.kind) {
        case DrawingKind::Line:
            if (segmentToRect(shape.first, shape.second, label.ink) <= reach)
                warn(LayoutProblem::LabelOnLine, label, &shape, "touches a line");
            break;
        case DrawingKind::Box: {
            const QRectF box = QRectF(shape.first, shape.second).normalized();
            if (shape.filled && shape.entry > label.shape->entry) {
                if (grown(box, reach).intersects(label.ink))
                    warn(LayoutProblem::LabelCovered, label, &shape, "is covered by a filled box painted after it");
                break;
            }
            // A label inside a filled box painted before it stands on the fill.
            if (shape.filled && grown(box, -reach).contains(label.ink))
                break;
            for (const auto& [a, b] : boxEdges(box)) {
                if (segmentToRect(a, b, label.ink) <= reach) {
                    warn(LayoutProblem::LabelOnLine, label, &shape, "touches the outline of a box");
                    break;
                }
            }
            break;
        }
        case DrawingKind::Circle:
            if (ringMeets(shape.first, shape.radius, reach, label.ink))
                warn(LayoutProblem::LabelOnLine, label, &shape, "touches a circle");
            break;
        case DrawingKind::Text: break; // labels are measured against one another above
        }
    }

    std::int32_t lineOf(const PlacedDrawing* shape) const
    {
        return shape && shape->entry < m_lines.size() ? m_lines[shape->entry] : 0;
    }

    void warn(LayoutProblem problem, const Label& label, const PlacedDrawing* other, const std::string& what)
    {
        std::string text = "label " + quotedText(label.shape->text) + " " + what;
        if (other)
            text += " (line " + std::to_string(lineOf(other)) + ")";
        m_warnings.push_back({ problem, lineOf(label.shape), lineOf(other), text });
    }

    const std::vector<std::int32_t>& m_lines;
    std::vector<LayoutWarning>& m_warnings;
    QRectF m_picture;
    std::vector<PlacedDrawing> m_shapes;
    std::vector<Label> m_labels;
};

// The widest line of text in font.
int widestLine(const QFont& font, const QString& text)
{
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n')))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

void checkTexts(const QuestionScreen& screen, const QuestionRecord& record, TextView displayName,
    std::vector<LayoutWarning>& warnings)
{
    // Measured as the label lays out a wrapped plain text.
    const QLabel& question = *screen.questionLabel();
    const QRect area = question.contentsRect();
    const QRect needed
        = QFontMetrics(question.font())
              .boundingRect(QRect(0, 0, area.width(), 1 << 20),
                  static_cast<int>(question.alignment()) | Qt::TextWordWrap, ShownText(record.questionText));
    if (needed.height() > area.height())
        warnings.push_back({ LayoutProblem::QuestionTooTall, 0, 0,
            "question text is " + px(needed.height()) + " px tall, its area " + px(area.height())
                + " px: the end is cut off" });
    if (needed.width() > area.width())
        warnings.push_back({ LayoutProblem::QuestionTooWide, 0, 0,
            "a word of the question text is " + px(needed.width()) + " px wide, its area " + px(area.width())
                + " px: it is cut off at the right" });

    const QLabel& title = *screen.titleLabel();
    const int titleWidth = widestLine(title.font(), ShownText(record.title));
    if (titleWidth > title.contentsRect().width())
        warnings.push_back({ LayoutProblem::TitleTooWide, 0, 0,
            "title is " + px(titleWidth) + " px wide, wider than its label (" + px(title.contentsRect().width())
                + " px)" });

    const int nameWidth = widestLine(LayoutFont(textPixels), ShownText(displayName));
    if (nameWidth > nameLabel.width())
        warnings.push_back({ LayoutProblem::NameTooWide, 0, 0,
            "display name " + quotedText(ShownText(displayName)) + " is " + px(nameWidth)
                + " px wide, wider than its label on the selection screen (" + px(nameLabel.width()) + " px)" });
}

} // namespace

std::vector<LayoutWarning> CheckLayout(const QuestionScreen& screen, const QuestionRecord& record,
    const std::vector<std::int32_t>& drawingLines, TextView displayName)
{
    std::vector<LayoutWarning> warnings;
    checkTexts(screen, record, displayName, warnings);
    PictureCheck(screen, record, drawingLines, warnings).run();
    return warnings;
}

} // namespace numbrelle::preview
