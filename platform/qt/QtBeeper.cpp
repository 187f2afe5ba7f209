#include "platform/qt/QtBeeper.h"

#include <QApplication>

namespace numbrelle {

void QtBeeper::beep() { QApplication::beep(); }

void ProcessPendingEvents() { QCoreApplication::processEvents(); }

} // namespace numbrelle
