#include "fuzz_target.h"

#include <cstdio>
#include <cstdlib>

int RunFuzzEntry(const char* target, ReaderEntry entry, const uint8_t* data, size_t size) {
  const ReadResult result = entry(data, size);
  if (!result.problem.empty()) {
    std::fprintf(stderr, "==%s== %s (outcome %s, %zu input bytes)\n", target, result.problem.c_str(),
                 OutcomeName(result.outcome), size);
    std::abort();
  }
  return 0;
}
