// The plug-in's settings file: "Plugins\BALTIC.ini", section "Settings",
// relative to the host's current directory. This is the one place that
// knows the keys, their defaults and their substitutes.
#pragma once
#include "framework/str.h"

// Where the settings live: the section and the file named above.
extern CString& g_iniSection;
extern CString& g_iniFile;

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

// The whole value (no length cut); defaultValue when the key is missing.
CString ReadText(const char* key, const char* defaultValue = "");
// The value as C atoi reads it, with the key's substitute for 0.
int ReadInt(const char* key);
// "Mode" with its default: an empty value reads as "CW".
CString ReadMode();
// Failures are ignored, as a lost write of a setting is harmless.
void WriteText(const char* key, const char* value);
void WriteInt(const char* key, int value);

} // namespace settings
