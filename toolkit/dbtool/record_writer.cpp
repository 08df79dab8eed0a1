#include "record_writer.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "base64.h"
#include "json_text.h"
#include "store/error.h"
#include "store/rows.h"
#include "store/value.h"

namespace dbtool {
namespace {

using store::FieldType;

// A text as the message shows it: its first characters, or its length when it is no UTF-8.
std::string shown(const store::StoredRows& row, std::size_t column) {
  std::string_view text = row.text(column);
  const std::size_t size = text.size();
  if (text.size() > 40) text = text.substr(0, 40);
  return isUtf8(text) ? jsonString(text) : std::to_string(size) + " bytes";
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

void RecordWriter::write(const store::StoredRows& row, std::int64_t record) {
  record_ = record;
  out_ += '[';
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (i > 0) out_ += ", ";
    value(row, i, def_.fields[i]);
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
void RecordWriter::value(const store::StoredRows& row, std::size_t column,
                         const store::FieldDef& field) {
  if (row.kind(column) == store::Stored::Null) {
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

void RecordWriter::text(const store::StoredRows& row, std::size_t column,
                        const store::FieldDef& field) {
  const store::Stored kind = row.kind(column);
  if (kind == store::Stored::Integer && field.type != FieldType::Guid) {
    appendJsonString(out_, std::to_string(row.integer(column)));
  } else if (kind == store::Stored::Real && field.type != FieldType::Guid) {
    appendJsonString(out_, store::numberText(row.real(column)));
  } else {
    const std::string_view text = row.text(column);
    if (!isUtf8(text)) refuse(field, "holds bytes that are not UTF-8 text");
    if (field.type == FieldType::Guid && !isGuid(text)) {
      refuse(field, "holds " + shown(row, column) + ", which is not a GUID");
    }
    appendJsonString(out_, text);
  }
}

void RecordWriter::number(const store::StoredRows& row, std::size_t column,
                          const store::FieldDef& field) {
  const store::Stored kind = row.kind(column);
  if (kind != store::Stored::Integer && kind != store::Stored::Real) {
    refuse(field, "holds text (" + shown(row, column) + ") instead of " +
                      (field.type == FieldType::Currency  ? "an amount"
                       : field.type == FieldType::Integer ? "a whole number"
                                                          : "a number"));
  }
  if (field.type == FieldType::Integer) {
    if (kind == store::Stored::Real) {
      refuse(field,
             "holds " + store::numberText(row.real(column)) + ", which is not a whole number");
    }
    const std::int64_t whole = row.integer(column);
    if ((field.size == 1 && (whole < 0 || whole > 255)) ||
        (field.size == 2 && (whole < -32768 || whole > 32767))) {
      refuse(field, "of " + std::to_string(field.size) + " bytes holds " + std::to_string(whole) +
                        ", which is outside its range");
    }
    appendJsonInteger(out_, whole);
  } else if (field.type == FieldType::Currency) {
    if (kind == store::Stored::Real) {
      refuse(field, "holds " + store::numberText(row.real(column)) +
                        ", which is not a whole number of ten-thousandths");
    }
    out_ += store::currencyText(row.integer(column));
  } else {
    const double number = row.real(column);
    if (std::isnan(number)) {
      out_ += "null";
    } else if (field.size == 4) {
      appendSingle(out_, static_cast<float>(number));
    } else {
      appendJsonDouble(out_, number);
    }
  }
}

void RecordWriter::other(const store::StoredRows& row, std::size_t column,
                         const store::FieldDef& field) {
  const store::Stored kind = row.kind(column);
  switch (field.type) {
    case FieldType::Date:
      if (kind == store::Stored::Text || kind == store::Stored::Bytes) {
        if (auto date = store::Date::parse(row.text(column))) {
          out_ += '"';
          out_ += date->iso();
          out_ += '"';
          return;
        }
        refuse(field, "holds text (" + shown(row, column) + ") that is not a date");
      }
      refuse(field, "holds a number instead of a date");
    case FieldType::Boolean:
      if (kind == store::Stored::Integer || kind == store::Stored::Real) {
        out_ += row.real(column) != 0 ? "true" : "false";
        return;
      }
      refuse(field, "holds text (" + shown(row, column) + ") instead of yes or no");
    case FieldType::Binary:
    case FieldType::Ole:
      if (kind == store::Stored::Bytes || kind == store::Stored::Text) {
        const std::string_view bytes = row.bytes(column);
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
