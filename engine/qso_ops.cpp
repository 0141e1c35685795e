#include "engine/qso_ops.h"

#include <cstdio>
#include <cstring>

#include "engine/hooks.h"
#include "engine/rules.h"
#include "engine/stores.h"
#include "framework/platform.h"

namespace {

const char* const kSep = "  ";
const char* const kBadSuffixes[] = {"   WRONG BAND !!!", "   WRONG MODE !!!", "   NO NUMBER !!!", "   DUPE !!!"};
enum BadKind { kWrongBand, kWrongMode, kNoNumber, kDupe };

CString BadQsoLine(const QsoArgs& q, BadKind kind)
{
    const CString when = q.time.Format("%Y-%m-%d %H%M");
    CString line;
    line.Format("QSO:  %u", q.freqHz / 1000);
    const CString* fields[] = {&q.mode, &when, &q.ownCall, &q.rstSent, &q.nrSent, &q.call, &q.rstRcvd, &q.nrRcvd};
    for (const CString* f : fields) {
        line += kSep;
        line += *f;
    }
    line += kBadSuffixes[kind];
    return line;
}

// The bad-QSO file is opened only when there is a line to write: the host
// replays its whole log after every reset, and an open is not cheap.
void AppendBadQsoLine(const CString& line)
{
    CStdioFile file;
    if (file.Open(g_badQsoPath, CStdioFile::modeAppend))
        file.WriteLine(line);
}

// Splits text at every separator, left to right.
CStringArray SplitFields(const CString& text)
{
    CStringArray parts;
    int pos = 0;
    for (;;) {
        int hit = text.Find(kSep, pos);
        if (hit < 0) {
            parts.Add(text.Mid(pos));
            return parts;
        }
        parts.Add(text.Mid(pos, hit - pos));
        pos = hit + 2;
    }
}

// True when line is a bad-QSO line of this QSO: same mode, same date and
// minute, and the worked-call field equal to the call as a whole field.
bool IsLineOfQso(const CString& line, const QsoArgs& q, const CString& when)
{
    const char* prefix = "QSO:  ";
    if (line.Find(prefix) != 0)
        return false;
    int pos = 6;
    while (pos < line.GetLength() && line[pos] >= '0' && line[pos] <= '9')
        ++pos;
    CString head = CString(kSep) + q.mode + kSep + when + kSep;
    if (line.Mid(pos, head.GetLength()) != head)
        return false;
    CString rest = line.Mid(pos + head.GetLength());
    bool suffixFound = false;
    for (const char* suffix : kBadSuffixes) {
        CString s(suffix);
        if (rest.Right(s.GetLength()) == s) {
            rest = rest.Left(rest.GetLength() - s.GetLength());
            suffixFound = true;
            break;
        }
    }
    if (!suffixFound)
        return false;
    // own call, RST sent, number sent, worked call, RST received, number received
    CStringArray fields = SplitFields(rest);
    return fields.GetSize() == 6 && fields[3] == q.call;
}

// Replaces the bad-QSO file's content without ever losing it: the new
// content goes to a file beside it, which then takes the old one's place.
// A write that fails leaves the old file as it was. A file that another
// program holds open cannot be replaced; it is then rewritten in place.
void RewriteBadQsoFile(const CString& content)
{
    const CString temp = g_badQsoPath + ".tmp";
    CStdioFile out;
    bool written = out.Open(temp, CStdioFile::modeWrite) && out.WriteString(content);
    written = out.Close() && written;
    if (written && ReplaceFileWith(temp, g_badQsoPath))
        return;
    if (written && out.Open(g_badQsoPath, CStdioFile::modeWrite)) {
        out.WriteString(content);
        out.Close();
    }
    std::remove(temp);
}

bool FileExists(const CString& name)
{
    bool found = false;
    ForEachFileName(name, [&found](const char*) {
        found = true;
        return false;
    });
    return found;
}

} // namespace

COleDateTime DateFromHost(const COleDateTime* p)
{
    if (!p)
        return COleDateTime(0.0, COleDateTime::null);
    // A status no date has is taken as invalid, which it reads as anyway.
    const int status = p->m_status;
    if (status != COleDateTime::valid && status != COleDateTime::null)
        return COleDateTime(p->m_dt, COleDateTime::invalid);
    return COleDateTime(p->m_dt, static_cast<COleDateTime::DateTimeStatus>(status));
}

int AddQso(const QsoArgs& q)
{
    if (!g_bandRules.Contains(q.band)) {
        AppendBadQsoLine(BadQsoLine(q, kWrongBand));
        return 0;
    }
    if (!g_modeRules.Contains(q.mode)) {
        AppendBadQsoLine(BadQsoLine(q, kWrongMode));
        return 0;
    }
    if (q.nrRcvd.IsEmpty() || q.nrSent.IsEmpty()) {
        AppendBadQsoLine(BadQsoLine(q, kNoNumber));
        return 0;
    }

    CInfo r;
    r.m_call = q.call;
    r.m_band = q.band;
    r.m_mode = q.mode;
    r.m_continent = q.continent;
    r.m_country = q.country;
    r.m_rstRcvd = q.rstRcvd;
    r.m_rstSent = q.rstSent;
    r.m_nrRcvd = q.nrRcvd;
    r.m_nrSent = q.nrSent;
    r.m_freqKHz = q.freqHz / 1000;
    r.m_time = q.time;
    {
        CSingleLock lock(g_storeLock);
        bool known = false;
        for (int i = 0; i < g_bandsWorked.GetSize() && !known; ++i)
            known = g_bandsWorked[i] == q.band;
        if (!known)
            g_bandsWorked.Add(q.band);
        g_qsoLog.ForEachOfCallOnBand(r.m_call, r.m_band, [&r](const CInfo& e) {
            if (e.m_mode != r.m_mode)
                return true;
            r.m_dupe = 1;
            r.m_notCounted = 1;
            return false;
        });
        g_qsoLog.Add(r);
    }
    if (r.m_dupe)
        AppendBadQsoLine(BadQsoLine(q, kDupe));
    return 1;
}

int RemoveQso(const QsoArgs& q)
{
    {
        CSingleLock lock(g_storeLock);
        int n = g_qsoLog.GetSize();
        for (int i = 0; i < n; ++i) {
            const CInfo& e = g_qsoLog.GetAt(i);
            if (e.m_call == q.call && e.m_mode == q.mode && e.m_band == q.band && e.m_time == q.time) {
                g_qsoLog.RemoveAt(i);
                break;
            }
        }
        if (g_qsoLog.GetSize() == 0)
            g_bandsWorked.RemoveAll();
    }

    if (!g_badQsoPath.IsEmpty()) {
        CString when = q.time.Format("%Y-%m-%d %H%M");
        CString kept = CString(kBadQsoHeader) + CStdioFile::kLineEnd;
        bool readable = g_textFile.Open(g_badQsoPath, CStdioFile::modeRead);
        if (readable) {
            bool first = true;
            while (g_textFile.ReadString(g_lineBuffer)) {
                // The header is written anew below. A file deleted during the
                // contest comes back through AddData0 without one: its first
                // line is then a QSO line and is kept like any other.
                bool header = first && g_lineBuffer == kBadQsoHeader;
                first = false;
                if (!header && !IsLineOfQso(g_lineBuffer, q, when))
                    kept += g_lineBuffer + CStdioFile::kLineEnd;
            }
            // A read that failed part-way saw only some of the lines.
            readable = g_textFile.Close();
        }
        // A file that exists but cannot be read whole (another program
        // holds it) is left alone: rewriting it would lose its lines.
        if (readable || !FileExists(g_badQsoPath))
            RewriteBadQsoFile(kept);
    }

    g_refreshPending = 1;
    g_windowHooks.postPrevQsoRefresh();
    return 1;
}

int CheckCall(const CallCheckArgs& c)
{
    // Taking the pending request is one exchange, so the Setup thread,
    // which sets it again after each refresh, never loses or doubles one.
    if (g_windowHooks.isSetupWindowOpen() && g_refreshPending.exchange(0) != 0) {
        if (!g_windowHooks.postPrevQsoRefresh())
            g_refreshPending = 1; // the window went away: nothing waits
    }

    const int notApplicable = (g_hostVersion == "2.19" || g_hostVersion == "2.20") ? 1 : 4;
    if (c.hasBand && c.hasCompareBand && c.band.CompareNoCaseAscii(c.compareBand) != 0)
        return notApplicable;
    if (!g_bandRules.Contains(c.band) || !g_modeRules.Contains(c.mode))
        return notApplicable;

    CString remembered;
    bool dupe = false;
    {
        CSingleLock lock(g_storeLock);
        // The number of the last QSO with this call on this band, up to the
        // first one in this mode, which makes the call a dupe.
        g_qsoLog.ForEachOfCallOnBand(c.call, c.band, [&](const CInfo& e) {
            remembered = e.m_nrRcvd;
            dupe = e.m_mode == c.mode;
            return !dupe;
        });
    }
    if (c.nrOut) {
        const int kMax = 49;
        int len = remembered.GetLength() < kMax ? remembered.GetLength() : kMax;
        std::memcpy(c.nrOut, remembered.GetString(), static_cast<size_t>(len));
        c.nrOut[len] = '\0';
    }
    return dupe ? 0 : 1;
}

int IsValidExchg(const char* exchange)
{
    const char* e = exchange ? exchange : "";
    size_t len = std::strlen(e);
    if (len != 3 && len != 4)
        return 0;
    for (size_t i = 0; i < len; ++i)
        if (e[i] < '0' || e[i] > '9')
            return 0;
    if (len == 3 && std::strcmp(e, "599") == 0)
        return 0;
    return 1;
}
