#include "engine/EngineIsa.h"

#include <cstdlib>

namespace zp::ga {

std::optional<TEngineIsa> ParseEngineIsa(std::string_view Text) {
  if (Text == "avx512") return TEngineIsa::eiAvx512;
  if (Text == "avx2") return TEngineIsa::eiAvx2;
  if (Text == "portable") return TEngineIsa::eiPortable;
  return std::nullopt;
}

TEngineIsa EngineIsaCap() {
  static const TEngineIsa cap = [] {
    const char* text = std::getenv("ZP_ENGINE_ISA");
    return (text ? ParseEngineIsa(text) : std::nullopt).value_or(TEngineIsa::eiAvx512);
  }();
  return cap;
}

}  // namespace zp::ga
