// Replaying a logged contest through the plug-in, as the host does after a
// reset: every QSO of an ADIF log handed over in file order, then the report.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/adif.h"
#include "host/cty.h"
#include "host/host.h"
#include "host/scp.h"

// The application-defined ADIF field that marks a record as a deletion: the
// host deletes the QSO that the record repeats (RemoveData0 with the same data).
extern const char* const kAdifDeleteField; // "APP_HOSTSIM_DELETE", value Y

// One QSO as the host hands it over, with texts it owns.
struct ReplayQso {
    int record = 0;
    bool remove = false;
    std::string ownCall; // STATION_CALLSIGN, else OPERATOR; may be empty
    std::string call;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    HostDate time;
    unsigned int freqHz = 0;
    std::string mode, rstSent, rstRcvd, nrSent, nrRcvd, country, continent, band;
    bool lookedUp = false;       // the record lacked PFX or CONT, and the country file was asked
    bool countryUnknown = false; // ... and knows no country for the call

    // The parameter block for AddData/RemoveData; valid while this object lives.
    // `defaultOwnCall` stands in for an empty own call.
    HostQso ToHost(const std::string& defaultOwnCall) const;
};

// Turns an ADIF record into the QSO the host would hand over. On failure
// returns false and says why in `problem` (without file or record number).
//   mode:    CW as CW; SSB, USB, LSB, PHONE and PH as SSB; any other as written
//   band:    BAND in lower case ("80M" -> "80m"), else the band of FREQ
//   freqHz:  FREQ (MHz, decimal point) in Hz; 0 without FREQ
//   numbers: STX_STRING, else STX (sent); SRX_STRING, else SRX (received)
//   country: PFX, cut before its first digit after the first character; else
//            the primary prefix of the call's country in `countries`
//            ("LY", "UA9"), else the call cut the same way
//   continent: CONT, else the call's continent in `countries`, else empty
bool QsoFromAdif(const AdifRecord& r, ReplayQso& q, std::string& problem, const CCountryFile* countries = nullptr);

// The country prefix taken from a call or a WPX prefix: the characters before
// the first digit that follows the first character ("LY2AB" -> "LY", "9A1A" -> "9A").
std::string PrefixOfCall(const std::string& call);

// A date of the command line, "YYYY-MM-DD"; false when it is none.
bool ParseContestDate(const std::string& text, int& year, int& month, int& day);

// The amateur band of a frequency in Hz ("80m"), empty outside the bands.
std::string BandOfFrequency(unsigned int hz);

struct ReplayOptions {
    std::string dll = "BALTIC.dll";
    std::string call;              // own call; empty: the log's first own call, else kDefaultCall
    std::string prefix;            // own country prefix; empty: that of the own call's country, else PrefixOfCall
    std::string continent;         // own continent; empty: that of the own call's country, else EU
    const CCountryFile* countries = nullptr; // nullptr: the built-in country file
    const CCallList* calls = nullptr;        // a Super Check Partial list, for possibly busted calls
    std::string date;              // contest date YYYY-MM-DD; empty: the first QSO's date
    bool html = false;             // setVersion before the reset, for the HTML report
    std::string hostVersion = "2.18"; // written to Qorv2.ini; empty: the file is left alone
    // An export reset: the header dialog is answered with OK, after the
    // header values (by tag: "NAME", "CATEGORY-OPERATOR"...) are typed in;
    // the report then writes the .cbr file, whose "Output" box is answered.
    bool cabrillo = false;
    std::vector<std::pair<std::string, std::string>> header;
    std::string callsSource = "the call list"; // names `calls` in the check file
};

extern const char* const kDefaultCall; // "YL2XYZ"

// A worked call that is not in the Super Check Partial list, one character
// from calls that are.
struct BustedCall {
    int record = 0;   // of its first QSO
    std::string when; // "2024-05-18 2110", that QSO's time
    std::string call;
    std::vector<std::string> hints;
};

struct ReplayResult {
    bool ok = false;    // the plug-in was loaded and the report fetched
    int status = 1;     // when !ok: 1 the log cannot be replayed, 2 hostsim cannot run here
    std::string error;  // why not, when !ok
    std::string report; // GetResult0's text
    std::string ownCall, ownPrefix, ownContinent, contestDate; // what the reset was given
    int stored = 0, rejected = 0, removed = 0; // AddData0 answered 1, answered 0; RemoveData0 calls
    int lookedUp = 0, countryUnknown = 0;      // QSOs whose country the country file gave, or could not give
    std::vector<std::string> problems; // "FILE: record N: ..." for every record not replayed as written
    bool headerShown = false;                // the export's header dialog opened
    std::vector<std::string> exportMessages; // the texts of the "Output" boxes
    std::vector<std::string> otherMessages;  // of the plug-in's other boxes during an export
    std::string folder;                      // where the plug-in worked (Path() of CWorkFolder)
    std::vector<std::string> written;        // the files it made or changed there
    std::vector<BustedCall> busted;          // with ReplayOptions::calls
    std::vector<BustedCall> noCountry;       // calls the country file does not know (no hints)
    // An export's outcome: the log check as this run wrote it, hostsim's own
    // findings added (empty when it wrote none: an older file is never
    // taken for it); the export's files that could not be written; the
    // backups kept of files replaced that held other content.
    std::string check;
    std::vector<std::string> notWritten;
    std::vector<std::string> backups;
};

// The possibly busted calls as a section of the log check: a heading, then
// one line per call ("  none" when there is none); CR LF ends each line.
std::string BustedText(const std::vector<BustedCall>& busted, const std::string& source);

// Replays `log` (read from `source`) in the current directory, which must
// let the plug-in write (Plugins is made when missing): the bad-QSO file,
// Plugins\BALTIC.ini and an export's files are written there, and Qorv2.ini
// for the reset only (see host/workdir.h). Nothing is written when the log,
// the plug-in or the folder is found wanting, or when an export's file
// there cannot be kept before it is replaced. hostsim's own findings
// (busted calls, calls in no country) are added to the check file.
ReplayResult Replay(const AdifLog& log, const std::string& source, const ReplayOptions& options);

// Reads the file and replays it. A file that cannot be read is an error.
ReplayResult ReplayFile(const std::string& path, const ReplayOptions& options);
