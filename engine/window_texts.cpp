#include "engine/window_texts.h"

#include "engine/contest.h"
#include "engine/stores.h"

WindowTextInputs CurrentWindowTextInputs()
{
    CSingleLock lock(g_storeLock);
    WindowTextInputs in;
    in.year = g_contestYear;
    in.russian = g_russianUi != 0;
    return in;
}

CString WithYear(const char* format, const CString& call)
{
    CString text;
    text.Format(format, CurrentWindowTextInputs().year.GetString(), call.GetString());
    return text;
}
