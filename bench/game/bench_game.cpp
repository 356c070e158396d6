// Benchmarks of the game's hot paths on the headless host: one ball step with
// all 225 bricks standing, one wall advance, and the status panel.
#include <benchmark/benchmark.h>

#include "support/game_board.h"

namespace {

// A running game whose fifteen slots all hold a full row, the ball in the
// open below the wall.
void FillWall(GameBoard &b) {
    b.game.NewGame(&b.dc);
    for (int slot = 0; slot < CGame::ROW_SLOTS; ++slot) {
        CBrick &row = b.probe.Row(slot);
        row.Create(15, 1, 37, 10 + 14 * slot, 1, 0, nullptr);
        row.ShowAll(nullptr);
    }
}

void BM_StepBallFullWall(benchmark::State &state) {
    GameBoard b;
    FillWall(b);
    for (auto _ : state) {
        // Keep the ball bouncing between y = 240 and 360 in open field, away
        // from the paddle, so every step tests all 225 bricks by box.
        b.probe.Ball().SetRealX(200.0);
        b.probe.Ball().SetRealY(300.0);
        b.probe.Ball().SetDX(1.0);
        b.probe.Ball().SetDY(-1.0);
        benchmark::DoNotOptimize(b.game.StepBall(&b.dc));
    }
}
BENCHMARK(BM_StepBallFullWall);

void BM_AdvanceWall(benchmark::State &state) {
    GameBoard b;
    FillWall(b);
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.game.AdvanceWall(&b.dc));
        if (++n % 100 == 0) {
            state.PauseTiming();
            FillWall(b);
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_AdvanceWall);

void BM_DrawStatus(benchmark::State &state) {
    GameBoard b;
    b.game.NewGame(&b.dc);
    for (auto _ : state) b.game.DrawStatus(&b.dc);
}
BENCHMARK(BM_DrawStatus);

} // namespace

BENCHMARK_MAIN();
