#include <string>

#include "host/cty.h"

// Written at build time from cty.dat (cmake/embed_cty.cmake): the file's
// text in pieces, which some compilers need to keep each literal short.
extern const char* const kCtyDatParts[];
extern const unsigned kCtyDatPartCount;
extern const char* const kCtyDatSource;

const CCountryFile& BuiltInCountryFile(std::string* error)
{
    static std::string parseError;
    static const CCountryFile file = [] {
        std::string text;
        for (unsigned i = 0; i < kCtyDatPartCount; ++i)
            text += kCtyDatParts[i];
        CCountryFile f;
        f.Parse(text, kCtyDatSource, parseError);
        return f;
    }();
    if (error)
        *error = parseError;
    return file;
}
