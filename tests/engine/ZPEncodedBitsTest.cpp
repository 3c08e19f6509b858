#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "engine/ZPEncodedBits.h"
#include "platform/Exceptions.h"
#include "platform/Strings.h"

using namespace zp;
using namespace zp::ga;

namespace {

TZPEncodedBits FromText(const std::string& text) {
  TZPEncodedBits b;
  b.SetBitText(0, static_cast<int>(text.size()), text);
  return b;
}

// The value a W-bit mantissa keeps of v: cut (not rounded) to W significant bits.
double CutTo(double v, int w) {
  int e = 0;
  const double m = std::frexp(v, &e);
  return std::ldexp(std::trunc(std::ldexp(m, w)), e - w);
}

}  // namespace

TEST(ZPEncodedBits, UnsignedIntegersAreLittleEndianWithTheLowBitFirst) {
  TZPEncodedBits b;
  b.WriteInteger(0, 3, 5);
  EXPECT_EQ(b.BitText(0, 3), "101");
  b.WriteInteger(0, 3, 6);
  EXPECT_EQ(b.BitText(0, 3), "011");
  EXPECT_EQ(b.ReadInteger(0, 3), 6);

  // Without the sign flag a field holds the low bits of the two's-complement value.
  b.WriteInteger(0, 3, -1);
  EXPECT_EQ(b.ReadInteger(0, 3), 7);
  b.WriteInteger(0, 3, 9);
  EXPECT_EQ(b.ReadInteger(0, 3), 1);
}

TEST(ZPEncodedBits, FieldsAcrossAWordBoundaryKeepTheirNeighbours) {
  TZPEncodedBits b = FromText(std::string(80, '1'));
  b.WriteInteger(60, 10, 0x2A5);  // 10 1010 0101
  EXPECT_EQ(b.BitText(56, 18),
            "1111"
            "1010010101"
            "1111");
  EXPECT_EQ(b.ReadInteger(60, 10), 0x2A5);
  EXPECT_EQ(b.Size(), 80);

  // A field wider than the integer is zero past bit 31 and reads only 32 bits.
  b.WriteInteger(8, 40, -1);
  EXPECT_EQ(b.BitText(8, 40), std::string(32, '1') + std::string(8, '0'));
  EXPECT_EQ(b.ReadInteger(8, 40), -1);
  EXPECT_EQ(b.BitText(0, 8), "11111111");
}

TEST(ZPEncodedBits, SignAndMagnitudeKeepsTheSignInTheHighestPosition) {
  TZPEncodedBits b;
  b.SetPreserveSignBit(true);
  b.WriteInteger(0, 4, -3);
  EXPECT_EQ(b.BitText(0, 4), "1101");
  EXPECT_EQ(b.ReadInteger(0, 4), -3);
  b.WriteInteger(0, 4, 3);
  EXPECT_EQ(b.BitText(0, 4), "1100");
  // The magnitude is cut to Count - 1 bits: 9 = 1001 keeps 001.
  b.WriteInteger(0, 4, -9);
  EXPECT_EQ(b.BitText(0, 4), "1001");
  EXPECT_EQ(b.ReadInteger(0, 4), -1);

  // A set sign over a zero magnitude is the negative-zero pattern.
  b.SetBitText(0, 4, "0001");
  EXPECT_EQ(b.ReadInteger(0, 4), INT_MIN);
  // A one-bit signed field has no magnitude: -1 leaves only the sign.
  b.WriteInteger(0, 1, -1);
  EXPECT_EQ(b.BitText(0, 1), "1");
  EXPECT_EQ(b.ReadInteger(0, 1), INT_MIN);

  // The most negative value keeps its pattern in a 32-bit field.
  b.WriteInteger(0, 32, INT_MIN);
  EXPECT_EQ(b.BitText(0, 32), std::string(31, '0') + "1");
  EXPECT_EQ(b.ReadInteger(0, 32), INT_MIN);
  b.WriteInteger(0, 32, -5);
  EXPECT_EQ(b.ReadInteger(0, 32), -5);
  EXPECT_EQ(b.BitText(0, 32), "101" + std::string(28, '0') + "1");
}

TEST(ZPEncodedBits, Int64WritesFollowTheSameRules) {
  TZPEncodedBits b;
  b.WriteInt64(0, 48, (int64_t{1} << 40) + 3);
  EXPECT_EQ(b.BitText(0, 48), "11" + std::string(38, '0') + "1" + std::string(7, '0'));
  b.WriteInt64(0, 70, -1);  // unsigned: 64 ones, then zeros
  EXPECT_EQ(b.BitText(0, 70), std::string(64, '1') + "000000");

  b.SetPreserveSignBit(true);
  b.WriteInt64(0, 40, -5);
  EXPECT_EQ(b.BitText(0, 40), "101" + std::string(36, '0') + "1");
  b.WriteInt64(0, 64, INT64_MIN);
  EXPECT_EQ(b.BitText(0, 64), std::string(63, '0') + "1");
}

TEST(ZPEncodedBits, BytesAndBuffers) {
  TZPEncodedBits b = FromText(
      "0000"
      "10110011");  // positions 4..11 hold 0xCD
  EXPECT_EQ(b.ReadByte(4, 8), 0xCD);
  EXPECT_EQ(b.ReadByte(4, 3), 0x05);
  // With more than 8 positions only the top 8 of the range are read.
  EXPECT_EQ(b.ReadByte(0, 12), 0xCD);
  EXPECT_EQ(b.ReadByte(0, 0), 0);

  uint8_t buf[3] = {0xEE, 0xEE, 0xEE};
  b.ReadBuffer(0, 12, 3, buf);
  EXPECT_EQ(buf[0], 0xD0);
  EXPECT_EQ(buf[1], 0x0C);
  EXPECT_EQ(buf[2], 0xEE);  // past the field: untouched

  TZPBitByteArray bytes{0x11};
  EXPECT_EQ(&b.ReadBytes(4, 12, bytes), &bytes);
  EXPECT_EQ(bytes[0], 0xCD);

  // Exactly Count positions are written, zeros beyond the buffer.
  TZPEncodedBits w = FromText(std::string(20, '1'));
  w.WriteBytes(2, 14, TZPBitByteArray{0x81});
  EXPECT_EQ(w.BitText(0, 20),
            "11"
            "10000001"
            "000000"
            "1111");
  w.WriteByte(0, 3, 0xFA);
  EXPECT_EQ(w.BitText(0, 3), "010");
}

TEST(ZPEncodedBits, EmptyFieldsReadZeroAndWriteNothing) {
  TZPEncodedBits b;
  EXPECT_EQ(b.ReadInteger(0, 0), 0);
  EXPECT_EQ(b.ReadInteger(5, -3), 0);
  EXPECT_FALSE(b.ReadBoolean(0, 0));
  EXPECT_EQ(b.BitText(0, 0), "");
  b.WriteInteger(3, 0, 5);
  b.WriteBoolean(3, -1, true);
  b.SetBitText(3, 0, "1");
  EXPECT_EQ(b.Size(), 0);

  b.WriteBoolean(0, 3, true);
  EXPECT_EQ(b.BitText(0, 3), "100");
  EXPECT_TRUE(b.ReadBoolean(0, 3));
}

TEST(ZPEncodedBits, RangeErrorsAndGrowth) {
  TZPEncodedBits b = FromText("101");
  EXPECT_THROW(b.Bit(3), EBitsError);
  EXPECT_THROW((void)b.ReadInteger(1, 3), EBitsError);
  EXPECT_THROW(b.BitText(2, 2), EBitsError);
  b.SetBit(3, true);  // one past the end grows by one
  EXPECT_EQ(b.Size(), 4);
  EXPECT_EQ(b.BitString(), "1011");

  EXPECT_THROW_MSG(b.WriteInteger(-1, 4, 15), EBitsError, "Bits index out of range");
  EXPECT_EQ(b.BitString(), "1011");  // nothing changed

  // Writing past the end grows the set; the new bits between are 0.
  b.WriteInteger(10, 2, 3);
  EXPECT_EQ(b.BitString(), "101100000011");
  b.SetSize(2);
  b.SetSize(5);
  EXPECT_EQ(b.BitString(), "10000");
}

TEST(ZPEncodedBits, SetBitTextPadsShortTextAndStopsAtABadCharacter) {
  TZPEncodedBits b = FromText("11111");
  b.SetBitText(0, 5, "11");
  EXPECT_EQ(b.BitString(), "11000");
  b.SetBitText(1, 2, "01xyz");  // characters past Count are ignored
  EXPECT_EQ(b.BitString(), "10100");

  TZPEncodedBits c = FromText("00");
  try {
    c.SetBitText(0, 2, "1a");
    FAIL() << "bad character accepted";
  } catch (const EZPException&) {
    FAIL() << "the bit-string parser raises the general exception class";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Invalid Bit String Input");
  }
  EXPECT_EQ(c.BitString(), "10");  // position 0 was written before the error

  TZPEncodedBits d;
  EXPECT_THROW(d.SetBitText(0, 4, "01 1"), Exception);
  EXPECT_EQ(d.BitString(), "01");  // grew as far as the writes went
}

TEST(ZPEncodedBits, FloatLayoutOfA24BitField) {
  TZPEncodedBits b;
  // 24 bits: 6 exponent bits with bias 31, then 18 mantissa bits from weight 1/2.
  b.WriteFloat(0, 24, 0.75);  // 0.75 * 2^0: exponent field 31
  EXPECT_EQ(b.BitText(0, 24),
            "111110"
            "11" +
                std::string(16, '0'));
  b.WriteFloat(0, 24, 1.0);  // 0.5 * 2^1: exponent field 32
  EXPECT_EQ(b.BitText(0, 24),
            "000001"
            "1" +
                std::string(17, '0'));
  b.WriteFloat(0, 24, 0.0);  // zero: exponent field B, empty mantissa
  EXPECT_EQ(b.BitText(0, 24), "111110" + std::string(18, '0'));
  EXPECT_EQ(b.ReadFloat(0, 24), 0.0f);
}

TEST(ZPEncodedBits, FloatRoundTripCutsTo18SignificantBits) {
  TZPEncodedBits b;
  for (double v : {0.1, 1.0 / 3.0, 3.14159265358979, 1234.5678, 0.0078125, 1e-3, 100000.7, 2.0 / 3.0}) {
    b.WriteFloat(5, 24, v);
    const float expected = static_cast<float>(CutTo(v, 18));
    EXPECT_EQ(b.ReadFloat(5, 24), expected) << v;
    EXPECT_LE(static_cast<double>(b.ReadFloat(5, 24)), v) << "cut, never rounded up: " << v;
  }
  // 2/3 = 0.101010...b: the 19th mantissa bit is 1, so rounding would differ from cutting.
  b.WriteFloat(0, 24, 2.0 / 3.0);
  EXPECT_EQ(b.BitText(6, 18), "101010101010101010");

  b.WriteSingle(0, 24, 0.1f);
  EXPECT_EQ(b.ReadFloat(0, 24), static_cast<float>(CutTo(static_cast<double>(0.1f), 18)));
}

TEST(ZPEncodedBits, FloatReadRoundsToSinglePrecision) {
  // 40 bits: 10 exponent bits, 30 mantissa bits, more than a single holds.
  TZPEncodedBits b;
  const double v = 1.0 + 3.0 * std::ldexp(1.0, -25);  // 0.75 of a single's last place above 1
  b.WriteFloat(0, 40, v);
  EXPECT_EQ(b.ReadFloat(0, 40), std::nextafter(1.0f, 2.0f));
}

TEST(ZPEncodedBits, SignedFloatsKeepTheSignInTheLowestPosition) {
  TZPEncodedBits b;
  b.SetPreserveSignBit(true);
  b.WriteFloat(0, 25, -0.75);
  EXPECT_EQ(b.BitText(0, 25),
            "1"
            "111110"
            "11" +
                std::string(16, '0'));
  EXPECT_EQ(b.ReadFloat(0, 25), -0.75f);
  EXPECT_TRUE(b.PreserveSignBit());  // restored after the unsigned exponent
  b.WriteFloat(0, 25, 2.5);
  EXPECT_EQ(b.ReadFloat(0, 25), 2.5f);
  EXPECT_EQ(b.BitText(0, 1), "0");
}

TEST(ZPEncodedBits, FloatEdgeLayouts) {
  TZPEncodedBits b;
  // An exponent outside 6 bits wraps: 2^40 = 0.5 * 2^41, field 72 mod 64 = 8.
  b.WriteFloat(0, 24, std::ldexp(1.0, 40));
  EXPECT_EQ(b.ReadInteger(0, 6), 8);
  EXPECT_EQ(b.ReadFloat(0, 24), std::ldexp(1.0f, -24));  // 0.5 * 2^(8 - 31)

  // 3 bits: no exponent bits, bias -1, so a written 0.75 reads as 1.5.
  b.WriteFloat(0, 3, 0.75);
  EXPECT_EQ(b.BitText(0, 3), "110");
  EXPECT_EQ(b.ReadFloat(0, 3), 1.5f);

  // 23 bits: 5 exponent bits (bias 15) and 18 mantissa bits.
  b.WriteFloat(0, 23, 0.75);
  EXPECT_EQ(b.BitText(0, 7), "1111011");

  // 128 bits: 32 exponent bits with bias 2^31 - 1. The exponent field of 1.0
  // (0.5 * 2^1) is 2^31, its top bit set; read unsigned it gives 1.0 back.
  b.WriteFloat(0, 128, 1.0);
  EXPECT_EQ(b.BitText(0, 32), std::string(31, '0') + "1");
  EXPECT_EQ(b.ReadFloat(0, 128), 1.0f);
  b.WriteFloat(0, 128, -0.375);  // unsigned field: the magnitude, exponent field 2^31 - 2
  EXPECT_EQ(b.ReadFloat(0, 128), 0.375f);
}

TEST(ZPEncodedBits, AssignCopiesSizeBitsAndSignFlag) {
  TZPEncodedBits src = FromText(std::string(70, '0') + "1");
  src.SetPreserveSignBit(true);
  TZPEncodedBits dst = FromText("111");
  dst.Assign(src);
  EXPECT_EQ(dst.BitString(), src.BitString());
  EXPECT_TRUE(dst.PreserveSignBit());
  EXPECT_TRUE(dst == src);

  TBits plain;
  plain.SetBit(1, true);
  dst.Assign(plain);  // a plain bit set has no sign flag to copy
  EXPECT_EQ(dst.BitString(), "01");
  EXPECT_TRUE(dst.PreserveSignBit());

  TStrings notBits;
  EXPECT_THROW_MSG(dst.Assign(notBits), EConvertError, "Cannot assign a TStrings to a TZPEncodedBits");
  EXPECT_EQ(dst.DisplayText(), "01");
}

TEST(ZPEncodedBits, WordWiseFieldsMatchThePositionRule) {
  // Every start and width against the rule "position Start+k holds bit k", over a patterned set.
  enginetest::RefRandom ref{2024};
  for (int start = 0; start < 136; start += 3)
    for (int count = 1; count <= 40; ++count) {
      std::string background;
      for (int k = 0; k < 200; ++k) background += ref.Int(2) == 1 ? '1' : '0';
      TZPEncodedBits b = FromText(background);
      const auto value = static_cast<int32_t>(ref.Next());
      b.WriteInteger(start, count, value);
      std::string want = background;
      for (int k = 0; k < count; ++k)
        want[static_cast<size_t>(start + k)] = k < 32 && ((static_cast<uint32_t>(value) >> k) & 1u) ? '1' : '0';
      ASSERT_EQ(b.BitString(), want) << start << " " << count;
      const uint32_t mask = count >= 32 ? 0xFFFFFFFFu : (1u << count) - 1u;
      ASSERT_EQ(static_cast<uint32_t>(b.ReadInteger(start, count)), static_cast<uint32_t>(value) & mask);
    }
}

TEST(ZPEncodedBits, FloatExponentFieldsUpTo64BitsRoundTrip) {
  // 132 bits: 33 exponent bits with bias 2^32 - 1; the field of 1.0 is 2^32, past 32 bits.
  TZPEncodedBits b;
  b.WriteFloat(0, 132, 1.0);
  EXPECT_EQ(b.BitText(0, 33), std::string(32, '0') + "1");
  EXPECT_EQ(b.ReadFloat(0, 132), 1.0f);
  for (const int count : {132, 133, 200, 256, 259}) {
    EXPECT_EQ(FloatExponentBits(count, false), count / 4);
    for (const float v : {0.0f, 1.0f, 0.375f, 1234.5f, 3.0e-30f, 1.5e30f, std::numeric_limits<float>::min()}) {
      b.WriteFloat(3, count, static_cast<double>(v));
      EXPECT_EQ(b.ReadFloat(3, count), v) << count << " " << v;
    }
  }
  // The widest signed field: 260 bits, 64 exponent bits with bias 2^63 - 1.
  b.SetPreserveSignBit(true);
  EXPECT_EQ(FloatExponentBits(260, true), kMaxFloatExponentBits);
  for (const float v : {-1234.5f, 0.0f, 2.5f, -1.0e-20f}) {
    b.WriteFloat(1, 260, static_cast<double>(v));
    EXPECT_EQ(b.ReadFloat(1, 260), v) << v;
  }
  EXPECT_TRUE(b.PreserveSignBit());
}
