// The one barrier between the host and the plug-in's code: an entry point
// runs its body through it, and whatever the body throws ends there, the
// entry point then answering its fallback.
#pragma once

template <class Result, class Body>
Result RunGuarded(Result fallback, Body&& body) noexcept
{
    try {
        return body();
    } catch (...) {
        return fallback;
    }
}

template <class Body>
void RunGuarded(Body&& body) noexcept
{
    try {
        body();
    } catch (...) {
    }
}
