// cabrillo/ owns the header record (g_cabrilloHeader, here), its dialog
// (dialog_win.h) and the export a report starts (export.h).
//
// CCabrilloHeader: the header of the Cabrillo log and its finished QSO lines.
#pragma once
#include <vector>

#include "framework/arrays.h"
#include "framework/oledate.h"

class CCabrilloHeader {
public:
    // Loads the stored header, lets the operator edit it, stores it.
    // 1 when confirmed, 0 when cancelled.
    // The date-times play no part in the header. The dialog lives in the
    // window layer (dialog_win.cpp); the steps before and after it here.
    int EditHeader(CString callsign, const COleDateTime* first, const COleDateTime* second);
    // Before the dialog: the callsign and file base, the stored values,
    // the fixed category defaults, the soapbox with real line breaks.
    void LoadForEdit(const CString& callsign);
    // After OK: turns each line break of a one-line field into a blank,
    // stores the values (soapbox escaped) in one write, turns the soapbox
    // into its log-file form and empties the QSO lines. False when the
    // values could not be stored in the settings file.
    bool StoreConfirmed();
    // Formats one QSO line and appends it to m_qsoLines.
    void AddQso(CString call, int freqKHz, CString modeCode, const COleDateTime* time, CString rstSent,
                CString nrSent, CString rstRcvd, CString nrRcvd);
    // Writes m_fileBase + ".cbr" claiming claimedScore; returns the message
    // for the operator.
    CString WriteLog(int claimedScore);

    CString m_callsign;
    CString m_name;
    CString m_address;
    CString m_addressCity;
    CString m_addressPostalCode;
    CString m_addressCountry;
    CString m_claimed;
    CString m_contest;
    CString m_email;
    CString m_club;
    CString m_soapbox;
    CString m_operators;
    CString m_categoryOperator;
    CString m_categoryBand;
    CString m_location;
    CString m_categoryMode;
    CString m_categoryTime;
    CString m_categoryAssisted;
    CString m_fileBase;
    CStringArray m_qsoLines;
};

extern CCabrilloHeader& g_cabrilloHeader;

// The header's fields, one row each, in the dialog's order: the one list
// the dialog's exchange and code-page check, the settings file, the writer
// and the log check read.
enum class HeaderBox { kNone, kEdit, kMultiLine, kCombo };
enum class HeaderDefault {
    kEmpty,    // a missing key reads as empty
    kFallback, // a missing key reads as the row's fallback text
    kCallsign, // a missing key reads as the reset's call
    kCurrent,  // a missing key leaves the field as it is
    kFixed,    // not stored: set to the fallback at every edit
    kNotRead,  // not stored: keeps what it holds (the reset's call, the
               // last confirmed CATEGORY-TIME while the module is loaded)
};
struct CHeaderField {
    const char* label;              // the dialog's label
    const char* tag;                // the Cabrillo tag; null: no line of its own
    CString CCabrilloHeader::*member;
    int box;                        // the dialog's control (resources/resource.h); 0: none
    HeaderBox kind;
    const char* const* key;         // the settings key; null: not stored
    HeaderDefault read;
    const char* fallback;
    int storeRank; // place in the settings write, 1 first; 0: never written here
    int logRank;   // place among the log's header lines, 1 first; 0: no line
};
extern const CHeaderField kHeaderFields[];
extern const int kHeaderFieldCount;

// The header dialog's list of a combo box (from engine/rules.h); null for
// another box.
const char* const* HeaderList(int box);

// The rows with a place by rank (storeRank or logRank), in that order.
std::vector<const CHeaderField*> HeaderFieldsBy(int CHeaderField::*rank);
// A field's value by its Cabrillo tag as the writer writes it: empty when
// no row has the tag or the writer leaves its line out.
CString HeaderValue(const CCabrilloHeader& header, const char* tag);

// text with every occurrence of from (not empty) replaced by to, left to
// right, without overlaps or a second look at replaced text; count (when
// given) receives the number of replacements, unless from equals to.
CString ReplaceAll(const CString& text, const CString& from, const CString& to, int* count = nullptr);

// The name of the .cbr file without its extension: "/" and "\" and every
// other character that Windows refuses in a file name (: * ? " < > | and
// control characters) become "_", surrounding white space goes, an empty
// result is "TOVAK", and a device name (CON, NUL, COM1...) gets a "_".
CString CabrilloFileBase(const CString& callsign);
