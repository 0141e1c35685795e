#include "framework/barrier.h"

#include <exception>
#include <string>

void TraceFallback(const char* entry) noexcept
{
    try {
        std::string what;
        try {
            throw;
        } catch (const std::exception& e) {
            what = e.what();
        } catch (...) {
            what = "unknown exception";
        }
        g_fallbackTrace((std::string("BALTIC: ") + (entry ? entry : "?") + " fell back: " + what).c_str());
    } catch (...) { // no memory for the text: the fallback goes untold
    }
}
