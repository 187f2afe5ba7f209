// Display settings over the X RandR extension: the modes of the monitor that
// shows the top-left corner of the screen, a switch of that monitor's mode, and
// the way back to the mode and screen size the desktop had at start.
#pragma once

#include "platform/DisplaySettings.h"

#include <memory>

namespace numbrelle {

class X11DisplaySettings final : public DisplaySettings {
public:
    // Connects to `displayName` (null: the display of the session) and notes
    // the desktop's mode at once, so that restore() can always go back to it.
    // Without an X server, without RandR 1.2, or on a Wayland compositor's X
    // emulation (whose modes are not the monitor's) there are no modes.
    explicit X11DisplaySettings(const char* displayName = nullptr);
    // Puts the desktop back if the program leaves without having done so.
    ~X11DisplaySettings() override;

    X11DisplaySettings(const X11DisplaySettings&) = delete;
    X11DisplaySettings& operator=(const X11DisplaySettings&) = delete;

    // Starts a small process that restores the desktop's mode if the program
    // ends while switched without having restored it: killed, crashed, or a
    // second Ctrl-C during a script that never returns. It forks without
    // exec, so it must be called while the program has only one thread, that
    // is before the application object exists. False when there is no display
    // or no process could be started; the program then runs without it.
    bool startWatchdog();

    bool enumMode(int number, DisplayModeInfo&) override;
    bool changeMode(int number) override;
    void restore() override;

private:
    struct Connection;
    std::unique_ptr<Connection> m_connection;
};

} // namespace numbrelle
