// A private X server for the end-to-end tests: starts Xvfb on a free display,
// connects to it, reads the screen's pixels, finds windows, moves the
// keyboard focus and asks windows to close as a window manager would.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A picture read from the screen, 0xRRGGBB per pixel.
struct Image {
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    Image Crop(int x, int y, int w, int h) const;
    bool operator==(const Image &o) const = default;
    bool SavePng(const std::string &path) const;
};

class XSession {
public:
    // Starts Xvfb with one 1280 x 1024 screen; false with a reason in Error().
    bool Start();
    void Stop();
    ~XSession() { Stop(); }

    const std::string &Display() const { return m_display; }
    const std::string &Error() const { return m_error; }
    ::Display *Connection() const { return m_pDisplay; }

    Image Shot(int x, int y, int w, int h);
    // Starts a window manager (openbox) on the server, for the cases that need
    // one: maximising and full screen. False when none can be started.
    bool StartWindowManager();
    // The top-level window whose name is `title`, if any (also inside a
    // window manager's frame).
    std::optional<Window> FindWindow(const std::string &title);
    // Root position and size of a window.
    bool Geometry(Window w, int *x, int *y, int *width, int *height);
    std::string ClassName(Window w);
    // Width and height of the first icon image a window offers (_NET_WM_ICON).
    bool IconSize(Window w, long *width, long *height);
    // The window manager's frame round a window: left, right, top, bottom.
    bool FrameExtents(Window w, long extents[4]);
    void Focus(Window w);
    // The close box: WM_DELETE_WINDOW, as a window manager sends it.
    void RequestClose(Window w);
    // A plain window of another client (this one) that takes the focus.
    Window OpenOtherWindow();
    void CloseOtherWindow(Window w);

private:
    bool Cardinals(Window w, const char *property, long *out, unsigned long count);

    pid_t m_pid = -1;
    pid_t m_wmPid = -1;
    std::string m_display;
    std::string m_error;
    ::Display *m_pDisplay = nullptr;
};

// Runs a program to its end; its exit code, or -1.
int RunTool(const std::vector<std::string> &argv, const std::vector<std::string> &env = {});
