// TraceChecker: the rules that every line of a quarzel-replay trace, and
// every step from one line to the next, must obey when the script takes a
// line after every timer tick. The score is recomputed from the bricks that
// vanished, the rows laid anew and the bonus hits between two lines.
#pragma once

#include <map>
#include <string>
#include <vector>

class JsonValue;

struct TraceRow {
    bool laid = false;
    std::string bitmap;
    int x = 0, y = 0;
    std::string visible;
    int Count(char c) const;
};

struct TraceState {
    static constexpr int SLOTS = 15;
    long long line = 0;
    long long t = 0;
    int lang = 0, score = 0, high = 0, balls = 0, running = 0, started = 0, wallMs = 0;
    std::map<std::string, long long> timers;
    int paddleX = 0, paddleY = 0, paddleVisible = 0;
    double ballX = 0, ballY = 0, ballDX = 0, ballDY = 0;
    int ballVisible = 0;
    int rowY = 0, rowIndex = 0;
    TraceRow rows[SLOTS];
    bool bonusChosen = false;
    int bonusX = 0, bonusY = 0, bonusValue = 0, bonusVisible = 0;
    std::vector<std::string> sounds;
    int boxes = 0;

    int Sounds(const char *name) const;
};

struct TraceTotals {
    long long lines = 0;
    long long runningMs = 0;
    int games = 0, gamesOver = 0, ballsLost = 0, rowsLaid = 0, languageChanges = 0, boxes = 0;
    long long bricksHit = 0, bricksPenalised = 0, bonusPoints = 0, bonusHits = 0;
    int maxScore = 0, minScore = 0;
};

class TraceChecker {
public:
    // Stops collecting after this many faults.
    static constexpr int MAX_FAULTS = 20;

    // Takes one trace line; false once MAX_FAULTS faults were found.
    bool Line(const std::string &text);
    // The end of the trace: the program must have ended by Quit, after at
    // least minTicks ball ticks of play and minGames games.
    bool Finish(long long minTicks, int minGames);

    const TraceTotals &Totals() const { return m_totals; }
    const std::vector<std::string> &Faults() const { return m_faults; }

private:
    void Fault(const TraceState &s, const std::string &what);
    bool Decode(const JsonValue &v, TraceState &s);
    void CheckAlone(const TraceState &s);
    void CheckStep(const TraceState &p, const TraceState &n);
    static bool IsFreshGame(const TraceState &s);

    TraceTotals m_totals;
    TraceState m_prev;
    bool m_bHavePrev = false;
    bool m_bExitSeen = false;
    long long m_nExit = -1;
    std::vector<std::string> m_faults;
};
