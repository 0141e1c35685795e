#include "host/file_text.h"
#include "host/scp.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// The part of a portable call that is the call itself: the longest.
std::string BaseCall(const std::string& call)
{
    std::string base;
    std::stringstream split(call);
    for (std::string part; std::getline(split, part, '/');)
        if (part.size() > base.size())
            base = part;
    return base;
}

} // namespace

bool CCallList::ReadFile(const std::string& path, std::string& error)
{
    bool opened = false;
    const std::string text = ReadFileText(path, &opened);
    if (!opened) {
        error = path + ": cannot open the file";
        return false;
    }
    Parse(text);
    if (m_calls.empty()) {
        error = path + ": no call in the file";
        return false;
    }
    return true;
}

void CCallList::Parse(const std::string& text)
{
    m_calls.clear();
    m_release.clear();
    std::stringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        const size_t a = line.find_first_not_of(" \t\r");
        if (a == std::string::npos)
            continue;
        const size_t b = line.find_last_not_of(" \t\r");
        line = line.substr(a, b - a + 1);
        if (line[0] == '#') {
            const size_t release = line.find("Release ");
            if (release != std::string::npos && m_release.empty())
                m_release = line.substr(release + 8);
            continue;
        }
        m_calls.insert(Upper(line));
    }
    bool used[256] = {};
    for (const std::string& c : m_calls)
        for (char ch : c)
            used[static_cast<unsigned char>(ch)] = true;
    m_alphabet.clear();
    for (int ch = 0; ch < 256; ++ch)
        if (used[ch])
            m_alphabet += static_cast<char>(ch);
}

// Every string one edit from the call is looked up in the list: about 75
// look-ups a character, against comparing the call with every listed one.
std::vector<std::string> CCallList::Hints(const std::string& rawCall) const
{
    std::vector<std::string> hints;
    const std::string call = Upper(rawCall);
    const std::string base = BaseCall(call);
    if (base.empty() || Contains(call) || Contains(base))
        return hints;
    auto seen = [&](const std::string& candidate) {
        if (Contains(candidate))
            hints.push_back(candidate);
    };
    std::string s;
    for (size_t i = 0; i < base.size(); ++i) {
        s = base;
        s.erase(i, 1); // one dropped
        seen(s);
        for (char ch : m_alphabet) { // one changed
            if (ch == base[i])
                continue;
            s = base;
            s[i] = ch;
            seen(s);
        }
    }
    for (size_t i = 0; i <= base.size(); ++i)
        for (char ch : m_alphabet) { // one added
            s = base;
            s.insert(i, 1, ch);
            seen(s);
        }
    std::sort(hints.begin(), hints.end());
    hints.erase(std::unique(hints.begin(), hints.end()), hints.end());
    return hints;
}
