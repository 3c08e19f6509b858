// libFuzzer driver over the GA document loaders.
#include <cstddef>
#include <cstdint>

#include "FuzzLoaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  zp::fuzz::LoadGADocuments(Data, Size);
  return 0;
}
