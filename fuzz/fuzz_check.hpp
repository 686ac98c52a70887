// A property that must hold for every input. When it does not, the fuzzer is told at once
// (abort) with the property's words, and keeps the input that broke it.
#pragma once

#include <cstdio>
#include <cstdlib>

namespace proxylist::fuzzing {

inline void require(bool holds, const char* property) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", property);
        std::abort();
    }
}

}  // namespace proxylist::fuzzing
