#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant stops the fuzzer with the failed condition, so that the
// input is kept as a crash.
#define KRN310_FUZZ_CHECK(condition)                                                              \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
