// The fuzzing entry: arbitrary bytes fed to the three GA document loaders,
// with the check that whatever loads saves and reads back the same.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace zp::fuzz {

// A refused document that changed the component, a document that loaded but
// left a component that does not save, one whose saved text does not load
// back to the same state, or a text of which the parser makes more attributes
// than the bound a file load checks.
class ERoundTripFault : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// Parses Data and checks its attributes against AttributeBound; then loads it
// as an algorithm, a genotype and a population document into
// fresh components. Document errors are expected, but a refused load must
// leave the component's saved text as it was; after each load that is
// accepted the whole component must save, and the loaded part's saved text
// load and save again to the same text, or ERoundTripFault is raised.
// Anything else escapes too.
void LoadGADocuments(const uint8_t* Data, size_t Size);

}  // namespace zp::fuzz
