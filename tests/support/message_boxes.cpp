#include "support/message_boxes.h"

#ifdef _WIN32
#include <windows.h>

#include <atomic>

#include "host/own_windows.h"
#include "host/thread.h"
#else
#include "framework/native_boxes.h"
#endif

namespace support {

#ifdef _WIN32

// A thread watches this process's top-level windows for a visible dialog
// box, records it and presses the answer, then waits (bounded) for it to go.
struct BoxAnswerer::Impl {
    explicit Impl(Button answer) : m_answer(answer), m_thread([this] { Run(); }) {}
    ~Impl()
    {
        m_stop = true;
        m_thread.join();
    }

    // A box asks something: it has an OK or a Cancel button, which the
    // plug-in's own long-lived windows do not.
    static HWND FindBox()
    {
        OwnWindowQuery q;
        q.className = "#32770";
        q.match = [](HWND h) { return GetDlgItem(h, IDOK) || GetDlgItem(h, IDCANCEL); };
        return FindOwnWindow(q);
    }

    void Run()
    {
        while (!m_stop) {
            HWND box = nullptr;
            if (!WaitUntil([&] { return m_stop || (box = FindBox()) != nullptr; }, 1000) || !box)
                continue;
            SeenBox seen;
            char buf[1024] = "";
            GetWindowTextA(box, buf, sizeof buf);
            seen.caption = buf;
            // A message box's text is its static control 0xFFFF.
            buf[0] = '\0';
            GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
            seen.text = buf;
            seen.owned = GetWindow(box, GW_OWNER) != nullptr;
            {
                std::lock_guard<HostMutex> lock(m_mutex);
                m_seen.push_back(seen);
            }
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(m_answer, BN_CLICKED), 0);
            WaitUntil([&] { return m_stop || !IsWindow(box) || !IsWindowVisible(box); }, 5000);
        }
    }

    const Button m_answer;
    std::atomic<bool> m_stop{false};
    mutable HostMutex m_mutex;
    std::vector<SeenBox> m_seen;
    HostThread m_thread;
};

std::vector<SeenBox> BoxAnswerer::Seen() const
{
    std::lock_guard<HostMutex> lock(m_impl->m_mutex);
    return m_impl->m_seen;
}

#else

struct BoxAnswerer::Impl {
    explicit Impl(Button) : m_first(RecordedMessageBoxes().size()) {}
    const size_t m_first;
};

std::vector<SeenBox> BoxAnswerer::Seen() const
{
    const std::vector<RecordedMessageBox> all = RecordedMessageBoxes();
    std::vector<SeenBox> seen;
    for (size_t i = m_impl->m_first; i < all.size(); ++i)
        seen.push_back(SeenBox{all[i].caption, all[i].text, false});
    return seen;
}

#endif

BoxAnswerer::BoxAnswerer(Button answer) : m_impl(new Impl(answer))
{
}

BoxAnswerer::~BoxAnswerer() = default;

} // namespace support
