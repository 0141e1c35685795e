#include "framework/lock.h"

#include <windows.h>

CCriticalSection::CCriticalSection() : m_impl(new CRITICAL_SECTION)
{
    InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}

CCriticalSection::~CCriticalSection()
{
    DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
    delete static_cast<CRITICAL_SECTION*>(m_impl);
}

void CCriticalSection::Lock()
{
    EnterCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}

void CCriticalSection::Unlock()
{
    LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(m_impl));
}
