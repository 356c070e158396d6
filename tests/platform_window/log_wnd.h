// A frame window for the tests that writes every handler call into a log,
// and a derived one whose table adds to and overrides its base's.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/wnd.h"

class CLogWnd : public CFrameWnd {
public:
    explicit CLogWnd(std::vector<std::string> *pLog, bool *pDeleted = nullptr)
        : m_pLog(pLog), m_pDeleted(pDeleted) {}
    ~CLogWnd() override {
        if (m_pDeleted)
            *m_pDeleted = true;
    }

    BOOL CreateDefault(UINT nClassStyle = CS_OWNDC, const char *lpszMenu = nullptr) {
        m_nClassStyle = nClassStyle;
        return Create(nullptr, "TEST", WS_CAPTION | WS_SYSMENU, CRect(20, 15, 620, 465), nullptr,
                      lpszMenu);
    }

    BOOL PreCreateWindow(CREATESTRUCT &cs) override {
        cs.lpszClass = AfxRegisterWndClass(m_nClassStyle);
        return CFrameWnd::PreCreateWindow(cs);
    }

    // What the paint handler does besides logging.
    std::function<void(CPaintDC &)> m_onPaint;
    // What a timer tick does besides logging.
    std::function<void(UINT_PTR)> m_onTimer;

protected:
    void Log(std::string s) { m_pLog->push_back(std::move(s)); }

    void OnPaint() override {
        CPaintDC dc(this);
        Log("paint");
        if (m_onPaint)
            m_onPaint(dc);
    }
    void OnOne() { Log("command 1"); }
    void OnTwo() { Log("command 2"); }
    void OnMenuSelect(UINT, UINT, HMENU) override { Log("menuselect"); }
    void OnActivate(UINT nState, CWnd *, BOOL) override {
        Log("activate " + std::to_string(nState));
    }
    void OnMouseMove(UINT, CPoint point) override {
        Log("mouse " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
    void OnTimer(UINT_PTR nIDEvent) override {
        Log("timer " + std::to_string(nIDEvent));
        if (m_onTimer)
            m_onTimer(nIDEvent);
    }
    void OnDestroy() override { Log("destroy"); }

    DECLARE_MESSAGE_MAP()

private:
    std::vector<std::string> *m_pLog;
    bool *m_pDeleted;
    UINT m_nClassStyle = CS_OWNDC;
};

// Adds command 3 and takes over command 2; everything else comes from the
// base table.
class CDerivedWnd : public CLogWnd {
public:
    using CLogWnd::CLogWnd;

protected:
    void OnTwoAgain() { Log("derived command 2"); }
    void OnThree() { Log("command 3"); }
    void OnClose() override { Log("close"); }

    DECLARE_MESSAGE_MAP()
};
