// The real game for the end-to-end tests: started in a fresh folder with the
// sound files beside it, on the test's X server, driven with xdotool, and
// looked at through screenshots of its window.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>

#include "xsession.h"

class GameProcess {
public:
    explicit GameProcess(XSession &x) : m_x(x) {}
    ~GameProcess();

    // Starts the game with extra environment entries (an empty value removes
    // the variable). False when it cannot be started.
    bool Launch(const std::map<std::string, std::string> &env = {}, bool withSounds = true);
    // Waits until the window shows its first picture and gives it the focus.
    bool WaitForWindow(int timeoutMs = 10000);

    // The exit code once the process has ended within the time, else nothing.
    std::optional<int> WaitForExit(int timeoutMs);
    bool Running();
    void Kill();

    const std::string &Folder() const { return m_folder; }
    std::string Stderr() const;
    std::string ReadFile(const std::string &name) const;
    Window Win() const { return m_window; }
    int WindowX() const { return m_nX; }
    int WindowY() const { return m_nY; }

    // The window's picture (menu bar and client area).
    Image Shot();
    // Client-area pixels (below the menu bar) x0..x1, y0..y1.
    Image Client(int x, int y, int w, int h);
    // The play field's visible part.
    Image Field();

    // Input through xdotool, in the window's own pixel coordinates (y = 0 is
    // the top of the menu bar), or in client coordinates.
    void MoveTo(int wx, int wy);
    void ClickAt(int wx, int wy);
    void MoveToClient(int cx, int cy);
    void Key(const std::string &keys);

private:
    XSession &m_x;
    pid_t m_pid = -1;
    std::string m_folder;
    Window m_window = 0;
    int m_nX = 0, m_nY = 0;
    std::optional<int> m_exit;
};

// Sleeps for ms milliseconds.
void Pause(int ms);
