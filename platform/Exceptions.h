// The exception classes of the platform and the component libraries. Each one
// carries the exact message text a user reads; one place builds each message.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>

namespace zp {

// The general exception class: a message text and nothing else.
class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
  std::string Message() const { return what(); }
};

// Base of the component libraries' own errors.
class EZPException : public Exception {
 public:
  using Exception::Exception;
};

// A failure on a named file: the message reads "FileName: Message" (Message alone
// for a source without a name, a stream), and FileName() tells which file it was.
class EFileError : public EZPException {
 public:
  EFileError(std::string FileName, std::string Message)
      : EZPException(FileName.empty() ? Message : FileName + ": " + Message),
        file_name_(std::move(FileName)),
        reason_(std::move(Message)) {}
  const std::string& FileName() const noexcept { return file_name_; }
  // The message without the file's name.
  const std::string& Reason() const noexcept { return reason_; }

 private:
  std::string file_name_;
  std::string reason_;
};

// Inside a catch: the exception being handled, named by FileName unless it is
// already an error of that file (a file command's report names its file once).
[[noreturn]] void RethrowNamingFile(const std::string& FileName);

// Conversion errors: bad integer text, assignment between unrelated classes.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// Collection index errors: "List index out of bounds (%d)".
class EListError : public Exception {
 public:
  using Exception::Exception;
  static EListError IndexOutOfBounds(int index);
};

// Bit set range errors: "Bits index out of range".
class EBitsError : public Exception {
 public:
  using Exception::Exception;
  static EBitsError IndexOutOfRange();
};

// "'%s' is not a valid integer value".
EConvertError InvalidInteger(const std::string& text);

// "Cannot assign a %s to a %s" (source class, then target class).
EConvertError CannotAssign(const std::string& source, const std::string& target);

}  // namespace zp
