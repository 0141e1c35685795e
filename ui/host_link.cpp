#include "ui/host_link.h"

#include <vector>

namespace {

const DISPID kFrequency = 2, kFieldText = 8, kRunMacro = 16;

BSTR WideFromAnsi(const char* text)
{
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    BSTR out = SysAllocStringLen(nullptr, static_cast<UINT>(n > 0 ? n - 1 : 0));
    if (out && n > 0)
        MultiByteToWideChar(CP_ACP, 0, text, -1, out, n);
    return out;
}

CString AnsiFromWide(BSTR text)
{
    if (!text)
        return CString();
    const int length = static_cast<int>(SysStringLen(text));
    int n = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::vector<char> out(static_cast<size_t>(n) + 1);
    WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), n, nullptr, nullptr);
    return CString(out.data(), n);
}

} // namespace

bool ConnectToHost()
{
    CLSID id;
    if (FAILED(CLSIDFromProgID(L"Qorv2.Application", &id)))
        return false;
    IUnknown* running = nullptr;
    if (FAILED(GetActiveObject(id, nullptr, &running)) || !running)
        return false;
    IDispatch* dispatch = nullptr;
    HRESULT hr = running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));
    running->Release();
    if (FAILED(hr) || !dispatch)
        return false;
    g_hostApp.AttachDispatch(dispatch);
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
    return result.Get().vt == VT_BSTR ? AnsiFromWide(result.Get().bstrVal) : CString();
}

void RunMacro(const char* text)
{
    CBstr macro(WideFromAnsi(text ? text : ""));
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = macro.Get();
    g_hostApp.InvokeHelper(kRunMacro, DISPATCH_METHOD, nullptr, &arg, 1);
}
