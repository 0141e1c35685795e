#include "support/files.h"

#include <doctest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

namespace fs = std::filesystem;

namespace support {

namespace {

fs::path NativeName(std::string name)
{
#ifndef _WIN32
    for (char& c : name)
        if (c == '\\')
            c = '/';
#endif
    return fs::path(name);
}

// Read-only files too: Windows refuses to delete them until they may be written.
void EmptyFolder(const fs::path& dir)
{
    std::error_code ec;
    for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ec);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        fs::remove_all(it->path(), ec);
}

} // namespace

std::string ExeDir()
{
#ifdef _WIN32
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path);
#else
    std::error_code ec;
    std::string s = fs::read_symlink("/proc/self/exe", ec).string();
#endif
    return s.substr(0, s.find_last_of("\\/") + 1);
}

Scratch::Scratch(const std::string& name, bool plugins) : m_previous(fs::current_path().string())
{
    const fs::path dir = fs::path(ExeDir()) / "scratch" / name;
    std::error_code ec;
    fs::create_directories(dir, ec);
    EmptyFolder(dir);
    if (plugins)
        fs::create_directory(dir / "Plugins", ec);
    fs::current_path(dir, ec);
    REQUIRE_MESSAGE(!ec, "cannot work in " << dir.string() << ": " << ec.message());
    m_path = dir.string();
}

Scratch::~Scratch()
{
    std::error_code ec;
    fs::current_path(m_previous, ec);
}

bool FileExists(const std::string& name)
{
    std::error_code ec;
    return fs::exists(NativeName(name), ec);
}

std::string ReadBytes(const std::string& name)
{
    std::ifstream in(NativeName(name), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& name, const std::string& bytes)
{
    std::ofstream out(NativeName(name), std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    REQUIRE_MESSAGE(out.good(), "cannot write " << name);
}

void RemoveFile(const std::string& name)
{
    std::error_code ec;
    fs::remove(NativeName(name), ec);
}

} // namespace support
