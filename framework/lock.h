// One mutual-exclusion lock (a critical section) and its scope guard. The
// lock may be taken again by the thread that holds it.
#pragma once
#include "framework/handle.h"

// Defined by each platform's lock file: creates nothing, closes the lock.
struct CriticalSectionTraits;

class CCriticalSection {
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    void Lock();
    void Unlock();

private:
    CHandle<void*, CriticalSectionTraits> m_impl;
};

class CSingleLock {
public:
    explicit CSingleLock(CCriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
    ~CSingleLock() { m_cs.Unlock(); }
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

private:
    CCriticalSection& m_cs;
};
