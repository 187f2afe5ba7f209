#include "platform/x11/X11DisplaySettings.h"

#include "platform/x11/ScreenLayout.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <fcntl.h>
#include <string>
#include <string_view>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace numbrelle {

namespace {

struct ScreenSize {
    int width = 0;
    int height = 0;
    int mmWidth = 0;
    int mmHeight = 0;
};

// What a CRTC shows: everything XRRSetCrtcConfig needs to put it back.
struct CrtcSetting {
    int x = 0;
    int y = 0;
    RRMode mode = None;
    Rotation rotation = RR_Rotate_0;
    std::vector<RROutput> outputs;
};

struct Mode {
    RRMode id = None;
    int width = 0;
    int height = 0;
};

// Xlib's default error handler ends the program; a refused mode must not. While
// a trap lives, errors are only counted. One connection, one thread: a static
// counter is enough.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display)
        : m_display(display)
    {
        XSync(m_display, False);
        s_errors = 0;
        m_previous = XSetErrorHandler(countError);
    }
    ~ErrorTrap()
    {
        XSync(m_display, False);
        XSetErrorHandler(m_previous);
    }
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    bool failed()
    {
        XSync(m_display, False);
        return s_errors != 0;
    }

private:
    static int countError(Display*, XErrorEvent*)
    {
        ++s_errors;
        return 0;
    }
    static inline int s_errors = 0;
    Display* m_display;
    XErrorHandler m_previous;
};

// Other clients (the window manager, panels) must not see the screen size and
// the CRTC half changed.
class ServerGrab {
public:
    explicit ServerGrab(Display* display)
        : m_display(display)
    {
        XGrabServer(m_display);
    }
    ~ServerGrab()
    {
        XUngrabServer(m_display);
        XFlush(m_display);
    }
    ServerGrab(const ServerGrab&) = delete;
    ServerGrab& operator=(const ServerGrab&) = delete;

private:
    Display* m_display;
};

bool sideways(Rotation rotation) { return rotation & (RR_Rotate_90 | RR_Rotate_270); }

const XRRModeInfo* findMode(const XRRScreenResources* resources, RRMode id)
{
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id)
            return &resources->modes[i];
    }
    return nullptr;
}

// The area of the screen a CRTC covers with a mode: a turned monitor shows the
// mode on its side.
ScreenArea crtcArea(const XRRScreenResources* resources, const CrtcSetting& setting)
{
    const XRRModeInfo* mode = findMode(resources, setting.mode);
    if (!mode)
        return { setting.x, setting.y, 0, 0 };
    int width = static_cast<int>(mode->width);
    int height = static_cast<int>(mode->height);
    if (sideways(setting.rotation))
        std::swap(width, height);
    return { setting.x, setting.y, width, height };
}

CrtcSetting readCrtc(Display* display, XRRScreenResources* resources, RRCrtc crtc)
{
    CrtcSetting setting;
    XRRCrtcInfo* info = XRRGetCrtcInfo(display, resources, crtc);
    if (!info)
        return setting;
    setting.x = info->x;
    setting.y = info->y;
    setting.mode = info->mode;
    setting.rotation = info->rotation;
    setting.outputs.assign(info->outputs, info->outputs + info->noutput);
    XRRFreeCrtcInfo(info);
    return setting;
}

// The server's answer, not Xlib's cached screen size, which only follows
// events that this connection never reads.
PixelSize currentScreenSize(Display* display, Window root)
{
    Window ignoredRoot;
    int x, y;
    unsigned width = 0, height = 0, border, depth;
    XGetGeometry(display, root, &ignoredRoot, &x, &y, &width, &height, &border, &depth);
    return { static_cast<int>(width), static_cast<int>(height) };
}

struct ResourcesDeleter {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
using Resources = std::unique_ptr<XRRScreenResources, ResourcesDeleter>;

struct OutputInfoDeleter {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
using OutputInfo = std::unique_ptr<XRROutputInfo, OutputInfoDeleter>;

struct LitOutput {
    RROutput id = None;
    OutputInfo info;
    ScreenArea area;
};

// Connected outputs that show something, in the server's order.
std::vector<LitOutput> litOutputs(Display* display, XRRScreenResources* resources)
{
    std::vector<LitOutput> lit;
    for (int i = 0; i < resources->noutput; ++i) {
        OutputInfo info(XRRGetOutputInfo(display, resources, resources->outputs[i]));
        if (!info || info->connection != RR_Connected || info->crtc == None)
            continue;
        CrtcSetting setting = readCrtc(display, resources, info->crtc);
        if (setting.mode == None)
            continue;
        lit.push_back({ resources->outputs[i], std::move(info), crtcArea(resources, setting) });
    }
    return lit;
}

const LitOutput* chooseOutput(const std::vector<LitOutput>& lit, RROutput primary)
{
    std::vector<Monitor> monitors;
    for (const LitOutput& output : lit)
        monitors.push_back({ output.area, output.id == primary });
    std::optional<std::size_t> choice = chooseMonitor(monitors);
    return choice ? &lit[*choice] : nullptr;
}

bool isXWayland(const std::vector<LitOutput>& lit)
{
    return std::any_of(lit.begin(), lit.end(), [](const LitOutput& output) {
        return std::string_view(output.info->name, output.info->nameLen).starts_with("XWAYLAND");
    });
}

} // namespace

struct X11DisplaySettings::Connection {
    Display* display = nullptr;
    std::string displayName;
    Window root = None;
    int depth = 0;
    RRCrtc crtc = None;
    std::vector<Mode> modes;
    CrtcSetting desktopCrtc;
    ScreenSize desktopSize;
    PixelSize minimumSize { 1, 1 };
    PixelSize maximumSize; // 0: the server did not say
    bool switched = false;
    int watchdog = -1; // our end of the socket to the watchdog process
    pid_t watchdogPid = -1;

    ~Connection()
    {
        // The watchdog ends as soon as its socket closes; collect it.
        if (watchdog >= 0) {
            close(watchdog);
            waitpid(watchdogPid, nullptr, 0);
        }
        if (display)
            XCloseDisplay(display);
    }

    void tellWatchdog(char news);
    [[noreturn]] void watch(int socket);

    bool open(const char* name);
    bool apply(const CrtcSetting&, ScreenSize);
    ScreenSize screenSizeWith(const CrtcSetting&);
};

bool X11DisplaySettings::Connection::open(const char* name)
{
    display = XOpenDisplay(name);
    if (!display)
        return false;
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRRQueryExtension(display, &eventBase, &errorBase) || !XRRQueryVersion(display, &major, &minor)
        || major * 100 + minor < 102)
        return false;
    displayName = DisplayString(display);
    int screen = DefaultScreen(display);
    root = RootWindow(display, screen);
    depth = DefaultDepth(display, screen);

    // The current resources need no slow probe of the monitors; a server that
    // has never probed them reports none, and only then is the probe worth it.
    Resources resources(XRRGetScreenResourcesCurrent(display, root));
    std::vector<LitOutput> lit;
    if (resources)
        lit = litOutputs(display, resources.get());
    if (lit.empty()) {
        resources.reset(XRRGetScreenResources(display, root));
        if (resources)
            lit = litOutputs(display, resources.get());
    }
    if (isXWayland(lit))
        return false;
    const LitOutput* output = chooseOutput(lit, XRRGetOutputPrimary(display, root));
    if (!output)
        return false;

    crtc = output->info->crtc;
    desktopCrtc = readCrtc(display, resources.get(), crtc);
    for (int i = 0; i < output->info->nmode; ++i) {
        CrtcSetting candidate = desktopCrtc;
        candidate.mode = output->info->modes[i];
        ScreenArea area = crtcArea(resources.get(), candidate);
        modes.push_back({ candidate.mode, area.width, area.height });
    }
    desktopSize = { DisplayWidth(display, screen), DisplayHeight(display, screen), DisplayWidthMM(display, screen),
        DisplayHeightMM(display, screen) };
    XRRGetScreenSizeRange(
        display, root, &minimumSize.width, &minimumSize.height, &maximumSize.width, &maximumSize.height);
    return true;
}

// The screen just large enough for every monitor once `setting` is on ours.
ScreenSize X11DisplaySettings::Connection::screenSizeWith(const CrtcSetting& setting)
{
    Resources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources)
        return desktopSize;
    std::vector<ScreenArea> areas { crtcArea(resources.get(), setting) };
    for (int i = 0; i < resources->ncrtc; ++i) {
        if (resources->crtcs[i] == crtc)
            continue;
        CrtcSetting other = readCrtc(display, resources.get(), resources->crtcs[i]);
        if (other.mode != None)
            areas.push_back(crtcArea(resources.get(), other));
    }
    PixelSize size = screenSizeFor(areas, minimumSize, maximumSize);
    return { size.width, size.height, millimetresFor(size.width, desktopSize.width, desktopSize.mmWidth),
        millimetresFor(size.height, desktopSize.height, desktopSize.mmHeight) };
}

// The screen must hold every CRTC at every step: it grows before a CRTC gets
// larger and shrinks only after.
bool X11DisplaySettings::Connection::apply(const CrtcSetting& setting, ScreenSize target)
{
    ServerGrab grab(display);
    ErrorTrap trap(display);
    Resources resources(XRRGetScreenResourcesCurrent(display, root));
    if (!resources)
        return false;
    PixelSize current = currentScreenSize(display, root);
    if (auto grown = growthBefore(current, crtcArea(resources.get(), setting))) {
        XRRSetScreenSize(display, root, grown->width, grown->height,
            millimetresFor(grown->width, target.width, target.mmWidth),
            millimetresFor(grown->height, target.height, target.mmHeight));
        current = *grown;
    }
    Status status = XRRSetCrtcConfig(display, resources.get(), crtc, CurrentTime, setting.x, setting.y, setting.mode,
        setting.rotation, const_cast<RROutput*>(setting.outputs.data()), static_cast<int>(setting.outputs.size()));
    if (current != PixelSize { target.width, target.height })
        XRRSetScreenSize(display, root, target.width, target.height, target.mmWidth, target.mmHeight);
    return status == RRSetConfigSuccess && !trap.failed();
}

// The watchdog learns of every switch ('S') and restore ('R'); a closed
// socket means the program has ended, however it ended.
void X11DisplaySettings::Connection::tellWatchdog(char news)
{
    if (watchdog >= 0)
        send(watchdog, &news, 1, MSG_NOSIGNAL);
}

// Runs in the forked watchdog: waits for the program to end and, if it left
// the display switched, puts the desktop back over a connection of its own.
void X11DisplaySettings::Connection::watch(int socket)
{
    // A Ctrl-C or a hang-up reaches the whole process group; the watchdog
    // outlives the program to see how it ended.
    for (int signal : { SIGINT, SIGTERM, SIGHUP, SIGQUIT })
        std::signal(signal, SIG_IGN);
    prctl(PR_SET_NAME, "numbrelle-watch");
    // Nothing of the program's stays open here: its X connection must not be
    // shared, and its pipes must see their end when the program goes.
    // (A program started with its standard streams closed may have got the
    // socket as one of them, so it moves out of their way first.)
    int kept = fcntl(socket, F_DUPFD, 3);
    int null = ::open("/dev/null", O_RDWR);
    dup2(null, STDIN_FILENO);
    dup2(null, STDOUT_FILENO);
    dup2(kept, 3);
    close_range(4, UINT_MAX, 0);
    socket = 3;

    bool leftSwitched = false;
    for (;;) {
        char news = 0;
        ssize_t got = read(socket, &news, 1);
        if (got == 1)
            leftSwitched = news == 'S';
        else if (got == 0 || errno != EINTR)
            break;
    }
    if (leftSwitched) {
        display = XOpenDisplay(displayName.c_str());
        if (display)
            apply(desktopCrtc, desktopSize);
    }
    _exit(0);
}

X11DisplaySettings::X11DisplaySettings(const char* displayName)
    : m_connection(std::make_unique<Connection>())
{
    if (!m_connection->open(displayName))
        m_connection.reset();
}

X11DisplaySettings::~X11DisplaySettings() { restore(); }

bool X11DisplaySettings::enumMode(int number, DisplayModeInfo& info)
{
    if (!m_connection || number < 0 || static_cast<size_t>(number) >= m_connection->modes.size())
        return false;
    const Mode& mode = m_connection->modes[static_cast<size_t>(number)];
    info.width = mode.width;
    info.height = mode.height;
    // X has one depth per screen, whatever the mode.
    info.bitsPerPixel = m_connection->depth;
    return true;
}

bool X11DisplaySettings::changeMode(int number)
{
    if (!m_connection || number < 0 || static_cast<size_t>(number) >= m_connection->modes.size())
        return false;
    CrtcSetting setting = m_connection->desktopCrtc;
    setting.mode = m_connection->modes[static_cast<size_t>(number)].id;
    // Marked before the attempt: a switch refused halfway still has to be undone.
    m_connection->switched = true;
    m_connection->tellWatchdog('S');
    return m_connection->apply(setting, m_connection->screenSizeWith(setting));
}

void X11DisplaySettings::restore()
{
    if (!m_connection || !m_connection->switched)
        return;
    m_connection->apply(m_connection->desktopCrtc, m_connection->desktopSize);
    m_connection->switched = false;
    m_connection->tellWatchdog('R');
}

bool X11DisplaySettings::startWatchdog()
{
    if (!m_connection || m_connection->watchdog >= 0)
        return false;
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0)
        return false;
    pid_t pid = fork();
    if (pid == 0) {
        close(sockets[0]);
        m_connection->watch(sockets[1]);
    }
    close(sockets[1]);
    if (pid < 0) {
        close(sockets[0]);
        return false;
    }
    m_connection->watchdog = sockets[0];
    m_connection->watchdogPid = pid;
    if (m_connection->switched)
        m_connection->tellWatchdog('S');
    return true;
}

} // namespace numbrelle
