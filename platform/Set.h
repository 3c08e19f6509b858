// Set<E>: a set of enumerators as a bit mask, bit n for ordinal n.
//
//   Set<TGAGeneticOperation> ops{goCrossover, goMutate};
//   if (ops.Contains(goMutate)) ...
#pragma once

#include <cstdint>
#include <initializer_list>

namespace zp {

template <typename E>
class Set {
 public:
  constexpr Set() = default;
  constexpr Set(std::initializer_list<E> items) {
    for (E e : items) bits_ |= Bit(e);
  }
  static constexpr Set FromMask(uint64_t mask) {
    Set s;
    s.bits_ = mask;
    return s;
  }

  constexpr bool Contains(E e) const { return (bits_ & Bit(e)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr uint64_t Mask() const { return bits_; }
  constexpr Set& Include(E e) {
    bits_ |= Bit(e);
    return *this;
  }
  constexpr Set& Exclude(E e) {
    bits_ &= ~Bit(e);
    return *this;
  }
  constexpr Set operator+(Set o) const { return FromMask(bits_ | o.bits_); }
  constexpr Set operator-(Set o) const { return FromMask(bits_ & ~o.bits_); }
  constexpr Set operator*(Set o) const { return FromMask(bits_ & o.bits_); }
  constexpr bool operator==(const Set&) const = default;

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
  uint64_t bits_ = 0;
};

}  // namespace zp
