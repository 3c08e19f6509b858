#include "persistence/XMLErrors.h"

namespace zp::xml {

EVariantTypeCastError::EVariantTypeCastError(const std::string& Source, const std::string& Target)
    : EConvertError("Could not convert variant of type (" + Source + ") into type (" + Target + ")") {}

}  // namespace zp::xml
