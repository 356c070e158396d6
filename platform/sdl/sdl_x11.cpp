// The X display connection behind an SDL window.
#include "platform/sdl/sdl_x11.h"

#include <SDL2/SDL_syswm.h>

int X11ConnectionFd(SDL_Window *window) {
#if defined(SDL_VIDEO_DRIVER_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window && SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11)
        return ConnectionNumber(info.info.x11.display);
#else
    (void)window;
#endif
    return -1;
}
