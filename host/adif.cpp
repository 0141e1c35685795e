#include "host/file_text.h"
#include "host/adif.h"

#include <cctype>
#include <sstream>

namespace {

const size_t npos = std::string::npos;

struct Tag {
    std::string name; // upper case
    bool hasLength = false;
    size_t length = 0;
    size_t valueStart = 0; // just after the '>'
};

// Finds `word` (upper case, e.g. "<EOR>") ignoring the case of the text.
// Looks no further than `end`.
size_t FindNoCase(const std::string& text, const std::string& word, size_t from, size_t end = npos)
{
    end = end < text.size() ? end : text.size();
    for (size_t i = from; i + word.size() <= end; ++i) {
        size_t k = 0;
        while (k < word.size() && std::toupper(static_cast<unsigned char>(text[i + k])) == word[k])
            ++k;
        if (k == word.size())
            return i;
    }
    return npos;
}

std::string Quote(const std::string& text, size_t from, size_t end)
{
    const size_t kMax = 30;
    std::string s = text.substr(from, end - from);
    if (s.size() > kMax)
        s = s.substr(0, kMax) + "...";
    for (char& c : s)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return "\"" + s + "\"";
}

bool AllDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Reads the tag that starts at text[lt] == '<'. On failure `error` says why.
bool ReadTag(const std::string& text, size_t lt, Tag& tag, std::string& error)
{
    size_t gt = text.find('>', lt + 1);
    size_t nextLt = text.find('<', lt + 1);
    if (gt == npos || (nextLt != npos && nextLt < gt)) {
        error = "malformed tag " + Quote(text, lt, nextLt == npos ? text.size() : nextLt) + " (no closing '>')";
        return false;
    }
    std::string inside = text.substr(lt + 1, gt - lt - 1);
    std::vector<std::string> parts;
    std::stringstream ss(inside);
    std::string part;
    while (std::getline(ss, part, ':'))
        parts.push_back(part);
    if (!inside.empty() && inside.back() == ':')
        parts.push_back(std::string());
    const std::string quoted = Quote(text, lt, gt + 1);
    if (parts.empty() || parts[0].empty() || parts.size() > 3 ||
        parts[0].find_first_of(" \t\r\n,{}") != npos) {
        error = "malformed tag " + quoted;
        return false;
    }
    tag.name = AdifUpper(parts[0]);
    tag.valueStart = gt + 1;
    tag.hasLength = parts.size() >= 2;
    if (!tag.hasLength) {
        if (tag.name == "EOR" || tag.name == "EOH")
            return true;
        error = "malformed tag " + quoted + " (no length)";
        return false;
    }
    if (!AllDigits(parts[1]) || parts[1].size() > 9) {
        error = "malformed tag " + quoted + " (the length is not a number)";
        return false;
    }
    tag.length = std::stoul(parts[1]);
    if (tag.valueStart + tag.length > text.size()) {
        error = "the value of " + tag.name + " (" + parts[1] + " bytes) runs past the end of the file";
        return false;
    }
    // A length too long for its value swallows the end of the record: catch the usual case.
    if (FindNoCase(text, "<EOR", tag.valueStart, tag.valueStart + tag.length) != npos) {
        error = "the value of " + tag.name + " (" + parts[1] + " bytes) runs past the end of its record";
        return false;
    }
    return true;
}

// Fields of a free-text header: tags are read, any other text (a stray '<' included) is skipped.
void ReadHeaderFields(const std::string& text, std::map<std::string, std::string>& fields)
{
    size_t pos = 0;
    for (size_t lt; (lt = text.find('<', pos)) != npos;) {
        Tag tag;
        std::string ignored;
        if (ReadTag(text, lt, tag, ignored) && tag.hasLength) {
            fields[tag.name] = text.substr(tag.valueStart, tag.length);
            pos = tag.valueStart + tag.length;
        } else {
            pos = lt + 1;
        }
    }
}

} // namespace

std::string AdifUpper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string AdifRecord::Get(const std::string& name) const
{
    auto it = fields.find(AdifUpper(name));
    return it == fields.end() ? std::string() : it->second;
}

bool AdifRecord::Has(const std::string& name) const
{
    return fields.count(AdifUpper(name)) != 0;
}

AdifLog ParseAdif(const std::string& text, const std::string& source)
{
    AdifLog log;
    size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    if (text.find_first_not_of(" \t\r\n", pos) == npos) {
        log.fault = source + ": the file is empty";
        return log;
    }
    // Windows' "Unicode" text puts a zero byte beside every ASCII character.
    const size_t zero = text.find('\0');
    if (text.compare(0, 2, "\xFF\xFE") == 0 || text.compare(0, 2, "\xFE\xFF") == 0 || zero != npos) {
        log.fault = source + ": the file is UTF-16 or other 16-bit text" +
                    (zero != npos ? " (a zero byte at byte " + std::to_string(zero + 1) + ")" : std::string()) +
                    ", not ADIF's 8-bit text: export or save the log again as ADIF in ANSI or UTF-8";
        return log;
    }
    if (FindNoCase(text, "<?XML", pos, pos + 64) == text.find_first_not_of(" \t\r\n", pos)) {
        log.fault = source + ": the file is ADX (XML); hostsim reads ADIF's tagged text form (.adi)";
        return log;
    }

    // A file whose first character is not '<' starts with header text, which runs to <EOH>.
    bool freeHeader = false;
    size_t first = text.find_first_not_of(" \t\r\n", pos);
    if (first != npos && text[first] != '<') {
        size_t eoh = FindNoCase(text, "<EOH>", first);
        if (eoh == npos) {
            log.problems.push_back(source + ": the header text has no <EOH>, no record read");
            log.fault = source + ": not an ADIF log: text without <EOH> and no record";
            return log;
        }
        ReadHeaderFields(text.substr(first, eoh - first), log.header);
        pos = eoh + 5;
        freeHeader = true;
    }

    int number = 1;
    AdifRecord current;
    auto problem = [&](const std::string& what) {
        log.problems.push_back(source + ": record " + std::to_string(number) + ": " + what);
    };

    // The file ends inside a record: most likely it was cut short in copying.
    auto cutShort = [&]() {
        log.fault = source + ": the file ends inside record " + std::to_string(number) +
                    ", so it seems cut short: nothing replayed";
    };

    // Drops the record being read; the next one starts after its <EOR>.
    auto skipRecord = [&](size_t from) {
        current.fields.clear();
        ++number;
        size_t eor = FindNoCase(text, "<EOR>", from);
        pos = eor == npos ? text.size() : eor + 5;
        return eor != npos;
    };

    for (size_t lt; (lt = text.find('<', pos)) != npos;) {
        Tag tag;
        std::string error;
        if (!ReadTag(text, lt, tag, error)) {
            problem(error);
            if (text.find('>', lt) == npos || tag.valueStart + tag.length > text.size())
                cutShort();
            if (!skipRecord(lt + 1))
                return log;
            continue;
        }
        pos = tag.hasLength ? tag.valueStart + tag.length : tag.valueStart;
        if (tag.name == "EOR") {
            if (!current.fields.empty()) { // an empty record is nothing to replay
                current.number = number++;
                log.records.push_back(current);
                current.fields.clear();
            }
        } else if (tag.name == "EOH") {
            if (!freeHeader && log.records.empty() && number == 1 && log.header.empty()) {
                log.header = current.fields;
                current.fields.clear();
            } else {
                problem("<EOH> where a record was expected, ignored");
            }
        } else if (current.fields.count(tag.name)) {
            // Usually a length too long, which swallowed the rest of the record.
            problem(tag.name + " appears twice in the record");
            if (!skipRecord(pos))
                return log;
        } else {
            current.fields[tag.name] = text.substr(tag.valueStart, tag.length);
        }
    }
    if (!current.fields.empty()) {
        problem("no <EOR> before the end of the file, record left out");
        cutShort();
    }
    return log;
}

AdifLog ReadAdifFile(const std::string& path)
{
    bool opened = false;
    const std::string text = ReadFileText(path, &opened);
    if (!opened) {
        AdifLog log;
        log.problems.push_back(path + ": cannot open the file");
        return log;
    }
    return ParseAdif(text, path);
}
