#include "framework/dispatch.h"

#include <windows.h>
#include <oaidl.h>

void COleDispatchDriver::AttachDispatch(IDispatch* dispatch, bool autoRelease)
{
    if (dispatch == m_lpDispatch) {
        m_bAutoRelease = autoRelease;
        return;
    }
    ReleaseDispatch();
    m_lpDispatch = dispatch;
    m_bAutoRelease = autoRelease;
}

void COleDispatchDriver::ReleaseDispatch()
{
    if (m_lpDispatch && m_bAutoRelease)
        m_lpDispatch->Release();
    m_lpDispatch = nullptr;
}
