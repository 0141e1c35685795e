// A thread and a lock for the host stand-in and the tests. The Windows
// compiler's win32 thread model, which keeps BALTIC.dll free of the thread
// library's Vista-only imports, has no std::thread or std::mutex; here they
// are thin wrappers over _beginthreadex and a critical section. Built
// natively, the standard ones serve.
#pragma once
#ifdef _WIN32
#include <windows.h>
#include <process.h>

#include <functional>
#include <mutex>
#include <memory>
#include <stdexcept>
#include <utility>

// Usable with std::lock_guard and std::unique_lock.
class HostMutex {
public:
    HostMutex() { InitializeCriticalSection(&m_cs); }
    ~HostMutex() { DeleteCriticalSection(&m_cs); }
    HostMutex(const HostMutex&) = delete;
    HostMutex& operator=(const HostMutex&) = delete;
    void lock() { EnterCriticalSection(&m_cs); }
    void unlock() { LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

// Runs a callable on a new thread; join() waits for it. Unlike std::thread, a
// thread still running when its object dies is joined, not a reason to abort.
class HostThread {
public:
    HostThread() = default;
    template <class Body>
    explicit HostThread(Body body)
    {
        auto* start = new std::function<void()>(std::move(body));
        m_handle = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, Run, start, 0, nullptr));
        if (!m_handle) {
            delete start;
            throw std::runtime_error("could not start a thread");
        }
    }
    HostThread(HostThread&& other) noexcept : m_handle(std::exchange(other.m_handle, nullptr)) {}
    HostThread& operator=(HostThread&& other) noexcept
    {
        if (this != &other) {
            join();
            m_handle = std::exchange(other.m_handle, nullptr);
        }
        return *this;
    }
    ~HostThread() { join(); }

    bool joinable() const { return m_handle != nullptr; }
    void join()
    {
        if (!m_handle)
            return;
        WaitForSingleObject(m_handle, INFINITE);
        CloseHandle(m_handle);
        m_handle = nullptr;
    }

private:
    static unsigned __stdcall Run(void* p)
    {
        std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(p));
        (*body)();
        return 0;
    }

    HANDLE m_handle = nullptr;
};
#else
#include <mutex>
#include <thread>
using HostMutex = std::mutex;
using HostThread = std::thread;
#endif
