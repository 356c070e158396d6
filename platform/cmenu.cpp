// Menu loading: the menu resource text parsed into the bar a host shows.
#include "platform/cmenu.h"

#include <vector>

#include "platform/resources.h"
#include "platform/wnd.h"

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// Takes a leading word (up to a blank) off `s`.
std::string_view TakeWord(std::string_view &s) {
    std::size_t n = 0;
    while (n < s.size() && s[n] != ' ' && s[n] != '\t')
        ++n;
    std::string_view word = s.substr(0, n);
    s = Trim(s.substr(n));
    return word;
}

// Takes a leading "quoted" text off `s`.
bool TakeQuoted(std::string_view &s, std::string &out) {
    if (s.empty() || s.front() != '"')
        return false;
    std::size_t close = s.find('"', 1);
    if (close == std::string_view::npos)
        return false;
    out.assign(s.substr(1, close - 1));
    s = Trim(s.substr(close + 1));
    return true;
}

bool TakeId(std::string_view &s, int &id) {
    std::string_view word = TakeWord(s);
    if (word.empty() || word.size() > 5)
        return false;
    long value = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535)
        return false;
    id = static_cast<int>(value);
    return true;
}

} // namespace

std::optional<MenuBar> ParseMenu(std::string_view text, std::string *error) {
    auto fail = [&](int line, const char *why) -> std::optional<MenuBar> {
        if (error)
            *error = "line " + std::to_string(line) + ": " + why;
        return std::nullopt;
    };

    MenuBar bar;
    // The open popups, innermost last; each points into its parent's items.
    std::vector<MenuItem *> open;
    std::vector<int> openedAt;
    int lineNo = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos)
            eol = text.size();
        std::string_view line = Trim(text.substr(pos, eol - pos));
        pos = eol + 1;
        ++lineNo;
        if (line.empty() || line.front() == '#')
            continue;

        std::string_view keyword = TakeWord(line);
        if (keyword == "POPUP") {
            MenuItem popup;
            if (!TakeQuoted(line, popup.text) || popup.text.empty())
                return fail(lineNo, "POPUP needs a quoted, non-empty text");
            if (!line.empty())
                return fail(lineNo, "unexpected text after POPUP");
            std::vector<MenuItem> &into = open.empty() ? bar.items : open.back()->popup;
            into.push_back(std::move(popup));
            open.push_back(&into.back());
            openedAt.push_back(lineNo);
        } else if (keyword == "ITEM") {
            if (open.empty())
                return fail(lineNo, "ITEM outside a popup");
            MenuItem item;
            if (!TakeQuoted(line, item.text) || item.text.empty())
                return fail(lineNo, "ITEM needs a quoted, non-empty text");
            if (!TakeId(line, item.id))
                return fail(lineNo, "ITEM needs a command id 1..65535");
            if (!line.empty())
                return fail(lineNo, "unexpected text after ITEM");
            open.back()->popup.push_back(std::move(item));
        } else if (keyword == "SEPARATOR") {
            if (open.empty())
                return fail(lineNo, "SEPARATOR outside a popup");
            if (!line.empty())
                return fail(lineNo, "unexpected text after SEPARATOR");
            MenuItem sep;
            sep.separator = true;
            open.back()->popup.push_back(std::move(sep));
        } else if (keyword == "END") {
            if (open.empty())
                return fail(lineNo, "END without an open POPUP");
            if (!line.empty())
                return fail(lineNo, "unexpected text after END");
            if (open.back()->popup.empty())
                return fail(openedAt.back(), "empty POPUP");
            open.pop_back();
            openedAt.pop_back();
        } else {
            return fail(lineNo, "unknown keyword");
        }
    }
    if (!open.empty())
        return fail(openedAt.back(), "POPUP without END");
    if (bar.items.empty())
        return fail(lineNo, "no POPUP in the menu");
    return bar;
}

CMenu::~CMenu() {
    // A window never deletes a menu it still shows without detaching it
    // first; a menu deleted by its user while shown takes the bar away.
    if (m_pWnd && m_pWnd->GetMenu() == this)
        m_pWnd->DetachMenu();
}

BOOL CMenu::LoadMenu(const char *name) {
    m_bar = MenuBar{};
    m_bLoaded = false;
    if (!name)
        return FALSE;
    const Resource *res = FindResource(name, ResourceType::Menu);
    if (!res)
        return FALSE;
    auto bar = ParseMenu(std::string_view(reinterpret_cast<const char *>(res->data), res->size));
    if (!bar)
        return FALSE;
    m_bar = std::move(*bar);
    m_bLoaded = true;
    if (m_pWnd)
        m_pWnd->DrawMenuBar();
    return TRUE;
}

BOOL CMenu::DestroyMenu() {
    if (!m_bLoaded)
        return FALSE;
    m_bar = MenuBar{};
    m_bLoaded = false;
    if (m_pWnd)
        m_pWnd->DrawMenuBar();
    return TRUE;
}
