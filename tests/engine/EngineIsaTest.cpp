// The cap of the engine's vector paths as ZP_ENGINE_ISA names it.
#include <gtest/gtest.h>

#include "engine/EngineIsa.h"

namespace {

using zp::ga::ParseEngineIsa;
using zp::ga::TEngineIsa;

TEST(EngineIsa, NamesTheThreeLevelsAndNothingElse) {
  EXPECT_EQ(ParseEngineIsa("avx512"), TEngineIsa::eiAvx512);
  EXPECT_EQ(ParseEngineIsa("avx2"), TEngineIsa::eiAvx2);
  EXPECT_EQ(ParseEngineIsa("portable"), TEngineIsa::eiPortable);
  for (const char* other : {"", "AVX2", "avx", "sse4", " avx2"}) EXPECT_FALSE(ParseEngineIsa(other)) << other;
  EXPECT_LT(TEngineIsa::eiPortable, TEngineIsa::eiAvx2);
  EXPECT_LT(TEngineIsa::eiAvx2, TEngineIsa::eiAvx512);
}

}  // namespace
