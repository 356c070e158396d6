// quarzel-replay: runs the real application on the headless host, feeds it
// the events of a script and writes a trace line wherever the script asks.
//   quarzel-replay SCRIPT   (a file, or - for standard input)
#include <cstdio>
#include <fstream>
#include <iostream>

#include "app/cqzlapp.h"
#include "app/cqzlwnd.h"
#include "platform/headless/headless_host.h"
#include "platform/headless/png.h"
#include "platform/winapp.h"
#include "tools/replay/script.h"
#include "tools/replay/trace.h"

namespace {

// The replay of one parsed script.
class Replay {
public:
    explicit Replay(HeadlessHost &host) : m_host(host) {}

    // Runs the commands; returns the tool's exit code.
    int Run(const std::vector<ReplayCommand> &commands);

private:
    CQZLWnd *Window() { return dynamic_cast<CQZLWnd *>(AfxGetApp()->m_pMainWnd); }
    void Send(EventKind kind, int id = 0, int x = 0, int y = 0, int state = 0);
    void Wait(std::uint64_t ms);
    bool Shot(const std::string &file);
    // Writes the exit line once; returns the code.
    int Exit(int code);

    HeadlessHost &m_host;
    bool m_bExitWritten = false;
};

void Replay::Send(EventKind kind, int id, int x, int y, int state) {
    Event ev;
    ev.kind = kind;
    ev.id = id;
    ev.x = x;
    ev.y = y;
    ev.state = state;
    DispatchToMainWindow(ev);
}

void Replay::Wait(std::uint64_t ms) { RunVirtualTime(m_host, ms); }

bool Replay::Shot(const std::string &file) {
    std::string error;
    if (WritePng(m_host.WindowSurface(), file, &error))
        return true;
    std::fprintf(stderr, "quarzel-replay: cannot write %s: %s\n", file.c_str(), error.c_str());
    return false;
}

int Replay::Exit(int code) {
    if (!m_bExitWritten) {
        std::printf("{\"exit\":%d}\n", code);
        std::fflush(stdout);
        m_bExitWritten = true;
    }
    return code;
}

int Replay::Run(const std::vector<ReplayCommand> &commands) {
    using Kind = ReplayCommand::Kind;
    // A fatal error ends the process from inside the game: the exit line
    // still comes last.
    m_host.OnExit([this](int code) { Exit(code); });

    for (const ReplayCommand &cmd : commands) {
        switch (cmd.kind) {
        case Kind::Start:
            m_host.SetEpochSeconds(cmd.value);
            m_host.SetNowMs(0);
            if (!InitApplication(SW_SHOWNORMAL))
                return Exit(255);
            break;
        case Kind::Mouse:
            Send(EventKind::MouseMove, 0, static_cast<int>(cmd.value), 300);
            break;
        case Kind::Menu:
            Send(EventKind::MenuSelect);
            if (!QuitRequested())
                Send(EventKind::Command, static_cast<int>(cmd.value));
            break;
        case Kind::Select:
            Send(EventKind::MenuSelect);
            break;
        case Kind::Activate:
            Send(EventKind::Activate, 0, 0, 0, static_cast<int>(cmd.value));
            break;
        case Kind::Wait:
            Wait(static_cast<std::uint64_t>(cmd.value));
            break;
        case Kind::Paint:
            if (CQZLWnd *pWnd = Window()) {
                pWnd->Invalidate(TRUE);
                pWnd->UpdateWindow();
            }
            break;
        case Kind::Close:
            Send(EventKind::Close);
            break;
        case Kind::State:
            PaintMainWindow();
            if (CQZLWnd *pWnd = Window()) {
                std::string line = TraceLine(*pWnd, m_host, static_cast<long long>(m_host.NowMs()));
                std::printf("%s\n", line.c_str());
            }
            break;
        case Kind::Shot:
            PaintMainWindow();
            if (!QuitRequested() && !Shot(cmd.file))
                return 1;
            break;
        }
        if (QuitRequested())
            return Exit(QuitCode());
    }
    // The end of the script: a pending paint is still carried out. The
    // program has not ended, so there is no exit line; the window goes
    // quietly so every object is released.
    PaintMainWindow();
    if (CWnd *pWnd = AfxGetApp()->m_pMainWnd)
        pWnd->DestroyWindow();
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: quarzel-replay SCRIPT   (a file, or - for standard input)\n");
        return 2;
    }
    const std::string path = argv[1];
    ParsedScript script;
    if (path == "-") {
        script = ParseScript(std::cin);
    } else {
        std::ifstream in(path);
        if (!in) {
            std::fprintf(stderr, "quarzel-replay: cannot open %s\n", path.c_str());
            return 2;
        }
        script = ParseScript(in);
    }
    if (script.error) {
        std::fprintf(stderr, "quarzel-replay: %s:%d: %s\n", path == "-" ? "<stdin>" : path.c_str(),
                     script.error->line, script.error->message.c_str());
        return 2;
    }

    HeadlessHost host;
    SetHost(&host);
    Replay replay(host);
    const int code = replay.Run(script.commands);
    std::fflush(stdout);
    SetHost(nullptr);
    return code;
}
