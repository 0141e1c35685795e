// Answering the plug-in's Cabrillo export as an operator would, from a
// thread of the host process: the header dialog ("Baltic Contest") and the
// "Output" box that names the file. Used by hostsim and the window tests.
#pragma once
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "host/thread.h"

// The header dialog's boxes, by the tag they fill in the log.
struct HeaderBox {
    const char* tag; // "CALLSIGN", "CATEGORY-OPERATOR", ..., "SOAPBOX"
    int id;
    bool combo;
};
const std::vector<HeaderBox>& CabrilloHeaderBoxes();
// The box for a tag, nullptr when there is none.
const HeaderBox* FindHeaderBox(const std::string& tag);

// A visible dialog of this process other than except, with exactly this
// caption (nullptr: any); else nullptr.
HWND FindProcessDialog(const char* caption, HWND except = nullptr);
std::string ControlText(HWND dialog, int id);
std::wstring ControlTextW(HWND dialog, int id);
// The entries of a combo box's list, joined by "|".
std::string ComboList(HWND dialog, int id);
// Saves what the screen shows of the window as a 24-bit BMP file.
bool SaveWindowBitmap(HWND window, const std::string& path);

struct HeaderAnswer {
    // Typed (WM_SETTEXT) into the boxes, by tag, before the button is pressed.
    std::vector<std::pair<std::string, std::string>> values;
    // Typed as wide text (any script), after values.
    std::vector<std::pair<std::string, std::wstring>> wideValues;
    bool cancel = false;        // press CANCEL instead of OK
    std::string screenshot;     // when set, a BMP of the dialog as it opened
    std::string listScreenshot; // when set, a BMP with the CATEGORY-OPERATOR list dropped
};

// What one header dialog showed when it opened.
struct HeaderSeen {
    std::map<std::string, std::string> texts; // by tag
    std::map<std::string, std::wstring> wide; // the same, as wide text
    std::map<std::string, std::string> lists; // combo lists by tag
    // Styles by tag: T tab stop, H scrolls horizontally, D editable drop-down
    // list, M multi-line taking Enter with a vertical scroll bar.
    std::map<std::string, std::string> styles;
    std::string caption;
};

struct OutputSeen {
    std::string text;
    HWND owner = nullptr;
};

// While alive, answers every header dialog with `answer` and presses OK in
// every "Output" box, recording what they showed. Any other dialog of the
// process is recorded and cancelled, so that nothing can stall the caller.
// Stops (and joins) in the destructor.
class ExportAnswerer {
public:
    explicit ExportAnswerer(HeaderAnswer answer = HeaderAnswer());
    // The n-th time a header dialog is answered (the same window again when
    // it refused the last answer) takes rounds[n], the last one from then on.
    explicit ExportAnswerer(std::vector<HeaderAnswer> rounds);
    ~ExportAnswerer();
    ExportAnswerer(const ExportAnswerer&) = delete;
    ExportAnswerer& operator=(const ExportAnswerer&) = delete;

    std::vector<HeaderSeen> Headers() const;
    std::vector<OutputSeen> Outputs() const;
    // The texts of the other boxes (message boxes), in order.
    std::vector<std::string> Others() const;
    // Called on the answering thread while an "Output" box is open, before
    // OK is pressed (a test posts the host's messages from here).
    void OnOutput(void (*hook)(HWND box, void* context), void* context);
    // Called on the answering thread while a header dialog is open, before
    // it is read and answered (a test lets the host's timers call in here).
    void OnHeader(void (*hook)(HWND dialog, void* context), void* context);

private:
    void Run();
    void AnswerHeader(HWND dialog);

    std::vector<HeaderAnswer> m_rounds;
    mutable HostMutex m_mutex;
    std::vector<HeaderSeen> m_headers;
    std::vector<OutputSeen> m_outputs;
    std::vector<std::string> m_others;
    void (*m_hook)(HWND, void*) = nullptr;
    void* m_hookContext = nullptr;
    void (*m_headerHook)(HWND, void*) = nullptr;
    void* m_headerHookContext = nullptr;
    std::atomic<bool> m_stop{false};
    HostThread m_thread;
};
