#include "drill/DisplayGuard.h"

#include "platform/DisplaySettings.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace numbrelle {

namespace {

// What the handlers may touch: set once by the guard before they are installed.
int s_writeEnd = -1;
volatile std::sig_atomic_t s_signalled = 0;
DisplaySettings* s_settings = nullptr;
std::terminate_handler s_previousTerminate = nullptr;

void onSignal(int signal)
{
    if (s_signalled) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    s_signalled = 1;
    int savedErrno = errno;
    unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] ssize_t written = write(s_writeEnd, &number, 1);
    errno = savedErrno;
}

[[noreturn]] void onTerminate()
{
    if (s_settings)
        s_settings->restore();
    if (s_previousTerminate)
        s_previousTerminate();
    std::abort();
}

} // namespace

DisplayGuard::DisplayGuard(DisplaySettings& settings, std::function<void()> closeProgram)
    : m_settings(settings)
    , m_closeProgram(std::move(closeProgram))
{
    if (pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        s_writeEnd = m_pipe[1];
        s_signalled = 0;
        m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &DisplayGuard::readSignal);

        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (size_t i = 0; i < std::size(handledSignals); ++i)
            sigaction(handledSignals[i], &action, &m_previousActions[i]);
    }
    s_settings = &m_settings;
    s_previousTerminate = std::set_terminate(onTerminate);
    m_previousTerminate = s_previousTerminate;
}

DisplayGuard::~DisplayGuard()
{
    std::set_terminate(m_previousTerminate);
    s_settings = nullptr;
    if (m_notifier) {
        for (size_t i = 0; i < std::size(handledSignals); ++i)
            sigaction(handledSignals[i], &m_previousActions[i], nullptr);
        s_writeEnd = -1;
        close(m_pipe[0]);
        close(m_pipe[1]);
    }
}

void DisplayGuard::readSignal()
{
    unsigned char number = 0;
    if (read(m_pipe[0], &number, 1) != 1)
        return;
    m_notifier->setEnabled(false);
    if (m_closeProgram)
        m_closeProgram();
    QCoreApplication::exit(128 + number);
}

} // namespace numbrelle
