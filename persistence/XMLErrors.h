// The errors of the GA document layer. Each message is built in one place
// here; the texts a user reads are fixed and tested.
#pragma once

#include <string>
#include <utility>

#include "platform/Exceptions.h"

namespace zp::xml {

// "Interface not supported": a document with the wrong root element, or a
// node of another kind than the one asked for (a GenoType child that is no gene).
// For a wrong root, FoundRoot() names the root element the document has.
class EIntfCastError : public Exception {
 public:
  explicit EIntfCastError(std::string FoundRoot = {})
      : Exception("Interface not supported"), found_root_(std::move(FoundRoot)) {}
  const std::string& FoundRoot() const noexcept { return found_root_; }

 private:
  std::string found_root_;
};

// "Could not convert variant of type (%s) into type (%s)". The source type is
// "Null" for an absent or empty value and "UnicodeString" for text that is no
// number or boolean; the target is "Integer", "Single", "Double" or "Boolean".
class EVariantTypeCastError : public EConvertError {
 public:
  EVariantTypeCastError(const std::string& Source, const std::string& Target);
};

inline constexpr const char* kNullType = "Null";
inline constexpr const char* kTextType = "UnicodeString";
inline constexpr const char* kIntegerType = "Integer";
inline constexpr const char* kSingleType = "Single";
inline constexpr const char* kDoubleType = "Double";
inline constexpr const char* kBooleanType = "Boolean";

// A file (or stream, without a name) that cannot be read, parsed or written.
class EXMLDocError : public EFileError {
 public:
  using EFileError::EFileError;
};

// A well-formed document whose content the component must not take: an
// enumerator name of no value, a size beyond kMaxDocumentBits, a text that
// cannot be written as XML.
class EGADocumentError : public EZPException {
 public:
  using EZPException::EZPException;
  // "The text of Element holds a character an XML document cannot carry".
  static EGADocumentError UncarriableText(const std::string& Element);
  // "The element Element holds What where only text may stand"; What is
  // "a comment", "a CDATA section", "a processing instruction" or "the element X".
  static EGADocumentError NotPlainText(const std::string& Element, const std::string& What);
};

}  // namespace zp::xml
