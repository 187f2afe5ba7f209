// The question screen (Frame2): a run's title, question text and picture, the
// counter and the answer box. The drill shows its questions on it, and so does
// anything else that must show a question exactly as the learner sees it.
#pragma once

#include "script/DrawingList.h"
#include "script/Text.h"

#include <QFrame>

class QLabel;
class QLineEdit;

namespace numbrelle {

class ClickLabel;
class FittedLabel;
class PictureBox;
struct QuestionRecord;

class QuestionScreen final : public QFrame {
    Q_OBJECT
public:
    explicit QuestionScreen(QWidget* parent = nullptr);

    // Empties the texts and the answer box and hides the picture before a
    // run, so that a box the script shows never stands before the previous
    // question; counter is the question's own.
    void clearForRun(TextView counter);
    // Shows what a run left: title, question text, the counter text, an empty
    // answer box with the focus, and the picture beside a narrower text when
    // the run drew one.
    void showQuestion(const QuestionRecord& record, TextView counter);
    // Draws list on WpictObj over what is already there.
    void WPictObject(const DrawingList& list);

    Text typedAnswer() const;
    void hidePicture();

    FittedLabel* titleLabel() const { return m_label8; }
    QLabel* questionLabel() const { return m_label9; }
    QLabel* counterLabel() const { return m_label10; }
    PictureBox* picture() const { return m_wpictObj; }
    QLineEdit* answerBox() const { return m_text1; }

signals:
    // Label11 ("OK") was clicked.
    void submitted();

private:
    FittedLabel* m_label8;
    QLabel* m_label9;
    QLabel* m_label10;
    PictureBox* m_wpictObj;
    QLineEdit* m_text1;
    ClickLabel* m_label11;
    // The picture's pen width, which carries over from one question to the next.
    int m_penWidth = 1;
};

} // namespace numbrelle
