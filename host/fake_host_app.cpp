#include "host/fake_host_app.h"

#include <oleauto.h>

#include <cstring>
#include <string>

#include "host/own_windows.h"

namespace {

// The host's own conversions between its 8-bit texts (the system's code
// page) and the automation's wide strings: the plug-in's are under test.
BSTR HostBstr(const std::string& text)
{
    const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n : 0));
    if (out && n > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out, n);
    return out;
}

std::string HostText(BSTR text)
{
    const int length = static_cast<int>(SysStringLen(text));
    const int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], n, nullptr, nullptr);
    return out;
}

const char* const kProgId = "Qorv2.Application";
const char* const kClassIdText = "{6B1F3C2A-8D4E-4F7A-9C61-2E5D8B0A4F13}";
const CLSID kClassId = {0x6b1f3c2a, 0x8d4e, 0x4f7a, {0x9c, 0x61, 0x2e, 0x5d, 0x8b, 0x0a, 0x4f, 0x13}};
// Windows reads a user's classes here; Wine 8 only from HKEY_CLASSES_ROOT.
const char* const kUserClasses = "Software\\Classes\\Qorv2.Application\\CLSID";

bool RegisterProgId(HKEY root, const char* path)
{
    HKEY key;
    if (RegCreateKeyExA(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    bool ok = RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kClassIdText),
                             static_cast<DWORD>(std::strlen(kClassIdText) + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return ok;
}

// The automation object itself: answers by dispatch id only, as the
// plug-in calls it.
class HostObject final : public IDispatch {
public:
    explicit HostObject(FakeHostApp::State& state) : m_state(state) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* error, UINT*) override
    {
        DWORD delay;
        bool failing;
        {
            std::lock_guard<HostMutex> lock(m_state.mutex);
            ++m_state.calls;
            delay = m_state.delay;
            failing = m_state.failing;
        }
        if (delay)
            Sleep(delay);
        if (failing) {
            if (error) {
                std::memset(error, 0, sizeof *error);
                error->scode = E_FAIL;
                error->bstrDescription = SysAllocString(L"The host refused the call");
            }
            return DISP_E_EXCEPTION;
        }
        const UINT argc = params ? params->cArgs : 0;
        std::lock_guard<HostMutex> lock(m_state.mutex);
        switch (id) {
        case 2: // frequency in Hz
            if (!(flags & DISPATCH_PROPERTYGET) || argc != 0)
                return DISP_E_BADPARAMCOUNT;
            if (result) {
                VariantInit(result);
                result->vt = VT_R8;
                result->dblVal = m_state.frequency;
            }
            return S_OK;
        case 8: { // the text of an entry field; 5 is the call
            if (!(flags & DISPATCH_METHOD) || argc != 1)
                return DISP_E_BADPARAMCOUNT;
            VARIANT field;
            VariantInit(&field);
            if (FAILED(VariantChangeType(&field, &params->rgvarg[0], 0, VT_I4)))
                return DISP_E_TYPEMISMATCH;
            ++m_state.fieldTextCalls;
            if (result) {
                VariantInit(result);
                result->vt = VT_BSTR;
                result->bstrVal = HostBstr(field.lVal == 5 ? m_state.fieldText : std::string());
            }
            return S_OK;
        }
        case 16: // run a macro
            if (!(flags & DISPATCH_METHOD) || argc != 1 || params->rgvarg[0].vt != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            m_state.macros.push_back(HostText(params->rgvarg[0].bstrVal));
            return S_OK;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }

private:
    LONG m_refs = 1;
    FakeHostApp::State& m_state;
};

// The host's message filter while it is busy: incoming calls are turned
// away with "retry later" until the busy time is over.
class BusyFilter final : public IMessageFilter {
public:
    explicit BusyFilter(FakeHostApp::State& state) : m_state(state) {}

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
        LONG n = InterlockedDecrement(&m_refs);
        if (n == 0)
            delete this;
        return static_cast<ULONG>(n);
    }
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override
    {
        std::lock_guard<HostMutex> lock(m_state.mutex);
        if (GetTickCount() - m_state.busySince >= m_state.busyMs)
            return SERVERCALL_ISHANDLED;
        ++m_state.rejected;
        return SERVERCALL_RETRYLATER;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return static_cast<DWORD>(-1); }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }

private:
    LONG m_refs = 1;
    FakeHostApp::State& m_state;
};

} // namespace

FakeHostApp::FakeHostApp()
{
    if (!RegisterProgId(HKEY_CLASSES_ROOT, "Qorv2.Application\\CLSID") ||
        !RegisterProgId(HKEY_CURRENT_USER, kUserClasses)) {
        m_error = std::string("cannot register ") + kProgId;
        return;
    }
    if (FAILED(CoInitialize(nullptr))) {
        m_error = "COM could not be initialised on this thread";
        return;
    }
    m_object = new HostObject(m_state);
    HRESULT hr = RegisterActiveObject(m_object, kClassId, ACTIVEOBJECT_STRONG, &m_registration);
    if (FAILED(hr)) {
        m_registration = 0;
        m_error = "RegisterActiveObject failed";
    }
}

FakeHostApp::~FakeHostApp()
{
    if (m_filter) {
        CoRegisterMessageFilter(nullptr, nullptr);
        m_filter->Release();
    }
    if (m_registration)
        RevokeActiveObject(m_registration, nullptr);
    if (m_object) {
        m_object->Release();
        CoUninitialize();
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kProgId);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Classes\\Qorv2.Application");
}

void FakeHostApp::SetFrequency(double hz)
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    m_state.frequency = hz;
}

void FakeHostApp::SetFieldText(const std::string& text)
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    m_state.fieldText = text;
}

void FakeHostApp::SetDelay(DWORD ms)
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    m_state.delay = ms;
}

void FakeHostApp::SetFailing(bool failing)
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    m_state.failing = failing;
}

void FakeHostApp::SetBusy(DWORD ms)
{
    {
        std::lock_guard<HostMutex> lock(m_state.mutex);
        m_state.busySince = GetTickCount();
        m_state.busyMs = ms;
    }
    if (!m_filter) {
        m_filter = new BusyFilter(m_state);
        CoRegisterMessageFilter(m_filter, nullptr);
    }
}

int FakeHostApp::Rejected() const
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    return m_state.rejected;
}

std::vector<std::string> FakeHostApp::Macros() const
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    return m_state.macros;
}

int FakeHostApp::Calls() const
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    return m_state.calls;
}

int FakeHostApp::FieldTextCalls() const
{
    std::lock_guard<HostMutex> lock(m_state.mutex);
    return m_state.fieldTextCalls;
}

void FakeHostApp::PumpFor(DWORD ms)
{
    WaitUntil([] { return false; }, ms);
}
