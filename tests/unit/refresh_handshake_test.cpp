// The refresh handshake between the host's thread and the Setup window:
// call checks request at most one refresh until it is done; a removal
// always requests one; nothing is posted while no window exists.
#include <doctest.h>

#include "engine/bad_qso_file.h"
#include "engine/hooks.h"
#include "engine/prev_qso.h"
#include "engine/qso_ops.h"
#include "engine/stores.h"
#include "framework/scope_exit.h"

namespace {

bool g_open = false;
int g_refreshes = 0;

bool WindowOpen()
{
    return g_open;
}

bool CountPost()
{
    if (!g_open)
        return false;
    ++g_refreshes;
    return true;
}

CallCheckArgs Check()
{
    CallCheckArgs c;
    c.call = "LY1BB";
    c.mode = "CW";
    c.band = "80m";
    c.compareBand = "80m";
    return c;
}

} // namespace

TEST_CASE("call checks request one refresh at a time; a removal requests another")
{
    const auto restore = MakeScopeExit([hooks = g_windowHooks, badQsoPath = g_badQsoPath] {
        g_windowHooks = hooks;
        g_refreshPending = 1;
        g_badQsoPath = badQsoPath;
    });
    g_windowHooks.isSetupWindowOpen = WindowOpen;
    g_windowHooks.postPrevQsoRefresh = CountPost;
    g_open = false;
    g_refreshes = 0;
    g_refreshPending = 1;
    g_badQsoPath = ""; // removals here touch no file

    // No window yet: nothing is posted and the request stays pending.
    CheckCall(Check());
    CHECK(g_refreshes == 0);
    CHECK(g_refreshPending == 1);

    g_open = true;
    for (int i = 0; i < 3; ++i)
        CheckCall(Check());
    CHECK(g_refreshes == 1);
    CHECK(g_refreshPending == 0);

    QsoArgs removal;
    removal.call = "NOBODY";
    RemoveQso(removal);
    CHECK(g_refreshes == 2);
    CHECK(g_refreshPending == 1);
    CheckCall(Check());
    CheckCall(Check());
    CHECK(g_refreshes == 3);

    // Once the window is gone, a removal posts nothing.
    g_open = false;
    RemoveQso(removal);
    CHECK(g_refreshes == 3);
}
