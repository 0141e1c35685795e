// Files and folders for the tests, the same under Windows and natively:
// a scratch folder made current while it lives, files read and written
// whole. Names may use '\' between folders, as the plug-in's own do.
#pragma once
#include <string>

namespace support {

// The folder of the running test program, with a separator at the end.
std::string ExeDir();

// A fresh, empty folder <program folder>/scratch/<name>, with a "Plugins"
// folder unless plugins is false, current for the life of the object; the
// folder that was current before comes back after.
class Scratch {
public:
    explicit Scratch(const std::string& name, bool plugins = true);
    ~Scratch();
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_previous, m_path;
};

bool FileExists(const std::string& name);
// The file's bytes; "<missing>" when it cannot be read.
std::string ReadBytes(const std::string& name);
// The file holds exactly these bytes afterwards (a failure fails the test).
void WriteBytes(const std::string& name, const std::string& bytes);
// Removes the file, if there is one.
void RemoveFile(const std::string& name);

} // namespace support
