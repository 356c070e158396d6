// TextOut speed with the status panel's small font (22 high, 14 wide): one
// label, the ten-space blank that wipes a number, and all nine texts the
// panel draws on each redraw.
#include <benchmark/benchmark.h>

#include "platform/gdi.h"

namespace {

struct Panel {
    Surface surface{600, 450, RGB(255, 255, 255)};
    DCState state{&surface};
    CDC dc{&state};
    CFont font;

    Panel() {
        font.CreateFont(22, 14, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, "TmsRmn");
        dc.SelectObject(&font);
        dc.SetTextColor(RGB(64, 0, 255));
    }
};

void BM_TextOutLabel(benchmark::State &st) {
    Panel p;
    for (auto _ : st) {
        p.dc.TextOut(455, 80, "Spielstand:", 11);
        benchmark::DoNotOptimize(p.surface.Row(90)[460]);
    }
}
BENCHMARK(BM_TextOutLabel);

void BM_TextOutBlank(benchmark::State &st) {
    Panel p;
    for (auto _ : st) {
        p.dc.TextOut(455, 102, "          ", 10);
        benchmark::DoNotOptimize(p.surface.Row(110)[460]);
    }
}
BENCHMARK(BM_TextOutBlank);

// The panel's texts in the order a full redraw draws them.
void BM_StatusPanel(benchmark::State &st) {
    Panel p;
    p.surface.TrackDamage(true);
    for (auto _ : st) {
        p.dc.TextOut(455, 80, "Spielstand:", 11);
        p.dc.TextOut(455, 146, "Highscore:", 10);
        p.dc.TextOut(455, 212, "B\xE4lle:", 6);
        p.dc.TextOut(455, 234, "          ", 10);
        p.dc.TextOut(455, 234, "3", 1);
        p.dc.TextOut(455, 102, "          ", 10);
        p.dc.TextOut(455, 102, "12340", 5);
        p.dc.TextOut(455, 168, "          ", 10);
        p.dc.TextOut(455, 168, "56780", 5);
        benchmark::DoNotOptimize(p.surface.TakeDamage());
    }
}
BENCHMARK(BM_StatusPanel);

void BM_CreateCachedFont(benchmark::State &st) {
    for (auto _ : st) {
        CFont font;
        benchmark::DoNotOptimize(
            font.CreateFont(65, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 2, 0, "TmsRmn"));
    }
}
BENCHMARK(BM_CreateCachedFont);

} // namespace

BENCHMARK_MAIN();
