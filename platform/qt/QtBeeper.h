// The system's warning sound and the processing of pending window events, as
// the Qt program provides them.
#pragma once

#include "platform/Beeper.h"

namespace numbrelle {

class QtBeeper final : public Beeper {
public:
    void beep() override;
};

// Lets the window repaint and handle queued input in the middle of long work.
void ProcessPendingEvents();

} // namespace numbrelle
