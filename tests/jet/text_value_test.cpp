// Text decoding (Jet 4 compression, Jet 3 code pages) and the text forms of
// values that the viewer shows.
#include "jet/text.h"
#include "tests/jet/fixtures.h"
#include "tools/mdbtool/export.h"

namespace {

std::u16string Jet4(std::initializer_list<uint8_t> bytes) {
  const std::vector<uint8_t> v(bytes);
  return jet::DecodeJet4Text(v.data(), v.size());
}

TEST(Text, CompressedJet4TextTogglesOnZeroBytes) {
  EXPECT_EQ(Jet4({0xFF, 0xFE, 'a', 'b', 'c'}), u"abc");
  // "ab", switch to two-byte characters for "Мир", switch back for "!".
  EXPECT_EQ(Jet4({0xFF, 0xFE, 'a', 'b', 0, 0x1C, 0x04, 0x38, 0x04, 0x40, 0x04, 0, '!'}), u"abМир!");
  EXPECT_EQ(Jet4({0x1C, 0x04, 0x38, 0x04, 0x40, 0x04}), u"Мир");
  EXPECT_EQ(Jet4({'a', 0, 'b'}), u"a");  // odd trailing byte dropped
  EXPECT_EQ(Jet4({0xFF, 0xFE, 0, 0x41}), u"");  // half a character at the end
  EXPECT_EQ(Jet4({}), u"");
}

TEST(Text, Jet3CodePages) {
  const uint8_t bulgarian[] = {0xC1, 0xFA, 0xEB, 0xE3, 0xE0, 0xF0, 0xE8, 0xFF, 0x20, 0xB2};
  EXPECT_EQ(jet::DecodeCodePage(bulgarian, sizeof bulgarian, 1251), u"България І");
  const uint8_t western[] = {0x80, 0xE4, 0x81, 0x9F, 'z'};
  EXPECT_EQ(jet::DecodeCodePage(western, sizeof western, 1252), u"€ä\u0081Ÿz");
  // An unknown code page reads as Western.
  EXPECT_EQ(jet::DecodeCodePage(western, sizeof western, 437), u"€ä\u0081Ÿz");
}

TEST(Text, CodePageOverrideAppliesToJet3Files) {
  // The Jet 3 sample is Western; read as Cyrillic its upper bytes change.
  std::string as_1252, as_1251;
  for (uint16_t cp : {0, 1251}) {
    jet::OpenOptions options;
    options.jet3_code_page = cp;
    auto db = jet::Database::Open(jettest::Sample("testIndexCodesV1997"), options);
    ASSERT_TRUE(db.ok());
    EXPECT_EQ(db->CodePage(), cp ? cp : 1252);
    auto t = db->OpenTable("Table1");
    ASSERT_TRUE(t.ok());
    ASSERT_JET_OK(mdbtool::ExportCsv(*t, cp ? as_1251 : as_1252));
  }
  // Byte 0xC6 is Æ in Western and Ж in Cyrillic.
  EXPECT_NE(as_1252.find("Æ"), std::string::npos);
  EXPECT_EQ(as_1252.find("Ж"), std::string::npos);
  EXPECT_NE(as_1251.find("Ж"), std::string::npos);
}

TEST(ValueText, NumbersDatesAndOthers) {
  EXPECT_EQ(jet::Value().ToText(), u"");
  EXPECT_EQ(jet::Value(true).ToText(), u"True");
  EXPECT_EQ(jet::Value(int32_t{-26}).ToText(), u"-26");
  EXPECT_EQ(jet::Value(uint8_t{255}).ToText(), u"255");
  EXPECT_EQ(jet::Value(55.845).ToText(), u"55.845");
  EXPECT_EQ(jet::Value(7.874f).ToText(), u"7.874");
  EXPECT_EQ(jet::Value(jet::Currency{125000}).ToText(), u"12.5");
  EXPECT_EQ(jet::Value(jet::Currency{-5}).ToText(), u"-0.0005");
  EXPECT_EQ(jet::Value(jet::DateTime{2.5}).ToText(), u"1900-01-01 12:00:00");
  EXPECT_EQ(jet::Value(jet::DateTime{36526}).ToText(), u"2000-01-01");
  EXPECT_EQ(jet::Value(jet::Bytes{0x0A, 0xFF}).ToText(), u"0AFF");
  jet::Numeric n;
  n.negative = true;
  n.scale = 3;
  n.magnitude = {0, 0, 0, 1110554};
  EXPECT_EQ(jet::Value(n).ToText(), u"-1110.554");
  n.magnitude = {0, 0, 1, 0};  // 2^32 / 1000
  n.negative = false;
  EXPECT_EQ(jet::Value(n).ToText(), u"4294967.296");
}

TEST(ValueText, NegativeDatesKeepTheTimeOfDayPositive) {
  const jet::CivilTime t = jet::ToCivil(jet::DateTime{-1.25});
  EXPECT_EQ(t.year, 1899);
  EXPECT_EQ(t.month, 12);
  EXPECT_EQ(t.day, 29);
  EXPECT_EQ(t.hour, 6);
  // A time that rounds up to midnight moves to the next day.
  const jet::CivilTime u = jet::ToCivil(jet::DateTime{0.9999999});
  EXPECT_EQ(u.day, 31);
  EXPECT_EQ(u.hour, 0);
  // Not a date at all: still a defined answer.
  const jet::CivilTime w = jet::ToCivil(jet::DateTime{1e300});
  EXPECT_GT(w.year, 9999);
}

}  // namespace
