// CWinApp: the module's application object, started at load and ended at unload.
#pragma once

class CWinApp {
public:
    explicit CWinApp(const char* appName = nullptr) : m_appName(appName) {}
    virtual ~CWinApp() = default;
    virtual int InitInstance() { return 1; }
    virtual int ExitInstance() { return 0; }

protected:
    const char* m_appName;
};
