// The plug-in's settings file: "Plugins\BALTIC.ini", section "Settings",
// relative to the host's current directory. This is the one place that
// knows the keys, their defaults and their substitutes, and the one reader
// and writer of the file.
#pragma once
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "framework/lock.h"
#include "framework/profile.h"

// Where the settings live: the section and the file named above.
extern CString& g_iniSection;
extern CString& g_iniFile;

// Both threads read and write the file: its lock makes each read, and each
// read-modify-replace, whole. It is held across the file work only, never
// across a box or a call to the host. Values whose last write failed are
// kept here, and read from here, until the module unloads or a later write
// stores them.
class CSettingsFile {
public:
    CCriticalSection m_lock;
    std::vector<std::pair<std::string, CString>> m_unstored; // by key, as written
};
extern CSettingsFile& g_settingsFile;

namespace settings {

extern const char* const kSetupX;           // Setup window left edge; 0 reads as 10
extern const char* const kSetupY;           // Setup window top edge
extern const char* const kPrevX;            // Previous QSO window left edge; 0 reads as 10
extern const char* const kPrevY;            // Previous QSO window top edge; 0 reads as 400
extern const char* const kMode;             // "CW" or "SSB"; empty reads as "CW"
extern const char* const kSetupWindowOnTop; // "1" or "0"
extern const char* const kSetupViewPrevQso; // "1" or "0"; any non-zero number is on
extern const char* const kStart;            // reset's start flag
extern const char* const kClaimed;          // last claimed score
// Cabrillo header fields.
extern const char* const kOperators;
extern const char* const kLocation;
extern const char* const kName;
extern const char* const kAddress;
extern const char* const kAddressCity;
extern const char* const kAddressPostalCode;
extern const char* const kAddressCountry;
extern const char* const kEmail;
extern const char* const kClub;
extern const char* const kSoapBox;
extern const char* const kCategory;
extern const char* const kPower;
extern const char* const kContest;
extern const char* const kAssisted; // CATEGORY-ASSISTED

// The whole value (no length cut); defaultValue when the key is missing.
CString ReadText(const char* key, const char* defaultValue = "");
// The value as C atoi reads it, with the key's substitute for 0.
int ReadInt(const char* key);
// "Mode" with its default: an empty value reads as "CW".
CString ReadMode();
// Stores the values together, in one replacement of the file, and only
// when one of them changes. False when they could not be stored: they are
// then kept in memory for this load (see CSettingsFile).
bool Write(std::initializer_list<ProfileValue> values);
bool Write(const std::vector<ProfileValue>& values);
bool WriteText(const char* key, const char* value);
bool WriteInt(const char* key, int value);

} // namespace settings
