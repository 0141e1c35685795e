#include "framework/dispatch_win.h"
#include "framework/text_win.h"

#include <algorithm>
#include <string>
#include <vector>

void COleDispatchDriver::InvokeHelper(DISPID id, WORD flags, VARIANT* result, const VARIANT* args, UINT argc)
{
    if (!m_dispatch)
        return;
    // Automation takes the arguments last first.
    std::vector<VARIANT> reversed(args, args + argc);
    std::reverse(reversed.begin(), reversed.end());
    DISPPARAMS params = {reversed.empty() ? nullptr : reversed.data(), nullptr, argc, 0};
    CExcepInfo error;
    UINT badArg = 0;
    HRESULT hr =
        m_dispatch.Get()->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, error.Out(), &badArg);
    if (SUCCEEDED(hr))
        return;
    std::string what = "The host's automation call " + std::to_string(id) + " failed";
    if (hr == DISP_E_EXCEPTION && error.Get().bstrDescription)
        what += ": " + NarrowFrom(error.Get().bstrDescription);
    throw COleDispatchException(what, hr);
}
