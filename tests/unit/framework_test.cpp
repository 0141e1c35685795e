#include <doctest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "framework/arrays.h"
#include "framework/platform.h"
#include "framework/stdiofile.h"

namespace {

std::string ReadBytes(const char* name)
{
    std::ifstream in(name, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const char* name, const std::string& bytes)
{
    std::ofstream out(name, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace

TEST_CASE("text operations")
{
    CString s;
    s.Format("%s\t %i\t %5i|%-4s|", "80m", -3, 42, "ab");
    CHECK(s == "80m\t -3\t    42|ab  |");
    s.AppendFormat("%i", 7);
    CHECK(s.Right(3) == " |7");

    CString call("SM5ABC/P");
    CHECK(call.Find("ABC") == 3);
    CHECK(call.Find("ABC", 4) == -1);
    CHECK(call.Find('/') == 6);
    CHECK(call.Find("") == 0);
    CHECK(call.Mid(2) == "5ABC/P");
    CHECK(call.Mid(2, 3) == "5AB");
    CHECK(call.Mid(20) == "");
    CHECK(call.Left(2) == "SM");
    CHECK(call.Right(2) == "/P");

    CString blanks(" \t DL1AA \r\n");
    CHECK(blanks.Trim() == "DL1AA");
    CString onlyBlanks(" \t\r\n ");
    CHECK(onlyBlanks.Trim().IsEmpty());

    CString text("a<CR>b<CR><CR>");
    CHECK(text.Replace("<CR>", "\r") == 3);
    CHECK(text == "a\rb\r\r");
    CString overlap("aaaa");
    CHECK(overlap.Replace("aa", "a") == 2);
    CHECK(overlap == "aa");

    CHECK(CString("cw").CompareNoCase("CW") == 0);
    CHECK(CString("80m").CompareNoCase("80M") == 0);
    CHECK(CString("80m").CompareNoCase("80m ") != 0);
    CHECK(CString("80m").CompareNoCaseAscii("80M") == 0);
    CHECK(CString("80m").CompareNoCaseAscii("") != 0);
    CHECK(CString(static_cast<const char*>(nullptr)).IsEmpty());
    CHECK_THROWS_AS(call.GetAt(8), std::invalid_argument);
    CHECK_THROWS_AS(call.GetAt(-1), std::invalid_argument);
}

TEST_CASE("an index outside an array throws")
{
    CStringArray a;
    a.Add("80m");
    a.Add("40m");
    CHECK(a.GetSize() == 2);
    CHECK(a[1] == "40m");
    CHECK_THROWS_AS(a.GetAt(2), std::invalid_argument);
    CHECK_THROWS_AS(a.GetAt(-1), std::invalid_argument);
    CHECK_THROWS_AS(a.RemoveAt(2), std::invalid_argument);
    CHECK_THROWS_AS(a.InsertAt(3, "x"), std::invalid_argument);
    a.InsertAt(2, "20m");
    a.RemoveAt(0);
    CHECK(a.GetSize() == 2);
    CHECK(a[0] == "40m");
    CHECK(a[1] == "20m");
    a.RemoveAll();
    CHECK(a.IsEmpty());
}

TEST_CASE("text files: lines read without their ends, written with CR LF")
{
    const char* name = "framework_test_lines.txt";
    WriteBytes(name, "first\r\nsecond\n\r\nlast without end");
    CStdioFile in;
    REQUIRE(in.Open(name, CStdioFile::modeRead));
    CString line;
    const char* expected[] = {"first", "second", "", "last without end"};
    for (const char* e : expected) {
        REQUIRE(in.ReadString(line));
        CHECK(line == e);
    }
    CHECK_FALSE(in.ReadString(line));
    in.Close();

    CStdioFile out;
    REQUIRE(out.Open(name, CStdioFile::modeWrite));
    out.WriteLine("QSO:  3510");
    out.WriteString("raw");
    out.Close();
    CHECK(ReadBytes(name) == "QSO:  3510\r\nraw");

    REQUIRE(out.Open(name, CStdioFile::modeAppend));
    out.WriteLine("more");
    out.Close();
    CHECK(ReadBytes(name) == "QSO:  3510\r\nrawmore\r\n");

    CHECK_FALSE(out.Open("", CStdioFile::modeWrite));
    CHECK_FALSE(out.Open(nullptr, CStdioFile::modeRead));
    CHECK_FALSE(out.Open("no_such_folder\\x.txt", CStdioFile::modeWrite));
    DeleteFileA(name);
}

TEST_CASE("settings values are read whole, whatever their length")
{
    CreateDirectoryA("framework_test_ini", nullptr);
    const char* file = "framework_test_ini\\test.ini";
    DeleteFileA(file);
    CHECK(ProfileRead("Settings", "Missing", "", file) == "");
    CHECK(ProfileRead("Settings", "Missing", "dflt", file) == "dflt");
    for (int length : {0, 1, 99, 100, 255, 256, 257, 1000, 5000}) {
        std::string value(static_cast<size_t>(length), 'x');
        if (length > 2)
            value[static_cast<size_t>(length) - 1] = 'E';
        CAPTURE(length);
        REQUIRE(ProfileWrite("Settings", "SoapBox", value.c_str(), file));
        CHECK(ProfileRead("Settings", "SoapBox", "", file).str() == value);
    }
    // A write into a folder that does not exist fails and creates nothing.
    CHECK_FALSE(ProfileWrite("Settings", "Start", "1", "no_such_folder\\BALTIC.ini"));
    CHECK(GetFileAttributesA("no_such_folder") == INVALID_FILE_ATTRIBUTES);
}
