#include "platform/Random.h"

#include <cmath>

namespace zp {

uint64_t TRandom::Threshold(double p) {
  if (!(p > 0.0)) return 0;  // also NaN: never fires
  const double t = std::ceil(p * 4294967296.0);
  if (t >= 4294967296.0) return uint64_t{1} << 32;  // always fires
  return static_cast<uint64_t>(t);
}

TRandom& GlobalRandom() {
  static TRandom source;
  return source;
}

}  // namespace zp
