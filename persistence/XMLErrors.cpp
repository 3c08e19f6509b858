#include "persistence/XMLErrors.h"

namespace zp::xml {

EVariantTypeCastError::EVariantTypeCastError(const std::string& Source, const std::string& Target)
    : EConvertError("Could not convert variant of type (" + Source + ") into type (" + Target + ")") {}

EGADocumentError EGADocumentError::UncarriableText(const std::string& Element) {
  return EGADocumentError("The text of " + Element + " holds a character an XML document cannot carry");
}

EGADocumentError EGADocumentError::NotPlainText(const std::string& Element, const std::string& What) {
  return EGADocumentError("The element " + Element + " holds " + What + " where only text may stand");
}

}  // namespace zp::xml
