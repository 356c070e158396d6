// The tests' application object and a fixture that installs a fresh
// headless host for each test.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/headless/headless_host.h"
#include "platform/winapp.h"
#include "platform/wnd.h"

// The one application object of the test program; each test says what its
// start-up does.
class CTestApp : public CWinApp {
public:
    BOOL InitInstance() override { return m_init ? m_init() : FALSE; }
    std::function<BOOL()> m_init;
};

extern CTestApp g_testApp;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_host = std::make_unique<HeadlessHost>(1000);
        SetHost(m_host.get());
        g_testApp.m_pMainWnd = nullptr;
        g_testApp.m_init = nullptr;
    }
    void TearDown() override {
        // A test's frame windows delete themselves when destroyed.
        if (CWnd *pWnd = g_testApp.m_pMainWnd)
            pWnd->DestroyWindow();
        SetHost(nullptr);
    }

    HeadlessHost &Host() { return *m_host; }

    // Handler calls of the test's windows; lives until the windows are gone.
    std::vector<std::string> m_log;

    std::unique_ptr<HeadlessHost> m_host;
};
