#include "cabrillo/header.h"

#include <cstdio>

#include "engine/stores.h"
#include "framework/stdiofile.h"

int CCabrilloHeader::EditHeader(CString callsign, const COleDateTime*, const COleDateTime*)
{
    // The header dialog is not part of this build yet: the edit is
    // reported as cancelled, so no export runs on an unconfirmed header.
    m_callsign = callsign;
    return 0;
}

void CCabrilloHeader::AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time,
                             CString rstSent, CString nrSent, CString rstRcvd, CString nrRcvd)
{
    CString when = time ? time->Format("%Y-%m-%d %H%M") : CString();
    CString line;
    line.Format("QSO: %5i %2s %s %-13s %-3s %-6s %-11s   %-3s %s", freqKHz, modeCode.GetString(),
                when.GetString(), m_callsign.GetString(), rstSent.GetString(), nrSent.GetString(),
                call.GetString(), rstRcvd.GetString(), nrRcvd.GetString());
    m_qsoLines.Add(line + CStdioFile::kLineEnd);
}

CString CCabrilloHeader::WriteLog()
{
    CString name = m_fileBase + ".cbr";
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
    claimed.Format("%i", g_claimedScore);
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

    CStdioFile file;
    if (!file.Open(name, CStdioFile::modeWrite))
        return CString("File could not be written: ") + name;
    bool written = file.WriteString(text);
    if (!file.Close() || !written) {
        // A log cut short must not pass for the whole log.
        std::remove(name);
        return CString("File could not be written: ") + name;
    }
    return CString("File produced: ") + name;
}
