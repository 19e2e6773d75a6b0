// The shared UTF-8/UTF-16 conversion: what every layer relies on when text
// is well-formed, and what each gets for text that is not.
#include "base/utf.h"

#include <gtest/gtest.h>

namespace {

using base::Utf16ToUtf8;
using base::Utf8ToUtf16;
using base::Utf8ToUtf16Strict;

TEST(Utf, WellFormedTextRoundTripsThroughEveryForm) {
  // One, two, three and four bytes in UTF-8; the last a surrogate pair.
  const std::u16string s = u"Fe Желязо € \U0001F600";
  const std::string utf8 = "Fe \xD0\x96\xD0\xB5\xD0\xBB\xD1\x8F\xD0\xB7\xD0\xBE \xE2\x82\xAC \xF0\x9F\x98\x80";
  EXPECT_EQ(Utf16ToUtf8(s), utf8);
  EXPECT_EQ(Utf8ToUtf16(utf8), s);
  EXPECT_EQ(Utf8ToUtf16Strict(utf8), s);
  const std::wstring wide = base::Utf16ToWide(s);
  EXPECT_EQ(wide, L"Fe Желязо € \U0001F600");
  EXPECT_EQ(base::WideToUtf8(wide), utf8);
  EXPECT_EQ(base::Utf8ToWide(utf8), wide);
}

TEST(Utf, LoneSurrogateHalvesBecomeTheReplacementCharacter) {
  EXPECT_EQ(Utf16ToUtf8(u"\xD800x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(Utf16ToUtf8(u"a\xDC00"), "a\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(u"\xDC00\xD800"), "\xEF\xBF\xBD\xEF\xBF\xBD");  // a pair the wrong way round
  // Kept as they are in wide text, as UTF-16 wide text keeps them.
  EXPECT_EQ(base::Utf16ToWide(u"\xD800x"), std::wstring({static_cast<wchar_t>(0xD800), L'x'}));
}

TEST(Utf, IllFormedUtf8IsReplacedLenientlyAndRefusedStrictly) {
  struct Case {
    std::string in;
    std::u16string lenient;
  };
  const Case cases[] = {
      {"\xC3", u"\xFFFD"},                           // cut off at the end
      {"\xC3" "A", u"\xFFFD" "A"},                   // cut off before the next character, which survives
      {"\xE2\x82" "A", u"\xFFFD" "A"},               // one replacement for the whole cut-off start
      {"\xC0\xAF", u"\xFFFD\xFFFD"},                 // overlong '/'
      {"\xE0\x80\xAF", u"\xFFFD\xFFFD\xFFFD"},       // overlong, three bytes
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},       // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // past U+10FFFF
      {"\x80x\xFF", u"\xFFFD" "x\xFFFD"},            // stray continuation byte, a byte no UTF-8 has
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.in), c.lenient) << testing::PrintToString(c.in);
    EXPECT_EQ(Utf8ToUtf16Strict(c.in), std::nullopt) << testing::PrintToString(c.in);
  }
  EXPECT_EQ(base::Utf8ToWide("\xC3" "A"), L"\xFFFD" L"A");
}

}  // namespace
