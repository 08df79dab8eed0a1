#include "field_rules.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "store/error.h"
#include "store/text_case.h"
#include "store/value.h"

namespace jet::detail {
namespace {

// Jet's text literal "a ""b""" (or 'a'), as its text.
bool textLiteral(const std::string& expression, std::string& text) {
  if (expression.size() < 2) return false;
  const char mark = expression.front();
  if ((mark != '"' && mark != '\'') || expression.back() != mark) return false;
  for (std::size_t i = 1; i + 1 < expression.size(); ++i) {
    if (expression[i] == mark && (i + 2 >= expression.size() || expression[++i] != mark))
      return false;
    text += expression[i];
  }
  return true;
}

bool isNumber(const std::string& text, double& number) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, number);
  return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(number);
}

}  // namespace

std::optional<store::Value> defaultValue(const store::FieldDef& field,
                                         const std::string& expression) {
  using store::FieldType;
  using store::Value;
  std::string text;
  double number = 0;
  const std::string upper = store::toUpper(expression);
  switch (field.type) {
    case FieldType::Boolean:
      if (upper == "YES" || upper == "TRUE" || upper == "ON" || upper == "-1")
        return Value::boolean(true);
      if (upper == "NO" || upper == "FALSE" || upper == "OFF" || upper == "0")
        return Value::boolean(false);
      return std::nullopt;
    case FieldType::Integer:
      if (!isNumber(expression, number) || number != std::trunc(number) || std::abs(number) > 2e9)
        return std::nullopt;
      return Value(static_cast<std::int64_t>(number));
    case FieldType::Double:
      if (!isNumber(expression, number)) return std::nullopt;
      return Value(number);
    case FieldType::Currency: {
      const auto amount = store::parseCurrency(expression);
      if (!amount) return std::nullopt;
      return Value::currency(*amount);
    }
    case FieldType::Text:
    case FieldType::Memo:
      if (!textLiteral(expression, text)) return std::nullopt;
      if (field.type == FieldType::Text &&
          store::characterCount(text) > static_cast<std::size_t>(field.size))
        return std::nullopt;
      return Value(text);
    default: return std::nullopt;
  }
}

store::TableDef withRules(const store::TableDef& def, const std::vector<FieldRules>& fields,
                          const std::vector<IndexRules>& indexes, bool strict) {
  store::TableDef made = def;
  for (std::size_t i = 0; i < def.indexes.size() && i < indexes.size(); ++i) {
    made.indexes[i].ignoreNulls = indexes[i].ignoreNulls;
    if (!strict || !indexes[i].required) continue;
    for (const std::string& key : def.indexes[i].fields) {
      if (const auto position = def.fieldPosition(key)) made.fields[*position].required = true;
    }
  }
  for (std::size_t i = 0; i < made.fields.size() && i < fields.size(); ++i) {
    store::FieldDef& field = made.fields[i];
    const FieldRules& rules = fields[i];
    const bool yesNo = field.type == store::FieldType::Boolean;
    field.required = field.required || yesNo || (strict && rules.required);
    field.defaultValue = defaultValue(field, rules.defaultValue);
    if (yesNo && !field.defaultValue) field.defaultValue = store::Value::boolean(false);
    field.allowZeroLength = !strict || rules.allowZeroLength;
  }
  return made;
}

}  // namespace jet::detail
