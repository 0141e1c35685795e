// Every module global, defined here in the order the module creates them.
// None is ever destroyed: each one with a destructor is a heap object that
// is never freed, reached through a reference. The Setup thread may still
// run after the runtime's teardown at unload (when the host lets go of the
// module while the windows are open) and at process exit (ended inside a
// call): it must find every object whole. The window layer's globals exist
// only in the Windows build; the portable core, built alone for the native
// tests, has the rest.
#include "cabrillo/header.h"
#include "engine/bad_qso_file.h"
#include "engine/contest.h"
#include "engine/hooks.h"
#include "engine/host_modal.h"
#include "engine/prev_qso.h"
#include "engine/rules.h"
#include "engine/settings.h"
#include "engine/stores.h"
#include "framework/barrier.h"
#include "framework/platform.h"
#include "report/report.h"
#include "report/templates.h"
#ifdef _WIN32
#include "framework/dispatch_win.h"
#include "plugin/app.h"
#include "ui/operator_windows.h"
#include "ui/setup_link.h"
#include "ui/setup_window_handle.h"
#endif

// Where the barrier tells of a fallback (constant: ready before any code runs).
void (*g_fallbackTrace)(const char* text) = DebugTrace;

// Guards the stores read by the Setup thread; first, so that it exists
// before anything it guards.
CCriticalSection& g_storeLock = *new CCriticalSection;

CStringArray& g_prevQsoBands = *new CStringArray;
#ifdef _WIN32
CTestApp& theApp = *new CTestApp;
#endif

static const char* const kModes[] = {"CW", "SSB"};
static const char* const kBands[] = {"80m"};
CContestRules& g_modeRules = *new CContestRules(kModes, 2);
CContestRules& g_bandRules = *new CContestRules(kBands, 1);

CCabrilloHeader& g_cabrilloHeader = *new CCabrilloHeader;
#ifdef _WIN32
COleDispatchDriver& g_hostApp = *new COleDispatchDriver;
#endif
CQsoLog& g_qsoLog = *new CQsoLog;
CStringArray (&g_prevQsoRows)[6] = *new CStringArray[1][6];
CStringArray& g_bandsWorked = *new CStringArray;

CString& g_myContinent = *new CString;
CString& g_myCall = *new CString;
CString& g_myCountry = *new CString;
CString& g_contestDate = *new CString;
CString& g_contestYear = *new CString;
CString& g_hostVersion = *new CString;
CString& g_badQsoPath = *new CString;
CString& g_prevQsoCall = *new CString;
CString& g_resultText = *new CString;
CString& g_iniSection = *new CString("Settings");
CString& g_iniFile = *new CString("Plugins\\BALTIC.ini");
CArray<CBadQso>& g_badQsos = *new CArray<CBadQso>;
CSettingsFile& g_settingsFile = *new CSettingsFile;

const char* const kReportCredit = "BALTIC contest statistics plug-in, 80 m CW/SSB";
const char* const g_htmlHead =
    "<html><head><style>table{ width:100%; }table, th, td{ border: 1px solid black; border-collapse: collapse; "
    "}th, td{ padding: 1px; text-align: middle; }th,td{ background-color: #fffac6; color: "
    "black}</style></head><body>";
const char* const g_htmlTitle = "<center><b>%s</b></center><center>Contestant:  <b>%s</center></b><table>";
const char* const g_htmlColumnHeads = "<tr><th> %s</th><th> %s</th><th> %s</th><th> %s</th><th> %s</th></tr>";
const char* const g_htmlBandRow = "<tr><th> <center>%s</center></th><td><center>%i</center></td><td><center>%i</center></"
                                  "td><td><center>%i</center></td><td><center>%i</center></td></tr>";
const char* const g_htmlTotalRow = g_htmlBandRow;
const char* const g_htmlDupeRow =
    "<tr><th> <center>%s</center></th><td><center>%i</center></td><td colspan=8> </td></tr>";
const char* const g_htmlBadRow = g_htmlDupeRow;
const char* const g_htmlValueRow = "<tr><th>%s</small></th><td colspan=9><center>%5i</center></td></tr>";
const char* const g_htmlSectionRow = "<th colspan=10><center>%s</center></th></tr>";
const char* const g_htmlRateRow = "<tr><th> %s </th><td colspan=9><center>%5i /%i</center></td></tr>";
const CString& g_htmlTail = *new CString(CString("</table><h6 align=right>") + kReportCredit + "</h6></body></html>");

int g_htmlReport = 0;
std::atomic<int> g_refreshPending{1};
#ifdef _WIN32
std::atomic<bool> g_moduleUnloading{false};
SetupThreadLife& g_setupThread = *new SetupThreadLife;
Prev_QSO* g_pPrevQso = nullptr;
int g_windowOnTop = 0;
int g_currentBandIndex = -1;
double g_lastSp1Frequency = 0.0;
// Published by the Setup thread while its window exists.
std::atomic<HWND> g_setupWindow{nullptr};
#endif

// Dialogs and boxes open on the host's thread (engine/host_modal.h).
std::atomic<int> g_hostModalDepth{0};
std::atomic<bool> g_exportRefused{false};
std::atomic<unsigned> g_resetCount{0};

// The operator windows' steps, as the window layer installs them at load.
WindowHooks g_windowHooks = kNoWindows;

// Flags and counters owned by single subsystems.
int g_balticStation = 0;
int g_russianUi = 0;
int g_cabrilloRun = 0;
int g_startFlag = 0;
int g_badQsoCount = 0;
int g_claimedScore = 0;

const char* const kBadQsoHeader = "BALTIC CW/SSB TEST UBN file ";
