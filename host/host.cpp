#include "host/host.h"

#include <cmath>
#include <cstdio>

namespace {

typedef const char* T;
typedef int(__cdecl* QsoFn)(T, T, HostDate*, HostDate*, HostDate*, HostDate*, unsigned, unsigned, T, T, T, T, T, T,
                             T, T, T, T, T, T, T, T, T, int, int, int, double, double, T, T, T, T, T);
typedef int(__cdecl* ResetFn)(T, int, T, HostDate*, HostDate*, T, T, T, T, T, T, T, T, T, T, int, int, int, double,
                              double, T, T, T);
typedef int(__cdecl* CheckFn)(T, unsigned, unsigned, T, T, T, T, T, T, T, T, T, T, T, int, int, int, double, double,
                              T, T, T, T, T, T, T, char*, char*);
typedef const char*(__cdecl* ResultFn)(int*);
typedef int(__cdecl* CountFn)();
typedef int(__cdecl* Count3Fn)(T, T, T);
typedef const char*(__cdecl* SetNameFn)(int);
typedef int(__cdecl* ExchgFn)(T, T, T, T, int, int, int);
typedef void(__cdecl* VoidFn)();
typedef unsigned(__cdecl* VersionFn)(T);

enum Index { kAdd, kRemove, kReset, kCheck, kResult, kExchgCount, kNumberOfSets, kStatsExchgCount, kSetName, kValid, kSetup, kVersion };

// The host fills the parameters it does not care about with something, too.
const char* const kFiller = "";

long long DaysFromCivil(int y, int m, int d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468; // days since 1970-01-01
}

} // namespace

std::string WineEmulator()
{
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA("Z:\\proc\\sys\\fs\\binfmt_misc\\*", &d);
    if (h == INVALID_HANDLE_VALUE)
        return std::string();
    std::string entry;
    do {
        std::string path = std::string("Z:\\proc\\sys\\fs\\binfmt_misc\\") + d.cFileName;
        FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            continue;
        char buf[512] = "";
        size_t got = std::fread(buf, 1, sizeof buf - 1, f);
        std::fclose(f);
        buf[got] = '\0';
        const std::string text(buf);
        if (text.compare(0, 7, "enabled") == 0 && text.find("qemu-i386") != std::string::npos)
            entry = d.cFileName;
    } while (entry.empty() && FindNextFileA(h, &d));
    FindClose(h);
    return entry;
}

HostDate MakeHostDate(int year, int month, int day, int hour, int minute, double second)
{
    // 1899-12-30 is day 0; 1970-01-01 is day 25569.
    long long days = DaysFromCivil(year, month, day) + 25569;
    double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    HostDate d;
    // Before day 0 the fraction still counts forward from midnight, away from zero.
    d.dt = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
    return d;
}

const std::vector<std::string>& PluginHost::PlainNames()
{
    static const std::vector<std::string> names = {
        "AddData0",        "RemoveData0", "ResetStats0",     "CheckCall0", "GetResult0", "GetExchgCount0",
        "GetNumberOfSets", "GetExchgCount0", "GetSetName", "IsValidExchg0", "SetupSet0",  "setVersion"};
    return names;
}

const std::vector<std::string>& PluginHost::DecoratedNames()
{
    static const std::vector<std::string> names = {
        "?AddData0@@YAHPBD0PAVCOleDateTime@@111II000000000000000HHHNN00000@Z",
        "?RemoveData0@@YAHPBD0PAVCOleDateTime@@111II000000000000000HHHNN00000@Z",
        "?ResetStats0@@YAHPBDH0PAVCOleDateTime@@10000000000HHHNN000@Z",
        "?CheckCallFunc0@@YAHPBDII00000000000HHHNN0000000PAD1@Z",
        "?GetResult0@@YAPBDPAH@Z",
        "?GetNumberOfSets@@YAHXZ",
        "?GetNumberOfSets@@YAHXZ",
        "?StatsGetExchgCount0@@YAHPBD00@Z",
        "?GetSetName@@YAPBDH@Z",
        "?StatsIsValidExchg0@@YAHPBD000HHH@Z",
        "?SetupSet0@@YAXXZ",
        "?setVersion@@YAIPBD@Z"};
    return names;
}

PluginHost::PluginHost(const std::string& dllPath, bool useDecoratedNames) : m_decorated(useDecoratedNames)
{
    m_module = LoadLibraryA(dllPath.c_str());
    if (!m_module) {
        m_error = "cannot load " + dllPath + " (error " + std::to_string(GetLastError()) + ")";
        return;
    }
    const std::vector<std::string>& names = m_decorated ? DecoratedNames() : PlainNames();
    for (const std::string& n : names)
        if (!GetProcAddress(m_module, n.c_str()))
            m_missing.push_back(n);
    if (!m_missing.empty())
        m_error = "missing export " + m_missing.front();
}

PluginHost::~PluginHost()
{
    Unload();
}

void PluginHost::Unload()
{
    if (m_module) {
        FreeLibrary(m_module);
        m_module = nullptr;
    }
}

FARPROC PluginHost::Resolve(const char* name)
{
    return m_module ? GetProcAddress(m_module, name) : nullptr;
}

#define HOST_FN(type, index) \
    reinterpret_cast<type>(reinterpret_cast<void*>(Resolve((m_decorated ? DecoratedNames() : PlainNames())[index].c_str())))

int PluginHost::AddData(const HostQso& q)
{
    return CallQso(kAdd, q);
}

int PluginHost::RemoveData(const HostQso& q)
{
    return CallQso(kRemove, q);
}

int PluginHost::CallQso(int index, const HostQso& q)
{
    HostDate t = q.time, other = q.time;
    const char* f = kFiller;
    return HOST_FN(QsoFn, index)(q.ownCall, q.call, q.nullTime ? nullptr : &t, &other, &other, &other, 0, q.freqHz,
                                 q.mode, q.rstSent, q.rstRcvd, q.nrSent, q.nrRcvd, f, f, f, f, f, f, f, f, f,
                                 q.country, 0, 0, 0, 0.0, 0.0, f, q.continent, f, q.band, f);
}

int PluginHost::ResetStats(const HostReset& r)
{
    HostDate first = r.first, second = r.second;
    const char* f = kFiller;
    return HOST_FN(ResetFn, kReset)(r.hostFolder, r.cabrillo, r.myCall, &first, &second, f, f, f, f, f, f, f, f, f,
                                    r.myCountry, 0, 0, 0, 0.0, 0.0, f, r.myContinent, f);
}

int PluginHost::CheckCall(const HostCheck& c)
{
    const char* f = kFiller;
    return HOST_FN(CheckFn, kCheck)(c.call, 0, 0, c.mode, f, f, f, f, f, f, f, f, f, c.country, 0, 0, 0, 0.0, 0.0,
                                    f, c.continent, f, f, f, c.band, c.compareBand, c.nrOut, nullptr);
}

const char* PluginHost::GetResult(int* status)
{
    return HOST_FN(ResultFn, kResult)(status);
}

int PluginHost::GetNumberOfSets()
{
    return HOST_FN(CountFn, kNumberOfSets)();
}

int PluginHost::GetExchgCount()
{
    return HOST_FN(CountFn, kExchgCount)();
}

int PluginHost::StatsGetExchgCount(const char* a, const char* b, const char* c)
{
    // The plain export takes no parameters; the decorated one takes three texts.
    FARPROC p = Resolve(m_decorated ? DecoratedNames()[kStatsExchgCount].c_str() : "GetExchgCount0");
    return reinterpret_cast<Count3Fn>(reinterpret_cast<void*>(p))(a, b, c);
}

const char* PluginHost::GetSetName(int index)
{
    return HOST_FN(SetNameFn, kSetName)(index);
}

int PluginHost::IsValidExchg(const char* exchange)
{
    return HOST_FN(ExchgFn, kValid)(exchange, "", "", "", 0, 0, 0);
}

void PluginHost::SetupSet()
{
    HOST_FN(VoidFn, kSetup)();
}

unsigned int PluginHost::SetVersion(const char* version)
{
    return HOST_FN(VersionFn, kVersion)(version);
}
