// The modal message box through which the language shows script errors and the
// texts of msgbox statements. The program shows a real box; the runner and the
// tests record the texts instead.
#pragma once

#include <string>

namespace numbrelle {

class MessageBox {
public:
    virtual ~MessageBox() = default;
    // Shows text (CR LF breaks lines) with one OK button; returns once it is closed.
    virtual void show(const std::u16string& text) = 0;
};

} // namespace numbrelle
