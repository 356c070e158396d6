// The random generator, clock, message box, sound and exit services.
#include "platform/runtime.h"

#include <cstdio>
#include <cstdlib>

#include "platform/host.h"

namespace {
std::uint32_t g_randState = 1;
}

int Rand() {
    g_randState = g_randState * 1103515245u + 12345u;
    return static_cast<int>((g_randState >> 16) & 0x7FFF);
}

void SRand(unsigned seed) { g_randState = seed; }
std::uint32_t GetRandState() { return g_randState; }
void SetRandState(std::uint32_t state) { g_randState = state; }

std::int64_t Time() { return CurrentHost().EpochSeconds(); }

int MessageBox(CWnd *pOwner, const char *lpszText, const char *lpszCaption, UINT nType) {
    return CurrentHost().MessageBox(lpszText ? lpszText : "", lpszCaption ? lpszCaption : "",
                                    nType, pOwner != nullptr);
}

BOOL sndPlaySound(const char *lpszSound, UINT) {
    if (!lpszSound) return FALSE;
    CurrentHost().PlaySound(lpszSound);
    return TRUE;
}

void ExitProcess(int code) {
    if (HasHost()) CurrentHost().BeforeExit(code);
    std::fflush(nullptr);
    std::exit(code);
}

void FatalError(const char *lpszCaption, const char *lpszText) {
    MessageBox(nullptr, lpszText, lpszCaption, MB_OK | MB_ICONEXCLAMATION);
    ExitProcess(255);
}
