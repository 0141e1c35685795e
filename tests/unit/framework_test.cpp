#include <doctest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "framework/arrays.h"
#include "framework/lock.h"
#include "framework/platform.h"
#include "framework/profile.h"
#include "framework/stdiofile.h"
#include "host/thread.h"
#include "support/files.h"

using support::ReadBytes;
using support::WriteBytes;

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
    support::Scratch dir("framework_lines");
    const char* name = "lines.txt";
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
    CHECK_FALSE(out.Open("no_such_folder/x.txt", CStdioFile::modeWrite));
#ifdef _WIN32
    // Natively a '\\' is part of a file's name: CStdioFile passes names as they are.
    CHECK_FALSE(out.Open("no_such_folder\\x.txt", CStdioFile::modeWrite));
#endif
}

TEST_CASE("settings values are read whole, whatever their length")
{
    support::Scratch dir("framework_ini");
    const char* file = "Plugins\\test.ini";
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
    CHECK_FALSE(support::FileExists("no_such_folder"));
}

TEST_CASE("settings files: what a write leaves in the file")
{
    support::Scratch dir("framework_ini_write");
    const char* const file = "Plugins\\BALTIC.ini";
    const char* const missing = nullptr;
    struct Case {
        const char* name;
        const char* before; // nullptr: no file
        const char *section, *key, *value;
        const char* after;
    } cases[] = {
        {"a new file", missing, "Settings", "Start", "1", "[Settings]\r\nStart=1\r\n"},
        {"a key replaced in place, names in any case", "[Settings]\r\nStart=0\r\nMode=CW\r\n", "settings", "START",
         "1", "[Settings]\r\nStart=1\r\nMode=CW\r\n"},
        {"a new key after its section's last line; the blank line before the next section stays",
         "[Settings]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n", "Settings", "C", "3",
         "[Settings]\r\nA=1\r\nC=3\r\n\r\n[Other]\r\nB=2\r\n"},
        {"a new section at the end; LF and CR lines end in CR LF", "[Settings]\nA=1\rB=2", "New", "K", "v",
         "[Settings]\r\nA=1\r\nB=2\r\n[New]\r\nK=v\r\n"},
        {"other lines kept as they were: blanks, comments, lines without '='",
         "  [S]  \n  K  =  v  \n; note\n\nX\n", "S", "B", "2", "  [S]  \r\n  K  =  v  \r\n; note\r\n\r\nX\r\nB=2\r\n"},
        {"a value changed: its line is rewritten, the others kept", "; mine\r\n[S]\r\n  K = \"v\" \r\n Z=1\r\n", "S",
         "k", "w", "; mine\r\n[S]\r\nK=w\r\n Z=1\r\n"},
        {"the same value again leaves the file as it was", "  [S]  \n  K  =  v  \n", "S", "K", "v",
         "  [S]  \n  K  =  v  \n"},
        {"a value a read gives the same (quotes, blanks) leaves it too", "[S]\nK='v'\n", "S", "K", " v ",
         "[S]\nK='v'\n"},
        {"leading blanks of a value are not written", missing, "S", "K", "  v  ", "[S]\r\nK=v  \r\n"},
        {"a key above every section is not the section's", "K=1\r\n[S]\r\n", "S", "K", "2",
         "K=1\r\n[S]\r\nK=2\r\n"},
        {"only the first of two sections of a name", "[S]\r\nA=1\r\n[S]\r\nB=2\r\n", "S", "B", "3",
         "[S]\r\nA=1\r\nB=3\r\n[S]\r\nB=2\r\n"},
    };
    for (const Case& c : cases) {
        INFO(c.name);
        support::RemoveFile(file);
        if (c.before)
            WriteBytes(file, c.before);
        CHECK(ProfileWrite(c.section, c.key, c.value, file));
        CHECK(ReadBytes(file) == c.after);
        CHECK_FALSE(support::FileExists(std::string(file) + ".tmp"));
    }
}

TEST_CASE("settings files: what a read gives")
{
    support::Scratch dir("framework_ini_read");
    const char* const file = "Plugins\\BALTIC.ini";
    struct Case {
        const char* content; // nullptr: no file
        const char* key;
        const char* expected;
    } cases[] = {
        {"[sEtTiNgS]\r\nkEy= value \r\n", "KEY", "value"},
        {"[ Settings ]\r\n\tK\t=\tv\t\r\n", "K", "v"},
        {"[Settings]\rK=v\r", "K", "v"},
        {"[Settings]\r\nK=\"x\"\r\n", "K", "x"},
        {"[Settings]\r\nK= ' x ' \r\n", "K", " x "},
        {"[Settings]\r\nK=\"x'\r\n", "K", "\"x'"},
        {"[Settings]\r\nK=\"\r\n", "K", "\""},
        {"[Settings]\r\nK=\r\n", "K", ""},
        {"[Settings]\r\nK\r\n", "K", "default"},
        {"[Settings]\r\nK=1\r\nK=2\r\n", "K", "1"},
        {"[Settings]\r\nA=1\r\n[Settings]\r\nK=2\r\n", "K", "default"},
        {"K=1\r\n[Other]\r\nK=2\r\n", "K", "default"},
        {nullptr, "K", "default"},
    };
    for (const Case& c : cases) {
        CAPTURE(c.content ? c.content : "(no file)");
        support::RemoveFile(file);
        if (c.content)
            WriteBytes(file, c.content);
        CHECK(ProfileRead("Settings", c.key, "default  ", file) == c.expected);
    }
}

TEST_CASE("file search: wildcards, either separator, names in any case")
{
    support::Scratch dir("framework_search");
    for (const char* name : {"Qorv2.ini", "BALTIC.INI", "notes.txt", "a.ini.bak", "Plugins\\x.ini"})
        WriteBytes(name, "");
    struct Case {
        const char* pattern;
        std::vector<std::string> names;
    } cases[] = {
        {"*.ini", {"BALTIC.INI", "Qorv2.ini"}},
        {"qorv?.INI", {"Qorv2.ini"}},
        {"NOTES.TXT", {"notes.txt"}},
        {"*.bak", {"a.ini.bak"}},
        {"Plugins\\*.ini", {"x.ini"}},
        {".\\Plugins/*", {".", "..", "x.ini"}},
        {"Plugins", {"Plugins"}},
        {"Plugins\\", {}},
        {"missing\\*", {}},
    };
    for (const Case& c : cases) {
        CAPTURE(c.pattern);
        std::vector<std::string> names;
        ForEachFileName(c.pattern, [&names](const char* name) {
            names.push_back(name);
            return true;
        });
        std::sort(names.begin(), names.end());
        CHECK(names == c.names);
    }
    int visits = 0;
    ForEachFileName("*", [&visits](const char*) { return ++visits < 2; });
    CHECK(visits == 2);

    WriteBytes("new.txt", "new");
    WriteBytes("old.txt", "old");
    CHECK(ReplaceFileWith("new.txt", "old.txt"));
    CHECK(ReadBytes("old.txt") == "new");
    CHECK_FALSE(support::FileExists("new.txt"));
    CHECK_FALSE(ReplaceFileWith("new.txt", "old.txt"));
    CHECK(ReadBytes("old.txt") == "new");
}

TEST_CASE("the lock is taken again by its holder and keeps other threads out until fully released")
{
    CCriticalSection cs;
    std::atomic<bool> entered{false};
    HostThread other;
    {
        CSingleLock outer(cs);
        {
            CSingleLock inner(cs);
            other = HostThread([&] {
                CSingleLock lock(cs);
                entered = true;
            });
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            CHECK_FALSE(entered);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        CHECK_FALSE(entered);
    }
    other.join();
    CHECK(entered);
}
