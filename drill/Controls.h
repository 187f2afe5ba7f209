// The window's own kinds of control beyond Qt's: texts that take clicks, the
// two picture boxes (the question picture and the loading bar) and the small
// up-down spinner beside the number box.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QLabel>
#include <QWidget>

class QToolButton;

namespace numbrelle {

// A text that acts as a button.
class ClickLabel final : public QLabel {
    Q_OBJECT
public:
    explicit ClickLabel(const QString& text, QWidget* parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    bool m_pressed = false;
};

// A text that always shows within its label. OneLine keeps the text on one
// line, shrinking the font just enough to fit and, below the smallest size,
// cutting it short with "…". Wrapped breaks lines between words, or inside a
// word too long for the width, and shrinks the font just enough for the
// height. A text that fits as a plain label shows exactly as one.
class FittedLabel final : public QLabel {
    Q_OBJECT
public:
    enum class Fit { OneLine, Wrapped };
    FittedLabel(Fit fit, int smallestPixels, QWidget* parent);

    // The font and the text as drawn now.
    QFont shownFont() const;
    QString shownText() const;
    bool elided() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    struct Fitting {
        bool plain = true; // drawn as a plain label
        QFont font;
        QString text;
        bool elided = false;
    };
    Fitting fitting() const;
    Fitting fitOneLine(const QRectF& area) const;
    Fitting fitWrapped(const QRectF& area) const;
    QRectF textArea() const;

    Fit m_fit;
    int m_smallestPixels;
};

// Outlines a control while it has the keyboard focus, so that a learner at
// the keyboard sees which list the arrow keys move. It lies over the control,
// lets clicks through, and follows its place and size.
class FocusFrame final : public QWidget {
    Q_OBJECT
public:
    FocusFrame(QWidget* control, const QColor& colour);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent*) override;

private:
    void follow();

    QWidget* m_control;
    QColor m_colour;
};

// A picture that keeps what is drawn on it until it is cleared.
class PictureBox final : public QWidget {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent);
    // Makes the picture blank, at the widget's current size.
    void clear();
    // What is drawn on the picture; it shows at the next repaint.
    QImage& image() { return m_image; }
    float heightTwips() const;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QImage m_image;
};

// The loading bar: filled to a fraction of its width.
class ProgressBar final : public QWidget {
    Q_OBJECT
public:
    explicit ProgressBar(QWidget* parent);
    void setProgress(std::size_t done, std::size_t count);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    double m_fraction = 0;
};

// Two stacked arrows; the number box decides what they do.
class UpDown final : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent);
    // Ends the repeat of an arrow held down; the next press repeats again.
    void stopRepeating();

signals:
    void up();
    void down();

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    QToolButton* m_up;
    QToolButton* m_down;
};

} // namespace numbrelle
