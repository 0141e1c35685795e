// The platform calls for the native build, behaving as the Windows ones do
// under Wine: Windows file names ('\' between folders), case-insensitive
// names, private-profile files read and rewritten the way Wine does it.
#include "framework/platform.h"

#include <dirent.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "framework/handle.h"
#include "framework/native_boxes.h"

namespace {

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

// A relative name resolves against the current directory, whatever
// separator it uses.
std::string NativeName(const char* name)
{
    std::string s = name ? name : "";
    for (char& c : s)
        if (c == '\\')
            c = '/';
    return s;
}

const char* const kBlanks = " \t";

std::string TrimLeft(const std::string& s)
{
    size_t first = s.find_first_not_of(kBlanks);
    return first == std::string::npos ? std::string() : s.substr(first);
}

std::string Trim(const std::string& s)
{
    std::string t = TrimLeft(s);
    return t.substr(0, t.find_last_not_of(kBlanks) + 1);
}

// False when the file exists but cannot be read; a missing file reads empty.
bool ReadWhole(const std::string& name, std::string& bytes)
{
    bytes.clear();
    FILE* f = std::fopen(name.c_str(), "rb");
    if (!f)
        return errno == ENOENT;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        bytes.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool WriteWhole(const std::string& name, const std::string& bytes)
{
    FILE* f = std::fopen(name.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// A private-profile file as Wine holds it: sections of entries, blank lines
// dropped, names and values trimmed. A line without '=' is an entry without
// a value (a comment, say), kept as it is. Entries before the first section
// header belong to a section without a name.
struct IniEntry {
    std::string name;
    bool hasValue;
    std::string value;
};

struct IniSection {
    std::string name;
    std::vector<IniEntry> entries;
};

using IniFile = std::vector<IniSection>;

IniFile ParseIni(const std::string& bytes)
{
    IniFile ini(1);
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = bytes.size();
        std::string line = Trim(bytes.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty())
            continue;
        size_t close = line.rfind(']');
        size_t eq = line.find('=');
        if (line[0] == '[' && close != std::string::npos)
            ini.push_back(IniSection{Trim(line.substr(1, close - 1)), {}});
        else if (eq == std::string::npos)
            ini.back().entries.push_back(IniEntry{line, false, std::string()});
        else
            ini.back().entries.push_back(IniEntry{Trim(line.substr(0, eq)), true, Trim(line.substr(eq + 1))});
    }
    return ini;
}

// Every line ends in CR LF, whatever the file had.
std::string FormatIni(const IniFile& ini)
{
    std::string out;
    for (size_t i = 0; i < ini.size(); ++i) {
        if (i > 0)
            out += "[" + ini[i].name + "]\r\n";
        for (const IniEntry& e : ini[i].entries)
            out += e.hasValue ? e.name + "=" + e.value + "\r\n" : e.name + "\r\n";
    }
    return out;
}

// The first section of that name; later ones of the same name are never seen.
IniSection* FindSection(IniFile& ini, const char* name)
{
    for (size_t i = 1; i < ini.size(); ++i)
        if (EqualNoCase(ini[i].name, Trim(name)))
            return &ini[i];
    return nullptr;
}

IniEntry* FindEntry(IniSection& section, const char* name)
{
    for (IniEntry& e : section.entries)
        if (EqualNoCase(e.name, Trim(name)))
            return &e;
    return nullptr;
}

// A value in matching quotes (either kind) comes back without them.
std::string Unquote(const std::string& s)
{
    if (s.size() >= 2 && (s[0] == '"' || s[0] == '\'') && s.back() == s[0])
        return s.substr(1, s.size() - 2);
    return s;
}

struct DirTraits {
    static DIR* Invalid() { return nullptr; }
    static void Close(DIR* d) { closedir(d); }
};
using CDirHandle = CHandle<DIR*, DirTraits>;

// '*' matches any run of characters, '?' any one; letters match in either case.
bool MatchesWildcard(const char* mask, const char* name)
{
    const char* star = nullptr;
    const char* retry = nullptr;
    while (*name) {
        if (*mask == '*') {
            star = mask++;
            retry = name;
        } else if (*mask == '?' || FoldCase(*mask) == FoldCase(*name)) {
            ++mask;
            ++name;
        } else if (star) {
            mask = star + 1;
            name = ++retry;
        } else {
            return false;
        }
    }
    while (*mask == '*')
        ++mask;
    return *mask == '\0';
}

std::mutex g_boxesMutex;
std::vector<RecordedMessageBox> g_boxes;

} // namespace

int AnsiCompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const int ca = static_cast<unsigned char>(FoldCase(*a));
        const int cb = static_cast<unsigned char>(FoldCase(*b));
        if (ca != cb || !ca)
            return ca - cb;
    }
}

// The settings file is read and rewritten whole from both threads; like
// the Windows profile calls, one at a time in the process.
static std::mutex g_profileMutex;

CString ProfileRead(const char* section, const char* key, const char* defaultValue, const char* file)
{
    std::lock_guard<std::mutex> lock(g_profileMutex);
    // Trailing blanks of the default go, as Windows drops them.
    std::string value = defaultValue ? defaultValue : "";
    value.erase(value.find_last_not_of(' ') + 1);
    std::string bytes;
    if (section && key && ReadWhole(NativeName(file), bytes)) {
        IniFile ini = ParseIni(bytes);
        IniSection* s = FindSection(ini, section);
        IniEntry* e = s ? FindEntry(*s, key) : nullptr;
        if (e && e->hasValue)
            value = e->value;
    }
    return CString(Unquote(value));
}

// As WritePrivateProfileString: a null value removes the key, a null key the
// section. A write that changes nothing leaves the file untouched; any other
// rewrites it whole, so a missing folder fails and creates nothing.
bool ProfileWrite(const char* section, const char* key, const char* value, const char* file)
{
    std::lock_guard<std::mutex> lock(g_profileMutex);
    const std::string name = NativeName(file);
    std::string bytes;
    if (!section || !ReadWhole(name, bytes))
        return false;
    IniFile ini = ParseIni(bytes);
    IniSection* s = FindSection(ini, section);
    if (!key) {
        if (!s)
            return true;
        ini.erase(ini.begin() + (s - ini.data()));
    } else if (!value) {
        IniEntry* e = s ? FindEntry(*s, key) : nullptr;
        if (!e)
            return true;
        s->entries.erase(s->entries.begin() + (e - s->entries.data()));
    } else {
        // Leading blanks of the value are not written.
        const std::string text = TrimLeft(value);
        if (!s) {
            ini.push_back(IniSection{Trim(section), {}});
            s = &ini.back();
        }
        IniEntry* e = FindEntry(*s, key);
        if (e && e->hasValue && e->value == text)
            return true;
        if (e) {
            e->hasValue = true;
            e->value = text;
        } else {
            s->entries.push_back(IniEntry{Trim(key), true, text});
        }
    }
    return WriteWhole(name, FormatIni(ini));
}

bool ReplaceFileWith(const char* source, const char* target)
{
    return std::rename(NativeName(source).c_str(), NativeName(target).c_str()) == 0;
}

void ForEachFileName(const char* pattern, const std::function<bool(const char* name)>& visit)
{
    const std::string path = NativeName(pattern);
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash + 1);
    const std::string mask = slash == std::string::npos ? path : path.substr(slash + 1);
    if (mask.empty())
        return;
    CDirHandle dir(opendir(folder.c_str()));
    if (!dir)
        return;
    // "." and ".." are listed too, as a search on Windows lists them.
    while (const dirent* entry = readdir(dir.Get())) {
        if (MatchesWildcard(mask.c_str(), entry->d_name) && !visit(entry->d_name))
            break;
    }
}

void DebugTrace(const char* text)
{
    if (std::getenv("BALTIC_TRACE"))
        std::fprintf(stderr, "%s\n", text ? text : "");
}

int ShowMessageBox(const char* text, const char* caption, unsigned style)
{
    // Windows captions a box without a caption "Error".
    RecordedMessageBox box{text ? text : "", caption ? caption : "Error", style};
    std::fprintf(stderr, "message box \"%s\": %s\n", box.caption.c_str(), box.text.c_str());
    std::lock_guard<std::mutex> lock(g_boxesMutex);
    g_boxes.push_back(box);
    return 1; // IDOK
}

void KeepModuleForProcess() {}

std::vector<RecordedMessageBox> RecordedMessageBoxes()
{
    std::lock_guard<std::mutex> lock(g_boxesMutex);
    return g_boxes;
}
