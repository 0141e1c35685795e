#include "framework/lock.h"

#include <windows.h>

struct CriticalSectionTraits {
    static void* Invalid() { return nullptr; }
    static void Close(void* p)
    {
        auto* cs = static_cast<CRITICAL_SECTION*>(p);
        DeleteCriticalSection(cs);
        delete cs;
    }
};

namespace {

CRITICAL_SECTION* Section(void* p)
{
    return static_cast<CRITICAL_SECTION*>(p);
}

void* NewSection()
{
    auto* cs = new CRITICAL_SECTION;
    InitializeCriticalSection(cs);
    return cs;
}

} // namespace

CCriticalSection::CCriticalSection() : m_impl(NewSection())
{
}

CCriticalSection::~CCriticalSection() = default;

void CCriticalSection::Lock()
{
    EnterCriticalSection(Section(m_impl.Get()));
}

void CCriticalSection::Unlock()
{
    LeaveCriticalSection(Section(m_impl.Get()));
}
