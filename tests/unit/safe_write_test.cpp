// Files are never lost or passed off as whole: a removal whose rewrite of
// the bad-QSO file fails keeps every line of it, and a Cabrillo log that
// could not be written completely is reported as not written and leaves
// the previous log as it was.
#include <doctest.h>

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "cabrillo/header.h"
#include "engine/bad_qso_file.h"
#include "engine/qso_ops.h"
#include "engine/stores.h"
#include "support/files.h"

namespace {

const char* const kBad = "bad_qso.txt";
const std::string kTemp = std::string(kBad) + ".tmp";
const std::string kWrongBandLine = "QSO:  7010  CW  2019-05-04 2130  YL2AA  599  001  LY1BB  599  007   WRONG BAND !!!\r\n";
const std::string kWrongModeLine = "QSO:  3525  FM  2019-05-04 2131  YL2AA  59  002  ES1CC  59  003   WRONG MODE !!!\r\n";

// A scratch folder holding a bad-QSO file with two lines.
struct Folder : support::Scratch {
    explicit Folder(const char* name) : support::Scratch(name), saved(g_badQsoPath)
    {
        g_badQsoPath = kBad;
        support::WriteBytes(kBad, std::string(kBadQsoHeader) + "\r\n" + kWrongBandLine + kWrongModeLine);
    }
    ~Folder() { g_badQsoPath = saved; }
    CString saved;
};

// Removal of the QSO behind the WRONG BAND line.
void RemoveLy1bb()
{
    QsoArgs q;
    q.call = "LY1BB";
    q.mode = "CW";
    q.band = "40m";
    q.time = COleDateTime(43589.0 + (21 * 60 + 30) / 1440.0);
    RemoveQso(q);
}

} // namespace

TEST_CASE("a removal replaces the bad-QSO file only with a complete new one")
{
    Folder folder("safe_rewrite");
    const std::string before = support::ReadBytes(kBad);
    const std::string after = std::string(kBadQsoHeader) + "\r\n" + kWrongModeLine;

    SUBCASE("the new file cannot be written: the old one stays as it was")
    {
        std::filesystem::create_directory(kTemp); // where the new content would go
        RemoveLy1bb();
        CHECK(support::ReadBytes(kBad) == before);
    }
    SUBCASE("the new file takes the old one's place, and nothing is left beside it")
    {
        RemoveLy1bb();
        CHECK(support::ReadBytes(kBad) == after);
        CHECK_FALSE(support::FileExists(kTemp));
    }
#ifdef _WIN32
    SUBCASE("another program holds the old file open: rewritten in place")
    {
        HANDLE other = CreateFileA(kBad, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
        REQUIRE(other != INVALID_HANDLE_VALUE);
        RemoveLy1bb();
        CloseHandle(other);
        CHECK(support::ReadBytes(kBad) == after);
        CHECK_FALSE(support::FileExists(kTemp));
    }
    SUBCASE("another program holds the old file and lets nobody write it: the complete copy stays beside it")
    {
        HANDLE other = CreateFileA(kBad, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(other != INVALID_HANDLE_VALUE);
        RemoveLy1bb();
        CloseHandle(other);
        CHECK(support::ReadBytes(kBad) == before);
        CHECK(support::ReadBytes(kTemp) == after);
    }
#endif
}

TEST_CASE("a Cabrillo log that could not be written whole is reported as not written")
{
    Folder folder("checked_cabrillo");
    CCabrilloHeader header;
    header.m_fileBase = "YL2AA";
    header.m_callsign = "YL2AA";
    CHECK(header.WriteLog(0) == "File produced: YL2AA.cbr");
    const std::string previous = support::ReadBytes("YL2AA.cbr");
    CHECK(previous.rfind("START-OF-LOG: 3.0\r\n", 0) == 0);
    header.m_callsign = "YL2AA/P"; // the next log differs

#ifdef _WIN32
    // Another program holds the file and lets nobody write it. (A write
    // failing after the open, as on a full disk, is checked natively.)
    HANDLE other = CreateFileA("YL2AA.cbr", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(other != INVALID_HANDLE_VALUE);
    CHECK(header.WriteLog(0) == "File could not be written: YL2AA.cbr");
    CloseHandle(other);
#else
    // The disk is full where the new log is written.
    REQUIRE(symlink("/dev/full", "YL2AA.cbr.tmp") == 0);
    CHECK(header.WriteLog(0) == "File could not be written: YL2AA.cbr");
#endif
    CHECK(support::ReadBytes("YL2AA.cbr") == previous);
}
