// Icon loading and release.
#include "platform/icon.h"

#include <memory>

#include "platform/image.h"
#include "platform/resources.h"

HICON LoadIcon(const char *name) {
    if (!name)
        return nullptr;
    const Resource *res = FindResource(name, ResourceType::Icon);
    if (!res)
        return nullptr;
    auto icon = std::make_unique<IconImage>();
    auto image = DecodeIco(res->data, res->size, &icon->clear);
    if (!image)
        return nullptr;
    icon->image = std::move(*image);
    return icon.release();
}

BOOL DestroyIcon(HICON hIcon) {
    if (!hIcon)
        return FALSE;
    delete hIcon;
    return TRUE;
}
