#include "engine/ZPEncodedBits.h"

#include <algorithm>
#include <cmath>

#include "platform/Exceptions.h"

namespace zp::ga {

uint8_t TZPEncodedBits::ReadByte(int Start, int Count) const {
  unsigned value = 0;
  int read = 0;
  for (int pos = Start + Count - 1; pos >= Start && read < 8; --pos, ++read) value = value * 2 + (Bit(pos) ? 1u : 0u);
  return static_cast<uint8_t>(value);
}

void TZPEncodedBits::WriteByte(int Start, int Count, uint8_t Value) {
  for (int k = 0; k < Count; ++k) SetBit(Start + k, k < 8 && ((Value >> k) & 1u));
}

void TZPEncodedBits::ReadBuffer(int Start, int Count, int BufSize, uint8_t* Buffer) const {
  for (int i = 0; 8 * i < Count && i < BufSize; ++i) Buffer[i] = ReadByte(Start + 8 * i, std::min(8, Count - 8 * i));
}

void TZPEncodedBits::WriteBuffer(int Start, int Count, int BufSize, const uint8_t* Buffer) {
  int pos = Start, remaining = Count;
  for (int i = 0; i < BufSize && remaining > 0; ++i) {
    const int n = std::min(8, remaining);
    WriteByte(pos, n, Buffer[i]);
    pos += n;
    remaining -= n;
  }
  while (remaining > 0) {
    const int n = std::min(8, remaining);
    WriteByte(pos, n, 0);
    pos += n;
    remaining -= n;
  }
}

TZPBitByteArray& TZPEncodedBits::ReadBytes(int Start, int Count, TZPBitByteArray& Bytes) const {
  ReadBuffer(Start, Count, static_cast<int>(Bytes.size()), Bytes.data());
  return Bytes;
}

void TZPEncodedBits::WriteBytes(int Start, int Count, const TZPBitByteArray& Bytes) {
  WriteBuffer(Start, Count, static_cast<int>(Bytes.size()), Bytes.data());
}

// The low min(Count, 64) positions from Start as an unsigned value; the same
// bits the byte-wise buffer read visits, read a word at a time.
uint64_t TZPEncodedBits::ReadField(int Start, int Count) const {
  if (Count <= 0) return 0;
  Count = std::min(Count, 64);
  if (Start < 0 || Start > Size() - Count) throw EBitsError::IndexOutOfRange();
  const auto& w = Words();
  const size_t i = static_cast<size_t>(Start) >> 6;
  const int shift = Start & 63;
  uint64_t v = w[i] >> shift;
  if (shift != 0 && shift + Count > 64) v |= w[i + 1] << (64 - shift);
  return Count == 64 ? v : v & ((uint64_t{1} << Count) - 1);
}

// Exactly Count positions from Start: the low bits of Value, zeros past bit 63.
void TZPEncodedBits::WriteField(int Start, int Count, uint64_t Value) {
  if (Count <= 0) return;
  if (Start < 0) throw EBitsError::IndexOutOfRange();
  if (Start + Count > Size()) SetSize(Start + Count);
  auto& w = MutableWords();
  for (int k = 0; k < Count; k += 64 - ((Start + k) & 63)) {
    const int pos = Start + k;
    const int shift = pos & 63;
    const int n = std::min(Count - k, 64 - shift);
    const uint64_t mask = (n == 64 ? ~uint64_t{0} : (uint64_t{1} << n) - 1) << shift;
    const uint64_t bits = k < 64 ? (Value >> k) << shift : 0;
    uint64_t& word = w[static_cast<size_t>(pos) >> 6];
    word = (word & ~mask) | (bits & mask);
  }
}

int32_t TZPEncodedBits::ReadInteger(int Start, int Count) const {
  if (Count <= 0) return 0;
  const int width = preserve_sign_bit_ ? Count - 1 : Count;
  auto v = static_cast<uint32_t>(ReadField(Start, std::min(width, 32)));
  if (preserve_sign_bit_ && Bit(Start + Count - 1)) {
    if (v == 0) return INT32_MIN;  // the negative-zero pattern
    v = 0u - v;
  }
  return static_cast<int32_t>(v);
}

void TZPEncodedBits::WriteInteger(int Start, int Count, int32_t Value) {
  if (Count <= 0) return;
  const bool negative = preserve_sign_bit_ && Value < 0;
  // Negation in unsigned arithmetic: -2147483648 keeps its pattern, as it must.
  uint32_t v = static_cast<uint32_t>(Value);
  if (negative) v = 0u - v;
  WriteField(Start, Count, v);
  if (preserve_sign_bit_) SetBit(Start + Count - 1, negative);
}

void TZPEncodedBits::WriteInt64(int Start, int Count, int64_t Value) {
  if (Count <= 0) return;
  const bool negative = preserve_sign_bit_ && Value < 0;
  uint64_t v = static_cast<uint64_t>(Value);
  if (negative) v = 0u - v;
  WriteField(Start, Count, v);
  if (preserve_sign_bit_) SetBit(Start + Count - 1, negative);
}

int FloatExponentBits(int Count, bool Signed) {
  return static_cast<int>((Signed ? Count - 1 : Count) * 0.25);  // truncated toward zero
}

namespace {

struct FloatLayout {
  int start, count, exponent_bits;
  int64_t bias;
};

FloatLayout Layout(int Start, int Count, bool signed_field) {
  FloatLayout l{Start, Count, 0, 0};
  if (signed_field) {
    l.start = Start + 1;
    l.count = Count - 1;
  }
  l.exponent_bits = FloatExponentBits(Count, signed_field);
  // trunc(2^(E-1)) - 1: -1 for E = 0; 2^63 - 1 at the widest, and capped there past it.
  l.bias = l.exponent_bits <= 0
               ? -1
               : static_cast<int64_t>((uint64_t{1} << std::min(l.exponent_bits - 1, kMaxFloatExponentBits - 1)) - 1);
  return l;
}

}  // namespace

float TZPEncodedBits::ReadFloat(int Start, int Count) const {
  const FloatLayout l = Layout(Start, Count, preserve_sign_bit_);
  const bool negative = preserve_sign_bit_ && Bit(Start);
  // The exponent field reads unsigned whatever PreserveSignBit says: a set top
  // bit is a large exponent, not a negative one. Both g and the bias may pass
  // 2^63, so the difference is taken on the side where it cannot overflow.
  const uint64_t g = ReadField(l.start, std::min(l.exponent_bits, kMaxFloatExponentBits));
  constexpr uint64_t kFar = 100000;  // far past any exponent a float or long double reaches
  int64_t exponent = 0;              // g - B, clamped to +-kFar; B is -1 or 0 .. 2^63 - 1
  if (l.bias < 0)
    exponent = static_cast<int64_t>(std::min(g, kFar)) - l.bias;
  else if (g >= static_cast<uint64_t>(l.bias))
    exponent = static_cast<int64_t>(std::min(g - static_cast<uint64_t>(l.bias), kFar));
  else
    exponent = -static_cast<int64_t>(std::min(static_cast<uint64_t>(l.bias) - g, kFar));
  long double b = 0;
  for (int pos = l.start + l.count - 1; pos >= l.start + l.exponent_bits; --pos) b = (b + (Bit(pos) ? 1 : 0)) / 2;
  const long double value = std::ldexp(b, static_cast<int>(exponent));
  return static_cast<float>(negative ? -value : value);
}

void TZPEncodedBits::WriteFloat(int Start, int Count, double Value) {
  const FloatLayout l = Layout(Start, Count, preserve_sign_bit_);
  int e = 0;
  const double m = std::frexp(Value, &e);  // 0.5 <= |m| < 1, both 0 for zero
  if (preserve_sign_bit_) SetBit(Start, Value < 0);
  // Only the low E bits of e + B are kept (unsigned arithmetic wraps where
  // the sum passes 2^63), written unsigned whatever PreserveSignBit says.
  WriteField(l.start, l.exponent_bits, static_cast<uint64_t>(e) + static_cast<uint64_t>(l.bias));
  // Doubling and subtracting 1 are exact in binary, so double holds the
  // digits the long-precision loop would produce.
  double r = std::fabs(m);
  for (int pos = l.start + l.exponent_bits; pos < l.start + l.count; ++pos) {
    r *= 2;
    const bool one = r >= 1;
    if (one) r -= 1;
    SetBit(pos, one);
  }
}

std::string TZPEncodedBits::BitText(int Start, int Count) const {
  std::string text;
  if (Count <= 0) return text;
  text.reserve(static_cast<size_t>(Count));
  for (int k = 0; k < Count; ++k) text += Bit(Start + k) ? '1' : '0';
  return text;
}

void TZPEncodedBits::SetBitText(int Start, int Count, const std::string& Text) {
  for (int k = 0; k < Count; ++k) {
    bool bit = false;
    if (static_cast<size_t>(k) < Text.size()) {
      const char c = Text[static_cast<size_t>(k)];
      if (c != '0' && c != '1') throw Exception("Invalid Bit String Input");
      bit = c == '1';
    }
    SetBit(Start + k, bit);
  }
}

void TZPEncodedBits::Assign(const TPersistent& Source) {
  TBits::Assign(Source);
  if (const auto* src = dynamic_cast<const TZPEncodedBits*>(&Source)) preserve_sign_bit_ = src->preserve_sign_bit_;
}

}  // namespace zp::ga
