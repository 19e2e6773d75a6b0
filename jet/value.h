// A field value as read from a row: one of the Jet column types, or null.
// Values own their data and do not refer back to the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace jet {

// Column type codes as stored in a column descriptor.
enum class ColumnType : uint8_t {
  kBoolean = 0x01,
  kByte = 0x02,
  kInteger = 0x03,
  kLong = 0x04,
  kCurrency = 0x05,
  kSingle = 0x06,
  kDouble = 0x07,
  kDateTime = 0x08,
  kBinary = 0x09,
  kText = 0x0A,
  kOle = 0x0B,
  kMemo = 0x0C,
  kGuid = 0x0F,
  kNumeric = 0x10,
};

// Money: the stored integer is the amount times 10 000.
struct Currency {
  int64_t scaled = 0;
  bool operator==(const Currency&) const = default;
};

// Days since 1899-12-30 00:00. The integer part is the day; the fraction is
// the time of day, taken as positive even when the day is negative.
struct DateTime {
  double days = 0;
  bool operator==(const DateTime&) const = default;
};

// Calendar fields of a DateTime, rounded to the second.
struct CivilTime {
  int year, month, day, hour, minute, second;
};
CivilTime ToCivil(DateTime t);

// A GUID in its stored byte order (first three groups little-endian).
struct Guid {
  std::array<uint8_t, 16> bytes{};
  bool operator==(const Guid&) const = default;
};

// Decimal: ±magnitude / 10^scale; magnitude is 128 bits, most significant
// 32-bit word first.
struct Numeric {
  bool negative = false;
  uint8_t precision = 0;
  uint8_t scale = 0;
  std::array<uint32_t, 4> magnitude{};
  bool operator==(const Numeric&) const = default;
};

using Bytes = std::vector<uint8_t>;

class Value {
 public:
  using Storage = std::variant<std::monostate, bool, uint8_t, int16_t, int32_t, Currency, float,
                               double, DateTime, std::u16string, Bytes, Guid, Numeric>;

  Value() = default;  // null
  template <class T>
  explicit Value(T v) : v_(std::move(v)) {}

  bool IsNull() const { return v_.index() == 0; }
  const Storage& storage() const { return v_; }
  template <class T>
  bool Is() const { return std::holds_alternative<T>(v_); }
  // Only valid when Is<T>().
  template <class T>
  const T& Get() const { return std::get<T>(v_); }

  // The value as a plain text, the way a user expects to read it: numbers
  // in the shortest form that reads back to the same value with '.' as the
  // decimal point, Booleans "True"/"False", dates "YYYY-MM-DD HH:MM:SS" (the
  // time left out when it is midnight), bytes as upper-case hex, GUIDs in
  // braces, null as the empty text.
  std::u16string ToText() const;
  std::wstring ToWString() const;
  std::string ToUtf8() const;

  bool operator==(const Value&) const = default;

 private:
  Storage v_;
};

// A Double or Single as ToText writes it: the shortest decimal that reads
// back as the same value, laid out as std::to_chars lays it out.
std::string ShortestText(double v);
std::string ShortestText(float v);

}  // namespace jet
