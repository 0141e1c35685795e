// COleDispatchDriver: holds an automation (IDispatch) interface of another
// program and calls its members by dispatch id. A null interface makes every
// call a no-op. Windows only.
#pragma once
#include <windows.h>
#include <oaidl.h>

#include <stdexcept>

#include "framework/handles_win.h"

// An automation call that failed: the other program reported an error, or
// the member is missing. The window layer shows it in a message box.
class COleDispatchException : public std::runtime_error {
public:
    COleDispatchException(const std::string& what, HRESULT code) : std::runtime_error(what), m_code(code) {}
    HRESULT m_code;
};

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes over one reference. The interface held before is released
    // once, whatever it is, the same object included.
    void AttachDispatch(IDispatch* dispatch) { m_dispatch.Reset(dispatch); }
    void ReleaseDispatch() { m_dispatch.Reset(); }
    // Forgets the interface without releasing it: its apartment is gone.
    void DetachDispatch() { m_dispatch.Detach(); }
    IDispatch* GetDispatch() const { return m_dispatch.Get(); }

    // Calls member id (flags: DISPATCH_METHOD or DISPATCH_PROPERTYGET) with
    // the arguments in their natural order; the result, when wanted, is
    // left in *result. Does nothing without an interface. Throws
    // COleDispatchException when the call fails.
    void InvokeHelper(DISPID id, WORD flags, VARIANT* result, const VARIANT* args = nullptr, UINT argc = 0);

private:
    CDispatchPtr m_dispatch;
};
