// A folder that no one may write in while the object lives, not even the
// root user the tests may run as: under Wine the folder's Unix side gets the
// immutable attribute (chattr +i, run as a Unix program), since Wine lets
// root write anywhere; on Windows an ACL entry denies writing to everyone.
#pragma once
#include <string>

namespace support {

class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const std::string& folder); // fails the test when it cannot
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    std::string m_folder;
    bool m_set = false;
};

} // namespace support
