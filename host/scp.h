// A Super Check Partial list (MASTER.SCP): calls active in contests, one a
// line, '#' lines are comments. hostsim names each worked call that is not
// in the list but one character from a call that is: possibly busted.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

class CCallList {
public:
    // On failure `error` names the file and why.
    bool ReadFile(const std::string& path, std::string& error);
    void Parse(const std::string& text);

    bool Contains(const std::string& call) const { return m_calls.count(call) != 0; }
    size_t Size() const { return m_calls.size(); }
    // "2023.05.02.00" from the file's "# Release ..." comment, else empty.
    const std::string& Release() const { return m_release; }

    // The calls of the list one character from `call` (one changed, added
    // or dropped), sorted; none when the call itself is in the list. A
    // portable call ("LY/SM5XYZ", "SM5XYZ/P") is taken by its longest part.
    std::vector<std::string> Hints(const std::string& call) const;

private:
    std::unordered_set<std::string> m_calls;
    std::string m_alphabet; // every character the list's calls use
    std::string m_release;
};
