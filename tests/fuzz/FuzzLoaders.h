// The fuzzing entry: arbitrary bytes fed to the three GA document loaders.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zp::fuzz {

// Loads Data as an algorithm, a genotype and a population document into
// fresh components. Document errors are expected; anything else escapes.
void LoadGADocuments(const uint8_t* Data, size_t Size);

}  // namespace zp::fuzz
