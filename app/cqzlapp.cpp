// The application object and its start-up step.
#include "app/cqzlapp.h"

#include <new>

#include "app/cqzlwnd.h"

CQZLApp theApp;

CQZLApp::CQZLApp() : CWinApp(nullptr) {}

CQZLApp::~CQZLApp() = default;

BOOL CQZLApp::InitInstance() {
    SetMessageQueue(50);
    // The icon is loaded only when the window object could be allocated: the
    // constructor's argument is evaluated after the allocation.
    m_pMainWnd = new (std::nothrow) CQZLWnd(LoadIcon("QZLIcon"));
    if (m_pMainWnd == nullptr)
        return FALSE;
    m_pMainWnd->ShowWindow(m_nCmdShow);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}
