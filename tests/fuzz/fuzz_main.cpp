// libFuzzer driver over the GA document loaders.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "FuzzLoaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  try {
    zp::fuzz::LoadGADocuments(Data, Size);
  } catch (const zp::fuzz::ERoundTripFault& e) {
    std::fprintf(stderr, "round trip broken: %s\n", e.what());
    __builtin_trap();
  }
  return 0;
}
