// The one barrier between the host and the plug-in's code: an entry point
// runs its body through it, and whatever the body throws ends there, the
// entry point then answering its fallback. Each fallback leaves a trace
// (the entry point's name and what was thrown) in the debug output, so that
// a wrong answer can be diagnosed; the host sees nothing of it.
#pragma once

// Where the traces go: DebugTrace (framework/platform.h); a test may point
// it elsewhere to read them.
extern void (*g_fallbackTrace)(const char* text);

// Called inside a handler only: sends "BALTIC: <entry> fell back: <what>"
// to g_fallbackTrace, what() for a std::exception. Never throws.
void TraceFallback(const char* entry) noexcept;

template <class Result, class Body>
Result RunGuarded(const char* entry, Result fallback, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        TraceFallback(entry);
        return fallback;
    }
}

template <class Body>
void RunGuarded(const char* entry, Body&& body) noexcept
{
    try {
        body();
    } catch (...) {
        TraceFallback(entry);
    }
}
