// The event loop of a display test, run until something leaves it.
#pragma once

#include <QCoreApplication>
#include <QTimer>

namespace numbrelle {

// Gives up after ten seconds with -1, so that a guard that never reacts fails
// its test instead of hanging it.
inline int runEventLoop()
{
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(-1); });
    giveUp.start(10'000);
    return QCoreApplication::exec();
}

} // namespace numbrelle
