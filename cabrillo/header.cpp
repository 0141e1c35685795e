#include "cabrillo/header.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "engine/contest.h"
#include "engine/rules.h"
#include "engine/settings.h"
#include "framework/stdiofile.h"
#include "resources/resource.h"

CString ReplaceAll(const CString& text, const CString& from, const CString& to, int* count)
{
    if (from == to)
        return text;
    // A byte search is a character search here: every text searched for
    // begins with a byte ("<", CR, LF) that no double-byte code page uses
    // as the second byte of a character.
    const std::string& rest = text.str();
    std::string result;
    size_t pos = 0;
    int n = 0;
    for (size_t hit; !from.IsEmpty() && (hit = rest.find(from.str(), pos)) != std::string::npos; ++n) {
        result.append(rest, pos, hit - pos);
        result += to.str();
        pos = hit + from.str().size();
    }
    result.append(rest, pos, std::string::npos);
    if (count)
        *count = n;
    return CString(result);
}

CString CabrilloFileBase(const CString& callsign)
{
    std::string s = callsign.str();
    for (char& c : s)
        if (c == '/' || c == '\\' || (c != '\0' && std::strchr(":*?\"<>|", c)))
            c = '_';
    CString base(s);
    base.Trim();
    s = base.str();
    for (char& c : s)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '_';
    if (s.empty())
        return CString("TOVAK");
    // CON, NUL, COM1... name devices whatever follows the first dot.
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "COM1", "COM2", "COM3", "COM4",
                                           "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                           "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CONIN$", "CONOUT$"};
    size_t stemEnd = s.find('.');
    if (stemEnd == std::string::npos)
        stemEnd = s.size();
    std::string stem = s.substr(0, stemEnd);
    stem.erase(stem.find_last_not_of(' ') + 1);
    for (char& c : stem)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char* device : kDevices)
        if (stem == device) {
            s.insert(stemEnd, "_");
            break;
        }
    return CString(s);
}

namespace {

// A line break in a one-line field would start a new settings key or a new
// log line: each CR and LF becomes a blank.
void KeepOnOneLine(CString& text)
{
    std::string s = text.str();
    for (char& c : s)
        if (c == '\r' || c == '\n')
            c = ' ';
    text = CString(s);
}

} // namespace

const CHeaderField kHeaderFields[] = {
    // label, tag, member, box, kind, key, read, fallback, storeRank, logRank
    {"CONTEST", nullptr, &CCabrilloHeader::m_contest, IDC_CONTEST, HeaderBox::kEdit, &settings::kContest,
     HeaderDefault::kFallback, "BALTIC Contest", 10, 0},
    {"CALLSIGN", "CALLSIGN", &CCabrilloHeader::m_callsign, IDC_CALLSIGN, HeaderBox::kEdit, nullptr,
     HeaderDefault::kNotRead, nullptr, 0, 1},
    // Shown only: the report stores the claimed score, the writer claims its own.
    {"CLAIMED", "CLAIMED-SCORE", &CCabrilloHeader::m_claimed, IDC_CLAIMED, HeaderBox::kEdit, &settings::kClaimed,
     HeaderDefault::kEmpty, nullptr, 0, 7},
    {"CATEGORY-OPERATOR", "CATEGORY-OPERATOR", &CCabrilloHeader::m_categoryOperator, IDC_CATEGORY_OPERATOR,
     HeaderBox::kCombo, &settings::kCategory, HeaderDefault::kFallback, "SINGLE-OP", 7, 2},
    {"CATEGORY-BAND", "CATEGORY-BAND", &CCabrilloHeader::m_categoryBand, IDC_CATEGORY_BAND, HeaderBox::kCombo,
     nullptr, HeaderDefault::kFixed, "80M", 0, 3},
    // Stored under "Power", as older copies of the plug-in did.
    {"CATEGORY-MODE", "CATEGORY-MODE", &CCabrilloHeader::m_categoryMode, IDC_CATEGORY_MODE, HeaderBox::kCombo,
     &settings::kPower, HeaderDefault::kFallback, "CW", 9, 4},
    {"CATEGORY-TIME", "CATEGORY-TIME", &CCabrilloHeader::m_categoryTime, IDC_CATEGORY_TIME, HeaderBox::kCombo,
     nullptr, HeaderDefault::kNotRead, nullptr, 0, 5},
    // Written only when chosen.
    {"CATEGORY-ASSISTED", "CATEGORY-ASSISTED", &CCabrilloHeader::m_categoryAssisted, IDC_CATEGORY_ASSISTED,
     HeaderBox::kCombo, &settings::kAssisted, HeaderDefault::kEmpty, nullptr, 14, 6},
    {"NAME", "NAME", &CCabrilloHeader::m_name, IDC_NAME, HeaderBox::kEdit, &settings::kName,
     HeaderDefault::kEmpty, nullptr, 2, 9},
    {"ADDRESS", "ADDRESS", &CCabrilloHeader::m_address, IDC_ADDRESS, HeaderBox::kEdit, &settings::kAddress,
     HeaderDefault::kEmpty, nullptr, 3, 10},
    {"ADDRESS-CITY", "ADDRESS-CITY", &CCabrilloHeader::m_addressCity, IDC_ADDRESS_CITY, HeaderBox::kEdit,
     &settings::kAddressCity, HeaderDefault::kEmpty, nullptr, 4, 11},
    {"ADDRESS-POSTALCODE", "ADDRESS-POSTALCODE", &CCabrilloHeader::m_addressPostalCode, IDC_ADDRESS_POSTALCODE,
     HeaderBox::kEdit, &settings::kAddressPostalCode, HeaderDefault::kEmpty, nullptr, 5, 12},
    {"ADDRESS-COUNTRY", "ADDRESS-COUNTRY", &CCabrilloHeader::m_addressCountry, IDC_ADDRESS_COUNTRY,
     HeaderBox::kEdit, &settings::kAddressCountry, HeaderDefault::kEmpty, nullptr, 6, 13},
    {"OPERATORS", "OPERATORS", &CCabrilloHeader::m_operators, IDC_OPERATORS, HeaderBox::kEdit,
     &settings::kOperators, HeaderDefault::kCallsign, nullptr, 1, 15},
    {"CLUB", "CLUB", &CCabrilloHeader::m_club, IDC_CLUB, HeaderBox::kEdit, &settings::kClub,
     HeaderDefault::kEmpty, nullptr, 12, 8},
    {"SOAPBOX", "SOAPBOX", &CCabrilloHeader::m_soapbox, IDC_SOAPBOX, HeaderBox::kMultiLine, &settings::kSoapBox,
     HeaderDefault::kEmpty, nullptr, 13, 16},
    {"E-MAIL", "EMAIL", &CCabrilloHeader::m_email, IDC_EMAIL, HeaderBox::kEdit, &settings::kEmail,
     HeaderDefault::kEmpty, nullptr, 11, 14},
    // Carried through unchanged: in no box and on no line.
    {nullptr, nullptr, &CCabrilloHeader::m_location, 0, HeaderBox::kNone, &settings::kLocation,
     HeaderDefault::kCurrent, nullptr, 8, 0},
};
const int kHeaderFieldCount = static_cast<int>(sizeof kHeaderFields / sizeof kHeaderFields[0]);

std::vector<const CHeaderField*> HeaderFieldsBy(int CHeaderField::*rank)
{
    std::vector<const CHeaderField*> rows;
    for (const CHeaderField& f : kHeaderFields)
        if (f.*rank > 0)
            rows.push_back(&f);
    std::sort(rows.begin(), rows.end(),
              [rank](const CHeaderField* a, const CHeaderField* b) { return a->*rank < b->*rank; });
    return rows;
}

namespace {

// The writer leaves out an empty CATEGORY-TIME or CATEGORY-ASSISTED, and
// the time of a MULTI-OP log (the two-hour section was a single operator's).
bool Written(const CCabrilloHeader& header, const CHeaderField& f)
{
    if (f.member == &CCabrilloHeader::m_categoryTime)
        return !header.m_categoryTime.IsEmpty() && header.m_categoryOperator != "MULTI-OP";
    if (f.member == &CCabrilloHeader::m_categoryAssisted)
        return !header.m_categoryAssisted.IsEmpty();
    return true;
}

} // namespace

CString HeaderValue(const CCabrilloHeader& header, const char* tag)
{
    for (const CHeaderField& f : kHeaderFields)
        if (f.tag && std::strcmp(f.tag, tag) == 0)
            return Written(header, f) ? header.*f.member : CString();
    return CString();
}

const char* const* HeaderList(int box)
{
    switch (box) {
    case IDC_CATEGORY_OPERATOR: return rules::kOperatorList;
    case IDC_CATEGORY_BAND: return rules::kBandList;
    case IDC_CATEGORY_MODE: return rules::kModeList;
    case IDC_CATEGORY_TIME: return rules::kTimeList;
    case IDC_CATEGORY_ASSISTED: return rules::kAssistedList;
    default: return nullptr;
    }
}

void CCabrilloHeader::LoadForEdit(const CString& callsign)
{
    m_callsign = callsign;
    m_fileBase = CabrilloFileBase(callsign);
    for (const CHeaderField& f : kHeaderFields) {
        CString& value = this->*f.member;
        switch (f.read) {
        case HeaderDefault::kEmpty:
            value = settings::ReadText(*f.key);
            break;
        case HeaderDefault::kFallback:
            value = settings::ReadText(*f.key, f.fallback);
            break;
        case HeaderDefault::kCallsign:
            value = settings::ReadText(*f.key, m_callsign);
            break;
        case HeaderDefault::kCurrent:
            value = settings::ReadText(*f.key, value);
            break;
        case HeaderDefault::kFixed:
            value = f.fallback;
            break;
        case HeaderDefault::kNotRead:
            break;
        }
    }
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r"), "<LF>", "\n");
}

bool CCabrilloHeader::StoreConfirmed()
{
    for (const CHeaderField& f : kHeaderFields)
        if (f.kind != HeaderBox::kMultiLine)
            KeepOnOneLine(this->*f.member);
    // One settings value holds the whole soapbox, its line breaks escaped.
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "\r", "<CR>"), "\n", "<LF>");
    // All in one replacement of the file: never half a header stored.
    std::vector<ProfileValue> values;
    for (const CHeaderField* f : HeaderFieldsBy(&CHeaderField::storeRank))
        values.push_back(ProfileValue{*f->key, this->*f->member});
    const bool storedAll = settings::Write(values);
    // The writer's one SOAPBOX line becomes one line per typed line.
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", BALTIC_CRLF "SOAPBOX: "), "<LF>", "");
    m_qsoLines.RemoveAll();
    return storedAll;
}

void CCabrilloHeader::AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time,
                             CString rstSent, CString nrSent, CString rstRcvd, CString nrRcvd)
{
    CString when = time ? time->Format(kLogDateTime) : CString();
    // The host's texts keep to the line: a CR or LF would start a forged QSO.
    CString line;
    line.Format("QSO: %5i %2s %s %-13s %-3s %-6s %-11s   %-3s %s", freqKHz, modeCode.GetString(),
                when.GetString(), m_callsign.GetString(), BlankControls(rstSent).GetString(),
                BlankControls(nrSent).GetString(), BlankControls(call).GetString(),
                BlankControls(rstRcvd).GetString(), BlankControls(nrRcvd).GetString());
    m_qsoLines.Add(line + BALTIC_CRLF);
}

CString CCabrilloHeader::WriteLog(int claimedScore)
{
    // The same rule as at the edit, so that no file base can name another
    // folder, a device or a hidden stream.
    CString name = CabrilloFileBase(m_fileBase) + ".cbr";
    CString text;
    auto tag = [&text](const char* t, const CString& value) { text += CString(t) + value + BALTIC_CRLF; };
    tag("START-OF-LOG: 3.0", "");
    tag("CONTEST: BALTIC", "");
    const bool multiOp = m_categoryOperator == "MULTI-OP";
    for (const CHeaderField* f : HeaderFieldsBy(&CHeaderField::logRank)) {
        CString value = this->*f->member;
        if (f->member == &CCabrilloHeader::m_claimed)
            value.Format("%i", claimedScore);
        if (!Written(*this, *f))
            continue;
        tag((CString(f->tag) + ": ").GetString(), value);
        if (f->member == &CCabrilloHeader::m_categoryOperator && multiOp)
            tag("CATEGORY-TRANSMITTER: ONE ", "");
        if (f->member == &CCabrilloHeader::m_club)
            tag("CREATED-BY: Qorv ", g_hostVersion);
    }
    for (int i = 0; i < m_qsoLines.GetSize(); ++i)
        text += m_qsoLines[i];
    tag("END-OF-LOG:", "");

    // The last good log is replaced only by a whole new one.
    if (!ReplaceFileContent(name, text))
        return CString("File could not be written: ") + name;
    return CString("File produced: ") + name;
}
