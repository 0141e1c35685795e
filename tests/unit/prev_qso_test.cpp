// The Previous QSO row from the log: last CW time, last SSB time, number of
// the last QSO, exact call and band.
#include <doctest.h>

#include "engine/prev_qso.h"
#include "engine/stores.h"

namespace {

void Log(const char* call, const char* band, const char* mode, int hour, int minute, const char* nr)
{
    CInfo q;
    q.m_call = call;
    q.m_band = band;
    q.m_mode = mode;
    q.m_nrRcvd = nr;
    q.m_time = COleDateTime(43589.0 + (hour * 60 + minute) / 1440.0);
    g_qsoLog.Add(q);
}

} // namespace

TEST_CASE("the Previous QSO row of a call")
{
    g_qsoLog.RemoveAll();
    Log("LY1BB", "80m", "CW", 12, 3, "007");
    Log("ES5Q", "80m", "CW", 12, 10, "011");
    Log("LY1BB", "80m", "SSB", 12, 40, "042");
    Log("SM5XYZ", "80m", "CW", 13, 0, "100");
    Log("SM5XYZ", "80m", "CW", 13, 30, "130");
    Log("OH2BH", "80M", "CW", 14, 0, "200");
    const struct {
        const char* call;
        const char *cw, *ssb, *nr;
    } rows[] = {
        {"LY1BB", "12:03", "12:40", "042"},  // both modes; the number of the SSB QSO, the later
        {"SM5XYZ", "13:30", "   -", "130"}, // two CW QSOs: the later one
        {"OH2BH", "   -", "   -", "   -"},  // worked on "80M" only: another band
        {"ly1bb", "   -", "   -", "   -"},  // calls compare exactly
        {"", "   -", "   -", "   -"},
    };
    for (const auto& r : rows) {
        INFO(r.call);
        CStringArray row;
        row.Add("80m");
        for (int i = 0; i < 5; ++i)
            row.Add("-");
        LookUpPrevQso(r.call, "80m", row);
        CHECK(row[0] == "80m");
        CHECK(row[1] == r.cw);
        CHECK(row[2] == r.ssb);
        CHECK(row[3] == r.nr);
        CHECK(row[4] == "   -");
        CHECK(row[5] == "-");
    }
    g_qsoLog.RemoveAll();
}
