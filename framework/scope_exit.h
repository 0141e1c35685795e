// CScopeExit: runs a step when the scope ends, however it ends (a return,
// an exception, a failed test assertion). For restores that no handle
// guard fits: a saved value put back, a flag lowered.
//   auto restore = MakeScopeExit([saved = g_x] { g_x = saved; });
#pragma once
#include <utility>

template <class Step>
class CScopeExit {
public:
    explicit CScopeExit(Step step) : m_step(std::move(step)) {}
    ~CScopeExit() { m_step(); }
    CScopeExit(const CScopeExit&) = delete;
    CScopeExit& operator=(const CScopeExit&) = delete;

private:
    Step m_step;
};

template <class Step>
CScopeExit<Step> MakeScopeExit(Step step)
{
    return CScopeExit<Step>(std::move(step));
}
