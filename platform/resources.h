// The program's embedded resources: bitmaps, the icon and the menus, looked up
// by name without regard to case ("qzlball" finds QZLBALL).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class ResourceType { Bitmap, Icon, Menu };

struct Resource {
    const char *name;  // stored in upper case
    ResourceType type;
    const std::uint8_t *data;
    std::size_t size;
};

// Null when there is no resource of that type and name.
const Resource *FindResource(std::string_view name, ResourceType type);

// Implemented by the build's generated table (resources/).
extern const Resource g_resources[];
extern const std::size_t g_resourceCount;
