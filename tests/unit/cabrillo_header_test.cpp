// The Cabrillo header without its dialog: ReplaceAll, the soapbox's three
// forms through the settings file, and the file name the writer takes.
#include <doctest.h>

#include <string>

#include "cabrillo/header.h"
#include "support/files.h"

TEST_CASE("ReplaceAll replaces left to right, never twice and without overlaps")
{
    const struct {
        const char *text, *from, *to, *result;
        int count;
    } rows[] = {
        {"a<CR>b<CR>", "<CR>", "\r", "a\rb\r", 2},
        {"aaa", "aa", "b", "ba", 1},
        {"<CR<CR>>", "<CR>", "<CR><CR>", "<CR<CR><CR>>", 1},
        {"x\ry", "\r", "<CR>", "x<CR>y", 1},
        {"abc", "<LF>", "", "abc", 0},
        {"<LF><LF>", "<LF>", "", "", 2},
        {"", "x", "y", "", 0},
        {"AbA", "a", "b", "AbA", 0},
    };
    for (const auto& row : rows) {
        CAPTURE(row.text);
        int count = -1;
        CHECK(std::string(ReplaceAll(row.text, row.from, row.to, &count)) == row.result);
        CHECK(count == row.count);
    }
    int untouched = 7;
    CHECK(std::string(ReplaceAll("a<CR>", "<CR>", "<CR>", &untouched)) == "a<CR>");
    CHECK(untouched == 7);
}

TEST_CASE("the soapbox: escaped in the settings file, whole however long, one SOAPBOX line per typed line")
{
    support::Scratch dir("cabrillo_soapbox");
    const std::string line(150, 'x');
    support::WriteBytes("Plugins\\BALTIC.ini", "[Settings]\r\nSoapBox=" + line + "<CR><LF>" + line + "<CR>\r\n");
    CCabrilloHeader header;
    header.m_qsoLines.Add("earlier\r\n");
    header.LoadForEdit("YL2AA/P");
    CHECK(std::string(header.m_soapbox) == line + "\r\n" + line + "\r");
    CHECK(std::string(header.m_fileBase) == "YL2AA_P");
    CHECK(std::string(header.m_operators) == "YL2AA/P");

    header.m_soapbox = "one\r\ntwo <CR>three";
    // Line breaks typed into one-line fields become blanks: no new settings
    // key, no new log line.
    header.m_name = "Bob\r\nsetup_x=-32000";
    header.m_club = "LR\nAL";
    header.m_callsign = "YL2AA\r\nQSO: x";
    header.StoreConfirmed();
    CHECK(std::string(header.m_soapbox) == "one\r\nSOAPBOX: two \r\nSOAPBOX: three");
    CHECK(header.m_qsoLines.GetSize() == 0);
    const std::string ini = support::ReadBytes("Plugins\\BALTIC.ini");
    CHECK(ini.find("\nSoapBox=one<CR><LF>two <CR>three\r\n") != std::string::npos);
    CHECK(ini.find("\nName=Bob  setup_x=-32000\r\n") != std::string::npos);
    CHECK(ini.find("\nClub=LR AL\r\n") != std::string::npos);
    CHECK(ini.find("\nsetup_x=") == std::string::npos);
    REQUIRE(std::string(header.WriteLog(0)) == "File produced: YL2AA_P.cbr");
    const std::string log = support::ReadBytes("YL2AA_P.cbr");
    CHECK(log.find("\r\nCALLSIGN: YL2AA  QSO: x\r\n") != std::string::npos);
    CHECK(log.find("\r\nNAME: Bob  setup_x=-32000\r\n") != std::string::npos);
    CHECK(log.find("\r\nQSO:") == std::string::npos);
}

TEST_CASE("the file base: no character that Windows refuses in a name, no device, never empty")
{
    const struct {
        const char *call, *base;
    } rows[] = {
        {"YL2AA/P", "YL2AA_P"}, {"OH\\YL2AA", "OH_YL2AA"}, {"   ", "TOVAK"}, {"", "TOVAK"},
        {" SM5XYZ\t", "SM5XYZ"}, {"C:", "C_"}, {"YL2AA:x", "YL2AA_x"}, {"..\\..\\up", ".._.._up"},
        {"a*b?c\"d<e>f|g", "a_b_c_d_e_f_g"}, {"YL\x01" "2AA", "YL_2AA"}, {"NUL", "NUL_"}, {"com1.x", "com1_.x"},
        {"CONSOLE", "CONSOLE"}, {"lpt9 .a", "lpt9 _.a"},
    };
    for (const auto& row : rows) {
        CAPTURE(row.call);
        CHECK(std::string(CabrilloFileBase(row.call)) == row.base);
    }
}

TEST_CASE("WriteLog names its file by the safe file base whatever m_fileBase holds")
{
    support::Scratch dir("cabrillo_base");
    CCabrilloHeader header;
    header.m_fileBase = "..\\up/x:y";
    CHECK(std::string(header.WriteLog(0)) == "File produced: .._up_x_y.cbr");
    CHECK(support::FileExists(".._up_x_y.cbr"));
    header.m_fileBase = " \t";
    CHECK(std::string(header.WriteLog(0)) == "File produced: TOVAK.cbr");
}
