#include "platform/Exceptions.h"

namespace zp {

EListError EListError::IndexOutOfBounds(int index) {
  return EListError("List index out of bounds (" + std::to_string(index) + ")");
}

EBitsError EBitsError::IndexOutOfRange() { return EBitsError("Bits index out of range"); }

EConvertError InvalidInteger(const std::string& text) {
  std::string message = "'" + text + "' is not a valid integer value";
  // A well-formed integer beyond the 32-bit range says which bound it passed.
  const size_t digits = text.empty() || (text[0] != '-' && text[0] != '+') ? 0 : 1;
  if (text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos)
    message += text[0] == '-' ? " (at least -2147483648)" : " (at most 2147483647)";
  return EConvertError(message);
}

EConvertError CannotAssign(const std::string& source, const std::string& target) {
  return EConvertError("Cannot assign a " + source + " to a " + target);
}

void RethrowNamingFile(const std::string& FileName) {
  try {
    throw;
  } catch (const EFileError& e) {
    if (e.FileName() == FileName) throw;
    throw EFileError(FileName, e.what());
  } catch (const std::exception& e) {
    throw EFileError(FileName, e.what());
  }
}

}  // namespace zp
