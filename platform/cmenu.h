// CMenu: a menu bar loaded by resource name from the program's menu
// resources (a small text format, see ParseMenu) and given to a window,
// whose host shows it at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/menu.h"
#include "platform/types.h"

class CWnd;

class CMenu {
public:
    CMenu() = default;
    ~CMenu();
    CMenu(const CMenu &) = delete;
    CMenu &operator=(const CMenu &) = delete;

    // Loads the menu resource `name` (case ignored). FALSE when there is none
    // or its text is malformed; the menu then stays empty.
    BOOL LoadMenu(const char *name);
    // Empties the menu. A window showing it shows an empty bar until its menu
    // is changed.
    BOOL DestroyMenu();

    bool IsLoaded() const { return m_bLoaded; }
    const MenuBar &GetBar() const { return m_bar; }

private:
    friend class CWnd;

    MenuBar m_bar;
    bool m_bLoaded = false;
    CWnd *m_pWnd = nullptr; // the window showing this menu, if any
};

// Parses the text of a menu resource. Lines, with leading blanks ignored:
//   POPUP "text"          opens a popup (also inside a popup: a sub-popup)
//   ITEM "text" ID        a command item with its decimal id (1..65535)
//   SEPARATOR             a separator line
//   END                   closes the innermost popup
// Blank lines and lines starting with '#' are skipped. Texts are Latin-1 and
// contain no '"'. Items and separators stand only inside popups; every popup
// holds at least one item. On an error, nothing comes back and `error` (when
// given) says which line is wrong and why.
std::optional<MenuBar> ParseMenu(std::string_view text, std::string *error = nullptr);
