// No exception reaches the host: an entry point whose work throws answers
// its fallback and the module goes on working.
#include <doctest.h>

#include <stdexcept>

#include "engine/bad_qso_file.h"
#include "engine/hooks.h"
#include "engine/prev_qso.h"
#include "engine/stores.h"
#include "plugin/exports.h"

namespace {

bool ThrowOnAsk()
{
    throw std::runtime_error("window layer failed");
}

int ThrowOnEdit(const CString&, const COleDateTime*, const COleDateTime*)
{
    throw std::bad_alloc();
}

int CheckCallNow()
{
    char nr[50] = "unchanged";
    return CheckCall0("LY1BB", 0, 0, "CW", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, "LY", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr, nullptr, nullptr, "80m", "80m", nr,
                      nullptr);
}

} // namespace

TEST_CASE("an export whose work throws answers its fallback")
{
    const WindowHooks saved = g_windowHooks;
    const CString badQsoPath = g_badQsoPath;
    g_badQsoPath = "";
    g_windowHooks.isSetupWindowOpen = ThrowOnAsk;
    g_windowHooks.postPrevQsoRefresh = ThrowOnAsk;
    g_windowHooks.editCabrilloHeader = ThrowOnEdit;

    CHECK(CheckCallNow() == 1);
    CHECK(RemoveData0(nullptr, "LY1BB", nullptr, nullptr, nullptr, nullptr, 0, 0, "CW", nullptr, nullptr, nullptr,
                      nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      0, 0, 0, 0.0, 0.0, nullptr, nullptr, nullptr, "80m", nullptr) == 1);
    CHECK(ResetStats0(".\\", 1, "YL2AA", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr, nullptr, "YL", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr) == 1);

    // The same calls work again once the window layer answers.
    g_windowHooks = saved;
    CHECK(CheckCallNow() == 1);
    g_badQsoPath = badQsoPath;
    g_refreshPending = 1;
}
