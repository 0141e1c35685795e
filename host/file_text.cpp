#include "host/file_text.h"

#include <fstream>
#include <sstream>

std::string ReadFileText(const std::string& path, bool* opened)
{
    std::ifstream in(path, std::ios::binary);
    if (opened)
        *opened = static_cast<bool>(in);
    if (!in)
        return std::string();
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}
