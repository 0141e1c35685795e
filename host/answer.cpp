#include "host/answer.h"

#include <cstring>
#include <fstream>

#include "host/own_windows.h"
#include "resources/resource.h"

namespace {

const char* const kHeaderCaption = "Baltic Contest";
const char* const kOutputCaption = "Output";
// Every wait on the other thread is bounded: a window that stops answering
// must not hang the host.
const UINT kSendTimeoutMs = 5000;

LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, msg, wp, lp, SMTO_NORMAL, kSendTimeoutMs, &result))
        return -1;
    return static_cast<LRESULT>(result);
}

// After a button of dialog was pressed: until the dialog has gone, or a box
// it opened is up.
void WaitUntilAnswered(HWND dialog)
{
    WaitUntil([dialog] { return !IsWindow(dialog) || !IsWindowVisible(dialog) || FindProcessDialog(nullptr, dialog); },
              10000);
}

// Until the window and its controls have no part left to paint.
bool Painted(HWND window)
{
    if (GetUpdateRect(window, nullptr, FALSE))
        return false;
    for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c) && GetUpdateRect(c, nullptr, FALSE))
            return false;
    return true;
}

std::string StyleFlags(HWND box, bool combo)
{
    const LONG style = GetWindowLongA(box, GWL_STYLE);
    std::string flags;
    flags += (style & WS_TABSTOP) ? "T" : "";
    flags += (style & (combo ? CBS_AUTOHSCROLL : ES_AUTOHSCROLL)) ? "H" : "";
    flags += (combo && (style & 3) == CBS_DROPDOWN) ? "D" : "";
    const LONG multi = ES_MULTILINE | ES_WANTRETURN | WS_VSCROLL;
    flags += (!combo && (style & multi) == multi) ? "M" : "";
    return flags;
}

} // namespace

const std::vector<HeaderBox>& CabrilloHeaderBoxes()
{
    static const std::vector<HeaderBox> boxes = {
        {"CONTEST", IDC_CONTEST, false},
        {"CALLSIGN", IDC_CALLSIGN, false},
        {"CLAIMED", IDC_CLAIMED, false},
        {"CATEGORY-OPERATOR", IDC_CATEGORY_OPERATOR, true},
        {"CATEGORY-BAND", IDC_CATEGORY_BAND, true},
        {"CATEGORY-MODE", IDC_CATEGORY_MODE, true},
        {"CATEGORY-TIME", IDC_CATEGORY_TIME, true},
        {"CATEGORY-ASSISTED", IDC_CATEGORY_ASSISTED, true},
        {"NAME", IDC_NAME, false},
        {"ADDRESS", IDC_ADDRESS, false},
        {"ADDRESS-CITY", IDC_ADDRESS_CITY, false},
        {"ADDRESS-POSTALCODE", IDC_ADDRESS_POSTALCODE, false},
        {"ADDRESS-COUNTRY", IDC_ADDRESS_COUNTRY, false},
        {"OPERATORS", IDC_OPERATORS, false},
        {"CLUB", IDC_CLUB, false},
        {"SOAPBOX", IDC_SOAPBOX, false},
        {"E-MAIL", IDC_EMAIL, false},
    };
    return boxes;
}

const HeaderBox* FindHeaderBox(const std::string& tag)
{
    for (const HeaderBox& b : CabrilloHeaderBoxes())
        if (tag == b.tag)
            return &b;
    return nullptr;
}

HWND FindProcessDialog(const char* caption, HWND except)
{
    OwnWindowQuery q;
    q.className = "#32770";
    q.title = caption;
    q.except = except;
    return FindOwnWindow(q);
}

std::string ControlText(HWND dialog, int id)
{
    HWND box = GetDlgItem(dialog, id);
    LRESULT n = Send(box, WM_GETTEXTLENGTH, 0, 0);
    if (n <= 0)
        return std::string();
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = Send(box, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(n > 0 ? static_cast<size_t>(n) : 0);
    return text;
}

std::wstring ControlTextW(HWND dialog, int id)
{
    HWND box = GetDlgItem(dialog, id);
    wchar_t text[4096] = L"";
    DWORD_PTR n = 0;
    if (!SendMessageTimeoutW(box, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kSendTimeoutMs, &n))
        return std::wstring();
    return std::wstring(text, n);
}

std::string ComboList(HWND dialog, int id)
{
    HWND box = GetDlgItem(dialog, id);
    std::string out;
    LRESULT count = Send(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT n = Send(box, CB_GETLBTEXTLEN, i, 0);
        if (n < 0)
            break;
        std::string entry(static_cast<size_t>(n) + 1, '\0');
        Send(box, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(static_cast<size_t>(n));
        out += (i ? "|" : "") + entry;
    }
    return out;
}

bool SaveWindowBitmap(HWND window, const std::string& path)
{
    RECT r;
    if (!GetWindowRect(window, &r))
        return false;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(mem, bmp);
    // The window as it is on the screen; printed by itself where the
    // screen cannot be read back.
    if (!BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY))
        PrintWindow(window, mem, 0);
    SelectObject(mem, old);

    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (w * 3 + 3) & ~3;
    std::string pixels(static_cast<size_t>(stride) * h, '\0');
    int lines = GetDIBits(mem, bmp, 0, h, &pixels[0], reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    if (lines != h)
        return false;

    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    return static_cast<bool>(out);
}

ExportAnswerer::ExportAnswerer(HeaderAnswer answer) : ExportAnswerer(std::vector<HeaderAnswer>{std::move(answer)}) {}

ExportAnswerer::ExportAnswerer(std::vector<HeaderAnswer> rounds)
    : m_rounds(rounds.empty() ? std::vector<HeaderAnswer>(1) : std::move(rounds)), m_thread([this] { Run(); })
{
}

ExportAnswerer::~ExportAnswerer()
{
    m_stop = true;
    m_thread.join();
}

std::vector<HeaderSeen> ExportAnswerer::Headers() const
{
    std::lock_guard<HostMutex> lock(m_mutex);
    return m_headers;
}

std::vector<OutputSeen> ExportAnswerer::Outputs() const
{
    std::lock_guard<HostMutex> lock(m_mutex);
    return m_outputs;
}

std::vector<std::string> ExportAnswerer::Others() const
{
    std::lock_guard<HostMutex> lock(m_mutex);
    return m_others;
}

void ExportAnswerer::OnOutput(void (*hook)(HWND, void*), void* context)
{
    std::lock_guard<HostMutex> lock(m_mutex);
    m_hook = hook;
    m_hookContext = context;
}

void ExportAnswerer::OnHeader(void (*hook)(HWND, void*), void* context)
{
    std::lock_guard<HostMutex> lock(m_mutex);
    m_headerHook = hook;
    m_headerHookContext = context;
}

void ExportAnswerer::AnswerHeader(HWND dialog)
{
    void (*hook)(HWND, void*);
    void* context;
    {
        std::lock_guard<HostMutex> lock(m_mutex);
        hook = m_headerHook;
        context = m_headerHookContext;
    }
    if (hook)
        hook(dialog, context);
    size_t round;
    {
        std::lock_guard<HostMutex> lock(m_mutex);
        round = m_headers.size();
    }
    const HeaderAnswer& answer = m_rounds[round < m_rounds.size() ? round : m_rounds.size() - 1];
    // Let the dialog paint before it is pictured.
    if (!answer.screenshot.empty() || !answer.listScreenshot.empty())
        WaitUntil([dialog] { return Painted(dialog); }, 5000);
    HeaderSeen seen;
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    seen.caption = caption;
    for (const HeaderBox& b : CabrilloHeaderBoxes()) {
        seen.texts[b.tag] = ControlText(dialog, b.id);
        seen.wide[b.tag] = ControlTextW(dialog, b.id);
        seen.styles[b.tag] = StyleFlags(GetDlgItem(dialog, b.id), b.combo);
        if (b.combo)
            seen.lists[b.tag] = ComboList(dialog, b.id);
    }
    if (!answer.screenshot.empty())
        SaveWindowBitmap(dialog, answer.screenshot);
    if (!answer.listScreenshot.empty()) {
        HWND combo = GetDlgItem(dialog, IDC_CATEGORY_OPERATOR);
        Send(combo, CB_SHOWDROPDOWN, TRUE, 0);
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        GetComboBoxInfo(combo, &info);
        WaitUntil([&] { return Send(combo, CB_GETDROPPEDSTATE, 0, 0) > 0 && info.hwndList && Painted(info.hwndList); },
                  5000);
        SaveWindowBitmap(dialog, answer.listScreenshot);
        Send(combo, CB_SHOWDROPDOWN, FALSE, 0);
    }
    {
        std::lock_guard<HostMutex> lock(m_mutex);
        m_headers.push_back(seen);
    }
    for (const auto& v : answer.values)
        if (const HeaderBox* b = FindHeaderBox(v.first))
            Send(GetDlgItem(dialog, b->id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.second.c_str()));
    for (const auto& v : answer.wideValues)
        if (const HeaderBox* b = FindHeaderBox(v.first))
            SendMessageTimeoutW(GetDlgItem(dialog, b->id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(v.second.c_str()),
                                SMTO_NORMAL, kSendTimeoutMs, nullptr);
    // Posted: a box the button opens must not hold this thread.
    PostMessageA(GetDlgItem(dialog, answer.cancel ? IDCANCEL : IDOK), BM_CLICK, 0, 0);
}

void ExportAnswerer::Run()
{
    while (!m_stop) {
        // One look per round, judged by the caption it has then: a dialog
        // that turns visible between two looks is never taken for another.
        HWND found = nullptr;
        if (!WaitUntil([&] { return m_stop || (found = FindProcessDialog(nullptr)) != nullptr; }, 1000) || !found)
            continue;
        char caption[256] = "";
        GetWindowTextA(found, caption, sizeof caption);
        if (std::strcmp(caption, kHeaderCaption) == 0) {
            AnswerHeader(found);
            WaitUntilAnswered(found);
        } else if (std::strcmp(caption, kOutputCaption) == 0) {
            OutputSeen seen;
            char text[1024] = "";
            GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
            seen.text = text;
            seen.owner = GetWindow(found, GW_OWNER);
            void (*hook)(HWND, void*);
            void* context;
            {
                std::lock_guard<HostMutex> lock(m_mutex);
                m_outputs.push_back(seen);
                hook = m_hook;
                context = m_hookContext;
            }
            if (hook)
                hook(found, context);
            PostMessageA(found, WM_COMMAND, IDOK, 0);
            WaitUntil([found] { return !IsWindow(found); }, 2000);
        } else {
            char text[1024] = "";
            GetDlgItemTextA(found, 0xFFFF, text, sizeof text);
            {
                std::lock_guard<HostMutex> lock(m_mutex);
                m_others.push_back(text);
            }
            PostMessageA(found, WM_COMMAND, IDCANCEL, 0);
            WaitUntil([found] { return !IsWindow(found) || !IsWindowVisible(found); }, 5000);
        }
    }
}
