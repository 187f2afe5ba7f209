// The marking screen (Frame3): the mark and the message for a typed answer,
// with the OK that goes on. Shown by the drill after each answer, and by
// anything else that shows how an answer is marked.
#pragma once

#include <QFrame>

class QLabel;

namespace numbrelle {

class ClickLabel;
class FittedLabel;
struct Marking;

class MarkingScreen final : public QFrame {
    Q_OBJECT
public:
    explicit MarkingScreen(QWidget* parent = nullptr);

    void showMarking(const Marking& marking);

    QLabel* markLabel() const { return m_label14; }
    FittedLabel* messageLabel() const { return m_label12; }

signals:
    // Label13 ("OK") was clicked.
    void next();

private:
    QLabel* m_label14;
    FittedLabel* m_label12;
    ClickLabel* m_label13;
};

} // namespace numbrelle
