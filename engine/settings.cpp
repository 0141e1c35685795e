#include "engine/settings.h"

#include <cstdlib>
#include <cstring>

#include "engine/stores.h"
#include "framework/platform.h"

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
const char* const kAssisted = "Assisted";

namespace {

struct Substitute {
    const char* key;
    int forZero;
};
const Substitute kSubstitutes[] = {{kSetupX, 10}, {kPrevX, 10}, {kPrevY, 400}};

// Where the value kept in memory for the key is, else the end. Under the lock.
std::vector<std::pair<std::string, CString>>::iterator Unstored(const char* key)
{
    auto& unstored = g_settingsFile.m_unstored;
    for (auto it = unstored.begin(); it != unstored.end(); ++it)
        if (AnsiCompareNoCase(it->first.c_str(), key) == 0)
            return it;
    return unstored.end();
}

} // namespace

CString ReadText(const char* key, const char* defaultValue)
{
    CSingleLock lock(g_settingsFile.m_lock);
    const auto kept = Unstored(key);
    if (kept != g_settingsFile.m_unstored.end())
        return kept->second;
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

bool Write(const std::vector<ProfileValue>& values)
{
    CSingleLock lock(g_settingsFile.m_lock);
    auto& unstored = g_settingsFile.m_unstored;
    const bool stored = ProfileWrite(g_iniSection, values, g_iniFile);
    for (const ProfileValue& v : values) {
        const auto kept = Unstored(v.key);
        if (stored && kept != unstored.end())
            unstored.erase(kept);
        else if (!stored && kept != unstored.end())
            kept->second = CString(profile::AsRead(v.value.str()));
        else if (!stored)
            unstored.emplace_back(v.key, CString(profile::AsRead(v.value.str())));
    }
    return stored;
}

bool Write(std::initializer_list<ProfileValue> values)
{
    return Write(std::vector<ProfileValue>(values));
}

bool WriteText(const char* key, const char* value)
{
    return Write({{key, CString(value ? value : "")}});
}

bool WriteInt(const char* key, int value)
{
    CString text;
    text.Format("%i", value);
    return WriteText(key, text);
}

} // namespace settings
