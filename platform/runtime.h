// Process-wide services the game takes from the platform: the shared random
// generator, the clock, message boxes, sounds and process exit. Time and chance
// come only from the host, so a replay gives the same game every time.
#pragma once

#include <cstdint>

#include "platform/types.h"

class CWnd;

// Message box styles and answers.
constexpr UINT MB_OK = 0x00;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr int IDOK = 1;

// Sound flags.
constexpr UINT SND_ASYNC = 0x0001;
constexpr UINT SND_NODEFAULT = 0x0002;

// Largest value Rand returns.
constexpr int RAND_LIMIT = 32767;

// One generator for the whole program: state = state * 1103515245 + 12345
// (mod 2^32); each draw returns bits 16 to 30 of the new state, 0 to 32767.
int Rand();
void SRand(unsigned seed);
// The raw state, for tests and the replay tool.
std::uint32_t GetRandState();
void SetRandState(std::uint32_t state);

// Seconds since the epoch, from the host's clock.
std::int64_t Time();

// A modal box: returns IDOK once it is dismissed. A null owner means none.
int MessageBox(CWnd *pOwner, const char *lpszText, const char *lpszCaption, UINT nType);

// Plays a WAV file from the current directory asynchronously; returns at once.
// A missing file plays nothing.
BOOL sndPlaySound(const char *lpszSound, UINT fuSound);

// Ends the process with `code` (after telling the host).
[[noreturn]] void ExitProcess(int code);

// Shows an ownerless exclamation box, then ends the process with 255.
[[noreturn]] void FatalError(const char *lpszCaption, const char *lpszText);
