// Shared helpers of the engine tests: an independent model of the random
// source (so that a fault in the platform's generator cannot hide itself),
// seed arithmetic for steering draws, and a component with its own source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Random.h"

namespace enginetest {

inline constexpr uint32_t kMultiplier = 134775813u;

// The generator written out from its definition: seed := seed * a + 1.
struct RefRandom {
  uint32_t seed = 0;
  uint32_t Next() {
    seed = seed * kMultiplier + 1u;
    return seed;
  }
  int Int(int n) {
    const uint32_t s = Next();
    return n <= 0 ? 0 : static_cast<int>((static_cast<uint64_t>(s) * static_cast<uint32_t>(n)) >> 32);
  }
  double Real() { return Next() / 4294967296.0; }
};

// The seed whose next draw is `next`: the multiplier is odd, so it has an inverse modulo 2^32.
inline uint32_t SeedBefore(uint32_t next) {
  uint32_t inv = kMultiplier;  // Newton's iteration doubles the correct low bits each round
  for (int i = 0; i < 5; ++i) inv *= 2u - kMultiplier * inv;
  return (next - 1u) * inv;
}

// The seed after n draws from s.
inline uint32_t Advance(uint32_t s, int n) {
  RefRandom r{s};
  for (int i = 0; i < n; ++i) r.Next();
  return r.seed;
}

// The first seed (searching upward from 0) whose next integer draws over 0..n-1 are `want`.
inline uint32_t SeedForInts(int n, const std::vector<int>& want) {
  for (uint32_t s = 0;; ++s) {
    RefRandom r{s};
    bool ok = true;
    for (int w : want)
      if (r.Int(n) != w) {
        ok = false;
        break;
      }
    if (ok) return s;
  }
}

// A component whose draws come from its own source, pinned by each test.
struct PinnedGA {
  zp::TRandom rng;
  zp::ga::TZPGeneticAlgorithm ga;
  std::vector<double> fitness;  // by population index; missing entries score 0

  PinnedGA() {
    ga.SetRandomSource(rng);
    ga.OnEvaluateFitness = [this](zp::ga::TZPCustomGeneticAlgorithm&, zp::ga::TZPGAIndividual& item,
                                  zp::ga::TGAFitness& f) {
      const auto i = static_cast<size_t>(item.Index());
      f = i < fitness.size() ? fitness[i] : 0;
    };
  }

  // A population of the given fitness values, chromosomes of `bits` zeros, scored.
  void Populate(const std::vector<double>& values, int bits = 8) {
    fitness = values;
    ga.SetGeneSize(bits);
    ga.Population().Clear();
    for (size_t i = 0; i < values.size(); ++i) ga.Population().Add();
    ga.EvaluatePopulation();
  }
};

}  // namespace enginetest
