// Puts the desktop's display mode back however the program ends: a termination
// signal becomes an ordinary close of the window, and an uncaught exception
// restores the mode before the program aborts.
#pragma once

#include <QObject>

#include <csignal>
#include <exception>
#include <functional>
#include <iterator>

class QSocketNotifier;

namespace numbrelle {

class DisplaySettings;

// X calls are not safe inside a signal handler, so the handler only writes the
// signal's number into a pipe; the event loop reads it, runs `closeProgram`
// (the window's own close handling, which restores the mode) and leaves the
// loop with 128 + the signal's number, as a shell reports a death by signal.
// A second signal before the event loop got to the first one (a script that
// never returns) ends the program the default way; the display service's
// watchdog process restores then, as after any other death.
//
// std::terminate cannot be turned into an event, but it runs on an ordinary
// stack, so its handler restores directly and then hands on to the previous
// handler, which reports the exception and aborts.
//
// One guard at a time; it must be made after the application object.
class DisplayGuard final : public QObject {
public:
    DisplayGuard(DisplaySettings&, std::function<void()> closeProgram);
    ~DisplayGuard() override;

    DisplayGuard(const DisplayGuard&) = delete;
    DisplayGuard& operator=(const DisplayGuard&) = delete;

    static constexpr int handledSignals[] = { SIGINT, SIGTERM, SIGHUP };

private:
    void readSignal();

    DisplaySettings& m_settings;
    std::function<void()> m_closeProgram;
    int m_pipe[2] = { -1, -1 };
    QSocketNotifier* m_notifier = nullptr;
    struct sigaction m_previousActions[std::size(handledSignals)] = {};
    std::terminate_handler m_previousTerminate = nullptr;
};

} // namespace numbrelle
