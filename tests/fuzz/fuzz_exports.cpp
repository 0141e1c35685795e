// libFuzzer target: the input bytes become a sequence of calls to the
// exported functions, as a careless or broken host might make them, with
// odd texts (null, empty, long, bytes >= 0x80, a NUL inside), odd dates
// (null, NaN, infinities, +-1e9 days, any status) and null pointers. Built
// with ASan and UBSan, float casts included: any finding ends the run.
// Run it in a scratch folder holding a "Plugins" folder: the plug-in writes
// its files into the current folder (ctest's fuzz_exports does this).
#include <cstdint>
#include <cstring>
#include <deque>
#include <limits>
#include <string>

#include "framework/oledate.h"
#include "plugin/exports.h"

namespace {

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool More() const { return m_pos < m_size; }
    uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    uint32_t Word()
    {
        uint32_t w = 0;
        for (int i = 0; i < 4; ++i)
            w = w << 8 | Byte();
        return w;
    }

    // A text for a parameter: null, empty, long, a known one, or bytes of
    // the input (a NUL among them ends what the plug-in sees).
    const char* Text()
    {
        static const char* const kKnown[] = {"80m", "40m", "CW", "SSB", "cw", "LY", "YL", "UA", "EU", "AS", "599",
                                             "001", "0042", "YL2AA", "LY1BB", "2.19", "Qorv2.ini"};
        const uint8_t kind = Byte();
        switch (kind % 8) {
        case 0: return nullptr;
        case 1: return "";
        case 2: return Keep(std::string(300 + Byte(), static_cast<char>('A' + kind % 26)));
        case 3:
        case 4: return kKnown[Byte() % (sizeof kKnown / sizeof *kKnown)];
        default: {
            std::string s;
            for (int n = Byte() % 24; n > 0 && More(); --n)
                s += static_cast<char>(Byte());
            return Keep(s);
        }
        }
    }

    // A date, or null: ordinary ones on the contest evening and the edges.
    COleDateTime* Date()
    {
        static const COleDateTime::DateTimeStatus kStatus[] = {COleDateTime::valid, COleDateTime::invalid,
                                                                COleDateTime::null};
        const uint8_t kind = Byte();
        double days = 43589.0 + Byte() / 256.0;
        switch (kind % 10) {
        case 0: return nullptr;
        case 1: days = std::numeric_limits<double>::quiet_NaN(); break;
        case 2: days = std::numeric_limits<double>::infinity(); break;
        case 3: days = -std::numeric_limits<double>::infinity(); break;
        case 4: days = 1e9; break;
        case 5: days = -1e9; break;
        case 6: {
            uint64_t bits = static_cast<uint64_t>(Word()) << 32 | Word();
            std::memcpy(&days, &bits, sizeof days);
            break;
        }
        default: break;
        }
        m_dates.emplace_back(days);
        // Mostly valid; sometimes invalid, null or a status no date has.
        const uint8_t status = Byte() % 8;
        m_dates.back().m_status = status < 5 ? COleDateTime::valid : status < 7 ? kStatus[status - 4] : 7;
        return &m_dates.back();
    }

private:
    const char* Keep(const std::string& s)
    {
        m_texts.push_back(s);
        return m_texts.back().c_str();
    }

    const uint8_t* m_data;
    size_t m_size, m_pos = 0;
    // Deques: what was handed out stays where it is while more is added.
    std::deque<std::string> m_texts;
    std::deque<COleDateTime> m_dates;
};

void Qso(Input& in, bool add)
{
    // Read in the order of the parameters (the order of evaluation of the
    // call's arguments is unspecified).
    const char* own = in.Text();
    const char* call = in.Text();
    COleDateTime* time = in.Date();
    const unsigned freq = in.Byte() % 2 ? 3500000u + in.Byte() * 1000u : in.Word();
    const char* mode = in.Text();
    const char* rstS = in.Text();
    const char* rstR = in.Text();
    const char* nrS = in.Text();
    const char* nrR = in.Text();
    const char* country = in.Text();
    const char* continent = in.Text();
    const char* band = in.Text();
    (add ? AddData0 : RemoveData0)(own, call, time, time, time, time, 0, freq, mode, rstS, rstR, nrS, nrR, nullptr,
                                   nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, country, 0,
                                   0, 0, 0.0, 0.0, nullptr, continent, nullptr, band, nullptr);
}

void Reset(Input& in)
{
    const int cabrillo = in.Byte() % 4 == 0;
    const char* myCall = in.Text();
    COleDateTime* first = in.Date();
    COleDateTime* second = in.Date();
    const char* country = in.Text();
    const char* continent = in.Text();
    // The host's folder is searched for its INI files: keep it to this one.
    ResetStats0(in.Byte() % 2 ? "" : nullptr, cabrillo, myCall, first, second, nullptr, nullptr, nullptr, nullptr,
                nullptr, nullptr, nullptr, nullptr, nullptr, country, 0, 0, 0, 0.0, 0.0, nullptr, continent, nullptr);
}

void CheckCall(Input& in)
{
    char nr[50];
    const char* call = in.Text();
    const char* mode = in.Text();
    const char* country = in.Text();
    const char* continent = in.Text();
    const char* band = in.Text();
    const char* compare = in.Text();
    char* out = in.Byte() % 4 ? nr : nullptr;
    CheckCall0(call, 0, 0, mode, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
               country, 0, 0, 0, 0.0, 0.0, nullptr, continent, nullptr, nullptr, nullptr, band, compare, out, nullptr);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Each input starts from an empty log, as after the host's reset, so
    // that a run depends on its own bytes alone.
    COleDateTime evening(43589.75);
    ResetStats0("", 0, "YL2AA", &evening, &evening, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                nullptr, nullptr, "YL", 0, 0, 0, 0.0, 0.0, nullptr, "EU", nullptr);
    Input in(data, size);
    for (int calls = 0; in.More() && calls < 64; ++calls) {
        int status = 0;
        switch (in.Byte() % 9) {
        case 0: Qso(in, true); break;
        case 1: Qso(in, false); break;
        case 2: Reset(in); break;
        case 3: CheckCall(in); break;
        case 4: GetResult0(in.Byte() % 2 ? &status : nullptr); break;
        case 5: IsValidExchg0(in.Text(), nullptr, nullptr, nullptr, 0, 0, 0); break;
        case 6: GetExchgCount0(); GetSetName(static_cast<int>(in.Word())); break;
        case 7: setVersion(in.Text()); break;
        default: Qso(in, true); break; // adds are the commonest call
        }
    }
    return 0;
}
