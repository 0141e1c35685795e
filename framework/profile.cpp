#include "framework/profile.h"

#include <algorithm>
#include <cstddef>

#include "framework/stdiofile.h"

namespace {

const char* const kBlanks = " \t";

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

std::string Unquote(const std::string& s)
{
    if (s.size() >= 2 && (s[0] == '"' || s[0] == '\'') && s.back() == s[0])
        return s.substr(1, s.size() - 2);
    return s;
}

// One line of the file, its line end cut off (CR LF, CR or LF).
struct Line {
    std::string text;
    enum Kind { kOther, kSection, kEntry } kind;
    std::string name;  // of the section or the key, trimmed
    std::string value; // of an entry, trimmed
};

std::vector<Line> Split(const std::string& text)
{
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string::npos)
            end = text.size();
        Line line{text.substr(pos, end - pos), Line::kOther, std::string(), std::string()};
        pos = end + (text.compare(end, 2, BALTIC_CRLF) == 0 ? 2 : 1);
        const std::string t = Trim(line.text);
        const size_t close = t.rfind(']');
        const size_t eq = t.find('=');
        if (!t.empty() && t[0] == '[' && close != std::string::npos) {
            line.kind = Line::kSection;
            line.name = Trim(t.substr(1, close - 1));
        } else if (eq != std::string::npos) {
            line.kind = Line::kEntry;
            line.name = Trim(t.substr(0, eq));
            line.value = Trim(t.substr(eq + 1));
        }
        lines.push_back(line);
    }
    return lines;
}

// Where the first section of the name starts (its header line) and ends
// (the next header, or the end); false when there is none.
bool FindSection(const std::vector<Line>& lines, const char* section, size_t& header, size_t& end)
{
    const std::string name = Trim(section);
    for (header = 0; header < lines.size(); ++header)
        if (lines[header].kind == Line::kSection && EqualNoCase(lines[header].name, name))
            break;
    if (header == lines.size())
        return false;
    for (end = header + 1; end < lines.size() && lines[end].kind != Line::kSection; ++end) {
    }
    return true;
}

// The first entry of the key within the section, or end.
size_t FindEntry(const std::vector<Line>& lines, size_t header, size_t end, const char* key)
{
    const std::string name = Trim(key);
    for (size_t i = header + 1; i < end; ++i)
        if (lines[i].kind == Line::kEntry && EqualNoCase(lines[i].name, name))
            return i;
    return end;
}

} // namespace

namespace profile {

bool Find(const std::string& text, const char* section, const char* key, std::string& value)
{
    const std::vector<Line> lines = Split(text);
    size_t header, end;
    if (!FindSection(lines, section, header, end))
        return false;
    const size_t entry = FindEntry(lines, header, end, key);
    if (entry == end)
        return false;
    value = Unquote(lines[entry].value);
    return true;
}

std::string AsRead(const std::string& value)
{
    return Unquote(Trim(value));
}

bool Set(std::string& text, const char* section, const char* key, const std::string& value)
{
    const std::string written = value.substr(std::min(value.size(), value.find_first_not_of(kBlanks)));
    std::vector<Line> lines = Split(text);
    size_t header, end;
    if (!FindSection(lines, section, header, end)) {
        lines.push_back(Line{"[" + Trim(section) + "]", Line::kSection, std::string(), std::string()});
        header = lines.size() - 1;
        end = lines.size();
    }
    const size_t entry = FindEntry(lines, header, end, key);
    if (entry < end) {
        if (Unquote(lines[entry].value) == AsRead(written))
            return false;
        lines[entry].text = lines[entry].name + "=" + written;
    } else {
        // After the section's last line that is not blank, so that a blank
        // line before the next section stays there.
        size_t at = end;
        while (at > header + 1 && Trim(lines[at - 1].text).empty())
            --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at),
                     Line{Trim(key) + "=" + written, Line::kEntry, std::string(), std::string()});
    }
    text.clear();
    for (const Line& line : lines)
        text += line.text + BALTIC_CRLF;
    return true;
}

} // namespace profile

CString ProfileRead(const char* section, const char* key, const char* defaultValue, const char* file)
{
    CString content;
    std::string value;
    if (section && key && ReadFileContent(file, content) && profile::Find(content.str(), section, key, value))
        return CString(value);
    // Trailing blanks of the default go, as the system's reader drops them.
    std::string d = defaultValue ? defaultValue : "";
    d.erase(d.find_last_not_of(' ') + 1);
    return CString(Unquote(d));
}

bool ProfileWrite(const char* section, const std::vector<ProfileValue>& values, const char* file)
{
    // A file that exists but cannot be read is never replaced by one
    // holding only these values.
    CString content;
    if (!section || !ReadFileContent(file, content))
        return false;
    std::string text = content.str();
    bool changed = false;
    for (const ProfileValue& v : values)
        if (v.key && profile::Set(text, section, v.key, v.value.str()))
            changed = true;
    return !changed || ReplaceFileContent(file, CString(text));
}

bool ProfileWrite(const char* section, const char* key, const char* value, const char* file)
{
    return ProfileWrite(section, std::vector<ProfileValue>{{key, CString(value ? value : "")}}, file);
}
