#include "persistence/XMLErrors.h"

namespace zp::xml {

EVariantTypeCastError::EVariantTypeCastError(const std::string& Source, const std::string& Target)
    : EConvertError("Could not convert variant of type (" + Source + ") into type (" + Target + ")") {}

EGADocumentError EGADocumentError::UncarriableText(const std::string& Element) {
  return EGADocumentError("The text of " + Element + " holds a character an XML document cannot carry");
}

}  // namespace zp::xml
