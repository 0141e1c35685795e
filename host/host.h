// host/ is the host stand-in and owns nothing of the product: it reaches
// the plug-in through plugin/exports.h and resources/resource.h only.
//
// The host stand-in: loads BALTIC.dll and calls its exports exactly as the
// host logger does, with the full parameter blocks.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The host's date-time: an OLE day count and a status (0 valid, 1 invalid, 2 null).
struct HostDate {
    double dt = 0.0;
    int status = 0;
};
static_assert(sizeof(HostDate) == 16, "laid out as the platform date-time");

// The binfmt_misc entry through which this machine runs 32-bit programs
// under a user-mode emulator (seen through Wine's drive Z:), or empty text
// when they run natively: times measured here are then several times longer.
std::string WineEmulator();

// A date-time from calendar parts (no time zone), as the host logger makes it.
HostDate MakeHostDate(int year, int month, int day, int hour = 0, int minute = 0, double second = 0.0);

// One QSO as the host hands it over. Null pointers are allowed for texts
// (set the matching null flag), to test the plug-in's handling of them.
struct HostQso {
    const char* ownCall = "YL2AA";
    const char* call = "LY1BB";
    HostDate time;
    bool nullTime = false; // pass a null date-time pointer
    unsigned int freqHz = 3525000;
    const char* mode = "CW";
    const char* rstSent = "599";
    const char* rstRcvd = "599";
    const char* nrSent = "001";
    const char* nrRcvd = "001";
    const char* country = "LY";
    const char* continent = "EU";
    const char* band = "80m";
};

struct HostReset {
    const char* hostFolder = ".\\";
    int cabrillo = 0;
    const char* myCall = "YL2AA";
    HostDate first, second;
    const char* myCountry = "YL";
    const char* myContinent = "EU";
};

struct HostCheck {
    const char* call = "LY1BB";
    const char* mode = "CW";
    const char* country = "LY";
    const char* continent = "EU";
    const char* band = "80m";
    const char* compareBand = "80m";
    char* nrOut = nullptr;
};

class PluginHost {
public:
    // Loads the DLL; check Loaded() and Error().
    explicit PluginHost(const std::string& dllPath, bool useDecoratedNames = false);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    bool Loaded() const { return m_module != nullptr && m_missing.empty(); }
    const std::string& Error() const { return m_error; }
    // Export names the DLL lacks (plain or decorated, as chosen).
    const std::vector<std::string>& Missing() const { return m_missing; }
    HMODULE Module() const { return m_module; }
    // Unloads now (FreeLibrary), as the host does when it closes.
    void Unload();

    int AddData(const HostQso& q);
    int RemoveData(const HostQso& q);
    int ResetStats(const HostReset& r);
    int CheckCall(const HostCheck& c);
    const char* GetResult(int* status);
    int GetNumberOfSets();
    int GetExchgCount();
    int StatsGetExchgCount(const char* a, const char* b, const char* c);
    const char* GetSetName(int index);
    int IsValidExchg(const char* exchange);
    void SetupSet();
    unsigned int SetVersion(const char* version);

    // The plain and decorated names of every export the host may look up.
    static const std::vector<std::string>& PlainNames();
    static const std::vector<std::string>& DecoratedNames();

private:
    FARPROC Resolve(const char* name);
    int CallQso(int index, const HostQso& q);
    HMODULE m_module = nullptr;
    std::string m_error;
    std::vector<std::string> m_missing;
    bool m_decorated;
};
