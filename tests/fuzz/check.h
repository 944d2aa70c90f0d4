// A fuzz target's assertion: a failed one aborts, which libFuzzer reports
// with the input that caused it.
#pragma once

#include <cstdio>
#include <cstdlib>

#define CHECK(condition)                                       \
  do {                                                         \
    if (!(condition)) {                                        \
      std::fprintf(stderr, "check failed: %s\n", #condition); \
      std::abort();                                            \
    }                                                          \
  } while (0)
