#include "record_writer.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <limits>

#include "base64.h"
#include "json_text.h"
#include "store/error.h"
#include "store/value.h"

namespace dbtool {
namespace {

using store::FieldType;

std::string_view columnText(sqlite3_stmt* row, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(row, column));
  return {text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(row, column))};
}

std::string_view columnBytes(sqlite3_stmt* row, int column) {
  const auto* bytes = static_cast<const char*>(sqlite3_column_blob(row, column));
  return {bytes ? bytes : "", static_cast<std::size_t>(sqlite3_column_bytes(row, column))};
}

// A text as the message shows it: its first characters, or its length when it is no UTF-8.
std::string shown(sqlite3_stmt* row, int column) {
  std::string_view text = columnText(row, column);
  if (text.size() > 40) text = text.substr(0, 40);
  return isUtf8(text) ? jsonString(text)
                      : std::to_string(sqlite3_column_bytes(row, column)) + " bytes";
}

bool isGuid(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return false;
  for (std::size_t i = 1; i < 37; ++i) {
    const char ch = text[i];
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    const bool hex =
        (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
    if (dash ? ch != '-' : !hex) return false;
  }
  return true;
}

// The shortest text that reads back as the same single-precision number.
void appendSingle(std::string& out, float number) {
  if (std::isinf(number)) {
    appendJsonDouble(out, number);
    return;
  }
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, number);
  out.append(buf, result.ptr);
}

}  // namespace

void RecordWriter::write(sqlite3_stmt* row, std::int64_t record) {
  record_ = record;
  out_ += '[';
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (i > 0) out_ += ", ";
    value(row, static_cast<int>(i), def_.fields[i]);
  }
  out_ += ']';
}

void RecordWriter::refuse(const store::FieldDef& field, const std::string& what) const {
  throw store::Error(store::Fault::Input, "table " + jsonString(def_.name) + ", record " +
                                              std::to_string(record_) + ", field " +
                                              jsonString(field.name) + ": the " +
                                              store::fieldTypeName(field.type) + " field " + what +
                                              "; the document cannot show it as it is");
}

// The value as the store reads it for the field's type.
void RecordWriter::value(sqlite3_stmt* row, int column, const store::FieldDef& field) {
  if (sqlite3_column_type(row, column) == SQLITE_NULL) {
    out_ += "null";
    return;
  }
  switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Guid: text(row, column, field); return;
    case FieldType::Integer:
    case FieldType::Double:
    case FieldType::Currency: number(row, column, field); return;
    default: other(row, column, field); return;
  }
}

void RecordWriter::text(sqlite3_stmt* row, int column, const store::FieldDef& field) {
  const int kind = sqlite3_column_type(row, column);
  if (kind == SQLITE_INTEGER && field.type != FieldType::Guid) {
    appendJsonString(out_, std::to_string(sqlite3_column_int64(row, column)));
  } else if (kind == SQLITE_FLOAT && field.type != FieldType::Guid) {
    appendJsonString(out_, store::numberText(sqlite3_column_double(row, column)));
  } else {
    const std::string_view text = columnText(row, column);
    if (!isUtf8(text)) refuse(field, "holds bytes that are not UTF-8 text");
    if (field.type == FieldType::Guid && !isGuid(text)) {
      refuse(field, "holds " + shown(row, column) + ", which is not a GUID");
    }
    appendJsonString(out_, text);
  }
}

void RecordWriter::number(sqlite3_stmt* row, int column, const store::FieldDef& field) {
  const int kind = sqlite3_column_type(row, column);
  if (kind != SQLITE_INTEGER && kind != SQLITE_FLOAT) {
    refuse(field, "holds text (" + shown(row, column) + ") instead of " +
                      (field.type == FieldType::Currency  ? "an amount"
                       : field.type == FieldType::Integer ? "a whole number"
                                                          : "a number"));
  }
  if (field.type == FieldType::Integer) {
    if (kind == SQLITE_FLOAT) {
      refuse(field, "holds " + store::numberText(sqlite3_column_double(row, column)) +
                        ", which is not a whole number");
    }
    const std::int64_t whole = sqlite3_column_int64(row, column);
    if ((field.size == 1 && (whole < 0 || whole > 255)) ||
        (field.size == 2 && (whole < -32768 || whole > 32767))) {
      refuse(field, "of " + std::to_string(field.size) + " bytes holds " + std::to_string(whole) +
                        ", which is outside its range");
    }
    appendJsonInteger(out_, whole);
  } else if (field.type == FieldType::Currency) {
    if (kind == SQLITE_FLOAT) {
      refuse(field, "holds " + store::numberText(sqlite3_column_double(row, column)) +
                        ", which is not a whole number of ten-thousandths");
    }
    out_ += store::currencyText(sqlite3_column_int64(row, column));
  } else {
    const double number = sqlite3_column_double(row, column);
    if (std::isnan(number)) {
      out_ += "null";
    } else if (field.size == 4) {
      appendSingle(out_, static_cast<float>(number));
    } else {
      appendJsonDouble(out_, number);
    }
  }
}

void RecordWriter::other(sqlite3_stmt* row, int column, const store::FieldDef& field) {
  const int kind = sqlite3_column_type(row, column);
  switch (field.type) {
    case FieldType::Date:
      if (kind == SQLITE_TEXT || kind == SQLITE_BLOB) {
        if (auto date = store::Date::parse(columnText(row, column))) {
          out_ += '"';
          out_ += date->iso();
          out_ += '"';
          return;
        }
        refuse(field, "holds text (" + shown(row, column) + ") that is not a date");
      }
      refuse(field, "holds a number instead of a date");
    case FieldType::Boolean:
      if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT) {
        out_ += sqlite3_column_double(row, column) != 0 ? "true" : "false";
        return;
      }
      refuse(field, "holds text (" + shown(row, column) + ") instead of yes or no");
    case FieldType::Binary:
    case FieldType::Ole:
      if (kind == SQLITE_BLOB || kind == SQLITE_TEXT) {
        const std::string_view bytes = columnBytes(row, column);
        if (field.type == FieldType::Binary &&
            bytes.size() > static_cast<std::size_t>(field.size)) {
          refuse(field, "holds " + std::to_string(bytes.size()) + " bytes, more than its size of " +
                            std::to_string(field.size));
        }
        out_ += '"';
        appendBase64(out_, bytes);
        out_ += '"';
        return;
      }
      refuse(field, "holds a number instead of bytes");
    default: return;
  }
}

}  // namespace dbtool
