#include "field_rules.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <map>

#include "store/error.h"
#include "store/text_case.h"
#include "store/value.h"

namespace jet::detail {
namespace {

std::string quoted(const std::string& name, char mark) {
  std::string out(1, mark);
  for (char c : name) {
    out += c;
    if (c == mark) out += c;
  }
  return out + mark;
}

std::string identifier(const std::string& name) { return quoted(name, '"'); }

void execute(sqlite3* db, const std::string& sql) {
  char* message = nullptr;
  const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
  if (rc == SQLITE_OK) return;
  const std::string what = message ? message : sqlite3_errstr(rc);
  sqlite3_free(message);
  throw store::Error(sqlite3_extended_errcode(db), what);
}

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

std::string defaultLiteral(const store::FieldDef& field, const std::string& expression) {
  using store::FieldType;
  std::string text;
  double number = 0;
  const std::string upper = store::toUpper(expression);
  switch (field.type) {
    case FieldType::Boolean:
      if (upper == "YES" || upper == "TRUE" || upper == "ON" || upper == "-1") return "-1";
      if (upper == "NO" || upper == "FALSE" || upper == "OFF" || upper == "0") return "0";
      return "";
    case FieldType::Integer:
      if (!isNumber(expression, number) || number != std::trunc(number) || std::abs(number) > 2e9)
        return "";
      return std::to_string(static_cast<long long>(number));
    case FieldType::Double:
      return isNumber(expression, number) ? expression : "";
    case FieldType::Currency: {
      const auto amount = store::parseCurrency(expression);
      return amount ? std::to_string(*amount) : "";
    }
    case FieldType::Text:
    case FieldType::Memo:
      if (!textLiteral(expression, text)) return "";
      if (field.type == FieldType::Text && store::characterCount(text) > static_cast<std::size_t>(field.size))
        return "";
      return quoted(text, '\'');
    default: return "";
  }
}

void remakeWithRules(sqlite3* db, const store::TableDef& def, const std::vector<FieldRules>& fields,
                     const std::vector<IndexRules>& indexes, bool strict) {
  const std::string table = identifier(def.name);
  // The declared types and the index statements exactly as the store wrote them.
  std::vector<std::string> types;
  std::vector<std::pair<std::string, std::string>> made;  // index name, statement
  {
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT type, name, sql FROM sqlite_schema WHERE tbl_name = ?1 "
                            "AND type = 'index' AND sql IS NOT NULL ORDER BY rowid";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
      throw store::Error(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
    sqlite3_bind_text(stmt, 1, def.name.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      made.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)),
                        reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
    }
    sqlite3_finalize(stmt);
    if (sqlite3_prepare_v2(db, ("PRAGMA main.table_info(" + table + ")").c_str(), -1, &stmt,
                           nullptr) != SQLITE_OK)
      throw store::Error(sqlite3_extended_errcode(db), sqlite3_errmsg(db));
    while (sqlite3_step(stmt) == SQLITE_ROW)
      types.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2)));
    sqlite3_finalize(stmt);
  }
  if (types.size() != def.fields.size()) {
    throw store::Error(SQLITE_ERROR, "the table '" + def.name + "' was not made as defined");
  }

  std::vector<bool> notNull(def.fields.size(), false);
  for (std::size_t i = 0; i < def.indexes.size() && i < indexes.size(); ++i) {
    if (!indexes[i].required) continue;
    for (const std::string& key : def.indexes[i].fields) {
      if (const auto position = def.fieldPosition(key)) notNull[*position] = true;
    }
  }
  std::string sql = "CREATE TABLE " + table + " (";
  for (std::size_t i = 0; i < def.fields.size(); ++i) {
    const store::FieldDef& field = def.fields[i];
    const FieldRules& rules = fields[i];
    const std::string name = identifier(field.name);
    sql += (i > 0 ? ", " : "") + name + " " + types[i];
    const bool yesNo = field.type == store::FieldType::Boolean;
    if (yesNo || (strict && (rules.required || notNull[i]))) sql += " NOT NULL";
    std::string literal = defaultLiteral(field, rules.defaultValue);
    if (yesNo && literal.empty()) literal = "0";
    if (!literal.empty()) sql += " DEFAULT " + literal;
    const bool text = field.type == store::FieldType::Text || field.type == store::FieldType::Memo;
    if (strict && text && !rules.allowZeroLength) sql += " CHECK (" + name + " <> '')";
  }
  execute(db, "DROP TABLE " + table);
  execute(db, sql + ")");
  for (const auto& [name, statement] : made) {
    std::string where;
    for (std::size_t i = 0; i < def.indexes.size() && i < indexes.size(); ++i) {
      if (!indexes[i].ignoreNulls || def.name + "." + def.indexes[i].name != name) continue;
      for (const std::string& key : def.indexes[i].fields)
        where += (where.empty() ? " WHERE " : " OR ") + identifier(key) + " IS NOT NULL";
    }
    execute(db, statement + where);
  }
}

}  // namespace jet::detail
