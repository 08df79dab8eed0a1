// The rules of a field as its table's definition keeps them: NOT NULL, the default value and the
// check that a text is not empty, which createTable writes.
#include <cstdlib>
#include <string>

#include "connection.h"
#include "store/value.h"

namespace store::detail {

namespace {

// A default as the definition writes it: NULL, a number, or a text in single quotes.
std::optional<Value> defaultOf(const FieldDef& field, const std::string& literal) {
  if (literal.empty() || literal == "NULL") return std::nullopt;
  if (literal.size() >= 2 && literal.front() == '\'' && literal.back() == '\'') {
    std::string text;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
      if (literal[i] == '\'') ++i;  // a quote is written twice
      text += literal[i];
    }
    if (field.type == FieldType::Date) {
      if (auto date = Date::parse(text)) return Value(*date);
    }
    return Value(text);
  }
  const bool whole = literal.find_first_of(".eE") == std::string::npos;
  const std::int64_t number = std::strtoll(literal.c_str(), nullptr, 10);
  switch (field.type) {
    case FieldType::Boolean: return Value::boolean(number != 0);
    case FieldType::Currency: return Value::currency(number);  // kept in ten-thousandths
    case FieldType::Integer: return Value(number);
    default: return whole ? Value(number) : Value(std::strtod(literal.c_str(), nullptr));
  }
}

}  // namespace

void readFieldRules(FieldDef& field, bool notNull, const char* defaultLiteral,
                    const std::string& tableSql) {
  field.required = notNull;
  if (defaultLiteral) field.defaultValue = defaultOf(field, defaultLiteral);
  field.allowZeroLength =
      tableSql.find("CHECK (" + quote(field.name) + " <> '')") == std::string::npos;
}

}  // namespace store::detail
