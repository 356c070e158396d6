// The game's entry point: starts the SDL host, installs it and runs the
// application object on it until the main window ends the program.
#include "platform/sdl/sdl_host.h"
#include "platform/winapp.h"

int main() {
    SdlHost host;
    if (!host.Start())
        return 1;
    SetHost(&host);
    int code = RunApplication(host, SW_SHOWNORMAL);
    host.Shutdown();
    SetHost(nullptr);
    return code;
}
