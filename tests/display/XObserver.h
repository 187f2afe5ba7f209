// What any client of an X server sees of its screen: kept apart from the
// tests because Xlib's macros (None, Status, Bool) break GoogleTest.
#pragma once

#include <string>

namespace numbrelle::test {

struct Observed {
    int width = 0;
    int height = 0;
    std::string modeName; // of the CRTC that shows the top-left corner
};

// Looked at over a connection of its own; all zero when there is no server.
Observed observe(const std::string& displayName);

} // namespace numbrelle::test
