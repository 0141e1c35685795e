// Shared set-up for the engine's end-to-end tests: a scratch folder of its
// own for each test, the files the plug-in writes read back byte for byte,
// and the few host calls the host stand-in does not offer (null pointers).
#pragma once
#include <windows.h>

#include <doctest.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "host/host.h"

namespace fx {

const char* const kHeader = "BALTIC CW/SSB TEST UBN file ";
const char* const kBadFile = "BadQSO_RirezIzeruz_04_05_2019.txt";
const char* const kIniFile = "Plugins\\BALTIC.ini";

inline std::string ExeDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of("\\/") + 1);
}

inline std::string DllPath()
{
    return ExeDir() + "BALTIC.dll";
}

// Deletes every file below dir (read-only ones too) and the folders in it.
inline void EmptyFolder(const std::string& dir)
{
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return;
    do {
        std::string name = d.cFileName;
        if (name == "." || name == "..")
            continue;
        std::string full = dir + "\\" + name;
        if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            EmptyFolder(full);
            RemoveDirectoryA(full.c_str());
        } else {
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(full.c_str());
        }
    } while (FindNextFileA(h, &d));
    FindClose(h);
}

// A fresh, empty folder under the test program's folder, made current for
// the life of the object (with a "Plugins" folder unless asked otherwise).
class Scratch {
public:
    explicit Scratch(const std::string& name, bool plugins = true)
    {
        char prev[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, prev);
        m_prev = prev;
        std::string root = ExeDir() + "scratch";
        CreateDirectoryA(root.c_str(), nullptr);
        m_path = root + "\\" + name;
        CreateDirectoryA(m_path.c_str(), nullptr);
        EmptyFolder(m_path);
        if (plugins)
            CreateDirectoryA((m_path + "\\Plugins").c_str(), nullptr);
        REQUIRE(SetCurrentDirectoryA(m_path.c_str()));
    }
    ~Scratch() { SetCurrentDirectoryA(m_prev.c_str()); }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_prev, m_path;
};

inline bool FileExists(const std::string& name)
{
    return GetFileAttributesA(name.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The file's bytes; "<missing>" when it cannot be read.
inline std::string ReadBytes(const std::string& name)
{
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string out;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0)
        out.append(buf, n);
    CloseHandle(h);
    return out;
}

inline void WriteBytes(const std::string& name, const std::string& bytes)
{
    HANDLE h = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    REQUIRE(h != INVALID_HANDLE_VALUE);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

// The bad-QSO file as it must read: the header, then the lines, CR LF each.
inline std::string BadFile(std::initializer_list<std::string> lines)
{
    std::string out = std::string(kHeader) + "\r\n";
    for (const std::string& l : lines)
        out += l + "\r\n";
    return out;
}

inline void SetStart(const char* value)
{
    WritePrivateProfileStringA("Settings", "Start", value, kIniFile);
}

// The host's version file in the current folder.
inline void WriteHostVersion(const std::string& version)
{
    WriteBytes("Qorv2.ini", "[Main]\r\nQorv=" + version + "\r\n");
}

inline HostDate ContestDay()
{
    return MakeHostDate(2019, 5, 4);
}

inline HostReset ContestReset()
{
    HostReset r;
    r.first = MakeHostDate(2019, 5, 4, 12, 0);
    r.second = ContestDay();
    return r;
}

// A reset that leaves the Setup window shut: "Start" is 1 beforehand, so
// the reset only clears it.
inline int Reset(PluginHost& host, HostReset r = ContestReset())
{
    SetStart("1");
    return host.ResetStats(r);
}

// One QSO of LY1BB on 3525 kHz, CW, 80m, numbers 001/001, at the given time
// on the contest day.
inline HostQso Qso(const char* call = "LY1BB", int hour = 21, int minute = 30, double second = 0.0)
{
    HostQso q;
    q.call = call;
    q.time = MakeHostDate(2019, 5, 4, hour, minute, second);
    return q;
}

// The totals of the text report: "Total ..." through "Bad QSO ..." lines.
inline std::string Totals(PluginHost& host)
{
    int status = 0;
    std::string text = host.GetResult(&status);
    size_t from = text.find("Total\t");
    size_t to = text.find("\r\n\r\nLast QSO", from);
    if (from == std::string::npos || to == std::string::npos)
        return "<no totals in: " + text + ">";
    return text.substr(from, to - from);
}

// Whether the report lists a row for the band.
inline bool ReportHasBand(PluginHost& host, const std::string& band)
{
    int status = 0;
    std::string text = host.GetResult(&status);
    return text.find("\r\n" + band + "\t ") != std::string::npos;
}

// CheckCall0 with an output buffer pre-filled with '#'; out receives the
// buffer's text ("########..." cut to 60 when untouched).
struct CheckOutcome {
    int result;
    std::string text;
    bool operator==(const CheckOutcome& o) const { return result == o.result && text == o.text; }
};

inline doctest::String toString(const CheckOutcome& c)
{
    return (std::to_string(c.result) + " \"" + c.text + "\"").c_str();
}

const char* const kUntouched = "<untouched>";

inline CheckOutcome Check(PluginHost& host, const char* call, const char* mode = "CW", const char* band = "80m",
                          const char* compareBand = "80m")
{
    char buf[60];
    std::memset(buf, '#', sizeof buf);
    HostCheck c;
    c.call = call;
    c.mode = mode;
    c.band = band;
    c.compareBand = compareBand;
    c.nrOut = buf;
    int r = host.CheckCall(c);
    std::string text = buf[0] == '#' ? std::string(kUntouched) : std::string(buf, strnlen(buf, sizeof buf));
    return CheckOutcome{r, text};
}

// ResetStats0 with any of its pointers null, which the host stand-in does
// not offer.
typedef int(__cdecl* RawResetFn)(const char*, int, const char*, HostDate*, HostDate*, const char*, const char*,
                                 const char*, const char*, const char*, const char*, const char*, const char*,
                                 const char*, const char*, int, int, int, double, double, const char*, const char*,
                                 const char*);

inline int RawReset(PluginHost& host, const char* folder, const char* call, HostDate* first, HostDate* second,
                    const char* country, const char* continent)
{
    FARPROC p = GetProcAddress(host.Module(), "ResetStats0");
    bool found = p != nullptr;
    REQUIRE(found);
    RawResetFn fn;
    std::memcpy(&fn, &p, sizeof fn);
    SetStart("1");
    return fn(folder, 0, call, first, second, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
              nullptr, country, 0, 0, 0, 0.0, 0.0, nullptr, continent, nullptr);
}

// While alive, answers any dialog box this process opens with Cancel, so
// that a modal window shown by a reset cannot stall a test.
class DialogCanceller {
public:
    DialogCanceller() : m_thread([this] { Run(); }) {}
    ~DialogCanceller()
    {
        m_stop = true;
        m_thread.join();
    }

private:
    static BOOL CALLBACK Visit(HWND w, LPARAM)
    {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        char cls[16] = {};
        GetClassNameA(w, cls, sizeof cls);
        if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::strcmp(cls, "#32770") == 0)
            PostMessageA(w, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    void Run()
    {
        while (!m_stop) {
            EnumWindows(Visit, 0);
            Sleep(20);
        }
    }
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace fx
