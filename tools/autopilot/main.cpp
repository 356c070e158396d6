// quarzel-autopilot: plays long games on the headless host and writes the
// replay script of everything it did to standard output, for soak and
// memory-check runs of quarzel-replay. A summary goes to standard error.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "platform/headless/headless_host.h"
#include "platform/host.h"
#include "tools/autopilot/pilot.h"

namespace {

const char USAGE[] = "usage: quarzel-autopilot [options] > SCRIPT\n"
                     "  --ticks N        ball ticks to play while a game runs (default 200000)\n"
                     "  --start T        epoch seconds of the script's start (seeds the game)\n"
                     "  --seed S         the autopilot's own choices (default 1)\n"
                     "  --game MIN-MAX   ball ticks before a game is let go (default 3000-30000)\n"
                     "  --sparse         no state line after every timer tick\n"
                     "  --no-quit        end the script without choosing Quit\n"
                     "  --interludes N   a pause, language switch or info box every N ticks on\n"
                     "                   average (default 3000; 0: none)\n";

bool Number(const char *text, std::uint64_t &value) {
    char *end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno || end == text || *end || text[0] == '-')
        return false;
    value = v;
    return true;
}

bool Parse(int argc, char **argv, PilotOptions &o) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::uint64_t v = 0;
        auto next = [&](std::uint64_t &out) { return i + 1 < argc && Number(argv[++i], out); };
        if (arg == "--ticks" && next(v)) {
            o.nTicks = v;
        } else if (arg == "--start" && next(v) && v <= 4294967295ULL) {
            o.nStart = static_cast<std::uint32_t>(v);
        } else if (arg == "--seed" && next(v) && v <= 4294967295ULL) {
            o.nSeed = static_cast<std::uint32_t>(v);
        } else if (arg == "--game" && i + 1 < argc) {
            std::string range = argv[++i];
            auto dash = range.find('-');
            std::uint64_t lo = 0, hi = 0;
            if (dash == std::string::npos || !Number(range.substr(0, dash).c_str(), lo) ||
                !Number(range.substr(dash + 1).c_str(), hi) || lo > hi || hi > 4294967295ULL)
                return false;
            o.nGameMin = lo;
            o.nGameMax = hi;
        } else if (arg == "--sparse") {
            o.bStateEveryTick = false;
        } else if (arg == "--no-quit") {
            o.bQuit = false;
        } else if (arg == "--interludes" && next(v) && v <= 4294967295ULL) {
            o.nInterludes = static_cast<std::uint32_t>(v);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv) {
    PilotOptions options;
    if (!Parse(argc, argv, options)) {
        std::fputs(USAGE, stderr);
        return 2;
    }
    // The game reads and writes its settings file in the current directory:
    // the autopilot plays in a folder of its own, so it starts in English
    // and leaves nothing behind.
    namespace fs = std::filesystem;
    std::string tmpl = (fs::temp_directory_path() / "quarzel-autopilot-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) {
        std::perror("quarzel-autopilot: cannot make a working folder");
        return 1;
    }
    const fs::path home = fs::current_path();
    fs::current_path(tmpl);

    std::ios::sync_with_stdio(false);
    HeadlessHost host;
    SetHost(&host);
    CPilot pilot(host, options, std::cout);
    const bool ok = pilot.Run();
    std::cout.flush();
    SetHost(nullptr);

    fs::current_path(home);
    std::error_code ec;
    fs::remove_all(tmpl, ec);

    const PilotSummary &s = pilot.Summary();
    std::fprintf(stderr,
                 "quarzel-autopilot: %llu ball ticks, %d games (%d over), %d balls lost "
                 "(%d before the planned end), %d language switches, %llu script lines\n",
                 static_cast<unsigned long long>(s.nBallTicks), s.nGames, s.nGamesOver,
                 s.nBallsLost, s.nBallsLostEarly, s.nLanguageSwitches,
                 static_cast<unsigned long long>(s.nScriptLines));
    if (!ok && !options.bQuit)
        return 1;
    return std::cout ? 0 : 1;
}
