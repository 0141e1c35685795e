// CHandle: the one guard for a handle the module owns. Move-only (a copy
// would close the handle twice); the destructor closes it through Traits:
//   static T Invalid();      the value that holds nothing
//   static void Close(T h);  called once for every held value
// Each handle kind is a typedef over this template with its own traits
// (handles_win.h for the Windows ones). Traits may be incomplete where the
// guard is only declared as a member.
#pragma once
#include <utility>

template <class T, class Traits>
class CHandle {
public:
    CHandle() noexcept : m_h(Traits::Invalid()) {}
    // Takes ownership of a handle that the acquiring call just returned.
    explicit CHandle(T h) noexcept : m_h(h) {}
    ~CHandle() { Reset(); }

    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    CHandle(CHandle&& other) noexcept : m_h(other.Detach()) {}
    CHandle& operator=(CHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Detach());
        return *this;
    }

    T Get() const noexcept { return m_h; }
    bool IsValid() const noexcept { return m_h != Traits::Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // Closes what was held, once, whatever h is, then holds h. For a
    // counted reference, h may be the same object: it brings a reference
    // of its own.
    void Reset(T h = Traits::Invalid()) noexcept
    {
        T old = std::exchange(m_h, h);
        if (old != Traits::Invalid())
            Traits::Close(old);
    }
    // For an out-parameter: closes what was held and gives the slot's
    // address, for the acquiring call to fill.
    T* Put() noexcept
    {
        Reset();
        return &m_h;
    }
    // Gives up ownership without closing.
    T Detach() noexcept { return std::exchange(m_h, Traits::Invalid()); }

private:
    T m_h;
};
