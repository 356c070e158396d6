// The one thing the SDL host takes from X11 directly: the display
// connection's file descriptor, to wait on. Kept apart because Xlib's
// headers define names (Time, Status, None) that clash with the platform's.
#pragma once

#include <SDL2/SDL.h>

// The descriptor of the X display connection behind `window`; -1 when the
// window is not on X11.
int X11ConnectionFd(SDL_Window *window);
