// Values fitted to the field they are written to, as the engine of the suite's files converts
// them: numbers from text, whole numbers rounded half to even, yes/no from words, exact currency.
#include "coerce.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "error.h"
#include "text_case.h"

namespace store {

namespace {

std::optional<double> parseNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  const std::string copy(text);
  char* end = nullptr;
  const double number = std::strtod(copy.c_str(), &end);
  if (end != copy.c_str() + copy.size() || !std::isfinite(number)) return std::nullopt;
  return number;
}

[[noreturn]] void mismatch(const FieldDef& field, const Value& value) {
  throw Error(code::mismatch, "The value '" + printable(value.toText()) +
                                  "' cannot be stored in the " + fieldTypeName(field.type) +
                                  " field '" + field.name + "'.");
}

[[noreturn]] void tooLong(const FieldDef& field, const std::string& shown, const char* unit) {
  throw Error(code::constraint, "The value '" + printable(shown) + "' is longer than the " +
                                    std::to_string(field.size) + " " + unit + " of the field '" +
                                    field.name + "'.");
}

[[noreturn]] void outOfRange(const FieldDef& field, const Value& value) {
  throw Error(code::constraint, "The value '" + printable(value.toText()) +
                                    "' is outside the range of the " + fieldTypeName(field.type) +
                                    " field '" + field.name + "'.");
}

Value wholeNumber(const FieldDef& field, const Value& value) {
  std::optional<double> number;
  switch (value.kind()) {
    case Value::Kind::Integer: break;
    case Value::Kind::Boolean: return Value(static_cast<std::int64_t>(value.boolean() ? -1 : 0));
    case Value::Kind::Text: number = parseNumber(value.text()); break;
    case Value::Kind::Double:
    case Value::Kind::Currency: number = value.number(); break;
    default: mismatch(field, value);
  }
  std::int64_t whole = value.integer();
  if (number) {
    const double rounded = std::nearbyint(*number);  // halves go to the even neighbour
    if (std::fabs(rounded) > 9.2e18) mismatch(field, value);
    whole = static_cast<std::int64_t>(rounded);
  } else if (value.kind() != Value::Kind::Integer) {
    mismatch(field, value);
  }
  if ((field.size == 1 && (whole < 0 || whole > 255)) ||
      (field.size == 2 && (whole < -32768 || whole > 32767))) {
    outOfRange(field, value);
  }
  return Value(whole);
}

Value realNumber(const FieldDef& field, const Value& value) {
  std::optional<double> number;
  if (value.isNumber() || value.kind() == Value::Kind::Boolean) number = value.number();
  if (value.isText()) number = parseNumber(value.text());
  if (!number) mismatch(field, value);
  if (field.size == 4) {
    if (std::isfinite(*number) && std::fabs(*number) > std::numeric_limits<float>::max()) {
      outOfRange(field, value);
    }
    return Value(static_cast<double>(static_cast<float>(*number)));
  }
  return Value(*number);
}

Value currencyAmount(const FieldDef& field, const Value& value) {
  if (value.kind() == Value::Kind::Currency) return value;
  if (value.kind() == Value::Kind::Integer) {
    if (value.integer() > INT64_MAX / 10000 || value.integer() < INT64_MIN / 10000) {
      outOfRange(field, value);
    }
    return Value::currency(value.integer() * 10000);
  }
  if (value.isText()) {
    if (auto exact = parseCurrency(value.text())) return Value::currency(*exact);
  }
  std::optional<double> number;
  if (value.kind() == Value::Kind::Double || value.kind() == Value::Kind::Boolean) {
    number = value.number();
  }
  if (value.isText()) number = parseNumber(value.text());
  if (!number) mismatch(field, value);
  const double scaled = std::nearbyint(*number * 10000.0);
  if (!std::isfinite(scaled) || std::fabs(scaled) >= 9.2e18) outOfRange(field, value);
  return Value::currency(static_cast<std::int64_t>(scaled));
}

Value yesNo(const FieldDef& field, const Value& value) {
  if (value.kind() == Value::Kind::Boolean) return value;
  if (value.isNumber()) return Value::boolean(value.number() != 0);
  if (value.isText()) {
    const std::string word = toUpper(value.text());
    if (word == "TRUE" || word == "YES" || word == "ON") return Value::boolean(true);
    if (word == "FALSE" || word == "NO" || word == "OFF") return Value::boolean(false);
    if (auto number = parseNumber(word)) return Value::boolean(*number != 0);
  }
  mismatch(field, value);
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper case, from that form in any case, with or
// without the braces.
Value guid(const FieldDef& field, const Value& value) {
  if (!value.isText()) mismatch(field, value);
  std::string_view text = value.text();
  if (text.size() == 38 && text.front() == '{' && text.back() == '}') {
    text = text.substr(1, 36);
  }
  if (text.size() != 36) mismatch(field, value);
  std::string out = "{";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? ch != '-' : !std::isxdigit(static_cast<unsigned char>(ch))) mismatch(field, value);
    out += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  return Value(out + "}");
}

Value bytes(const FieldDef& field, const Value& value) {
  if (value.kind() != Value::Kind::Binary && !value.isText()) mismatch(field, value);
  const std::string& data = value.kind() == Value::Kind::Binary ? value.bytes() : value.text();
  if (field.type == FieldType::Binary && data.size() > static_cast<std::size_t>(field.size)) {
    tooLong(field, "(" + std::to_string(data.size()) + " bytes)", "bytes");
  }
  return value.kind() == Value::Kind::Binary ? value : Value::binary(data);
}

}  // namespace

Value coerce(const FieldDef& field, const Value& value) {
  if (value.isNull()) return value;
  switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: {
      std::string text = value.toText();
      if (field.type == FieldType::Text && static_cast<int>(characterCount(text)) > field.size) {
        tooLong(field, text, "characters");
      }
      return Value(std::move(text));
    }
    case FieldType::Integer: return wholeNumber(field, value);
    case FieldType::Double: return realNumber(field, value);
    case FieldType::Currency: return currencyAmount(field, value);
    case FieldType::Boolean: return yesNo(field, value);
    case FieldType::Guid: return guid(field, value);
    case FieldType::Binary:
    case FieldType::Ole: return bytes(field, value);
    case FieldType::Date: {
      if (value.isDate()) return value;
      if (value.isText()) {
        if (auto date = Date::parse(value.text())) return Value(*date);
      }
      mismatch(field, value);
    }
  }
  return value;
}

}  // namespace store
