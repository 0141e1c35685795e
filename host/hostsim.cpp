// hostsim: the host logger stand-in on the command line.
//   hostsim exports [DLL]          lists the exports found and the small entry points' answers
//   hostsim replay FILE.adi [...]  replays a log through the plug-in and prints its report;
//                                  with --cabrillo also exports it as a Cabrillo log
//   hostsim check FILE.adi [...]   replays and exports a log with the header as stored and
//                                  prints the log check
//   hostsim windows [...]          opens the plug-in's windows beside a stand-in of the host's
//                                  automation object and prints the macros they send it
// The copy in the release package is built with HOSTSIM_NO_WINDOWS: its stand-in
// object would register under the host's own name and displace the real host's
// registration on an operator's machine, so that copy has no windows command.
#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "host/file_text.h"
#include "host/answer.h"
#include "host/cty.h"
#include "host/fake_host_app.h"
#include "host/host.h"
#include "host/replay.h"
#include "host/scp.h"
#include "host/workdir.h"

namespace {

// The folder of this program, with a '\' at the end.
std::string ProgramFolder()
{
    char self[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n < MAX_PATH ? n : 0);
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Exists(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

// BALTIC.dll beside this program, wherever it is started from; when there is
// none, the one in the Plugins folder beside it, where the host keeps it.
// Empty, with the reason in `error`, when there is neither.
std::string DefaultDll(std::string& error)
{
    const std::string folder = ProgramFolder();
    const std::string beside = folder + "BALTIC.dll";
    const std::string plugins = folder + "Plugins\\BALTIC.dll";
    if (Exists(beside))
        return beside;
    if (Exists(plugins))
        return plugins;
    error = "no BALTIC.dll beside hostsim (in " + folder + ") nor in " + folder +
            "Plugins\\: put hostsim.exe beside BALTIC.dll, or give --dll PATH";
    return std::string();
}

int ListExports(const std::string& dll)
{
    for (int decorated = 0; decorated < 2; ++decorated) {
        PluginHost host(dll, decorated != 0);
        if (!host.Module()) {
            std::fprintf(stderr, "hostsim: %s\n", host.Error().c_str());
            return 1;
        }
        const std::vector<std::string>& names = decorated ? PluginHost::DecoratedNames() : PluginHost::PlainNames();
        std::printf("%s names:\n", decorated ? "Decorated" : "Plain");
        for (size_t i = 0; i < names.size(); ++i) {
            if (i > 0 && names[i] == names[i - 1])
                continue;
            bool found = GetProcAddress(host.Module(), names[i].c_str()) != nullptr;
            std::printf("  %-8s %s\n", found ? "found" : "MISSING", names[i].c_str());
        }
        if (!host.Loaded())
            return 1;
    }
    PluginHost host(dll);
    std::printf("GetNumberOfSets() = %d\n", host.GetNumberOfSets());
    std::printf("GetExchgCount0() = %d\n", host.GetExchgCount());
    std::printf("GetSetName(0) = \"%s\"\n", host.GetSetName(0));
    std::printf("GetSetName(1) = \"%s\"\n", host.GetSetName(1));
    std::printf("IsValidExchg0(\"001\") = %d\n", host.IsValidExchg("001"));
    std::printf("IsValidExchg0(\"599\") = %d\n", host.IsValidExchg("599"));
    return 0;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: hostsim exports [DLL]\n"
                 "       hostsim replay FILE.adi [--call C] [--prefix P] [--continent C] [--date YYYY-MM-DD]\n"
                 "                      [--html] [--dll PATH] [--host-version V] [--cty FILE] [--scp FILE]\n"
                 "                      [--cabrillo] [--header TAG=VALUE]...\n"
                 "  --cabrillo  export reset: the header dialog is answered with OK, and the report\n"
                 "              writes CALL.cbr; --header types VALUE into the box of TAG first\n"
                 "              (CALLSIGN, CATEGORY-OPERATOR, CATEGORY-MODE, CATEGORY-TIME,\n"
                 "              CATEGORY-ASSISTED, NAME, ADDRESS, ADDRESS-CITY, ADDRESS-POSTALCODE,\n"
                 "              ADDRESS-COUNTRY, OPERATORS, CLUB, SOAPBOX (\\n for a new line), E-MAIL...)\n"
                 "       hostsim check FILE.adi [the options of replay but --cabrillo and --header]\n"
                 "  check       replays and exports the log with the Cabrillo header as stored (the\n"
                 "              dialog is answered for you, nothing typed): writes CALL.cbr, CALL-check.txt\n"
                 "              and CALL-summary.html and prints the log check this run wrote, with the\n"
                 "              busted calls and calls in no country added to it; an export keeps a file it\n"
                 "              replaces with other content as NAME.bak\n"
                 "  the plug-in is BALTIC.dll beside hostsim, else Plugins\\BALTIC.dll beside it; it works in\n"
                 "  the current folder (its settings in Plugins\\BALTIC.ini there, made when missing), which\n"
                 "  must not be the host's own (holding its Qorv2.ini)\n"
                 "  --cty       the country file for records without PFX or CONT (else cty.dat beside\n"
                 "              hostsim, else the built-in one); --call, --prefix and --continent\n"
                 "              default to the own call's country too\n"
                 "  --scp       a Super Check Partial list (else MASTER.SCP beside hostsim): worked calls\n"
                 "              not in it but one character from a call in it are named\n"
#ifndef HOSTSIM_NO_WINDOWS
                 "       hostsim windows [--seconds N] [--macros M] [--frequency HZ] [--call CALL] [--dll PATH]\n"
                 "                       [--date YYYY-MM-DD] [--unload]\n"
                 "  windows     a host of version 2.19 with its automation object: the reset opens the\n"
                 "              Setup window; the macros it sends are printed for N seconds (30), or\n"
                 "              until M of them have come, while the host reports HZ (3525000) and the\n"
                 "              call CALL being typed; then the program ends with the windows open, or\n"
                 "              unloads the plug-in first; the contest date (the year in the titles)\n"
                 "              is the date given, else today's (UTC)\n"
#endif
                 );
}

// "TAG=VALUE" for the header dialog; "\n" in the value is a line break.
bool AddHeaderValue(const std::string& pair, ReplayOptions& options)
{
    size_t eq = pair.find('=');
    std::string tag = pair.substr(0, eq);
    if (eq == std::string::npos || !FindHeaderBox(tag)) {
        std::fprintf(stderr, "hostsim: --header takes TAG=VALUE with a tag of the header dialog, not %s\n",
                     pair.c_str());
        return false;
    }
    std::string value;
    for (size_t i = eq + 1; i < pair.size(); ++i) {
        if (pair.compare(i, 2, "\\n") == 0) {
            value += "\r\n";
            ++i;
        } else {
            value += pair[i];
        }
    }
    options.header.emplace_back(tag, value);
    options.cabrillo = true;
    return true;
}

// "hostsim: LINE" for each line of the text, on stderr.
void PrintLines(const std::string& prefix, const std::string& text)
{
    for (size_t from = 0; from <= text.size();) {
        const size_t end = std::min(text.find('\n', from), text.size());
        std::fprintf(stderr, "hostsim: %s%s\n", prefix.c_str(), text.substr(from, end - from).c_str());
        from = end + 1;
    }
}

// Exit codes: 0 report printed (records that could not be replayed are listed
// on stderr), 1 the log cannot be replayed (missing, empty, cut short, not
// ADIF) or, with --cabrillo, an export file not written, 2 hostsim cannot
// run here: a bad command line, no plug-in or one of another version, a
// folder the plug-in cannot write in, the host's own version file, or an
// export's file that cannot be kept before it is replaced. checkOnly: the check
// command, which prints the log check instead of the report.
int ReplayCommand(int argc, char** argv, bool checkOnly)
{
    ReplayOptions options;
    std::string file, dllError, ctyPath, scpPath;
    bool dllGiven = false;
    for (int i = 2; i < argc; ++i) {
        std::string arg = argv[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "hostsim: %s needs a value\n", arg.c_str());
                return false;
            }
            into = argv[++i];
            return true;
        };
        bool ok = true;
        if (arg == "--html")
            options.html = true;
        else if (arg == "--call")
            ok = value(options.call);
        else if (arg == "--prefix")
            ok = value(options.prefix);
        else if (arg == "--continent")
            ok = value(options.continent);
        else if (arg == "--date")
            ok = value(options.date);
        else if (arg == "--dll")
            ok = dllGiven = value(options.dll);
        else if (arg == "--host-version")
            ok = value(options.hostVersion);
        else if (arg == "--cty")
            ok = value(ctyPath);
        else if (arg == "--scp")
            ok = value(scpPath);
        else if (arg == "--cabrillo" && !checkOnly)
            options.cabrillo = true;
        else if (arg == "--header" && !checkOnly) {
            std::string pair;
            ok = value(pair) && AddHeaderValue(pair, options);
        }
        else if (arg.compare(0, 2, "--") != 0 && file.empty())
            file = arg;
        else {
            std::fprintf(stderr, "hostsim: unknown argument %s\n", arg.c_str());
            ok = false;
        }
        if (!ok) {
            Usage();
            return 2;
        }
    }
    if (file.empty()) {
        Usage();
        return 2;
    }
    options.cabrillo = options.cabrillo || checkOnly;
    if (!dllGiven) {
        options.dll = DefaultDll(dllError);
        if (options.dll.empty()) {
            std::fprintf(stderr, "hostsim: %s\n", dllError.c_str());
            return 2;
        }
    }

    // A country file or a call list beside hostsim is used unless one is named.
    const std::string folder = ProgramFolder();
    CCountryFile countries;
    std::string countrySource = "the built-in cty.dat of " + BuiltInCountryFile().Date();
    if (ctyPath.empty() && Exists(folder + "cty.dat"))
        ctyPath = folder + "cty.dat";
    if (!ctyPath.empty()) {
        std::string error;
        if (!countries.ReadFile(ctyPath, error)) {
            std::fprintf(stderr, "hostsim: the country file %s\n", error.c_str());
            return 2;
        }
        options.countries = &countries;
        countrySource = ctyPath + (countries.Date().empty() ? std::string() : " of " + countries.Date());
    }
    CCallList calls;
    if (scpPath.empty() && Exists(folder + "MASTER.SCP"))
        scpPath = folder + "MASTER.SCP";
    if (!scpPath.empty()) {
        std::string error;
        if (!calls.ReadFile(scpPath, error)) {
            std::fprintf(stderr, "hostsim: the call list %s\n", error.c_str());
            return 2;
        }
        options.calls = &calls;
        options.callsSource = scpPath + (calls.Release().empty() ? std::string() : " (release " + calls.Release() + ")");
    }

    ReplayResult r = ReplayFile(file, options);
    for (const std::string& p : r.problems)
        std::fprintf(stderr, "hostsim: %s\n", p.c_str());
    if (!r.ok) {
        std::fprintf(stderr, "hostsim: %s\nhostsim: nothing replayed, no file written\n", r.error.c_str());
        return r.status;
    }
    std::fprintf(stderr,
                 "hostsim: %s: %d QSOs handed over (%d stored, %d rejected), %d deleted; "
                 "own station %s (%s, %s), contest date %s; country or continent of %d QSOs from %s, "
                 "%d calls not found there\n",
                 file.c_str(), r.stored + r.rejected, r.stored, r.rejected, r.removed, r.ownCall.c_str(),
                 r.ownPrefix.c_str(), r.ownContinent.c_str(), r.contestDate.c_str(), r.lookedUp,
                 countrySource.c_str(), r.countryUnknown);
    if (options.cabrillo) {
        if (!r.headerShown)
            std::fprintf(stderr, "hostsim: the Cabrillo header dialog did not open (is there a display?)\n");
        for (const std::string& box : r.otherMessages)
            PrintLines("the plug-in said: ", box);
        for (const std::string& box : r.exportMessages)
            PrintLines("Cabrillo export: ", box);
    }
    std::string written;
    for (const std::string& w : r.written)
        written += (written.empty() ? "" : ", ") + w;
    std::fprintf(stderr, "hostsim: written in %s: %s\n", r.folder.c_str(), written.empty() ? "nothing" : written.c_str());

    for (const std::string& b : r.backups)
        std::fprintf(stderr, "hostsim: the earlier %s held other content: kept as %s\n",
                     b.substr(0, b.size() - 4).c_str(), b.c_str());

    // hostsim's own findings stand in the check file this run wrote; else
    // they follow on stderr.
    const std::string busted = options.calls ? BustedText(r.busted, options.callsSource) : std::string();
    if (!options.calls)
        std::fprintf(stderr, "hostsim: no MASTER.SCP beside hostsim (in %s) and no --scp FILE: calls not checked "
                             "against a Super Check Partial list\n",
                     folder.c_str());
    if (options.cabrillo && !checkOnly)
        std::fwrite(r.check.data(), 1, r.check.size(), stderr);
    if (r.check.empty())
        std::fwrite(busted.data(), 1, busted.size(), stderr);
    if (checkOnly && r.check.empty())
        std::fprintf(stderr, "hostsim: no log check printed: this run wrote none (above)\n");
    std::fflush(stderr);
    // The report and the check end their lines with CR LF: their bytes as they are.
    const std::string out = checkOnly ? r.check : r.report + "\r\n";
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
    std::fwrite(out.data(), 1, out.size(), stdout);
    // An export that wrote no log, or not all of its files, fails the run.
    if (checkOnly && r.check.empty())
        return 1;
    if (options.cabrillo && (!r.notWritten.empty() || r.exportMessages.size() != 1 ||
                             r.exportMessages[0].rfind("File produced: ", 0) != 0))
        return 1;
    return 0;
}

} // namespace

#ifndef HOSTSIM_NO_WINDOWS
// A session with the operator windows open, watched from the command line.
int WindowsCommand(int argc, char** argv)
{
    int seconds = 30;
    size_t wanted = 0; // macros to wait for; none: wait the seconds out
    double frequency = 3525000.0;
    std::string call, dll, dllError, date;
    bool unload = false;
    for (int i = 2; i < argc; ++i) {
        std::string a = argv[i];
        bool more = i + 1 < argc;
        if (a == "--seconds" && more)
            seconds = std::atoi(argv[++i]);
        else if (a == "--macros" && more)
            wanted = std::strtoul(argv[++i], nullptr, 10);
        else if (a == "--frequency" && more)
            frequency = std::atof(argv[++i]);
        else if (a == "--call" && more)
            call = argv[++i];
        else if (a == "--dll" && more)
            dll = argv[++i];
        else if (a == "--date" && more)
            date = argv[++i];
        else if (a == "--unload")
            unload = true;
        else {
            Usage();
            return 2;
        }
    }
    // The windows' titles carry the contest's year: the day given, else today (UTC).
    int year = 0, month = 0, day = 0;
    if (date.empty()) {
        SYSTEMTIME now;
        GetSystemTime(&now);
        year = now.wYear, month = now.wMonth, day = now.wDay;
    } else if (!ParseContestDate(date, year, month, day)) {
        std::fprintf(stderr, "hostsim: --date takes a date YYYY-MM-DD, not %s\n", date.c_str());
        return 2;
    }
    if (dll.empty() && (dll = DefaultDll(dllError)).empty()) {
        std::fprintf(stderr, "hostsim: %s\n", dllError.c_str());
        return 2;
    }
    std::string error;
    CWorkFolder folder;
    if (!CheckPluginDll(dll, error) || !folder.Prepare("2.19", error)) {
        std::fprintf(stderr, "hostsim: %s\n", error.c_str());
        return 2;
    }
    FakeHostApp app;
    if (!app.Running()) {
        std::fprintf(stderr, "hostsim: the host object could not be registered: %s\n", app.Error().c_str());
        return 1;
    }
    app.SetFrequency(frequency);
    app.SetFieldText(call);
    WritePrivateProfileStringA("Settings", "Start", "0", "Plugins\\BALTIC.ini");
    PluginHost host(dll);
    if (!host.Loaded()) {
        std::fprintf(stderr, "hostsim: %s\n", host.Error().c_str());
        return 2;
    }
    if (!folder.WriteVersionFile(error)) {
        std::fprintf(stderr, "hostsim: %s\n", error.c_str());
        return 2;
    }
    HostReset r;
    r.first = r.second = MakeHostDate(year, month, day);
    host.ResetStats(r);
    folder.RemoveVersionFile();
    size_t shown = 0;
    for (int i = 0; i < seconds * 10 && (wanted == 0 || shown < wanted); ++i) {
        FakeHostApp::PumpFor(100);
        const std::vector<std::string> macros = app.Macros();
        for (; shown < macros.size(); ++shown)
            std::printf("macro %s\n", macros[shown].c_str());
        std::fflush(stdout);
    }
    if (unload)
        host.Unload();
    // Without --unload the process ends with the windows still open.
    std::fflush(stdout);
    ExitProcess(0);
}
#endif

int main(int argc, char** argv)
{
    if (argc < 2) {
        Usage();
        return 2;
    }
    std::string command = argv[1];
    if (command == "exports") {
        std::string error, dll = argc > 2 ? argv[2] : DefaultDll(error);
        if (dll.empty()) {
            std::fprintf(stderr, "hostsim: %s\n", error.c_str());
            return 2;
        }
        return ListExports(dll);
    }
    if (command == "replay" || command == "check")
        return ReplayCommand(argc, argv, command == "check");
#ifndef HOSTSIM_NO_WINDOWS
    if (command == "windows")
        return WindowsCommand(argc, argv);
#else
    if (command == "windows") {
        std::fprintf(stderr, "hostsim: this copy has no windows command: its stand-in of the host would take the "
                             "host's own registration on this machine\n");
        return 2;
    }
#endif
    Usage();
    return 2;
}
