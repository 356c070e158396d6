// CPilot: plays the real game on the headless host and writes down, as a
// replay script, every command it gives. It reads the ball from the game
// state and moves the paddle under it, so balls are rarely lost until a
// game has lasted its planned number of ticks.
#pragma once

#include <cstdint>
#include <ostream>

class CQZLWnd;
class HeadlessHost;

struct PilotOptions {
    std::uint32_t nStart = 1700000000; // epoch seconds for `start`
    std::uint64_t nTicks = 200000;     // ball ticks to play while a game runs
    std::uint32_t nSeed = 1;           // the pilot's own choices
    std::uint64_t nGameMin = 3000;     // ball ticks before a game is let go ...
    std::uint64_t nGameMax = 30000;    // ... drawn from this range
    bool bStateEveryTick = true;       // a `state` after every timer tick
    bool bQuit = true;                 // end with Quit (102)
    std::uint32_t nInterludes = 3000;  // one pause, language or info command per
                                       // this many ticks on average; 0: none
};

struct PilotSummary {
    std::uint64_t nBallTicks = 0; // ticks of the ball timer while a game ran
    int nGames = 0;               // games started
    int nGamesOver = 0;           // games that ended by losing the last ball
    int nBallsLost = 0;
    int nBallsLostEarly = 0; // lost before the game's planned length
    int nLanguageSwitches = 0;
    std::uint64_t nScriptLines = 0;
};

class CPilot {
public:
    CPilot(HeadlessHost &host, const PilotOptions &options, std::ostream &script);

    // Plays until nTicks ball ticks have run; the game must not have been
    // started yet. Returns false when the program ended by itself.
    bool Run();
    const PilotSummary &Summary() const { return m_summary; }

private:
    CQZLWnd *Window();
    // Issues a script command and carries it out exactly as quarzel-replay does.
    void Mouse(int x);
    void Menu(int id);
    void Select();
    void Activate(int state);
    void Wait(std::uint64_t ms);
    void State();
    void Paint();

    // Advances to the next timer tick (or by `idleMs` without timers),
    // followed by a state line when asked for.
    void NextTick(std::uint64_t idleMs = 1000);
    void StartGame();
    void SteerPaddle();
    void Interlude();
    std::uint32_t Rand();
    std::uint32_t RandRange(std::uint32_t lo, std::uint32_t hi);

    HeadlessHost &m_host;
    PilotOptions m_options;
    std::ostream &m_script;
    PilotSummary m_summary;
    std::uint32_t m_nRand;
    std::uint64_t m_nGameTicks = 0;  // ball ticks of the current game
    std::uint64_t m_nGameLength = 0; // when the pilot lets this game go
    int m_nAim = 0;                  // paddle offset for the current descent
    bool m_bDescending = false;
    int m_nMouseX = -1;
    int m_nBallsSeen = 0;
};
