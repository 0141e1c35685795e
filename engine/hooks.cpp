#include "engine/hooks.h"

namespace {

bool NoWindowOpen()
{
    return false;
}

bool NothingPosted()
{
    return false;
}

void NothingStarted()
{
}

int HeaderNotEdited(const CString&, const COleDateTime*, const COleDateTime*)
{
    return 0;
}

} // namespace

const WindowHooks kNoWindows = {NoWindowOpen, NothingPosted, NothingStarted, HeaderNotEdited};
