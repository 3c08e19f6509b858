#include "platform/Random.h"

#include <charconv>
#include <cmath>

namespace zp {

uint64_t TRandom::Threshold(double p) {
  if (!(p > 0.0)) return 0;  // also NaN: never fires
  const double t = std::ceil(p * 4294967296.0);
  if (t >= 4294967296.0) return uint64_t{1} << 32;  // always fires
  return static_cast<uint64_t>(t);
}

std::optional<uint32_t> ParseSeed(std::string_view Text) {
  int base = 10;
  if (Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X')) {
    Text.remove_prefix(2);
    base = 16;
  }
  // from_chars takes no sign for an unsigned type, and no "0x" of its own.
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(Text.data(), Text.data() + Text.size(), value, base);
  if (Text.empty() || error != std::errc() || end != Text.data() + Text.size()) return std::nullopt;
  return value;
}

TRandom& GlobalRandom() {
  static TRandom source;
  return source;
}

}  // namespace zp
