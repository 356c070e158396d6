// The trace rules: each line decoded into a TraceState, checked alone, then
// against the line before it.
#include "tests/hardening/trace_checker.h"

#include <algorithm>

#include "tests/hardening/json.h"

namespace {

constexpr int SLOTS = TraceState::SLOTS;
constexpr int BRICKS = 15;
constexpr int ROW_X = 37;       // first brick: left wall's inner face + 5
constexpr int BRICK_PITCH = 25; // brick width 24 + gap 1
constexpr int BALL_TICK_MS = 55;
constexpr int FIRST_WALL_MS = 2800;
constexpr int LAST_WALL_MS = 760;
// The ball's left edge between the walls while the ball is wholly level with
// them (the walls are 450 high, the ball 18). The wall's innermost column is
// clear, so the ball may stand one pixel into it before touching. Lower down
// the ball is falling out of the field and may pass under a wall's end.
constexpr double BALL_X_MIN = 31.0, BALL_X_LIMIT = 401.0, BALL_LEVEL_WITH_WALLS = 432.0;
// The ball is put back at the top once its whole-pixel y is below 0, and
// lost once it is above 450.
constexpr double BALL_Y_MIN = -1.0, BALL_Y_LIMIT = 451.0;
// A row is laid anew when its old row reaches this y at the latest.
constexpr int LOWEST_ROW_Y = 310;

} // namespace

int TraceRow::Count(char c) const {
    int n = 0;
    for (char v : visible)
        n += v == c;
    return n;
}

int TraceState::Sounds(const char *name) const {
    int n = 0;
    for (const auto &s : sounds)
        n += s == name;
    return n;
}

void TraceChecker::Fault(const TraceState &s, const std::string &what) {
    if (m_faults.size() < MAX_FAULTS)
        m_faults.push_back("line " + std::to_string(s.line) + " (t=" + std::to_string(s.t) +
                           "): " + what);
}

bool TraceChecker::Decode(const JsonValue &v, TraceState &s) {
    using T = JsonValue::Type;
    auto num = [&](const JsonValue &x) { return x.type == T::Number; };
    for (const char *key : {"t", "lang", "score", "high", "balls", "running", "started", "wall_ms",
                            "row_y", "row_index"})
        if (!num(v[key]))
            return Fault(s, std::string("missing number ") + key), false;
    s.t = v["t"].Int();
    s.lang = int(v["lang"].Int());
    s.score = int(v["score"].Int());
    s.high = int(v["high"].Int());
    s.balls = int(v["balls"].Int());
    s.running = int(v["running"].Int());
    s.started = int(v["started"].Int());
    s.wallMs = int(v["wall_ms"].Int());
    s.rowY = int(v["row_y"].Int());
    s.rowIndex = int(v["row_index"].Int());
    if (v["timers"].type != T::Object)
        return Fault(s, "timers is not an object"), false;
    for (const auto &[id, period] : v["timers"].members)
        s.timers[id] = period.Int();
    const JsonValue &paddle = v["paddle"];
    s.paddleX = int(paddle["x"].Int());
    s.paddleY = int(paddle["y"].Int());
    s.paddleVisible = int(paddle["visible"].Int());
    const JsonValue &ball = v["ball"];
    if (!num(ball["x"]) || !num(ball["y"]) || !num(ball["dx"]) || !num(ball["dy"]))
        return Fault(s, "ball without position or velocity"), false;
    s.ballX = ball["x"].number;
    s.ballY = ball["y"].number;
    s.ballDX = ball["dx"].number;
    s.ballDY = ball["dy"].number;
    s.ballVisible = int(ball["visible"].Int());
    const JsonValue &rows = v["rows"];
    if (rows.type != T::Array || rows.items.size() != SLOTS)
        return Fault(s, "rows is not an array of exactly 15 slots"), false;
    for (int k = 0; k < SLOTS; ++k) {
        const JsonValue &r = rows[k];
        TraceRow &row = s.rows[k];
        if (r["bitmap"].IsNull()) {
            if (r.Has("x") || r.Has("y") || r.Has("visible"))
                return Fault(s, "an empty slot with bricks"), false;
            continue;
        }
        row.laid = true;
        row.bitmap = r["bitmap"].text;
        row.x = int(r["x"].Int());
        row.y = int(r["y"].Int());
        row.visible = r["visible"].text;
        if (row.visible.size() != BRICKS ||
            row.visible.find_first_not_of("01") != std::string::npos)
            return Fault(s, "slot " + std::to_string(k) + ": visible is not 15 flags"), false;
    }
    const JsonValue &bonus = v["bonus"];
    s.bonusChosen = !bonus["bitmap"].IsNull();
    s.bonusX = int(bonus["x"].Int());
    s.bonusY = int(bonus["y"].Int());
    s.bonusValue = s.bonusChosen ? int(bonus["value"].Int()) : 0;
    s.bonusVisible = int(bonus["visible"].Int());
    for (const JsonValue &snd : v["sounds"].items)
        s.sounds.push_back(snd.text);
    s.boxes = int(v["boxes"].items.size());
    return true;
}

// What must hold in every single line.
void TraceChecker::CheckAlone(const TraceState &s) {
    if (s.lang != 0 && s.lang != 1)
        Fault(s, "language is neither 0 nor 1");
    if (s.high < s.score)
        Fault(s,
              "high score " + std::to_string(s.high) + " below score " + std::to_string(s.score));
    if (s.wallMs < LAST_WALL_MS || s.wallMs > FIRST_WALL_MS ||
        ((FIRST_WALL_MS - s.wallMs) % 60 != 0 && s.wallMs != LAST_WALL_MS))
        Fault(s, "wall period " + std::to_string(s.wallMs) +
                     " is not one of 2800, 2740, ..., 820, 760");
    if (s.running && !s.started)
        Fault(s, "running without a game in progress");
    // Both timers are set exactly while a game is in progress.
    if (s.started) {
        if (s.timers.size() != 2 || !s.timers.count("1") || !s.timers.count("2"))
            Fault(s, "a game in progress without exactly the two timers");
        else if (s.timers.at("2") != BALL_TICK_MS || s.timers.at("1") != s.wallMs)
            Fault(s, "timer periods differ from 55 ms and the wall period");
        if (s.balls < 1 || s.balls > 3)
            Fault(s, "a game in progress with " + std::to_string(s.balls) + " balls");
        if (!s.ballVisible || !s.paddleVisible)
            Fault(s, "ball or paddle hidden during a game");
    } else {
        if (!s.timers.empty())
            Fault(s, "timers set while no game is in progress");
        if (s.balls != 0)
            Fault(s, "balls left while no game is in progress");
    }
    if (s.started && s.ballVisible) {
        const bool between =
            s.ballY > BALL_LEVEL_WITH_WALLS || (s.ballX >= BALL_X_MIN && s.ballX < BALL_X_LIMIT);
        if (!between || !(s.ballY > BALL_Y_MIN && s.ballY < BALL_Y_LIMIT))
            Fault(s, "ball at (" + std::to_string(s.ballX) + ", " + std::to_string(s.ballY) +
                         ") outside the play field");
    }
    if (s.paddleX < 32 || s.paddleX > 378 || s.paddleY != 380)
        Fault(s, "paddle outside its track");
    for (int k = 0; k < SLOTS; ++k) {
        const TraceRow &r = s.rows[k];
        if (!r.laid)
            continue;
        if (r.x != ROW_X)
            Fault(s, "slot " + std::to_string(k) + " not at x = 37");
        if (r.Count('1') > 0 && r.y > LOWEST_ROW_Y)
            Fault(s, "slot " + std::to_string(k) +
                         " has bricks standing at y = " + std::to_string(r.y));
    }
}

// The first line after New game.
bool TraceChecker::IsFreshGame(const TraceState &s) {
    static const int firstRows[5] = {39, 25, 11, -3, -17};
    if (!(s.started && s.running && s.balls == 3 && s.score == 0 && s.wallMs == FIRST_WALL_MS &&
          s.rowIndex == 5 && s.rowY == -70 && s.ballX == 112.0 && s.ballY == 225.0 &&
          s.ballDX == 1.0 && s.ballDY == 1.0))
        return false;
    for (int k = 0; k < SLOTS; ++k) {
        const TraceRow &r = s.rows[k];
        if (k < 5 ? !r.laid || r.y != firstRows[k] : r.laid && r.Count('1') != 0)
            return false;
    }
    return true;
}

// What must hold between two consecutive lines. The script takes a line after
// every timer tick, so the ticks between two lines all fall on one
// millisecond, where the wall's tick comes before the ball's.
void TraceChecker::CheckStep(const TraceState &p, const TraceState &n) {
    if (n.t < p.t)
        Fault(n, "time went back");
    if (n.high < p.high)
        Fault(n, "the high score went down");
    if (n.high != std::max(p.high, n.score))
        Fault(n, "high score is not the highest score reached");
    if (n.lang != p.lang)
        ++m_totals.languageChanges;
    if (p.running)
        m_totals.runningMs += n.t - p.t;
    m_totals.boxes += n.boxes;

    if (IsFreshGame(n) &&
        (!p.started || p.score != 0 || p.balls != 3 || p.t != n.t || !IsFreshGame(p))) {
        ++m_totals.games;
        return;
    }
    if (n.started && !p.started) {
        Fault(n, "a game began without the state of a new game");
        return;
    }

    long long hits = 0, penalised = 0;
    int laid = 0;
    for (int k = 0; k < SLOTS; ++k) {
        const TraceRow &a = p.rows[k], &b = n.rows[k];
        const std::string slot = "slot " + std::to_string(k);
        if (!b.laid) {
            if (a.laid)
                Fault(n, slot + " was emptied");
            continue;
        }
        const bool sameRow = a.laid && b.y >= a.y && b.bitmap == a.bitmap;
        if (sameRow) {
            if (b.y - a.y != 0 && b.y - a.y != 4)
                Fault(n, slot + " moved by " + std::to_string(b.y - a.y));
            for (int i = 0; i < BRICKS; ++i) {
                if (a.visible[i] == '0' && b.visible[i] == '1')
                    Fault(n, slot + ": a hidden brick came back");
                if (a.visible[i] == '1' && b.visible[i] == '0')
                    ++hits;
            }
            continue;
        }
        // A row laid into this slot: what stood in the old one is charged,
        // and every brick missing from the new one was hit by the ball, but
        // for the one a bonus took the place of.
        ++laid;
        if (b.y < -20 || b.y > -17)
            Fault(n, slot + " laid at y = " + std::to_string(b.y));
        if (a.laid)
            penalised += a.Count('1');
        int missing = b.Count('0');
        const int offset = n.bonusX - b.x;
        if (n.bonusChosen && n.bonusY == b.y && offset >= 0 && offset % BRICK_PITCH == 0 &&
            offset / BRICK_PITCH < BRICKS) {
            if (b.visible[offset / BRICK_PITCH] != '0')
                Fault(n, slot + ": the bonus stands on a brick");
            --missing;
        }
        if (missing < 0)
            Fault(n, slot + ": more bricks missing than were laid");
        hits += missing;
    }
    if (laid > 1)
        Fault(n, "more than one row laid at one tick");
    m_totals.rowsLaid += laid;

    const int dings = n.Sounds("ding.wav");
    if (dings > 1)
        Fault(n, "the bonus hit twice at one tick");
    if (dings && !n.bonusChosen)
        Fault(n, "a bonus hit before any bonus was chosen");
    const long long expected =
        p.score + 10 * hits + (long long)dings * n.bonusValue - 10 * penalised;
    if (expected != n.score)
        Fault(n, "score " + std::to_string(n.score) + ", expected " + std::to_string(expected) +
                     " from " + std::to_string(p.score) + " + 10 x " + std::to_string(hits) +
                     " bricks + " + std::to_string(dings * n.bonusValue) + " bonus - 10 x " +
                     std::to_string(penalised) + " left standing");
    m_totals.bricksHit += hits;
    m_totals.bricksPenalised += penalised;
    m_totals.bonusHits += dings;
    m_totals.bonusPoints += (long long)dings * n.bonusValue;

    // The wall period shortens with every row the wall timer lays.
    const int period = laid ? (p.wallMs > 800 ? p.wallMs - 60 : p.wallMs) : p.wallMs;
    if (n.wallMs != period)
        Fault(n,
              "wall period " + std::to_string(n.wallMs) + ", expected " + std::to_string(period));

    if (p.started) {
        if (n.balls != p.balls && n.balls != p.balls - 1)
            Fault(n,
                  "balls went from " + std::to_string(p.balls) + " to " + std::to_string(n.balls));
        m_totals.ballsLost += p.balls - n.balls;
        const bool over = !n.started;
        if (over != (n.balls == 0))
            Fault(n, "game over and the last ball disagree");
        if (over) {
            ++m_totals.gamesOver;
            if (n.Sounds("dead.wav") != 1)
                Fault(n, "game over without dead.wav");
            if (n.paddleVisible || n.ballVisible || n.bonusVisible)
                Fault(n, "paddle, ball or bonus still shown after game over");
        }
    }
    if (!p.running && !n.started && n.score != p.score)
        Fault(n, "score changed while no game ran");
}

bool TraceChecker::Line(const std::string &text) {
    TraceState s;
    s.line = ++m_totals.lines;
    if (m_bExitSeen)
        return Fault(s, "a line after the exit line"), false;
    std::size_t at = 0;
    auto v = ParseJson(text, &at);
    if (!v || v->type != JsonValue::Type::Object)
        return Fault(s, "not a JSON object (at byte " + std::to_string(at) + ")"), false;
    if (v->Has("exit")) {
        m_bExitSeen = true;
        m_nExit = (*v)["exit"].Int();
        return true;
    }
    if (!Decode(*v, s))
        return m_faults.size() < MAX_FAULTS;
    CheckAlone(s);
    if (m_bHavePrev)
        CheckStep(m_prev, s);
    m_totals.maxScore = std::max(m_totals.maxScore, s.score);
    m_totals.minScore = std::min(m_totals.minScore, s.score);
    m_prev = std::move(s);
    m_bHavePrev = true;
    return m_faults.size() < MAX_FAULTS;
}

bool TraceChecker::Finish(long long minTicks, int minGames) {
    TraceState end;
    end.line = m_totals.lines;
    if (!m_bExitSeen)
        Fault(end, "no exit line: the program did not end by Quit");
    else if (m_nExit != 0)
        Fault(end, "exit code " + std::to_string(m_nExit));
    if (m_totals.runningMs < minTicks * BALL_TICK_MS)
        Fault(end,
              "only " + std::to_string(m_totals.runningMs / BALL_TICK_MS) + " ball ticks of play");
    if (m_totals.games < minGames)
        Fault(end, "only " + std::to_string(m_totals.games) + " games");
    return m_faults.empty();
}
