// Settings files in the private-profile layout ("[Section]" lines, then
// "Key=value" lines), read and written by this module's own parser alone:
// the system's reader may answer from a copy it cached by the file's
// modification time, which a file replaced within the same tick defeats.
//
// Rules, as the system reader has them: section and key names compare
// without regard to case; blanks around names and values are trimmed; a
// value in matching quotes (either kind) comes back without them; a line
// without '=' holds no value; the first section and the first key of a
// name count; keys above the first section belong to none.
#pragma once
#include <string>
#include <vector>

#include "framework/str.h"

namespace profile {

// The value of key in section of a settings file's text, as a read gives it;
// false when the section or the key is missing.
bool Find(const std::string& text, const char* section, const char* key, std::string& value);

// Sets key in section of the text to value (its leading blanks dropped).
// Every other line stays as it was; a new key goes after the last line of
// its section, a new section at the end; every line ends in CR LF. False,
// the text untouched, when a read already gives that value.
bool Set(std::string& text, const char* section, const char* key, const std::string& value);

// What a read gives of a value once written: blanks trimmed, matching
// quotes stripped.
std::string AsRead(const std::string& value);

} // namespace profile

// A value to store under a key.
struct ProfileValue {
    const char* key;
    CString value;
};

// The whole value, whatever its length; defaultValue when the file, the
// section or the key is missing, or the file cannot be read.
CString ProfileRead(const char* section, const char* key, const char* defaultValue, const char* file);

// Stores the values in section with one replacement of the file (written
// beside it, flushed, then put in its place), and only when a read would
// give another value for one of them: otherwise the file is not touched.
// False when they could not be stored (the file cannot be read, or its
// replacement cannot be written); the file then stays as it was.
bool ProfileWrite(const char* section, const std::vector<ProfileValue>& values, const char* file);
bool ProfileWrite(const char* section, const char* key, const char* value, const char* file);
