#include "framework/lock.h"

#include <mutex>

// A critical section may be entered again by the thread that holds it: a
// recursive mutex behaves the same.
struct CriticalSectionTraits {
    static void* Invalid() { return nullptr; }
    static void Close(void* p) { delete static_cast<std::recursive_mutex*>(p); }
};

CCriticalSection::CCriticalSection() : m_impl(new std::recursive_mutex)
{
}

CCriticalSection::~CCriticalSection() = default;

void CCriticalSection::Lock()
{
    static_cast<std::recursive_mutex*>(m_impl.Get())->lock();
}

void CCriticalSection::Unlock()
{
    static_cast<std::recursive_mutex*>(m_impl.Get())->unlock();
}
