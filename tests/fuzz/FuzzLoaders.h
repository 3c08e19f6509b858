// The fuzzing entry: arbitrary bytes fed to the three GA document loaders,
// with the check that whatever loads saves and reads back the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace zp::fuzz {

// A document that loaded but does not save, or whose saved text does not
// load back to the same state.
class ERoundTripFault : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Loads Data as an algorithm, a genotype and a population document into
// fresh components. Document errors are expected; each document that loads
// must save, and its saved text load and save again to the same text, or
// ERoundTripFault is raised. Anything else escapes too.
void LoadGADocuments(const uint8_t* Data, size_t Size);

}  // namespace zp::fuzz
