// The native build has no screen: each message box is recorded here (and
// printed on stderr) and answered with OK at once, so that tests can read
// what the code would have shown.
#pragma once
#include <string>
#include <vector>

struct RecordedMessageBox {
    std::string text, caption;
    unsigned style;
};

// Every box shown so far by this process, oldest first.
std::vector<RecordedMessageBox> RecordedMessageBoxes();
