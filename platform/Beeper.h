// The system's warning sound, answered to a bad number of questions.
#pragma once

namespace numbrelle {

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

} // namespace numbrelle
