// COleDispatchDriver: holds an automation (IDispatch) interface of another
// program and calls its members by dispatch id. A null interface makes every
// call a no-op.
#pragma once
#include "framework/handle.h"

struct IDispatch;
template <class I>
struct ComTraits; // Release, in handles_win.h

class COleDispatchDriver {
public:
    COleDispatchDriver();
    ~COleDispatchDriver();
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes over one reference. The interface held before is released
    // once, whatever it is, the same object included.
    void AttachDispatch(IDispatch* dispatch);
    void ReleaseDispatch();
    IDispatch* GetDispatch() const { return m_dispatch.Get(); }

private:
    CHandle<IDispatch*, ComTraits<IDispatch>> m_dispatch;
};
