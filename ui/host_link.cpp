#include "ui/host_link.h"

#include "framework/text_win.h"

namespace {

const DISPID kFrequency = 2, kFieldText = 8, kRunMacro = 16;

} // namespace

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
