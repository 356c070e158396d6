// Starting, driving and watching the real game for the end-to-end tests.
#include "game_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_layout.h"

extern char **environ;
namespace fs = std::filesystem;

void Pause(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

GameProcess::~GameProcess() {
    Kill();
    if (!m_folder.empty()) {
        std::error_code ec;
        fs::remove_all(m_folder, ec);
    }
}

bool GameProcess::Launch(const std::map<std::string, std::string> &extra, bool withSounds) {
    char tmpl[] = "/tmp/quarzel-e2e-XXXXXX";
    if (!mkdtemp(tmpl))
        return false;
    m_folder = tmpl;
    if (withSounds) {
        for (const auto &e : fs::directory_iterator(QZ_SOUNDS_DIR))
            if (e.path().extension() == ".wav")
                fs::copy_file(e.path(), m_folder / e.path().filename());
    }

    std::map<std::string, std::string> env;
    for (char **e = environ; *e; ++e) {
        std::string s(*e);
        auto eq = s.find('=');
        if (eq != std::string::npos)
            env[s.substr(0, eq)] = s.substr(eq + 1);
    }
    env.erase("SDL_VIDEODRIVER");
    env.erase("WAYLAND_DISPLAY");
    env["DISPLAY"] = m_x.Display();
    env["SDL_AUDIODRIVER"] = "dummy";
    for (const auto &[k, v] : extra) {
        if (v.empty())
            env.erase(k);
        else
            env[k] = v;
    }
    std::vector<std::string> envStrings;
    for (const auto &[k, v] : env)
        envStrings.push_back(k + "=" + v);
    std::vector<char *> envp;
    for (std::string &s : envStrings)
        envp.push_back(s.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addchdir_np(&fa, m_folder.c_str());
    posix_spawn_file_actions_addopen(&fa, 1, "stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&fa, 2, "stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::string exe = QZ_QUARZEL_EXE;
    char *argv[] = {exe.data(), nullptr};
    int rc = posix_spawn(&m_pid, exe.c_str(), &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0)
        m_pid = -1;
    return rc == 0;
}

bool GameProcess::WaitForWindow(int timeoutMs) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < end) {
        if (!Running())
            return false;
        if (auto w = m_x.FindWindow("QUARZEL")) {
            int width, height;
            m_window = *w;
            m_x.Geometry(m_window, &m_nX, &m_nY, &width, &height);
            // The first picture is there once the menu bar is drawn.
            Image bar = m_x.Shot(m_nX + 1, m_nY + 1, 1, 1);
            if (!bar.pixels.empty() && bar.pixels[0] == 0xC0C0C0) {
                m_x.Focus(m_window);
                Pause(100);
                return true;
            }
        }
        Pause(20);
    }
    return false;
}

std::optional<int> GameProcess::WaitForExit(int timeoutMs) {
    if (m_exit)
        return m_exit;
    if (m_pid <= 0)
        return std::nullopt;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    do {
        int status = 0;
        pid_t r = waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_pid = -1;
            m_exit = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return m_exit;
        }
        Pause(10);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
}

bool GameProcess::Running() {
    if (m_pid <= 0)
        return false;
    return !WaitForExit(0).has_value();
}

void GameProcess::Kill() {
    if (m_pid > 0) {
        kill(m_pid, SIGKILL);
        WaitForExit(5000);
    }
}

std::string GameProcess::ReadFile(const std::string &name) const {
    std::ifstream in(fs::path(m_folder) / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string GameProcess::Stderr() const {
    return ReadFile("stderr.txt");
}

Image GameProcess::Shot() {
    return m_x.Shot(m_nX, m_nY, LOGICAL_WIDTH, LOGICAL_HEIGHT);
}

Image GameProcess::Client(int x, int y, int w, int h) {
    return m_x.Shot(m_nX + x, m_nY + MENU_BAR_HEIGHT + y, w, h);
}

Image GameProcess::Field() {
    return Client(32, 0, 450 - 64, CLIENT_HEIGHT);
}

void GameProcess::MoveTo(int wx, int wy) {
    RunTool({"xdotool", "mousemove", std::to_string(m_nX + wx), std::to_string(m_nY + wy)},
            {"DISPLAY=" + m_x.Display()});
}

void GameProcess::ClickAt(int wx, int wy) {
    RunTool({"xdotool", "mousemove", std::to_string(m_nX + wx), std::to_string(m_nY + wy), "click",
             "1"},
            {"DISPLAY=" + m_x.Display()});
}

void GameProcess::MoveToClient(int cx, int cy) {
    MoveTo(cx, cy + MENU_BAR_HEIGHT);
}

void GameProcess::Key(const std::string &keys) {
    RunTool({"xdotool", "key", keys}, {"DISPLAY=" + m_x.Display()});
}
