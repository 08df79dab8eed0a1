#include "field_value.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

#include "base64.h"
#include "json_text.h"
#include "store/text_case.h"

namespace dbtool {
namespace {

using store::FieldType;

[[noreturn]] void refuse(const store::FieldDef& field, const std::string& what) {
  throw store::Error(store::Fault::Input, "field " + jsonString(field.name) + ": " + what);
}

const char* hint(FieldType type) {
  switch (type) {
    case FieldType::Text:
    case FieldType::Memo: return " (write text in double quotes)";
    case FieldType::Date: return " (write a date as \"YYYY-MM-DD\" or \"YYYY-MM-DD HH:MM:SS\")";
    case FieldType::Boolean: return " (write true or false)";
    case FieldType::Binary:
    case FieldType::Ole: return " (write the bytes as base64 in double quotes)";
    case FieldType::Guid: return " (write it as \"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}\")";
    default: return "";
  }
}

[[noreturn]] void wrongKind(const store::FieldDef& field, const char* found) {
  const bool vowel = field.type == FieldType::Integer || field.type == FieldType::Ole;
  refuse(field, std::string(found) + " is no value for" + (vowel ? " an " : " a ") +
                    store::fieldTypeName(field.type) + " field" + hint(field.type));
}

std::string shown(std::string_view text) { return jsonString(text.substr(0, 40)); }

bool digitsAt(std::string_view text, std::initializer_list<std::size_t> places) {
  for (std::size_t i : places) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS" exactly, and a real date and time.
std::optional<store::Date> isoDate(std::string_view text) {
  if (text.size() != 10 && text.size() != 19) return std::nullopt;
  if (text[4] != '-' || text[7] != '-' || !digitsAt(text, {0, 1, 2, 3, 5, 6, 8, 9})) {
    return std::nullopt;
  }
  if (text.size() == 19 && (text[10] != ' ' || text[13] != ':' || text[16] != ':' ||
                            !digitsAt(text, {11, 12, 14, 15, 17, 18}))) {
    return std::nullopt;
  }
  return store::Date::parse(text);
}

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" with hexadecimal digits in either case; upper-cased.
std::optional<std::string> guid(std::string_view text) {
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
  std::string out(text);
  for (std::size_t i = 1; i < 37; ++i) {
    char& ch = out[i];
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (ch != '-') return std::nullopt;
    } else if (ch >= 'a' && ch <= 'f') {
      ch = static_cast<char>(ch - 'a' + 'A');
    } else if (!((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F'))) {
      return std::nullopt;
    }
  }
  return out;
}

void readString(std::string_view text, const store::FieldDef& field, store::Value& value) {
  switch (field.type) {
    case FieldType::Text:
      // A text of no more bytes than the size has no more characters either.
      if (text.size() > static_cast<std::size_t>(field.size)) {
        const std::size_t length = store::characterCount(text);
        if (length > static_cast<std::size_t>(field.size)) {
          refuse(field, "a text of " + std::to_string(length) +
                            " characters is longer than the field's size of " +
                            std::to_string(field.size));
        }
      }
      value.setText(text);
      return;
    case FieldType::Memo: value.setText(text); return;
    case FieldType::Guid:
      if (auto form = guid(text)) {
        value.setText(*form);
        return;
      }
      refuse(field, shown(text) + " is not a GUID in the form " +
                        "\"{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}\"");
    case FieldType::Date:
      if (auto date = isoDate(text)) {
        value.setDate(*date);
        return;
      }
      refuse(field,
             shown(text) + " is not a date in the form \"YYYY-MM-DD\" or \"YYYY-MM-DD HH:MM:SS\"");
    case FieldType::Binary:
    case FieldType::Ole: {
      auto bytes = decodeBase64(text);
      if (!bytes)
        refuse(field, shown(text) + " is not base64 (A-Z, a-z, 0-9, + and /, padded with =)");
      if (field.type == FieldType::Binary && bytes->size() > static_cast<std::size_t>(field.size)) {
        refuse(field, std::to_string(bytes->size()) + " bytes are more than the field's size of " +
                          std::to_string(field.size));
      }
      value.setBinary(*bytes);
      return;
    }
    default: wrongKind(field, "a string");
  }
}

// A literal of at most `digits` digits after an optional minus, the common case, read without
// the general parsers.
bool shortWhole(std::string_view text, std::size_t digits, std::int64_t& whole) {
  const char* at = text.data();
  const char* end = at + text.size();
  const bool negative = at != end && *at == '-';
  at += negative;
  if (at == end || static_cast<std::size_t>(end - at) > digits) return false;
  std::int64_t magnitude = 0;
  for (; at != end; ++at) {
    const unsigned digit = static_cast<unsigned>(*at - '0');
    if (digit > 9) return false;
    magnitude = magnitude * 10 + digit;
  }
  whole = negative ? -magnitude : magnitude;
  return true;
}

std::int64_t wholeNumber(std::string_view text, const store::FieldDef& field) {
  std::int64_t whole = 0;
  if (field.size >= 4 && shortWhole(text, 18, whole)) return whole;
  if (text.find_first_of(".eE") != std::string_view::npos) {
    refuse(field, std::string(text) + " is not a whole number, which an integer field needs");
  }
  const auto result = std::from_chars(text.data(), text.data() + text.size(), whole);
  // The store keeps 4-byte fields as 64-bit numbers, as it always has; the smaller sizes have
  // their own ranges.
  const std::int64_t least = field.size == 1 ? 0 : field.size == 2 ? -32768 : INT64_MIN;
  const std::int64_t most = field.size == 1 ? 255 : field.size == 2 ? 32767 : INT64_MAX;
  if (result.ec != std::errc() || whole < least || whole > most) {
    refuse(field, std::string(text) + " is outside the range of an integer field of " +
                      std::to_string(field.size) + " bytes (" + std::to_string(least) + " to " +
                      std::to_string(most) + ")");
  }
  return whole;
}

double realNumber(std::string_view text, const store::FieldDef& field) {
  double real = 0;
  // Beyond the range of a double: strtod gives infinity or zero, as the text means.
  if (std::from_chars(text.data(), text.data() + text.size(), real).ec ==
      std::errc::result_out_of_range) {
    real = std::strtod(std::string(text).c_str(), nullptr);
  }
  if (field.size == 4) {
    // Up to half a unit beyond the largest single still rounds to it ("3.4028235e+38").
    const double largest = std::numeric_limits<float>::max();
    if (std::isfinite(real) && std::fabs(real) >= largest + std::ldexp(1.0, 103)) {
      refuse(field, std::string(text) + " is outside the range of a single-precision field");
    }
    real = std::isfinite(real) ? static_cast<float>(std::clamp(real, -largest, largest))
                               : static_cast<float>(real);
  }
  return real;
}

void readNumber(std::string_view text, const store::FieldDef& field, store::Value& value) {
  switch (field.type) {
    case FieldType::Integer: value.setInteger(wholeNumber(text, field)); return;
    case FieldType::Double: {
      // A whole number of up to 15 digits is exact as a double, and a double field keeps it as
      // that integer anyway.
      std::int64_t whole = 0;
      if (field.size == 8 && shortWhole(text, 15, whole)) {
        value.setInteger(whole);
      } else {
        value.setDouble(realNumber(text, field));
      }
      return;
    }
    case FieldType::Currency:
      if (auto amount = store::parseCurrency(text)) {
        value.setCurrency(*amount);
        return;
      }
      refuse(field, std::string(text.substr(0, 40)) +
                        " is no currency amount, which has at most 4 decimals and lies within "
                        "-922337203685477.5808 to 922337203685477.5807");
    default: wrongKind(field, "a number");
  }
}

}  // namespace

void readFieldValue(Token token, std::string_view text, const store::FieldDef& field,
                    store::Value& value) {
  switch (token) {
    case Token::Null: value.setNull(); return;
    case Token::String: readString(text, field, value); return;
    case Token::Number: readNumber(text, field, value); return;
    case Token::True:
    case Token::False:
      if (field.type == FieldType::Boolean) {
        value.setBoolean(token == Token::True);
        return;
      }
      wrongKind(field, token == Token::True ? "true" : "false");
    case Token::BeginObject: wrongKind(field, "an object");
    case Token::BeginArray: wrongKind(field, "an array");
    default:
      throw store::Error(store::Fault::Input,
                         std::string("expected a value, found ") + tokenName(token));
  }
}

}  // namespace dbtool
