// The reader formats Singles and Doubles itself; std::to_chars is the
// reference it must agree with, digit for digit.
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "jet/value.h"

namespace {

template <class F>
std::string Reference(F v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

template <class F, class Bits>
F FromBits(Bits bits) {
  F v;
  std::memcpy(&v, &bits, sizeof v);
  return v;
}

TEST(ShortestText, AgreesWithToCharsOnChosenValues) {
  for (double v : {0.1, 0.2, 0.3, 1.0, 100.0, 123456.0, 1e21, 1e22, 1e-7, 5e-324, 2.2250738585072014e-308,
                   std::numeric_limits<double>::max(), 9007199254740992.0, 9007199254740993.0, 0.000123, 12.5e-5,
                   1.5, 1234567.0, 12345678901234567890.0, 1e15, 1e16, 1e17, -0.0, -2.5})
    EXPECT_EQ(jet::ShortestText(v), Reference(v)) << v;
  for (float v : {0.1f, 1.0f, 3.14159274f, 1e10f, 16777216.0f, 1.17549435e-38f, 1e-45f,
                  std::numeric_limits<float>::max(), -7.5f, 100000000.0f})
    EXPECT_EQ(jet::ShortestText(v), Reference(v)) << v;
}

// Next to a power of two the round-trip interval is lopsided, which is
// where the nearest decimal of a length can miss while its neighbour hits.
TEST(ShortestText, AgreesWithToCharsAtEveryPowerOfTwo) {
  for (int e = -1074; e <= 1023; ++e) {
    const double v = std::ldexp(1.0, e);
    ASSERT_EQ(jet::ShortestText(v), Reference(v)) << "2^" << e;
  }
  for (int e = -149; e <= 127; ++e) {
    const float v = std::ldexp(1.0f, e);
    ASSERT_EQ(jet::ShortestText(v), Reference(v)) << "2^" << e;
  }
}

TEST(ShortestText, AgreesWithToCharsOnRandomBitPatterns) {
  std::mt19937_64 rng(20261208);
  int compared = 0;
  while (compared < 100000) {
    const double d = FromBits<double>(rng());
    const float f = FromBits<float>(static_cast<uint32_t>(rng()));
    if (std::isfinite(d)) {
      ASSERT_EQ(jet::ShortestText(d), Reference(d)) << std::hexfloat << d;
    }
    if (std::isfinite(f)) {
      ASSERT_EQ(jet::ShortestText(f), Reference(f)) << std::hexfloat << f;
    }
    ++compared;
  }
}

// The measured values a table of elements holds: few digits, so every
// length from one digit up is tried.
TEST(ShortestText, AgreesWithToCharsOnShortDecimals) {
  for (int i = 1; i < 200000; i += 7) {
    for (int scale : {1, 10, 100, 1000, 10000}) {
      const double d = static_cast<double>(i) / scale;
      ASSERT_EQ(jet::ShortestText(d), Reference(d)) << d;
      const float f = static_cast<float>(i) / static_cast<float>(scale);
      ASSERT_EQ(jet::ShortestText(f), Reference(f)) << f;
    }
  }
}

TEST(ShortestText, NamesWhatIsNotANumber) {
  EXPECT_EQ(jet::ShortestText(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(jet::ShortestText(-std::numeric_limits<float>::infinity()), "-Infinity");
  EXPECT_EQ(jet::ShortestText(std::numeric_limits<double>::infinity()), "Infinity");
}

}  // namespace
