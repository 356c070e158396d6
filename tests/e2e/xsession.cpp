// Xvfb, screen reading and window-manager-like requests for the end-to-end tests.
#include "xsession.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>

extern char **environ;

Image Image::Crop(int x, int y, int w, int h) const {
    Image out;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            out.pixels[static_cast<size_t>(j) * w + i] = At(x + i, y + j);
    return out;
}

bool Image::SavePng(const std::string &path) const {
    png_image img;
    std::memset(&img, 0, sizeof img);
    img.version = PNG_IMAGE_VERSION;
    img.width = static_cast<png_uint_32>(width);
    img.height = static_cast<png_uint_32>(height);
    img.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb;
    rgb.reserve(pixels.size() * 3);
    for (std::uint32_t p : pixels) {
        rgb.push_back(static_cast<std::uint8_t>(p >> 16));
        rgb.push_back(static_cast<std::uint8_t>(p >> 8));
        rgb.push_back(static_cast<std::uint8_t>(p));
    }
    return png_image_write_to_file(&img, path.c_str(), 0, rgb.data(), 0, nullptr) != 0;
}

namespace {
int XErrorIgnore(::Display *, XErrorEvent *) {
    return 0;
}
} // namespace

bool XSession::Start() {
    int fds[2];
    if (pipe(fds) != 0) {
        m_error = "pipe failed";
        return false;
    }
    // Xvfb picks a free display number itself and writes it to fd 3.
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, fds[1], 3);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    const char *argv[] = {"Xvfb",         "-displayfd", "3",   "-screen",  "0",
                          "1280x1024x24", "-nolisten",  "tcp", "-noreset", nullptr};
    int rc = posix_spawnp(&m_pid, "Xvfb", &fa, nullptr, const_cast<char **>(argv), environ);
    posix_spawn_file_actions_destroy(&fa);
    close(fds[1]);
    if (rc != 0) {
        close(fds[0]);
        m_pid = -1;
        m_error = "cannot start Xvfb (install the xvfb package: scripts/install-deps)";
        return false;
    }
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty()) {
        m_error = "Xvfb did not report a display";
        Stop();
        return false;
    }
    m_display = ":" + number;
    m_pDisplay = XOpenDisplay(m_display.c_str());
    if (!m_pDisplay) {
        m_error = "cannot connect to Xvfb on " + m_display;
        Stop();
        return false;
    }
    XSetErrorHandler(XErrorIgnore);
    return true;
}

bool XSession::StartWindowManager() {
    std::string env = "DISPLAY=" + m_display;
    char *envp[] = {env.data(), nullptr};
    const char *argv[] = {"openbox", "--sm-disable", nullptr};
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    int rc = posix_spawnp(&m_wmPid, "openbox", &fa, nullptr, const_cast<char **>(argv), envp);
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) {
        m_wmPid = -1;
        m_error = "cannot start openbox (scripts/install-deps installs it)";
        return false;
    }
    // Ready once it announces itself on the root window.
    Atom check = XInternAtom(m_pDisplay, "_NET_SUPPORTING_WM_CHECK", False);
    for (int i = 0; i < 200; ++i) {
        Atom type;
        int format;
        unsigned long n, after;
        unsigned char *data = nullptr;
        if (XGetWindowProperty(m_pDisplay, DefaultRootWindow(m_pDisplay), check, 0, 1, False,
                               AnyPropertyType, &type, &format, &n, &after, &data) == Success &&
            data) {
            XFree(data);
            if (n > 0)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_error = "openbox did not start";
    return false;
}

void XSession::Stop() {
    if (m_wmPid > 0) {
        kill(m_wmPid, SIGTERM);
        waitpid(m_wmPid, nullptr, 0);
    }
    m_wmPid = -1;
    if (m_pDisplay)
        XCloseDisplay(m_pDisplay);
    m_pDisplay = nullptr;
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
    m_pid = -1;
}

Image XSession::Shot(int x, int y, int w, int h) {
    Image out;
    XImage *img =
        XGetImage(m_pDisplay, DefaultRootWindow(m_pDisplay), x, y, w, h, AllPlanes, ZPixmap);
    if (!img)
        return out;
    out.width = w;
    out.height = h;
    out.pixels.resize(static_cast<size_t>(w) * h);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            out.pixels[static_cast<size_t>(j) * w + i] = XGetPixel(img, i, j) & 0xFFFFFF;
    XDestroyImage(img);
    return out;
}

namespace {
std::optional<Window> FindNamed(::Display *d, Window parent, const std::string &title, int depth) {
    Window root, up, *children = nullptr;
    unsigned n = 0;
    std::optional<Window> found;
    if (!XQueryTree(d, parent, &root, &up, &children, &n))
        return found;
    for (unsigned i = 0; i < n && !found; ++i) {
        char *name = nullptr;
        if (XFetchName(d, children[i], &name) && name) {
            XWindowAttributes wa;
            if (title == name && XGetWindowAttributes(d, children[i], &wa) &&
                wa.map_state == IsViewable)
                found = children[i];
            XFree(name);
        }
        if (!found && depth > 0)
            found = FindNamed(d, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}
} // namespace

std::optional<Window> XSession::FindWindow(const std::string &title) {
    return FindNamed(m_pDisplay, DefaultRootWindow(m_pDisplay), title, 2);
}

bool XSession::Geometry(Window w, int *x, int *y, int *width, int *height) {
    XWindowAttributes wa;
    if (!XGetWindowAttributes(m_pDisplay, w, &wa))
        return false;
    Window child;
    XTranslateCoordinates(m_pDisplay, w, DefaultRootWindow(m_pDisplay), 0, 0, x, y, &child);
    *width = wa.width;
    *height = wa.height;
    return true;
}

std::string XSession::ClassName(Window w) {
    XClassHint hint{};
    std::string out;
    if (XGetClassHint(m_pDisplay, w, &hint)) {
        if (hint.res_class)
            out = hint.res_class;
        if (hint.res_name)
            XFree(hint.res_name);
        if (hint.res_class)
            XFree(hint.res_class);
    }
    return out;
}

// Reads exactly `count` CARDINAL values of a window property.
bool XSession::Cardinals(Window w, const char *property, long *out, unsigned long count) {
    Atom prop = XInternAtom(m_pDisplay, property, False);
    Atom type;
    int format;
    unsigned long n, after;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(m_pDisplay, w, prop, 0, static_cast<long>(count), False, XA_CARDINAL,
                           &type, &format, &n, &after, &data) != Success ||
        !data)
        return false;
    bool ok = n == count;
    if (ok)
        for (unsigned long i = 0; i < count; ++i)
            out[i] = reinterpret_cast<long *>(data)[i];
    XFree(data);
    return ok;
}

bool XSession::IconSize(Window w, long *width, long *height) {
    long size[2];
    if (!Cardinals(w, "_NET_WM_ICON", size, 2))
        return false;
    *width = size[0];
    *height = size[1];
    return true;
}

bool XSession::FrameExtents(Window w, long extents[4]) {
    return Cardinals(w, "_NET_FRAME_EXTENTS", extents, 4);
}

void XSession::Focus(Window w) {
    XSetInputFocus(m_pDisplay, w, RevertToParent, CurrentTime);
    XSync(m_pDisplay, False);
}

void XSession::RequestClose(Window w) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = w;
    ev.xclient.message_type = XInternAtom(m_pDisplay, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(m_pDisplay, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_pDisplay, w, False, NoEventMask, &ev);
    XSync(m_pDisplay, False);
}

Window XSession::OpenOtherWindow() {
    Window w = XCreateSimpleWindow(m_pDisplay, DefaultRootWindow(m_pDisplay), 800, 600, 200, 100, 0,
                                   0, 0xFFFFFF);
    XStoreName(m_pDisplay, w, "other");
    XSelectInput(m_pDisplay, w, StructureNotifyMask);
    XMapWindow(m_pDisplay, w);
    XEvent ev;
    do {
        XNextEvent(m_pDisplay, &ev);
    } while (ev.type != MapNotify);
    Focus(w);
    return w;
}

void XSession::CloseOtherWindow(Window w) {
    XDestroyWindow(m_pDisplay, w);
    XSync(m_pDisplay, False);
}

int RunTool(const std::vector<std::string> &args, const std::vector<std::string> &env) {
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    // The given entries replace those of the same name.
    std::vector<std::string> envStrings(env);
    for (char **e = environ; *e; ++e) {
        std::string s(*e);
        std::string key = s.substr(0, s.find('=') + 1);
        bool replaced = false;
        for (const std::string &x : env)
            replaced = replaced || x.rfind(key, 0) == 0;
        if (!replaced)
            envStrings.push_back(s);
    }
    std::vector<char *> envp;
    for (std::string &e : envStrings)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), envp.data()) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
