#include "engine/settings.h"

#include <cstdlib>
#include <cstring>

#include "engine/stores.h"
#include "framework/platform.h"
#include "framework/profile.h"

namespace settings {

const char* const kSetupX = "setup_x";
const char* const kSetupY = "setup_y";
const char* const kPrevX = "prev_x";
const char* const kPrevY = "prev_y";
const char* const kMode = "Mode";
const char* const kSetupWindowOnTop = "setup_window_on_top";
const char* const kSetupViewPrevQso = "setup_view_prev_qso";
const char* const kStart = "Start";
const char* const kClaimed = "Claimed";
const char* const kOperators = "Operators";
const char* const kLocation = "Location";
const char* const kName = "Name";
const char* const kAddress = "Address";
const char* const kAddressCity = "Address-City";
const char* const kAddressPostalCode = "Address-PostalCode";
const char* const kAddressCountry = "Address-Country";
const char* const kEmail = "Email";
const char* const kClub = "Club";
const char* const kSoapBox = "SoapBox";
const char* const kCategory = "Category";
const char* const kPower = "Power";
const char* const kContest = "Contest";

namespace {

struct Substitute {
    const char* key;
    int forZero;
};
const Substitute kSubstitutes[] = {{kSetupX, 10}, {kPrevX, 10}, {kPrevY, 400}};

} // namespace

CString ReadText(const char* key, const char* defaultValue)
{
    return ProfileRead(g_iniSection, key, defaultValue, g_iniFile);
}

int ReadInt(const char* key)
{
    int value = std::atoi(ReadText(key));
    if (value == 0)
        for (const Substitute& s : kSubstitutes)
            if (std::strcmp(s.key, key) == 0)
                return s.forZero;
    return value;
}

CString ReadMode()
{
    CString mode = ReadText(kMode);
    return mode.IsEmpty() ? CString("CW") : mode;
}

void WriteText(const char* key, const char* value)
{
    ProfileWrite(g_iniSection, key, value, g_iniFile);
}

void WriteInt(const char* key, int value)
{
    CString text;
    text.Format("%i", value);
    WriteText(key, text);
}

} // namespace settings
