#include "tools/mdbtool/export.h"

#include <charconv>
#include <cstdio>

#include "base/utf.h"

namespace mdbtool {
namespace {

// UTF-16 to UTF-8 in double quotes, inner quotes doubled; the hot path of
// an export, so it writes straight into the output.
void AppendQuoted(std::string& out, std::u16string_view s) {
  out.push_back('"');
  for (size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c < 0x80) {
      if (c == '"') out.push_back('"');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | c >> 6));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      // Surrogates and the rest: the general conversion.
      size_t j = i;
      while (j < s.size() && s[j] >= 0x800) ++j;
      out += base::Utf16ToUtf8(s.substr(i, j - i));
      i = j - 1;
    }
  }
  out.push_back('"');
}

template <class T>
void AppendChars(std::string& out, T v) {
  char buf[32];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

// printf's %.<precision>g, without printf's cost.
void AppendGeneral(std::string& out, double v, int precision) {
  char buf[64];
  out.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision).ptr);
}

template <class... Args>
void AppendF(std::string& out, const char* fmt, Args... args) {
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, fmt, args...);
  if (n > 0) out.append(buf, static_cast<size_t>(n) < sizeof buf ? static_cast<size_t>(n) : sizeof buf - 1);
}

}  // namespace

void AppendCsvField(std::string& out, const jet::Value& v, const jet::ColumnInfo& column) {
  using namespace jet;
  if (v.IsNull()) {
    out += "<NULL>";
  } else if (v.Is<bool>()) {
    out.push_back(v.Get<bool>() ? '1' : '0');
  } else if (v.Is<std::u16string>()) {
    AppendQuoted(out, v.Get<std::u16string>());
  } else if (v.Is<uint8_t>()) {
    AppendChars(out, unsigned{v.Get<uint8_t>()});
  } else if (v.Is<int16_t>()) {
    AppendChars(out, int{v.Get<int16_t>()});
  } else if (v.Is<int32_t>()) {
    AppendChars(out, v.Get<int32_t>());
  } else if (v.Is<float>()) {
    AppendGeneral(out, static_cast<double>(v.Get<float>()), 8);
  } else if (v.Is<double>()) {
    AppendGeneral(out, v.Get<double>(), 16);
  } else if (v.Is<Currency>()) {
    const int64_t s = v.Get<Currency>().scaled;
    const uint64_t mag = s < 0 ? 0 - static_cast<uint64_t>(s) : static_cast<uint64_t>(s);
    AppendF(out, "%s%llu.%04llu", s < 0 ? "-" : "", static_cast<unsigned long long>(mag / 10000),
            static_cast<unsigned long long>(mag % 10000));
  } else if (v.Is<DateTime>()) {
    const CivilTime c = ToCivil(v.Get<DateTime>());
    AppendF(out, "\"%04d-%02d-%02d %02d:%02d:%02d\"", c.year, c.month, c.day, c.hour, c.minute, c.second);
  } else if (v.Is<Numeric>()) {
    Numeric n = v.Get<Numeric>();
    n.scale = column.scale;
    out += Value(n).ToUtf8();
  } else {
    // Bytes and GUIDs.
    AppendQuoted(out, v.ToText());
  }
}

jet::Status ExportCsv(jet::Table& table, std::string& out, const std::function<void(std::string&)>& flush) {
  const auto& columns = table.Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i) out.push_back(',');
    out += base::Utf16ToUtf8(columns[i].name);
  }
  out.push_back('\n');
  if (table.MoveFirst().ok()) {
    do {
      auto row = table.Row();
      if (!row.ok()) return row.status();
      for (size_t i = 0; i < columns.size(); ++i) {
        if (i) out.push_back(',');
        AppendCsvField(out, (*row)[i], columns[i]);
      }
      out.push_back('\n');
      if (flush && out.size() >= (1u << 16)) flush(out);
    } while (table.MoveNext().ok());
  }
  return jet::Status::Ok();
}

std::string TypeName(const jet::ColumnInfo& c, jet::JetVersion version) {
  using jet::ColumnType;
  const unsigned text_len = version == jet::JetVersion::kJet4 ? c.length / 2u : c.length;
  switch (c.type) {
    case ColumnType::kBoolean: return "Boolean";
    case ColumnType::kByte: return "Byte";
    case ColumnType::kInteger: return "Integer";
    case ColumnType::kLong: return "Long Integer";
    case ColumnType::kCurrency: return "Currency";
    case ColumnType::kSingle: return "Single";
    case ColumnType::kDouble: return "Double";
    case ColumnType::kDateTime: return "DateTime";
    case ColumnType::kBinary: return "Binary (" + std::to_string(c.length) + ")";
    case ColumnType::kText: return "Text (" + std::to_string(text_len) + ")";
    case ColumnType::kOle: return "OLE (255)";
    case ColumnType::kMemo: return "Memo/Hyperlink (255)";
    case ColumnType::kGuid: return "Replication ID";
    case ColumnType::kNumeric:
      return "Numeric (" + std::to_string(c.precision) + ", " + std::to_string(c.scale) + ")";
  }
  return "Unknown 0x" + std::to_string(static_cast<int>(c.type));
}

std::string Schema(const jet::Table& table, jet::JetVersion version) {
  std::string out = "CREATE TABLE [" + base::Utf16ToUtf8(table.Name()) + "]\n (\n";
  const auto& columns = table.Columns();
  for (size_t i = 0; i < columns.size(); ++i) {
    const auto& c = columns[i];
    out += "\t[" + base::Utf16ToUtf8(c.name) + "]\t\t\t" + TypeName(c, version);
    // mdb-schema marks Booleans NOT NULL: they have no null state.
    if (c.type == jet::ColumnType::kBoolean) out += " NOT NULL";
    out += i + 1 < columns.size() ? ", \n" : "\n";
  }
  out += ");\n";
  for (const auto& index : table.Indexes()) {
    out += "-- index [";
    out += base::Utf16ToUtf8(index.name);
    out += "] (";
    for (size_t k = 0; k < index.columns.size(); ++k) {
      if (k) out += ", ";
      out += '[';
      out += base::Utf16ToUtf8(columns[index.columns[k].column].name);
      out += index.columns[k].ascending ? "]" : "] DESC";
    }
    out += ")";
    if (index.primary_key) out += " primary key";
    if (index.unique) out += " unique";
    if (index.ignore_nulls) out += " ignore nulls";
    out += "\n";
  }
  return out;
}

}  // namespace mdbtool
