// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A broken property aborts, so libFuzzer keeps the input that broke it.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                        \
    do {                                                                                             \
        if (!(condition)) {                                                                          \
            std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                            \
        }                                                                                            \
    } while (0)
