#include "framework/dispatch.h"

#include "framework/handles_win.h"

COleDispatchDriver::COleDispatchDriver() = default;

COleDispatchDriver::~COleDispatchDriver() = default;

void COleDispatchDriver::AttachDispatch(IDispatch* dispatch)
{
    m_dispatch.Reset(dispatch);
}

void COleDispatchDriver::ReleaseDispatch()
{
    m_dispatch.Reset();
}
