// The program's message box: modal, one OK button, no icon, the program's
// caption. Script errors and msgbox texts reach the learner through it, in the
// window's own large font and always within the screen.
#pragma once

#include "platform/MessageBox.h"

#include <QMessageBox>

class QTextEdit;

namespace numbrelle {

inline constexpr char programCaption[] = "Numbrelle";

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    // The window the box is centred on, blocks and takes its font from; set
    // once the window exists.
    void setParent(QWidget* parent) { m_parent = parent; }
    void show(const std::u16string& text) override;

private:
    QWidget* m_parent;
};

// The box itself. Its text is wrapped to the screen's width, and scrolls when
// it is taller than the screen, so that even a 640 x 480 display shows the
// whole box with its OK button. A held key acts on it once, not on every
// repeat, so a key held through one screen does not close the next box unread.
class ProgramMessageBox final : public QMessageBox {
public:
    // text uses "\n" for its line breaks.
    ProgramMessageBox(const QString& text, QWidget* parent);
    ~ProgramMessageBox() override;

    // Sizes the text so that the whole box, with room for the window frame,
    // lies within available.
    void fitTo(const QRect& available);
    QTextEdit* textArea() const { return m_text; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTextEdit* m_text;
};

} // namespace numbrelle
