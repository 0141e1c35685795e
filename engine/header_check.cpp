#include "engine/header_check.h"

#include "engine/rules.h"

namespace {

bool InList(const CString& value, const char* const* list)
{
    for (; *list; ++list)
        if (SameNoCase(value, *list))
            return true;
    return false;
}

// A value the Cabrillo lists do not hold, or an empty one that must be
// given; true when the value is listed.
bool CheckListed(const char* tag, const CString& value, const char* const* list, const char* choose,
                 bool required, std::vector<CString>& out)
{
    if (value.IsEmpty()) {
        if (required)
            out.push_back(CString(tag) + " is empty; choose " + choose);
        return false;
    }
    if (InList(value, list))
        return true;
    out.push_back(CString(tag) + " " + Quoted(value) + " is not a Cabrillo value; choose " + choose);
    return false;
}

} // namespace

std::vector<CString> CheckHeaderValues(const CCheckHeader& h, const CString& ownCall, int cw, int ssb)
{
    static const char* const kBands[] = {"ALL", "160M", "80M", "40M", "20M", "15M", "10M", "6M", "4M", "2M",
                                         "222", "432", "902", "1.2G", "2.3G", "3.4G", "5.7G", "10G", "24G",
                                         "47G", "75G", "122G", "134G", "241G", "Light", "VHF-3-BAND",
                                         "VHF-FM-ONLY", nullptr};
    static const char* const kModes[] = {"SSB", "CW", "RTTY", "FM", "MIXED", "DIGI", nullptr};
    static const char* const kTimes[] = {"6-HOURS", "8-HOURS", "12-HOURS", "24-HOURS", nullptr};
    std::vector<CString> out;

    const CString callsign = Trimmed(h.callsign), own = Trimmed(ownCall);
    if (callsign.IsEmpty())
        out.push_back(own.IsEmpty() ? CString("CALLSIGN is empty; enter your call")
                                    : "CALLSIGN is empty; enter your call " + Shown(own));
    else if (!own.IsEmpty() && callsign.CompareNoCaseAscii(own) != 0)
        out.push_back("CALLSIGN " + Quoted(callsign) + " differs from your call " + Shown(own) +
                      "; correct it in the header");

    const CString op = Trimmed(h.categoryOperator);
    bool sound = CheckListed("CATEGORY-OPERATOR", op, rules::kOperatorList, "SINGLE-OP, MULTI-OP or CHECKLOG",
                             true, out);

    const CString band = Trimmed(h.categoryBand);
    if (CheckListed("CATEGORY-BAND", band, kBands, "80M", true, out) && !SameNoCase(band, "80M") &&
        !SameNoCase(band, "ALL"))
        out.push_back("CATEGORY-BAND is " + Shown(band) + ", but the contest is on 80 m only; choose 80M");

    const CString mode = Trimmed(h.categoryMode);
    if (CheckListed("CATEGORY-MODE", mode, kModes, "CW, SSB or MIXED", true, out)) {
        const char* expected = cw && ssb ? "MIXED" : cw ? "CW" : ssb ? "SSB" : nullptr;
        if (expected && !SameNoCase(mode, expected)) {
            CString holds;
            if (cw && ssb)
                holds.Format("%d CW and %d SSB QSOs", cw, ssb);
            else
                holds = cw ? "CW QSOs only" : "SSB QSOs only";
            out.push_back("CATEGORY-MODE is " + Shown(mode) + ", but the log holds " + holds + "; choose " +
                          expected);
            sound = false;
        }
    } else {
        sound = false;
    }

    const CString assisted = Trimmed(h.categoryAssisted);
    if (!assisted.IsEmpty() && !CheckListed("CATEGORY-ASSISTED", assisted, rules::kAssistedList,
                                            "ASSISTED or leave it empty", false, out))
        sound = false;

    const CString time = Trimmed(h.categoryTime);
    if (SameNoCase(time, "2-HOURS"))
        out.push_back("CATEGORY-TIME is 2-HOURS, which is no longer a section of this contest: the single "
                      "operator assisted section (D) replaced it; leave CATEGORY-TIME empty");
    else if (!time.IsEmpty() && InList(time, kTimes))
        out.push_back("CATEGORY-TIME is " + Shown(time) +
                      ", but this contest has no time sections; leave CATEGORY-TIME empty");
    else if (!time.IsEmpty())
        out.push_back("CATEGORY-TIME " + Quoted(time) +
                      " is not a Cabrillo value, and this contest has no time sections; leave it empty");
    sound = sound && time.IsEmpty();

    // Every value fits on its own, yet together they name no section.
    if (sound && !SameNoCase(op, "CHECKLOG") && !rules::SectionOf(op, mode, assisted, time))
        out.push_back("CATEGORY-OPERATOR " + Shown(op) + " with CATEGORY-MODE " + Shown(mode) +
                      (assisted.IsEmpty() ? CString() : " and CATEGORY-ASSISTED " + Shown(assisted)) +
                      " names no section of this contest; see the sections in the guide");
    return out;
}
