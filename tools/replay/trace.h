// The replay's trace line: one JSON object with the game's state, the
// timers, and the sounds and message boxes since the previous line.
#pragma once

#include <string>

class CQZLWnd;
class HeadlessHost;

// Builds the line for the main window's state; takes (and forgets) the
// sounds and boxes the host has recorded.
std::string TraceLine(CQZLWnd &wnd, HeadlessHost &host, long long tMs);

// A Latin-1 text as a JSON string literal in UTF-8, quotes included.
std::string JsonString(const std::string &latin1);
