// The program's message box: modal, one OK button, no icon, the program's
// caption. Script errors and msgbox texts reach the learner through it.
#pragma once

#include "platform/MessageBox.h"

class QWidget;

namespace numbrelle {

inline constexpr char programCaption[] = "Numbrelle";

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr)
        : m_parent(parent)
    {
    }
    // The window the box is centred on and blocks; set once the window exists.
    void setParent(QWidget* parent) { m_parent = parent; }
    void show(const std::u16string& text) override;

private:
    QWidget* m_parent;
};

} // namespace numbrelle
