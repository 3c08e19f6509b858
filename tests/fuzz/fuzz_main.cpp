// libFuzzer driver over the GA document loaders: a refused load changes
// nothing, whatever loads saves and reads back the same.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "FuzzLoaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  try {
    zp::fuzz::LoadGADocuments(Data, Size);
  } catch (const zp::fuzz::ERoundTripFault& e) {
    std::fprintf(stderr, "a load broke its promise: %s\n", e.what());
    __builtin_trap();
  }
  return 0;
}
