// The country file cty.dat: which country (DXCC entity, or a WAE one) and
// continent a call sign belongs to, for the ADIF records that say neither.
//
// Its form, as the file itself shows: each entity is a header line of eight
// fields ended by ':' (name, CQ zone, ITU zone, continent, latitude,
// longitude, UTC offset, primary prefix, '*' in front for a WAE-only
// entity), then its prefixes and calls, separated by ',' and ended by ';'.
// "=CALL" is that exact call; a prefix or call may carry overrides:
// (CQ zone) [ITU zone] <lat/lon> {continent} ~UTC offset~.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

struct CountryEntity {
    std::string name;      // "Lithuania"
    std::string prefix;    // primary prefix without the '*': "LY", "UA9", "TA1"
    std::string continent; // "EU", "AS", ...
};

struct CountryMatch {
    const CountryEntity* entity = nullptr; // nullptr: not found
    std::string continent;                 // the entity's, or the override of the entry that matched
};

class CCountryFile {
public:
    // Reads the file's text; on failure says where and why in `error`
    // (with `source` and the line) and holds nothing.
    bool Parse(const std::string& text, const std::string& source, std::string& error);
    bool ReadFile(const std::string& path, std::string& error);

    // The country of a call. Exact calls first, then the longest prefix.
    // Portable forms: /P, /M, /MM, /AM, /QRP and a single digit say nothing of
    // the country; of two parts, the shorter one wins when it is a prefix of
    // the file ("LY/SM5XYZ", "SM5XYZ/LY" are in Lithuania), else the longer
    // one decides.
    CountryMatch Find(const std::string& call) const;

    // The file's version date "YYYY-MM-DD" from its "=VERyyyymmdd" entry,
    // empty when it has none.
    std::string Date() const;
    size_t EntityCount() const { return m_entities.size(); }

private:
    struct Entry {
        size_t entity;
        std::string continent; // empty: the entity's
    };
    CountryMatch Exact(const std::string& call) const;
    CountryMatch LongestPrefix(const std::string& text) const;
    CountryMatch Of(const Entry& e) const;

    std::vector<CountryEntity> m_entities;
    std::unordered_map<std::string, Entry> m_prefixes, m_calls;
    size_t m_longestPrefix = 0;
};

// The copy built into the program (cty.dat of hamradio-files, read at build
// time), parsed on first use; empty, with the reason in `error`, when it
// cannot be read.
const CCountryFile& BuiltInCountryFile(std::string* error = nullptr);
