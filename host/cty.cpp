#include "host/file_text.h"
#include "host/cty.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

const size_t npos = std::string::npos;

std::string Trim(const std::string& s)
{
    const size_t a = s.find_first_not_of(" \t\r\n");
    if (a == npos)
        return std::string();
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool IsContinent(const std::string& c)
{
    static const char* const kContinents[] = {"AF", "AN", "AS", "EU", "NA", "OC", "SA"};
    for (const char* k : kContinents)
        if (c == k)
            return true;
    return false;
}

// Parts of a portable call that say nothing of where the station is.
bool SaysNoCountry(const std::string& part)
{
    static const char* const kSuffixes[] = {"P", "M", "MM", "AM", "QRP"};
    if (part.size() == 1 && std::isdigit(static_cast<unsigned char>(part[0])))
        return true;
    for (const char* s : kSuffixes)
        if (part == s)
            return true;
    return false;
}

} // namespace

bool CCountryFile::Parse(const std::string& text, const std::string& source, std::string& error)
{
    m_entities.clear();
    m_prefixes.clear();
    m_calls.clear();
    m_longestPrefix = 0;
    auto fail = [&](size_t at, const std::string& what) {
        const long line = 1 + std::count(text.begin(), text.begin() + static_cast<long>(std::min(at, text.size())), '\n');
        error = source + ": line " + std::to_string(line) + ": " + what;
        m_entities.clear();
        m_prefixes.clear();
        m_calls.clear();
        return false;
    };

    size_t pos = 0;
    while ((pos = text.find_first_not_of(" \t\r\n", pos)) != npos) {
        const size_t start = pos;
        std::string fields[8];
        for (std::string& f : fields) {
            const size_t colon = text.find(':', pos);
            const size_t semicolon = text.find(';', pos);
            if (colon == npos || semicolon < colon)
                return fail(start, "an entity's line needs eight fields ended by ':'");
            f = Trim(text.substr(pos, colon - pos));
            pos = colon + 1;
        }
        CountryEntity entity;
        entity.name = fields[0];
        entity.continent = fields[3];
        entity.prefix = fields[7].compare(0, 1, "*") == 0 ? fields[7].substr(1) : fields[7];
        if (entity.name.empty() || entity.prefix.empty() || !IsContinent(entity.continent))
            return fail(start, "entity \"" + entity.name + "\": no name, no prefix or no continent (AF, AN, AS, EU, NA, "
                                                           "OC or SA): \"" + fields[3] + "\"");
        const size_t end = text.find(';', pos);
        if (end == npos)
            return fail(start, "entity \"" + entity.name + "\": its list of prefixes has no ';'");
        const size_t index = m_entities.size();
        m_entities.push_back(entity);

        std::stringstream list(text.substr(pos, end - pos));
        for (std::string item; std::getline(list, item, ',');) {
            item = Trim(item);
            if (item.empty())
                continue;
            const bool exact = item[0] == '=';
            const size_t from = exact ? 1 : 0;
            const size_t overrides = item.find_first_of("([<{~", from);
            const std::string name = Upper(item.substr(from, overrides - from));
            if (name.empty() || name.find_first_of(" \t\r\n") != npos)
                return fail(pos, "entity \"" + entity.name + "\": \"" + item + "\" is not a prefix or call");
            Entry e{index, std::string()};
            for (size_t i = overrides; i != npos && i < item.size();) {
                static const std::string kOpen = "([<{~", kClose = ")]>}~";
                const size_t kind = kOpen.find(item[i]);
                const size_t close = kind == npos ? npos : item.find(kClose[kind], i + 1);
                if (close == npos)
                    return fail(pos, "entity \"" + entity.name + "\": \"" + item + "\" has an unclosed override");
                if (item[i] == '{') {
                    e.continent = item.substr(i + 1, close - i - 1);
                    if (!IsContinent(e.continent))
                        return fail(pos, "entity \"" + entity.name + "\": \"" + item + "\" names no continent");
                }
                i = close + 1;
            }
            if (exact) {
                m_calls[name] = e;
            } else {
                m_prefixes[name] = e;
                m_longestPrefix = std::max(m_longestPrefix, name.size());
            }
        }
        pos = end + 1;
    }
    if (m_entities.empty())
        return fail(0, "no entity in the file");
    return true;
}

bool CCountryFile::ReadFile(const std::string& path, std::string& error)
{
    bool opened = false;
    const std::string text = ReadFileText(path, &opened);
    if (!opened) {
        error = path + ": cannot open the file";
        return false;
    }
    return Parse(text, path, error);
}

CountryMatch CCountryFile::Of(const Entry& e) const
{
    CountryMatch m;
    m.entity = &m_entities[e.entity];
    m.continent = e.continent.empty() ? m.entity->continent : e.continent;
    return m;
}

CountryMatch CCountryFile::Exact(const std::string& call) const
{
    auto it = m_calls.find(call);
    return it == m_calls.end() ? CountryMatch() : Of(it->second);
}

CountryMatch CCountryFile::LongestPrefix(const std::string& text) const
{
    for (size_t n = std::min(text.size(), m_longestPrefix); n > 0; --n) {
        auto it = m_prefixes.find(text.substr(0, n));
        if (it != m_prefixes.end())
            return Of(it->second);
    }
    return CountryMatch();
}

CountryMatch CCountryFile::Find(const std::string& rawCall) const
{
    const std::string call = Upper(Trim(rawCall));
    CountryMatch m = Exact(call);
    if (m.entity || call.empty())
        return m;
    std::vector<std::string> parts;
    std::stringstream split(call);
    for (std::string part; std::getline(split, part, '/');)
        if (!part.empty() && !SaysNoCountry(part))
            parts.push_back(part);
    if (parts.empty())
        return m;
    // The longer part is the call; the shorter one, the first of two equal,
    // says where it is worked from when the file knows it as a prefix.
    size_t base = 0, where = 0;
    for (size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].size() >= parts[base].size())
            base = i;
        if (parts[i].size() < parts[where].size())
            where = i;
    }
    if (where != base) {
        m = LongestPrefix(parts[where]);
        if (m.entity)
            return m;
    }
    m = Exact(parts[base]);
    return m.entity ? m : LongestPrefix(parts[base]);
}

std::string CCountryFile::Date() const
{
    for (const auto& call : m_calls) {
        const std::string& c = call.first;
        if (c.size() == 11 && c.compare(0, 3, "VER") == 0 &&
            std::all_of(c.begin() + 3, c.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }))
            return c.substr(3, 4) + "-" + c.substr(7, 2) + "-" + c.substr(9, 2);
    }
    return std::string();
}
