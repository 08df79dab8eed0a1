#include "field_value.h"

#include <charconv>
#include <cstdlib>
#include <optional>

#include "json_text.h"
#include "store/text_case.h"

namespace dbtool {
namespace {

// "YYYY-MM-DD" exactly, and a real date.
std::optional<store::Date> isoDate(const std::string& text) {
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  return store::Date::parse(text);
}

[[noreturn]] void refuse(const store::FieldDef& field, const std::string& what) {
  throw ValueRefusal("field " + jsonString(field.name) + ": " + what);
}

[[noreturn]] void wrongKind(const store::FieldDef& field, const char* found) {
  const char* article = field.type == store::FieldType::Integer ? " an " : " a ";
  const char* hint = field.type == store::FieldType::Text   ? " (write text in double quotes)"
                     : field.type == store::FieldType::Date ? " (write a date as \"YYYY-MM-DD\")"
                                                            : "";
  refuse(field, std::string(found) + " is no value for" + article +
                    store::fieldTypeName(field.type) + " field" + hint);
}

void readString(const std::string& text, const store::FieldDef& field, store::Value& value) {
  if (field.type == store::FieldType::Text) {
    const std::size_t length = store::characterCount(text);
    if (length > static_cast<std::size_t>(field.size)) {
      refuse(field, "a text of " + std::to_string(length) +
                        " characters is longer than the field's size of " +
                        std::to_string(field.size));
    }
    value.setText(text);
  } else if (field.type == store::FieldType::Date) {
    const auto date = isoDate(text);
    if (!date) {
      refuse(field, jsonString(text.substr(0, 40)) + " is not a date in the form \"YYYY-MM-DD\"");
    }
    value.setDate(*date);
  } else {
    wrongKind(field, "a string");
  }
}

void readNumber(const std::string& text, const store::FieldDef& field, store::Value& value) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  if (field.type == store::FieldType::Integer) {
    if (text.find_first_of(".eE") != std::string::npos) {
      refuse(field, text + " is not a whole number, which an integer field needs");
    }
    std::int64_t whole = 0;
    if (std::from_chars(first, last, whole).ec != std::errc()) {
      refuse(field, text + " is outside the range of an integer field");
    }
    value.setInteger(whole);
  } else if (field.type == store::FieldType::Double) {
    double real = 0;
    // Beyond the range of a double: strtod gives infinity or zero, as the text means.
    if (std::from_chars(first, last, real).ec == std::errc::result_out_of_range) {
      real = std::strtod(text.c_str(), nullptr);
    }
    value.setDouble(real);
  } else {
    wrongKind(field, "a number");
  }
}

}  // namespace

void readFieldValue(JsonLexer& lexer, const store::FieldDef& field, store::Value& value) {
  const Token token = lexer.next();
  switch (token) {
    case Token::Null: value.setNull(); return;
    case Token::String: readString(lexer.text(), field, value); return;
    case Token::Number: readNumber(lexer.text(), field, value); return;
    case Token::True: wrongKind(field, "true");
    case Token::False: wrongKind(field, "false");
    case Token::BeginObject: wrongKind(field, "an object");
    case Token::BeginArray: wrongKind(field, "an array");
    default: throw ValueRefusal(std::string("expected a value, found ") + tokenName(token));
  }
}

}  // namespace dbtool
