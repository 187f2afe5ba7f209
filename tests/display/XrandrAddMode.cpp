// Test helper: adds display modes to the first connected output of an X server
// and keeps them there. A mode made by a client lives only as long as that
// client's connection, so this stays connected until it is killed.
//
// Usage: xrandr-add-mode WIDTHxHEIGHT...   (the display is taken from DISPLAY)
// Prints "ready" once every mode is on the output.

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

bool parseSize(const char* text, unsigned& width, unsigned& height)
{
    char tail = 0;
    return std::sscanf(text, "%ux%u%c", &width, &height, &tail) == 2 && width > 0 && height > 0;
}

RROutput firstConnectedOutput(Display* display, XRRScreenResources* resources)
{
    for (int i = 0; i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        bool connected = info && info->connection == RR_Connected;
        if (info)
            XRRFreeOutputInfo(info);
        if (connected)
            return resources->outputs[i];
    }
    return None;
}

// A plain mode line; Xvfb ignores the timings, but a server that checks them
// gets a sensible 60 Hz refresh.
XRRModeInfo makeMode(unsigned width, unsigned height, const std::string& name)
{
    XRRModeInfo mode {};
    mode.width = width;
    mode.height = height;
    mode.hSyncStart = width + 16;
    mode.hSyncEnd = width + 112;
    mode.hTotal = width + 160;
    mode.vSyncStart = height + 10;
    mode.vSyncEnd = height + 12;
    mode.vTotal = height + 45;
    mode.dotClock = static_cast<unsigned long>(mode.hTotal) * mode.vTotal * 60;
    mode.name = const_cast<char*>(name.c_str());
    mode.nameLength = static_cast<unsigned>(name.size());
    return mode;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WIDTHxHEIGHT...\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XRRScreenResources* resources = XRRGetScreenResources(display, root);
    RROutput output = resources ? firstConnectedOutput(display, resources) : None;
    if (output == None) {
        std::fprintf(stderr, "%s: no connected output\n", argv[0]);
        return 1;
    }
    for (int i = 1; i < argc; ++i) {
        unsigned width = 0, height = 0;
        if (!parseSize(argv[i], width, height)) {
            std::fprintf(stderr, "%s: not a size: %s\n", argv[0], argv[i]);
            return 2;
        }
        // Each mode needs its own name; the index keeps repeated sizes apart.
        std::string name = std::string(argv[i]) + "_test" + std::to_string(i);
        XRRModeInfo info = makeMode(width, height, name);
        RRMode mode = XRRCreateMode(display, root, &info);
        XRRAddOutputMode(display, output, mode);
    }
    XSync(display, False);
    XRRFreeScreenResources(resources);
    std::printf("ready\n");
    std::fflush(stdout);

    // Stay connected; SIGTERM's default action ends the process.
    for (;;)
        pause();
}
