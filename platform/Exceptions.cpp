#include "platform/Exceptions.h"

namespace zp {

EListError EListError::IndexOutOfBounds(int index) {
  return EListError("List index out of bounds (" + std::to_string(index) + ")");
}

EBitsError EBitsError::IndexOutOfRange() { return EBitsError("Bits index out of range"); }

EConvertError InvalidInteger(const std::string& text) {
  return EConvertError("'" + text + "' is not a valid integer value");
}

EConvertError CannotAssign(const std::string& source, const std::string& target) {
  return EConvertError("Cannot assign a " + source + " to a " + target);
}

}  // namespace zp
