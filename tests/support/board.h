// A headless board for sprite tests: the headless host installed, a window
// surface with a drawing context on it, and a way to choose the next random
// draw.
#pragma once

#include <cstdint>

#include "platform/gdi.h"
#include "platform/headless/headless_host.h"
#include "platform/runtime.h"

struct Board {
    HeadlessHost host;
    DCState state;
    CDC dc;

    Board() : dc(&state) {
        SetHost(&host);
        state.pTarget = &host.WindowSurface();
    }
    ~Board() { SetHost(nullptr); }

    Surface &surface() { return host.WindowSurface(); }
};

// Sets the generator so that its next draw returns n (0..32767): the next
// state must be n << 16, so the state now is its preimage under the step.
inline void NextRandWillBe(int n) {
    std::uint32_t next = static_cast<std::uint32_t>(n) << 16;
    // Inverse of 1103515245 modulo 2^32, by Newton's iteration.
    std::uint32_t a = 1103515245u, inv = a;
    for (int i = 0; i < 5; ++i) inv *= 2u - a * inv;
    SetRandState((next - 12345u) * inv);
}
