#include "engine/bad_qso_file.h"

#include <algorithm>
#include <vector>

#include "engine/stores.h"
#include "framework/platform.h"
#include "framework/stdiofile.h"

namespace {

const char* const kLineStart = "QSO:  ";
const char* const kSep = "  ";
const char* const kBadSuffixes[] = {"   WRONG BAND !!!", "   WRONG MODE !!!", "   NO NUMBER !!!", "   DUPE !!!"};

// The date and minute of a QSO as its line gives them.
CString LineTime(const QsoArgs& q)
{
    return q.time.Format(kLogDateTime);
}

// The host's texts keep to the line: a CR or LF in a call would start a
// forged line.
CString BadQsoLine(const QsoArgs& q, BadQsoKind kind)
{
    const CString when = LineTime(q);
    CString line;
    line.Format("%s%u", kLineStart, q.freqHz / 1000);
    const CString* fields[] = {&q.mode, &when, &q.ownCall, &q.rstSent, &q.nrSent, &q.call, &q.rstRcvd, &q.nrRcvd};
    for (const CString* f : fields) {
        line += kSep;
        line += BlankControls(*f);
    }
    line += kBadSuffixes[kind];
    return line;
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
        pos = hit + CString(kSep).GetLength();
    }
}

// True when line is a bad-QSO line of this QSO: same mode, same date and
// minute, and the worked-call field equal to the call as a whole field.
bool IsLineOfQso(const CString& line, const QsoArgs& q, const CString& when)
{
    if (line.Find(kLineStart) != 0)
        return false;
    int pos = CString(kLineStart).GetLength();
    while (pos < line.GetLength() && line[pos] >= '0' && line[pos] <= '9')
        ++pos;
    CString head = CString(kSep) + BlankControls(q.mode) + kSep + when + kSep;
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
    return fields.GetSize() == 6 && fields[3] == BlankControls(q.call);
}

// The same QSO as the file's lines tell it: mode, date and minute, call.
bool IsBadQsoOf(const CBadQso& bad, const QsoArgs& q, const CString& when)
{
    return bad.qso.mode == q.mode && bad.qso.call == q.call && LineTime(bad.qso) == when;
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

void StartBadQsoFile(const CString& path)
{
    g_badQsos.RemoveAll();
    g_badQsoPath = path;
    CStdioFile file;
    if (file.Open(g_badQsoPath, CStdioFile::modeWrite))
        file.WriteLine(kBadQsoHeader);
}

// The file is opened only when there is a line to write: the host replays
// its whole log after every reset, and an open is not cheap.
void AppendBadQso(const QsoArgs& q, BadQsoKind kind)
{
    CBadQso bad;
    bad.qso = q;
    bad.kind = kind;
    g_badQsos.Add(bad);
    CStdioFile file;
    if (file.Open(g_badQsoPath, CStdioFile::modeAppend))
        file.WriteLine(BadQsoLine(q, kind));
}

void RemoveBadQsosOf(const QsoArgs& q)
{
    const CString when = LineTime(q);
    // The lines written for the QSOs taken back go too, whatever blanks
    // their texts hold.
    std::vector<CString> written;
    for (int i = g_badQsos.GetSize() - 1; i >= 0; --i)
        if (IsBadQsoOf(g_badQsos[i], q, when)) {
            written.push_back(BadQsoLine(g_badQsos[i].qso, g_badQsos[i].kind));
            g_badQsos.RemoveAt(i);
        }
    if (g_badQsoPath.IsEmpty())
        return;
    CString kept = CString(kBadQsoHeader) + BALTIC_CRLF;
    CStdioFile in;
    bool readable = in.Open(g_badQsoPath, CStdioFile::modeRead);
    if (readable) {
        CString line;
        bool first = true;
        while (in.ReadString(line)) {
            // The header is written anew above. A file deleted during the
            // contest comes back through AddData0 without one: its first
            // line is then a QSO line and is kept like any other.
            bool header = first && line == kBadQsoHeader;
            first = false;
            if (!header && !IsLineOfQso(line, q, when) &&
                std::find(written.begin(), written.end(), line) == written.end())
                kept += line + BALTIC_CRLF;
        }
        // A read that failed part-way saw only some of the lines.
        readable = in.Close();
    }
    // A file that exists but cannot be read whole (another program holds
    // it) is left alone: rewriting it would lose its lines.
    if (readable || !FileExists(g_badQsoPath))
        ReplaceFileContent(g_badQsoPath, kept);
}

int CountBadQsos()
{
    int count = 0;
    for (int i = 0; i < g_badQsos.GetSize(); ++i)
        if (g_badQsos[i].kind != kDupe)
            ++count;
    return count;
}
