// The one QApplication the window benchmarks share, offscreen, made on first use.
#pragma once

#include <QApplication>

namespace numbrelle {

inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "numbrelle_bench";
    static char* argv[] = { name, nullptr };
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

} // namespace numbrelle
