// The folder hostsim plays the host in: the current folder, where the
// plug-in writes the bad-QSO file, the Cabrillo log and its check, and reads
// and writes Plugins\BALTIC.ini. hostsim keeps what it replaces there: the
// host version file Qorv2.ini that the reset reads is written only where
// none is, and removed as soon as the reset has read it; an export's files
// replaced with other bytes are kept as NAME.bak.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

class CWorkFolder {
public:
    CWorkFolder() = default;
    ~CWorkFolder(); // removes the version file if it is still there
    CWorkFolder(const CWorkFolder&) = delete;
    CWorkFolder& operator=(const CWorkFolder&) = delete;

    // Checks that the plug-in can write what it writes here, making the
    // Plugins folder when there is none, and that no version file of the
    // host's is in the way (none is looked for when hostVersion is empty).
    // On failure writes nothing, and `error` says what and where.
    bool Prepare(const std::string& hostVersion, std::string& error);
    // Writes Qorv2.ini saying that version (after Prepare).
    bool WriteVersionFile(std::string& error);
    // Removes the version file this object wrote; nothing else.
    void RemoveVersionFile();

    // Before a run that may replace these files (names relative to the
    // folder): a copy of each one there is put beside it, so that nothing
    // is lost whatever the run does. False, with the copies made removed
    // and `error` saying which could not be made, when one cannot be.
    bool KeepCopies(const std::vector<std::string>& names, std::string& error);
    // After the run: the copy of a file that now holds other bytes becomes
    // its backup NAME.bak (replacing an older one), the others are removed.
    // Returns the backups; a copy that cannot take that name stays under
    // its own, named in `problems`.
    std::vector<std::string> KeepBackups(std::vector<std::string>& problems);

    // The folder's full name, with a '\' at the end.
    const std::string& Path() const { return m_path; }
    // The files (names relative to the folder) made or changed since Prepare.
    std::vector<std::string> Written() const;

    // The bytes hostsim writes into a version file; a file that holds them is
    // hostsim's own, left by a run that ended inside the reset.
    static std::string VersionFileText(const std::string& version);
    static bool IsOwnVersionFile(const std::string& text);

private:
    struct Stamp {
        ULONGLONG size;
        FILETIME written;
    };
    std::map<std::string, Stamp> Snapshot() const;

    std::string m_path, m_version;
    bool m_versionWritten = false;
    std::vector<std::string> m_kept; // files with a copy beside them
    std::map<std::string, Stamp> m_before;
};

// Writes the file whole, beside it first, then in its place; false, with
// the reason in `error`, when it cannot (the old file then stays).
bool ReplaceWholeFile(const std::string& name, const std::string& bytes, std::string& error);

// Checks the plug-in before it is loaded: the file is there and its version
// block says this program's version. On failure `error` says what and where.
bool CheckPluginDll(const std::string& path, std::string& error);
