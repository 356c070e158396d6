// Menus: the data of a menu bar (popups, items, separators, sub-popups) that
// a host draws and operates, and CMenu, which loads one from the resources.
#pragma once

#include <memory>
#include <string>
#include <vector>

struct MenuItem {
    std::string text;            // Latin-1; empty for a separator
    int id = 0;                  // command id of a plain item
    bool separator = false;
    std::vector<MenuItem> popup; // the items of a popup, empty for a plain item

    bool IsPopup() const { return !popup.empty(); }
};

struct MenuBar {
    std::vector<MenuItem> items; // the bar's popups, left to right
};
