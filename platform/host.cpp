// The process-wide host pointer.
#include "platform/host.h"

#include <cstdio>
#include <cstdlib>

namespace {
Host *g_host = nullptr;
}

Host &CurrentHost() {
    if (!g_host) {
        std::fprintf(stderr, "quarzel: no host installed\n");
        std::abort();
    }
    return *g_host;
}

void SetHost(Host *host) { g_host = host; }
bool HasHost() { return g_host != nullptr; }
