// The database reader writes Singles and Doubles with the C runtime's printf
// and reads them back with its strtod. The host tests hold it to
// std::to_chars; built into the Windows test program, this holds the
// Windows runtime to the same texts.
#include <gtest/gtest.h>

#include "jet/value.h"

namespace {

TEST(RuntimeNumbers, DoublesTakeTheirShortestText) {
  const struct {
    double value;
    const char* text;
  } cases[] = {{0.1, "0.1"},
               {1.0 / 3, "0.3333333333333333"},
               {6.941, "6.941"},
               {1e21, "1e+21"},
               // a whole number written out shows all its exact digits
               {123456789012345680000.0, "123456789012345683968"},
               {9007199254740993.0, "9007199254740992"},
               {4.9406564584124654e-324, "5e-324"},
               {2.2250738585072014e-308, "2.2250738585072014e-308"},
               {1.7976931348623157e308, "1.7976931348623157e+308"},
               {-0.000123, "-0.000123"}};
  for (const auto& c : cases) EXPECT_EQ(jet::ShortestText(c.value), c.text);
}

TEST(RuntimeNumbers, SinglesTakeTheirShortestText) {
  EXPECT_EQ(jet::ShortestText(0.1f), "0.1");
  EXPECT_EQ(jet::ShortestText(1.4e-45f), "1e-45");
  EXPECT_EQ(jet::ShortestText(16777217.0f), "16777216");
  EXPECT_EQ(jet::ShortestText(3.4028235e38f), "3.4028235e+38");
}

}  // namespace
