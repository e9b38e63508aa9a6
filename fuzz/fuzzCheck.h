// A promise a fuzz target checks: when it is broken, the target says which and aborts, and the
// fuzzer keeps the input as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void fuzzCheck(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "Broken promise: %s\n", what);
    std::abort();
}
