// COleDispatchDriver: holds an automation (IDispatch) interface of another
// program and calls its members by dispatch id. A null interface makes every
// call a no-op.
#pragma once

struct IDispatch;

class COleDispatchDriver {
public:
    COleDispatchDriver() = default;
    ~COleDispatchDriver() { ReleaseDispatch(); }
    COleDispatchDriver(const COleDispatchDriver&) = delete;
    COleDispatchDriver& operator=(const COleDispatchDriver&) = delete;

    // Takes over one reference; the previous interface is released first
    // when auto-release is on.
    void AttachDispatch(IDispatch* dispatch, bool autoRelease = true);
    void ReleaseDispatch();
    IDispatch* m_lpDispatch = nullptr;
    bool m_bAutoRelease = true;
};
