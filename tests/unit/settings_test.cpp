// The settings keys as the plug-in stores them: a file is touched only when
// a value changes, and a value that could not be stored is still the one
// read back while the module stays loaded.
#include <doctest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "engine/settings.h"
#include "support/files.h"

namespace fs = std::filesystem;

namespace {

const char* const kIni = "Plugins\\BALTIC.ini";

// The settings kept in memory by one test are gone after it.
struct Bench : support::Scratch {
    explicit Bench(const char* name) : support::Scratch(name) { g_settingsFile.m_unstored.clear(); }
    ~Bench() { g_settingsFile.m_unstored.clear(); }
};

} // namespace

TEST_CASE("settings: a file whose values do not change keeps its bytes and its time")
{
    Bench bench("settings_unchanged");
    const std::string before = "; the operator's note\r\n[Settings]\r\nClaimed=120\r\nName = Janis \r\nClub=\r\n";
    support::WriteBytes(kIni, before);
    const fs::path path("Plugins/BALTIC.ini");
    const fs::file_time_type old = fs::last_write_time(path) - std::chrono::hours(1);
    fs::last_write_time(path, old);

    CHECK(settings::WriteInt(settings::kClaimed, 120));
    CHECK(settings::Write({{settings::kName, "Janis"}, {settings::kClub, ""}, {settings::kClaimed, "120"}}));
    CHECK(support::ReadBytes(kIni) == before);
    CHECK(fs::last_write_time(path) == old);

    // Two values changed together: one new file holding both.
    CHECK(settings::Write({{settings::kName, "Peteris"}, {settings::kClub, "LRAL"}}));
    CHECK(support::ReadBytes(kIni) ==
          "; the operator's note\r\n[Settings]\r\nClaimed=120\r\nName=Peteris\r\nClub=LRAL\r\n");
    CHECK(fs::last_write_time(path) != old);
}

TEST_CASE("settings: a value that cannot be stored is read back from memory until a write stores it")
{
    Bench bench("settings_unstored");
    support::WriteBytes(kIni, "[Settings]\r\nStart=1\r\nMode=SSB\r\n");
    // The Plugins folder gives way to a file: nothing can be written there.
    fs::rename("Plugins", "Plugins.away");
    support::WriteBytes("Plugins", "not a folder");

    const struct {
        const char *key, *value, *read;
    } rows[] = {{"Start", "0", "0"}, {"START", "1", "1"}, {"Name", "  Janis ", "Janis"}};
    for (const auto& row : rows) {
        CAPTURE(row.key);
        CHECK_FALSE(settings::WriteText(row.key, row.value));
        CHECK(settings::ReadText(row.key, "-") == row.read);
    }
    CHECK(settings::ReadText(settings::kStart, "-") == "1");
    // A key never written reads from the file, which is not there now.
    CHECK(settings::ReadMode() == "CW");

    fs::remove("Plugins");
    fs::rename("Plugins.away", "Plugins");
    CHECK(settings::ReadMode() == "SSB");
    CHECK(settings::ReadInt(settings::kStart) == 1);
    CHECK(settings::WriteText(settings::kStart, "0"));
    CHECK(support::ReadBytes(kIni) == "[Settings]\r\nStart=0\r\nMode=SSB\r\n");
    // Stored: from now on the file answers again.
    support::WriteBytes(kIni, "[Settings]\r\nStart=5\r\n");
    CHECK(settings::ReadInt(settings::kStart) == 5);
    CHECK(settings::ReadText(settings::kName, "-") == "Janis");
}
