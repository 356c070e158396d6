// A game on the headless board: the host, the window's drawing context, a
// CGame built on them and the probe that reaches its private state.
#pragma once

#include <cmath>

#include "game/cgame.h"
#include "game/cgameprobe.h"
#include "settings/language.h"
#include "support/board.h"

struct GameBoard : Board {
    CGame game;
    CGameProbe probe{game};

    GameBoard() {
        LanguageIndex = LANG_ENGLISH;
        host.Sounds().clear();
    }
    ~GameBoard() { LanguageIndex = LANG_GERMAN; }

    // Puts the ball at a place with a velocity, visible, in a running game.
    void PlaceBall(double x, double y, double dx, double dy) {
        CSSprite &ball = probe.Ball();
        ball.SetRealX(x);
        ball.SetRealY(y);
        ball.SetDX(dx);
        ball.SetDY(dy);
        ball.Show(&dc);
        probe.Running() = probe.Started() = 1;
        if (probe.Balls() == 0) probe.Balls() = 3;
    }

    // The paddle shown at x.
    void PlacePaddle(int x) {
        game.MovePaddle(&dc, x);
        probe.Paddle().Show(&dc);
    }
};

inline double Round4(double v) { return std::round(v * 10000.0) / 10000.0; }
