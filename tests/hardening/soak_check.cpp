// soak_check: reads a quarzel-replay trace on standard input, taken after
// every timer tick, checks it with TraceChecker and prints what was played.
//   quarzel-replay SCRIPT | soak_check [--min-ticks N] [--min-games G]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "tests/hardening/trace_checker.h"

int main(int argc, char **argv) {
    long long minTicks = 0;
    int minGames = 0;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--min-ticks") && i + 1 < argc) {
            minTicks = std::atoll(argv[++i]);
        } else if (!std::strcmp(argv[i], "--min-games") && i + 1 < argc) {
            minGames = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: soak_check [--min-ticks N] [--min-games G] < TRACE\n");
            return 2;
        }
    }
    std::ios::sync_with_stdio(false);
    TraceChecker checker;
    std::string line;
    while (std::getline(std::cin, line))
        if (!checker.Line(line))
            break;
    const bool ok = checker.Finish(minTicks, minGames);
    for (const std::string &fault : checker.Faults())
        std::fprintf(stderr, "soak_check: %s\n", fault.c_str());
    const TraceTotals &t = checker.Totals();
    std::printf("soak_check: %lld lines, %lld ball ticks of play (%.1f h), %d games, %d over, "
                "%d balls lost, %d rows laid, %lld bricks hit, %lld left standing, %lld bonus hits "
                "(%lld points), scores %d..%d, %d language changes, %d message boxes: %s\n",
                t.lines, t.runningMs / 55, t.runningMs / 3.6e6, t.games, t.gamesOver, t.ballsLost,
                t.rowsLaid, t.bricksHit, t.bricksPenalised, t.bonusHits, t.bonusPoints, t.minScore,
                t.maxScore, t.languageChanges, t.boxes, ok ? "all rules held" : "FAULTS");
    return ok ? 0 : 1;
}
