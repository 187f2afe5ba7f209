#include "XObserver.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

namespace numbrelle::test {

namespace {

std::string modeAtOrigin(Display* display, Window root)
{
    std::string name;
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, root);
    if (!resources)
        return name;
    for (int i = 0; i < resources->ncrtc && name.empty(); ++i) {
        XRRCrtcInfo* crtc = XRRGetCrtcInfo(display, resources, resources->crtcs[i]);
        if (!crtc)
            continue;
        for (int m = 0; m < resources->nmode; ++m) {
            const XRRModeInfo& mode = resources->modes[m];
            if (mode.id == crtc->mode && crtc->x == 0 && crtc->y == 0)
                name.assign(mode.name, mode.nameLength);
        }
        XRRFreeCrtcInfo(crtc);
    }
    XRRFreeScreenResources(resources);
    return name;
}

} // namespace

Observed observe(const std::string& displayName)
{
    Observed seen;
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return seen;
    Window root = DefaultRootWindow(display);
    Window ignored;
    int x, y;
    unsigned width = 0, height = 0, border, depth;
    // The server's own answer: Xlib's cached size would be the one at connection.
    XGetGeometry(display, root, &ignored, &x, &y, &width, &height, &border, &depth);
    seen.width = static_cast<int>(width);
    seen.height = static_cast<int>(height);
    seen.modeName = modeAtOrigin(display, root);
    XCloseDisplay(display);
    return seen;
}

} // namespace numbrelle::test
