#include "ui/host_link.h"

#include <new>

#include "framework/text_win.h"

namespace {

const DISPID kFrequency = 2, kFieldText = 8, kRunMacro = 16;

// A busy host is asked again this often, for this long after the first try;
// then the call fails and the operator is told, as for any failed call.
const DWORD kRetryEveryMs = 100;
const DWORD kRetryForMs = 5000;

// The answer to a call the host rejected elapsedMs after it was first made:
// the milliseconds until it is made again, or -1 to let it fail.
DWORD RetryRejectedCallAfter(DWORD elapsedMs, DWORD rejectType)
{
    // A plain rejection is the host's final answer; "retry later" is not.
    if (rejectType != SERVERCALL_RETRYLATER || elapsedMs >= kRetryForMs)
        return static_cast<DWORD>(-1);
    return kRetryEveryMs;
}

class CBusyHostFilter final : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IMessageFilter) {
            *out = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    // Nothing calls into the Setup thread but COM's own housekeeping.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override
    {
        return RetryRejectedCallAfter(elapsedMs, rejectType);
    }
    // The windows repaint and take their messages while a call waits.
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    LONG m_refs = 1;
};

} // namespace

CHostCallFilter::CHostCallFilter()
{
    // Without memory, or without an apartment, calls go unfiltered.
    CBusyHostFilter* filter = new (std::nothrow) CBusyHostFilter;
    if (!filter)
        return;
    m_registered = SUCCEEDED(CoRegisterMessageFilter(filter, &m_previous));
    filter->Release(); // COM holds it while registered
}

CHostCallFilter::~CHostCallFilter()
{
    if (m_registered)
        CoRegisterMessageFilter(m_previous, nullptr);
    if (m_previous)
        m_previous->Release();
}

bool ConnectToHost()
{
    CLSID id;
    if (FAILED(CLSIDFromProgID(L"Qorv2.Application", &id)))
        return false;
    CUnknownPtr running;
    if (FAILED(GetActiveObject(id, nullptr, running.Put())) || !running)
        return false;
    CDispatchPtr dispatch;
    if (FAILED(running.Get()->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Put()))) || !dispatch)
        return false;
    g_hostApp.AttachDispatch(dispatch.Detach());
    return true;
}

double GetFrequency()
{
    CVariant result;
    g_hostApp.InvokeHelper(kFrequency, DISPATCH_PROPERTYGET, result.Out());
    VARIANT hz;
    VariantInit(&hz);
    if (FAILED(VariantChangeType(&hz, result.Out(), 0, VT_R8)))
        return 0.0;
    return hz.dblVal;
}

CString GetFieldText(int field)
{
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_I4;
    arg.lVal = field;
    CVariant result;
    g_hostApp.InvokeHelper(kFieldText, DISPATCH_METHOD, result.Out(), &arg, 1);
    return result.Get().vt == VT_BSTR ? CString(NarrowFrom(result.Get().bstrVal)) : CString();
}

void RunMacro(const char* text)
{
    CBstr macro(BstrFrom(text ? text : ""));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = macro.Get();
    g_hostApp.InvokeHelper(kRunMacro, DISPATCH_METHOD, nullptr, &arg, 1);
}
