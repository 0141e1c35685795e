// The message boxes (and other dialog boxes) the code under test shows,
// answered and recorded while a BoxAnswerer lives. Under Windows a box is
// looked for among this process's own windows only; natively the platform
// layer has recorded each box and answered it with OK already.
#pragma once
#include <memory>
#include <string>
#include <vector>

namespace support {

struct SeenBox {
    std::string caption, text;
    bool owned = false; // another window owns the box
};

class BoxAnswerer {
public:
    enum Button { kOk = 1, kCancel = 2 };
    explicit BoxAnswerer(Button answer = kOk);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // The boxes shown since the answerer was made, oldest first.
    std::vector<SeenBox> Seen() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace support
