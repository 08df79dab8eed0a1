#include "plain_export.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "store/database.h"
#include "store/engine/handle.h"

namespace bench {
namespace {

void putString(std::FILE* out, const char* text, int size) {
  std::fputc('"', out);
  int plain = 0;  // start of the run not yet written
  for (int i = 0; i < size; ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch >= 0x20 && ch != '"' && ch != '\\' && ch != 0x7F) continue;
    std::fwrite(text + plain, 1, static_cast<std::size_t>(i - plain), out);
    plain = i + 1;
    switch (ch) {
      case '"': std::fputs("\\\"", out); break;
      case '\\': std::fputs("\\\\", out); break;
      case '\b': std::fputs("\\b", out); break;
      case '\f': std::fputs("\\f", out); break;
      case '\n': std::fputs("\\n", out); break;
      case '\r': std::fputs("\\r", out); break;
      case '\t': std::fputs("\\t", out); break;
      default: std::fprintf(out, "\\u%04x", ch);
    }
  }
  std::fwrite(text + plain, 1, static_cast<std::size_t>(size - plain), out);
  std::fputc('"', out);
}

void putString(std::FILE* out, const std::string& text) {
  putString(out, text.data(), static_cast<int>(text.size()));
}

// The fewest significant digits that read back the same, in fixed or scientific notation,
// whichever is shorter.
void putDouble(std::FILE* out, double number) {
  if (std::isinf(number)) {
    std::fputs(number > 0 ? "1e999" : "-1e999", out);
    return;
  }
  char scientific[40];
  int precision = 1;
  for (; precision < 17; ++precision) {
    std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, number);
    if (std::strtod(scientific, nullptr) == number) break;
  }
  std::snprintf(scientific, sizeof scientific, "%.*e", precision - 1, number);
  const bool negative = scientific[0] == '-';
  const char* mark = std::strchr(scientific, 'e');
  const int exponent = std::atoi(mark + 1);
  std::string digits;
  for (const char* at = scientific + negative; at < mark; ++at) {
    if (*at != '.') digits += *at;
  }
  std::string fixed = negative ? "-" : "";
  const int count = static_cast<int>(digits.size());
  if (exponent < 0) {
    fixed += "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  } else if (count <= exponent + 1) {
    fixed += digits + std::string(static_cast<std::size_t>(exponent + 1 - count), '0');
  } else {
    fixed += digits.substr(0, static_cast<std::size_t>(exponent + 1)) + "." +
             digits.substr(static_cast<std::size_t>(exponent + 1));
  }
  char shortScientific[40];
  std::snprintf(shortScientific, sizeof shortScientific, "%s%c%s%se%c%02d", negative ? "-" : "",
                digits[0], count > 1 ? "." : "", digits.c_str() + 1, exponent < 0 ? '-' : '+',
                std::abs(exponent));
  std::fputs(fixed.size() <= std::strlen(shortScientific) ? fixed.c_str() : shortScientific, out);
}

void putValue(std::FILE* out, sqlite3_stmt* row, int column, store::FieldType type) {
  const int kind = sqlite3_column_type(row, column);
  if (kind == SQLITE_NULL) {
    std::fputs("null", out);
    return;
  }
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
  const int size = sqlite3_column_bytes(row, column);
  switch (type) {
    case store::FieldType::Text:
      if (kind == SQLITE_TEXT) return putString(out, text, size);
      break;
    case store::FieldType::Integer:
      if (kind == SQLITE_INTEGER) {
        std::fprintf(out, "%lld", static_cast<long long>(sqlite3_column_int64(row, column)));
        return;
      }
      break;
    case store::FieldType::Double:
      if (kind == SQLITE_INTEGER) {
        // A whole number that does not end in 0 is shortest in its digits.
        const long long whole = sqlite3_column_int64(row, column);
        if ((whole % 10 != 0 && std::llabs(whole) < (1LL << 53)) || whole == 0) {
          std::fprintf(out, "%lld", whole);
          return;
        }
      }
      if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
        putDouble(out, sqlite3_column_double(row, column));
        return;
      }
      break;
    case store::FieldType::Date:
      if (kind == SQLITE_TEXT) {
        std::fprintf(out, "\"%.*s\"", size, text);
        return;
      }
      break;
    default: break;
  }
  throw std::runtime_error("the plain walk knows no such value");
}

void putDefinition(std::FILE* out, const store::TableDef& def) {
  std::fputs("      \"name\": ", out);
  putString(out, def.name);
  std::fputs(",\n      \"fields\": [", out);
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    const store::FieldDef& field = def.fields[i];
    std::fputs(i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ", out);
    putString(out, field.name);
    std::fprintf(out, ", \"type\": \"%s\"", store::fieldTypeName(field.type));
    if (field.type == store::FieldType::Text) std::fprintf(out, ", \"size\": %d", field.size);
    std::fputc('}', out);
  }
  std::fputs(def.fields.empty() ? "]" : "\n      ]", out);
  std::fputs(",\n      \"indexes\": [", out);
  for (std::size_t i = 0; i < def.indexes.size(); ++i) {
    const store::IndexDef& index = def.indexes[i];
    std::fputs(i == 0 ? "\n        {\"name\": " : ",\n        {\"name\": ", out);
    putString(out, index.name);
    std::fputs(", \"fields\": [", out);
    for (std::size_t k = 0; k < index.fields.size(); ++k) {
      if (k > 0) std::fputs(", ", out);
      putString(out, index.fields[k]);
    }
    std::fprintf(out, "], \"unique\": %s}", index.unique ? "true" : "false");
  }
  std::fputs(def.indexes.empty() ? "]" : "\n      ]", out);
}

void putRecords(std::FILE* out, sqlite3* db, const store::TableDef& def) {
  std::string select = "SELECT ";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    select += (i > 0 ? ", \"" : "\"") + def.fields[i].name + "\"";
  }
  select += " FROM \"" + def.name + "\" ORDER BY rowid";
  sqlite3_stmt* row = nullptr;
  if (sqlite3_prepare_v2(db, select.c_str(), -1, &row, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db));
  }
  bool first = true;
  while (sqlite3_step(row) == SQLITE_ROW) {
    std::fputs(first ? "[\n        [" : ",\n        [", out);
    first = false;
    for (std::size_t i = 0; i < def.fields.size(); ++i) {
      if (i > 0) std::fputs(", ", out);
      putValue(out, row, static_cast<int>(i), def.fields[i].type);
    }
    std::fputc(']', out);
  }
  sqlite3_finalize(row);
  std::fputs(first ? "[]" : "\n      ]", out);
}

}  // namespace

void plainExport(const std::string& path, std::FILE* out) {
  store::Database db = store::Database::open(path);
  sqlite3_exec(store::engineHandle(db), "BEGIN", nullptr, nullptr, nullptr);
  const std::vector<std::string> tables = db.tableNames();
  std::fputs("{\n  \"tables\": [", out);
  for (std::size_t t = 0; t < tables.size(); ++t) {
    const store::TableDef def = db.tableDef(tables[t]);
    std::fputs(t == 0 ? "\n    {\n" : ",\n    {\n", out);
    putDefinition(out, def);
    std::fputs(",\n      \"records\": ", out);
    putRecords(out, store::engineHandle(db), def);
    std::fputs("\n    }", out);
  }
  std::fputs(tables.empty() ? "]\n}\n" : "\n  ]\n}\n", out);
  sqlite3_exec(store::engineHandle(db), "ROLLBACK", nullptr, nullptr, nullptr);
}

}  // namespace bench
