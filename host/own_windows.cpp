#include "host/own_windows.h"

#include <cstring>

namespace {

struct Search {
    const OwnWindowQuery* query;
    HWND found;
};

bool TextIs(HWND w, int (WINAPI* get)(HWND, LPSTR, int), const char* expected)
{
    char text[256] = "";
    get(w, text, sizeof text);
    return std::strcmp(text, expected) == 0;
}

BOOL CALLBACK Visit(HWND w, LPARAM p)
{
    Search& s = *reinterpret_cast<Search*>(p);
    const OwnWindowQuery& q = *s.query;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId() || w == q.except || (q.visibleOnly && !IsWindowVisible(w)))
        return TRUE;
    if ((q.className && !TextIs(w, GetClassNameA, q.className)) || (q.title && !TextIs(w, GetWindowTextA, q.title)))
        return TRUE;
    if (q.match && !q.match(w))
        return TRUE;
    s.found = w;
    return FALSE;
}

} // namespace

HWND FindOwnWindow(const OwnWindowQuery& query)
{
    Search s{&query, nullptr};
    EnumWindows(Visit, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}
