// Case-insensitive lookup in the table of embedded resources.
#include "platform/resources.h"

#include <cctype>

namespace {
bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}
} // namespace

const Resource *FindResource(std::string_view name, ResourceType type) {
    for (std::size_t i = 0; i < g_resourceCount; ++i)
        if (g_resources[i].type == type && SameName(g_resources[i].name, name))
            return &g_resources[i];
    return nullptr;
}
