#include "host/workdir.h"

#include <fstream>

#include "host/file_text.h"
#include "baltic_version.h"

namespace {

const char* const kVersionFile = "Qorv2.ini";
const char* const kPlugins = "Plugins";
const char* const kSettings = "Plugins\\BALTIC.ini";

std::string SystemMessage(DWORD code)
{
    char* text = nullptr;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string s = text ? text : "";
    LocalFree(text);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ' || s.back() == '.'))
        s.pop_back();
    return s.empty() ? "error " + std::to_string(code) : s;
}

// Can a new file be made in the folder? Tried with a file that is gone
// when its handle closes.
bool CanWriteIn(const std::string& folder, DWORD& code)
{
    const std::string probe = folder + "hostsim-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        code = GetLastError();
        return false;
    }
    CloseHandle(h);
    return true;
}

} // namespace

bool CWorkFolder::IsOwnVersionFile(const std::string& text)
{
    const size_t end = text.find("\r\n");
    return text.compare(0, 5, "Qorv=") == 0 && end != std::string::npos && text == VersionFileText(text.substr(5, end - 5));
}

std::string CWorkFolder::VersionFileText(const std::string& version)
{
    return "Qorv=" + version + "\r\n; written by hostsim for the plug-in's reset, and removed after it\r\n";
}

CWorkFolder::~CWorkFolder()
{
    RemoveVersionFile();
}

bool CWorkFolder::Prepare(const std::string& hostVersion, std::string& error)
{
    char cwd[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, cwd);
    m_path = n > 0 && n < MAX_PATH ? std::string(cwd, n) : std::string(".");
    if (m_path.back() != '\\')
        m_path += '\\';
    m_version = hostVersion;
    const std::string tryElsewhere = "; start hostsim in a folder of its own that you can write to";

    if (!m_version.empty()) {
        const std::string version = m_path + kVersionFile;
        const DWORD a = GetFileAttributesA(version.c_str());
        if (a != INVALID_FILE_ATTRIBUTES && ((a & FILE_ATTRIBUTE_DIRECTORY) || !IsOwnVersionFile(ReadFileText(version)))) {
            error = version + " is there and hostsim did not write it: it is the host's version file, "
                              "which hostsim leaves alone (this is the host's own folder)" + tryElsewhere;
            return false;
        }
    }
    DWORD code = 0;
    if (!CanWriteIn(m_path, code)) {
        error = "cannot write in " + m_path + " (" + SystemMessage(code) +
                "): the plug-in writes the bad-QSO file, the Cabrillo log and " + kSettings + " there" + tryElsewhere;
        return false;
    }
    const std::string plugins = m_path + kPlugins;
    const DWORD a = GetFileAttributesA(plugins.c_str());
    if (a == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryA(plugins.c_str(), nullptr)) {
            error = "cannot make the folder " + plugins + " (" + SystemMessage(GetLastError()) +
                    "), where the plug-in keeps its settings" + tryElsewhere;
            return false;
        }
    } else if (!(a & FILE_ATTRIBUTE_DIRECTORY)) {
        error = plugins + " is a file, not a folder: the plug-in keeps its settings in " + m_path + kSettings +
                tryElsewhere;
        return false;
    } else if (!CanWriteIn(plugins + "\\", code)) {
        error = "cannot write in " + plugins + "\\ (" + SystemMessage(code) +
                "): the plug-in keeps its settings there, and the Cabrillo header would be lost" + tryElsewhere;
        return false;
    }
    // The plug-in writes its settings beside the file and puts them in its place.
    const std::string settings = m_path + kSettings;
    const DWORD s = GetFileAttributesA(settings.c_str());
    if (s != INVALID_FILE_ATTRIBUTES) {
        HANDLE h = (s & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
                       ? INVALID_HANDLE_VALUE
                       : CreateFileA(settings.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const std::string why = (s & FILE_ATTRIBUTE_DIRECTORY) ? "it is a folder"
                                    : (s & FILE_ATTRIBUTE_READONLY) ? "it is read-only"
                                                                    : SystemMessage(GetLastError());
            error = "the plug-in's settings file " + settings + " cannot be written (" + why +
                    "), and the Cabrillo header would be lost; make it writable, or close the program that holds it";
            return false;
        }
        CloseHandle(h);
    }
    m_before = Snapshot();
    return true;
}

bool CWorkFolder::WriteVersionFile(std::string& error)
{
    const std::string name = m_path + kVersionFile;
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << VersionFileText(m_version);
    out.close();
    m_versionWritten = true; // whatever made it, it is removed after the reset
    if (!out) {
        error = "cannot write " + name;
        RemoveVersionFile();
        return false;
    }
    return true;
}

void CWorkFolder::RemoveVersionFile()
{
    if (m_versionWritten) {
        DeleteFileA((m_path + kVersionFile).c_str());
        m_versionWritten = false;
    }
}

namespace {

const char* const kCopySuffix = ".bak-new";

} // namespace

bool CWorkFolder::KeepCopies(const std::vector<std::string>& names, std::string& error)
{
    for (const std::string& name : names) {
        const std::string path = m_path + name;
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            continue;
        if (!CopyFileA(path.c_str(), (path + kCopySuffix).c_str(), FALSE)) {
            error = "cannot keep a copy of " + path + " as " + name + kCopySuffix + " before replacing it (" +
                    SystemMessage(GetLastError()) + "): nothing written";
            for (const std::string& kept : m_kept)
                DeleteFileA((m_path + kept + kCopySuffix).c_str());
            m_kept.clear();
            return false;
        }
        m_kept.push_back(name);
    }
    return true;
}

std::vector<std::string> CWorkFolder::KeepBackups(std::vector<std::string>& problems)
{
    std::vector<std::string> backups;
    for (const std::string& name : m_kept) {
        const std::string path = m_path + name, copy = path + kCopySuffix;
        if (ReadFileText(path) == ReadFileText(copy)) {
            DeleteFileA(copy.c_str());
        } else if (MoveFileExA(copy.c_str(), (path + ".bak").c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            backups.push_back(name + ".bak");
        } else {
            problems.push_back("the earlier " + name + " is kept as " + name + kCopySuffix + ", not as " + name +
                               ".bak (" + SystemMessage(GetLastError()) + ")");
        }
    }
    m_kept.clear();
    return backups;
}

bool ReplaceWholeFile(const std::string& name, const std::string& bytes, std::string& error)
{
    const std::string temp = name + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.close();
        if (!out) {
            error = "cannot write " + temp;
            DeleteFileA(temp.c_str());
            return false;
        }
    }
    if (!MoveFileExA(temp.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = SystemMessage(GetLastError());
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

std::map<std::string, CWorkFolder::Stamp> CWorkFolder::Snapshot() const
{
    std::map<std::string, Stamp> files;
    for (const std::string& sub : {std::string(), std::string(kPlugins) + "\\"}) {
        WIN32_FIND_DATAA d;
        HANDLE h = FindFirstFileA((m_path + sub + "*").c_str(), &d);
        if (h == INVALID_HANDLE_VALUE)
            continue;
        do {
            if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            Stamp st;
            st.size = (static_cast<ULONGLONG>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
            st.written = d.ftLastWriteTime;
            files[sub + d.cFileName] = st;
        } while (FindNextFileA(h, &d));
        FindClose(h);
    }
    return files;
}

std::vector<std::string> CWorkFolder::Written() const
{
    std::vector<std::string> written;
    for (const auto& now : Snapshot()) {
        auto was = m_before.find(now.first);
        if (was == m_before.end() || was->second.size != now.second.size ||
            CompareFileTime(&was->second.written, &now.second.written) != 0)
            written.push_back(now.first);
    }
    return written;
}

bool CheckPluginDll(const std::string& path, std::string& error)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) {
        error = "no plug-in at " + path;
        return false;
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    std::string block(size, '\0');
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, &block[0]) ||
        !VerQueryValueA(&block[0], "\\", reinterpret_cast<void**>(&info), &length) || length < sizeof *info) {
        error = path + " has no version block: it is not the plug-in of this hostsim (" BALTIC_VERSION_TEXT ")";
        return false;
    }
    const unsigned major = HIWORD(info->dwFileVersionMS), minor = LOWORD(info->dwFileVersionMS),
                   patch = HIWORD(info->dwFileVersionLS);
    if (major != BALTIC_VERSION_MAJOR || minor != BALTIC_VERSION_MINOR || patch != BALTIC_VERSION_PATCH) {
        error = path + " is version " + std::to_string(major) + "." + std::to_string(minor) + "." +
                std::to_string(patch) + ", this hostsim is " BALTIC_VERSION_TEXT
                ": use the BALTIC.dll and hostsim.exe of one release";
        return false;
    }
    return true;
}
