// The platform calls for the native build, behaving as the Windows ones do
// under Wine: Windows file names ('\' between folders), case-insensitive
// names.
#include "framework/platform.h"

#include <dirent.h>
#include <unistd.h>

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

bool FlushToDisk(std::FILE* file)
{
    return fsync(fileno(file)) == 0;
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
