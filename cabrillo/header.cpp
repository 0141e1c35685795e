#include "cabrillo/header.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "engine/contest.h"
#include "engine/settings.h"
#include "framework/stdiofile.h"

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

// The fields an OK stores, by key, in the order they are written.
struct StoredField {
    const char* const* key;
    CString CCabrilloHeader::*field;
};
const StoredField kStoredFields[] = {
    {&settings::kOperators, &CCabrilloHeader::m_operators},
    {&settings::kName, &CCabrilloHeader::m_name},
    {&settings::kAddress, &CCabrilloHeader::m_address},
    {&settings::kAddressCity, &CCabrilloHeader::m_addressCity},
    {&settings::kAddressPostalCode, &CCabrilloHeader::m_addressPostalCode},
    {&settings::kAddressCountry, &CCabrilloHeader::m_addressCountry},
    {&settings::kCategory, &CCabrilloHeader::m_categoryOperator},
    {&settings::kLocation, &CCabrilloHeader::m_location},
    {&settings::kPower, &CCabrilloHeader::m_categoryMode},
    {&settings::kContest, &CCabrilloHeader::m_contest},
    {&settings::kEmail, &CCabrilloHeader::m_email},
    {&settings::kClub, &CCabrilloHeader::m_club},
    {&settings::kSoapBox, &CCabrilloHeader::m_soapbox},
};

} // namespace

void CCabrilloHeader::LoadForEdit(const CString& callsign)
{
    m_callsign = callsign;
    m_fileBase = CabrilloFileBase(callsign);
    m_operators = settings::ReadText(settings::kOperators, m_callsign);
    m_location = settings::ReadText(settings::kLocation, m_location);
    m_name = settings::ReadText(settings::kName);
    m_address = settings::ReadText(settings::kAddress);
    m_addressCity = settings::ReadText(settings::kAddressCity);
    m_addressPostalCode = settings::ReadText(settings::kAddressPostalCode);
    m_addressCountry = settings::ReadText(settings::kAddressCountry);
    m_claimed = settings::ReadText(settings::kClaimed);
    // Chosen anew at every export: the stored category, mode and contest
    // are written for the record but never read back.
    m_contest = "BALTIC Contest";
    m_categoryOperator = "SINGLE-OP";
    m_categoryMode = "CW";
    m_categoryBand = "80M";
    m_email = settings::ReadText(settings::kEmail);
    m_club = settings::ReadText(settings::kClub);
    m_soapbox = settings::ReadText(settings::kSoapBox);
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r"), "<LF>", "\n");
}

bool CCabrilloHeader::StoreConfirmed()
{
    for (CString* field : {&m_callsign, &m_operators, &m_name, &m_address, &m_addressCity, &m_addressPostalCode,
                           &m_addressCountry, &m_categoryOperator, &m_categoryBand, &m_categoryTime, &m_location,
                           &m_categoryMode, &m_contest, &m_email, &m_club})
        KeepOnOneLine(*field);
    // One settings value holds the whole soapbox, its line breaks escaped.
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "\r", "<CR>"), "\n", "<LF>");
    // All in one replacement of the file: never half a header stored.
    std::vector<ProfileValue> values;
    for (const StoredField& stored : kStoredFields)
        values.push_back(ProfileValue{*stored.key, this->*stored.field});
    const bool storedAll = settings::Write(values);
    // The writer's one SOAPBOX line becomes one line per typed line.
    m_soapbox = ReplaceAll(ReplaceAll(m_soapbox, "<CR>", "\r\nSOAPBOX: "), "<LF>", "");
    m_qsoLines.RemoveAll();
    return storedAll;
}

void CCabrilloHeader::AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time,
                             CString rstSent, CString nrSent, CString rstRcvd, CString nrRcvd)
{
    CString when = time ? time->Format("%Y-%m-%d %H%M") : CString();
    // The host's texts keep to the line: a CR or LF would start a forged QSO.
    CString line;
    line.Format("QSO: %5i %2s %s %-13s %-3s %-6s %-11s   %-3s %s", freqKHz, modeCode.GetString(),
                when.GetString(), m_callsign.GetString(), BlankControls(rstSent).GetString(),
                BlankControls(nrSent).GetString(), BlankControls(call).GetString(),
                BlankControls(rstRcvd).GetString(), BlankControls(nrRcvd).GetString());
    m_qsoLines.Add(line + CStdioFile::kLineEnd);
}

CString CCabrilloHeader::WriteLog(int claimedScore)
{
    // The same rule as at the edit, so that no file base can name another
    // folder, a device or a hidden stream.
    CString name = CabrilloFileBase(m_fileBase) + ".cbr";
    CString text;
    auto tag = [&text](const char* t, const CString& value) { text += CString(t) + value + CStdioFile::kLineEnd; };
    tag("START-OF-LOG: 3.0", "");
    tag("CONTEST: BALTIC", "");
    tag("CALLSIGN: ", m_callsign);
    tag("CATEGORY-OPERATOR: ", m_categoryOperator);
    if (m_categoryOperator == "MULTI-OP") {
        tag("CATEGORY-TRANSMITTER: ONE ", "");
    } else {
        tag("CATEGORY-BAND: ", m_categoryBand);
        tag("CATEGORY-MODE: ", m_categoryMode);
        if (!m_categoryTime.IsEmpty())
            tag("CATEGORY-TIME: ", m_categoryTime);
    }
    CString claimed;
    claimed.Format("%i", claimedScore);
    tag("CLAIMED-SCORE: ", claimed);
    tag("CLUB: ", m_club);
    tag("CREATED-BY: Qorv ", g_hostVersion);
    tag("NAME: ", m_name);
    tag("ADDRESS: ", m_address);
    tag("ADDRESS-CITY: ", m_addressCity);
    tag("ADDRESS-POSTALCODE: ", m_addressPostalCode);
    tag("ADDRESS-COUNTRY: ", m_addressCountry);
    tag("EMAIL: ", m_email);
    tag("OPERATORS: ", m_operators);
    tag("SOAPBOX: ", m_soapbox);
    for (int i = 0; i < m_qsoLines.GetSize(); ++i)
        text += m_qsoLines[i];
    tag("END-OF-LOG:", "");

    // The last good log is replaced only by a whole new one.
    if (!ReplaceFileContent(name, text))
        return CString("File could not be written: ") + name;
    return CString("File produced: ") + name;
}
