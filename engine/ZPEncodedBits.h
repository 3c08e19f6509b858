// TZPEncodedBits: the chromosome bit string. Reads and writes unsigned and
// sign-and-magnitude integers, booleans and a compact float format in any
// range of its bits, and converts ranges to and from "0"/"1" text.
//
// A numeric field of Count bits at Start is little-endian: position Start is
// the least significant bit. Text lists positions ascending, so "101" at 0 is 5.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Bits.h"

namespace zp::ga {

using TZPBitByteArray = std::vector<uint8_t>;

// The widest exponent field a float field can hold: 64 bits, that of a
// 259-bit field (260 bits with the sign).
inline constexpr int kMaxFloatExponentBits = 64;
// The exponent width of a float field of Count bits, the sign bit first taken
// off when Signed; 0 for fields of fewer than 4 bits.
int FloatExponentBits(int Count, bool Signed);

class TZPEncodedBits : public TBits {
 public:
  TZPEncodedBits() = default;
  std::string ClassName() const override { return "TZPEncodedBits"; }

  // Selects the signed encodings: integers keep the sign in the field's last
  // position, floats in its first.
  bool PreserveSignBit() const { return preserve_sign_bit_; }
  void SetPreserveSignBit(bool Value) { preserve_sign_bit_ = Value; }

  // At most 8 bits, the top 8 of the range when Count > 8; 0 when Count <= 0.
  uint8_t ReadByte(int Start, int Count) const;
  // Position Start+k := bit k of Value, k = 0..Count-1.
  void WriteByte(int Start, int Count, uint8_t Value);
  // The field as little-endian bytes, at most BufSize bytes; later bytes untouched.
  void ReadBuffer(int Start, int Count, int BufSize, uint8_t* Buffer) const;
  // Exactly Count bits from Buffer, zero beyond its BufSize bytes.
  void WriteBuffer(int Start, int Count, int BufSize, const uint8_t* Buffer);
  // ReadBuffer into Bytes (at most its length); returns Bytes.
  virtual TZPBitByteArray& ReadBytes(int Start, int Count, TZPBitByteArray& Bytes) const;
  virtual void WriteBytes(int Start, int Count, const TZPBitByteArray& Bytes);

  // Unsigned, or sign-and-magnitude with PreserveSignBit (sign in the last
  // position; a negative zero reads as -2147483648). Count <= 0 reads 0.
  [[nodiscard]] int32_t ReadInteger(int Start, int Count) const;
  void WriteInteger(int Start, int Count, int32_t Value);
  void WriteInt64(int Start, int Count, int64_t Value);
  [[nodiscard]] bool ReadBoolean(int Start, int Count) const { return ReadInteger(Start, Count) != 0; }
  void WriteBoolean(int Start, int Count, bool Value) { WriteInteger(Start, Count, Value ? 1 : 0); }

  // Float field: optional sign first, then Count/4 exponent bits (biased),
  // then the mantissa, first position worth 1/2. Exponent fields up to
  // kMaxFloatExponentBits wide round-trip; wider ones keep only 64 of their bits.
  [[nodiscard]] float ReadFloat(int Start, int Count) const;
  void WriteFloat(int Start, int Count, double Value);
  void WriteSingle(int Start, int Count, float Value) { WriteFloat(Start, Count, static_cast<double>(Value)); }

  // "1"/"0" per position, ascending; empty when Count <= 0.
  std::string BitText(int Start, int Count) const;
  // Writes positions ascending from Text, 0 past its end; a character other
  // than "0"/"1" raises "Invalid Bit String Input" after the earlier positions were written.
  void SetBitText(int Start, int Count, const std::string& Text);
  virtual std::string BitString() const { return BitText(0, Size()); }
  virtual std::string DisplayText() const { return BitString(); }

  // Size and bits of any bit set, and PreserveSignBit of another encoded bit string.
  void Assign(const TPersistent& Source) override;

 private:
  uint64_t ReadField(int Start, int Count) const;
  void WriteField(int Start, int Count, uint64_t Value);
  bool preserve_sign_bit_ = false;
};

}  // namespace zp::ga
