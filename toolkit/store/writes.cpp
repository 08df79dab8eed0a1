#include "writes.h"

#include <sqlite3.h>

#include "coerce.h"
#include "engine/access.h"
#include "engine/connection.h"
#include "history/recorder.h"
#include "text_case.h"

namespace store {

namespace detail {

// What an update by key needs at each run: its statement, found again at once on the connection
// that prepared it, its table and the table's write count.
struct KeyUpdatePlan {
  std::string table;
  std::string sql;
  std::vector<FieldDef> fields;
  std::size_t keys = 0;
  std::vector<std::size_t> positions;  // of the fields
  bool adds = false;                   // the values are added to the present ones
  std::uint64_t connection = 0;
  sqlite3_stmt* statement = nullptr;
  std::shared_ptr<const TableInfo> info;
  std::uint64_t* counter = nullptr;

  static KeyUpdatePlan& of(const KeyUpdate& update) {
    if (!update.plan_) throw Error(code::misuse, "An update by key that was not prepared.");
    return *update.plan_;
  }
  static KeyUpdate make(std::unique_ptr<KeyUpdatePlan> plan) {
    KeyUpdate update;
    update.plan_ = std::move(plan);
    return update;
  }
};

}  // namespace detail

using detail::Access;
using detail::Connection;
using detail::KeyUpdatePlan;
using detail::quote;
using detail::StatementUse;

KeyUpdate::KeyUpdate() = default;
KeyUpdate::~KeyUpdate() = default;
KeyUpdate::KeyUpdate(KeyUpdate&&) noexcept = default;
KeyUpdate& KeyUpdate::operator=(KeyUpdate&&) noexcept = default;

namespace {

// The condition "field, read as text (and upper-cased), equals ?1". A text field holds only text,
// so a case-blind equality, which an index can serve, narrows the records first.
//
// For a text field and an upper-case text the case-blind equality is the whole condition: the
// collation folds each character as upper-casing does, so a text equals the upper-case one
// without regard to case exactly when its upper-cased form equals it.
std::string textCondition(const FieldDef& field, bool upper, bool upperCaseText = false) {
  std::string condition;
  if (field.type == FieldType::Text || field.type == FieldType::Memo) {
    condition = quote(field.name) + " = ?1 COLLATE FOLD";
    if (upper && upperCaseText) return condition;
    condition += " AND ";
  }
  condition += std::string(upper ? "rk_upper_text(" : "rk_text(") + quote(field.name) + ", " +
               std::to_string(static_cast<int>(field.type)) + ") = ?1";
  return condition;
}

// The position of a field of the table; throws when it has none of that name.
std::size_t fieldOf(const detail::TableInfo& info, const std::string& table,
                    const std::string& field) {
  const auto position = info.def.fieldPosition(field);
  if (!position) {
    throw Error(code::notFound, "The field '" + field + "' is not in '" + table + "'.");
  }
  return *position;
}

std::int64_t run(Connection& c, const std::string& sql, const std::vector<Value>& binds) {
  StatementUse use(c.statement(sql));
  for (std::size_t i = 0; i < binds.size(); ++i) {
    detail::bindValue(use.get(), static_cast<int>(i + 1), binds[i]);
  }
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_DONE && rc != SQLITE_ROW) c.fail(rc);
  return rc == SQLITE_ROW ? sqlite3_column_int64(use.get(), 0) : sqlite3_changes64(c.db());
}

}  // namespace

std::int64_t updateWhereUpperText(const Database& db, const std::string& table,
                                  const std::string& field, const Value& value,
                                  const std::string& upperText) {
  Connection& c = Access::connection(db);
  auto info = c.table(table);
  const std::size_t position = fieldOf(*info, table, field);
  const FieldDef& def = info->def.fields[position];
  const std::string where = " WHERE " + textCondition(def, true, toUpper(upperText) == upperText);
  Value stored;
  try {
    stored = coerce(def, value);
  } catch (const Error&) {
    // A cursor would fail on the first matching record only.
    if (run(c, "SELECT count(*) FROM " + info->quotedName + where, {Value(upperText)}) == 0) {
      return 0;
    }
    throw;
  }
  ++*c.tableCounter(table);
  const std::vector<std::size_t> positions{position};
  const std::vector<Value> values{stored};
  const history::HintScope hint(c.recorder,
                                {&info->def.name, false, &positions, &values, &info->keyFields});
  return run(c, "UPDATE " + info->quotedName + " SET " + quote(def.name) + " = ?2" + where,
             {Value(upperText), stored});
}

namespace {

// The index a seek of `keys` values goes through; its name is compared without regard to case.
const detail::IndexInfo& seekIndex(const detail::TableInfo& info, const std::string& table,
                                   const std::string& index, std::size_t keys) {
  const detail::IndexInfo* found = nullptr;
  for (const detail::IndexInfo& candidate : info.indexes) {
    if (compareFolded(candidate.def.name, index) == 0) found = &candidate;
  }
  if (!found)
    throw Error(code::notFound, "'" + index + "' is not an index of the table '" + table + "'.");
  if (keys == 0 || keys > found->columns.size()) {
    throw Error(code::misuse, "A seek on '" + found->def.name + "' takes 1 to " +
                                  std::to_string(found->columns.size()) + " key values.");
  }
  return *found;
}

}  // namespace

KeyUpdate prepareUpdateWhereKey(const Database& db, const std::string& table,
                                const std::string& index, std::size_t keys,
                                const std::vector<std::size_t>& positions, bool addToPresent) {
  Connection& c = Access::connection(db);
  auto info = c.table(table);
  const detail::IndexInfo* found = &seekIndex(*info, table, index, keys);
  auto update = std::make_unique<KeyUpdatePlan>();
  update->table = table;
  update->sql = "UPDATE " + info->quotedName + " SET ";
  update->keys = keys;
  update->positions = positions;
  update->adds = addToPresent;
  for (std::size_t position : positions) {
    if (position >= info->def.fields.size()) {
      throw Error(code::notFound,
                  "No field at position " + std::to_string(position) + " in '" + table + "'.");
    }
    const FieldDef& def = info->def.fields[position];
    if (addToPresent && def.type != FieldType::Double && def.type != FieldType::Integer) {
      throw Error(code::misuse, "Only a number field can be added to: '" + def.name + "'.");
    }
    if (!update->fields.empty()) update->sql += ", ";
    update->fields.push_back(def);
    const std::string param = "?" + std::to_string(update->fields.size());
    std::string value = param;
    if (addToPresent) {
      value = "coalesce(" + quote(def.name) + ", 0) + " + param;
      // A single keeps its sum in single precision, as a value written into it does.
      if (def.type == FieldType::Double && def.size == 4) value = "rk_single(" + value + ")";
    }
    update->sql += quote(def.name) + " = " + value;
  }
  std::string where, order;
  for (std::size_t k = 0; k < found->columns.size(); ++k) {
    const std::string key = quote(info->def.fields[found->columns[k]].name);
    const std::string collate = " COLLATE " + quote(found->collations[k]);
    if (k < keys) {
      where += (k == 0 ? " WHERE " : " AND ") + key + " = ?" +
               std::to_string(update->fields.size() + k + 1) + collate;
    }
    order += key + collate + (found->def.descends(k) ? " DESC, " : ", ");
  }
  // Every key of a unique index names one record; otherwise the seek's record is the first with
  // those keys in the index order.
  if (found->def.unique && keys == found->columns.size()) {
    update->sql += where;
  } else {
    update->sql += " WHERE " + info->rowidName + " = (SELECT " + info->rowidName + " FROM " +
                   info->quotedName + where + " ORDER BY " + order + info->rowidName + " LIMIT 1)";
  }
  return KeyUpdatePlan::make(std::move(update));
}

std::vector<Value> KeyUpdate::fit(const std::vector<Value>& values) const {
  const KeyUpdatePlan& plan = KeyUpdatePlan::of(*this);
  if (values.size() != plan.fields.size()) {
    throw Error(code::misuse, "An update by key takes one value per field.");
  }
  std::vector<Value> fitted;
  fitted.reserve(values.size());
  for (std::size_t i = 0; i < values.size(); ++i)
    fitted.push_back(coerce(plan.fields[i], values[i]));
  return fitted;
}

namespace {

// Binds the values (fitted to their fields unless they are already), then the keys as they are,
// and runs the update; returns the number of records written.
std::int64_t runKeyUpdate(const Database& db, const KeyUpdate& update,
                          const std::vector<Value>& keys, const std::vector<Value>& values,
                          bool fitted) {
  KeyUpdatePlan& plan = KeyUpdatePlan::of(update);
  if (keys.size() != plan.keys || values.size() != plan.fields.size()) {
    throw Error(code::misuse, "An update by key takes every key and one value per field.");
  }
  if (values.empty()) return 0;
  Connection& c = Access::connection(db);
  const std::vector<Value> own = fitted ? std::vector<Value>{} : update.fit(values);
  const std::vector<Value>& stored = fitted ? values : own;
  if (plan.connection != c.serial() || !plan.statement) {
    plan.statement = c.statement(plan.sql);
    plan.info = c.table(plan.table);
    plan.counter = c.tableCounter(plan.table);
    plan.connection = c.serial();
  }
  // Every parameter is bound again at each use, so the old bindings need no clearing.
  StatementUse use(plan.statement, StatementUse::Bindings::Kept);
  int param = 1;
  for (const Value& value : stored) detail::bindStored(use.get(), param++, value);
  for (const Value& value : keys) detail::bindValue(use.get(), param++, value);
  if (param - 1 != sqlite3_bind_parameter_count(use.get())) {
    throw Error(code::misuse, "A write was given the wrong number of values.");
  }
  const history::HintScope hint(c.recorder, {&plan.info->def.name, false, &plan.positions,
                                             plan.adds ? nullptr : &stored, &plan.info->keyFields});
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_DONE) c.fail(rc);
  ++*plan.counter;
  return sqlite3_changes64(c.db());
}

}  // namespace

std::int64_t updateWhereKey(const Database& db, const KeyUpdate& update,
                            const std::vector<Value>& keys, const std::vector<Value>& values) {
  return runKeyUpdate(db, update, keys, values, false);
}

std::int64_t updateWhereKeyFitted(const Database& db, const KeyUpdate& update,
                                  const std::vector<Value>& keys,
                                  const std::vector<Value>& fitted) {
  return runKeyUpdate(db, update, keys, fitted, true);
}

std::int64_t updateWhereKey(const Database& db, const std::string& table, const std::string& index,
                            const std::vector<Value>& keys, const FieldValues& fields,
                            bool addToPresent) {
  std::vector<std::size_t> positions;
  std::vector<Value> values;
  for (const auto& [position, value] : fields) {
    positions.push_back(position);
    values.push_back(value);
  }
  return updateWhereKey(
      db, prepareUpdateWhereKey(db, table, index, keys.size(), positions, addToPresent), keys,
      values);
}

bool hasKey(const Database& db, const std::string& table, const std::string& index,
            const std::vector<Value>& keys) {
  Connection& c = Access::connection(db);
  auto info = c.table(table);
  const detail::IndexInfo* found = &seekIndex(*info, table, index, keys.size());
  std::string sql = "SELECT 1 FROM " + info->quotedName + " WHERE ";
  for (std::size_t k = 0; k < keys.size(); ++k) {
    if (k > 0) sql += " AND ";
    sql += quote(info->def.fields[found->columns[k]].name) + " = ?" + std::to_string(k + 1) +
           " COLLATE " + quote(found->collations[k]);
  }
  StatementUse use(c.statement(sql + " LIMIT 1"));
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const FieldDef& field = info->def.fields[found->columns[k]];
    Value key = keys[k];
    // As a seek does: a key its field cannot hold is compared as it is, and finds nothing.
    if (!(key.isText() && (field.type == FieldType::Text || field.type == FieldType::Memo))) {
      try {
        key = coerce(field, keys[k]);
      } catch (const Error&) {
      }
    }
    detail::bindValue(use.get(), static_cast<int>(k + 1), key);
  }
  const int rc = sqlite3_step(use.get());
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) c.fail(rc);
  return rc == SQLITE_ROW;
}

std::int64_t deleteWhereText(const Database& db, const std::string& table, const std::string& field,
                             const std::string& text) {
  Connection& c = Access::connection(db);
  auto info = c.table(table);
  const std::size_t position = fieldOf(*info, table, field);
  ++*c.tableCounter(table);
  return run(c,
             "DELETE FROM " + info->quotedName + " WHERE " +
                 textCondition(info->def.fields[position], false),
             {Value(text)});
}

}  // namespace store
