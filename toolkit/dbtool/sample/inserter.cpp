#include "inserter.h"

#include <sqlite3.h>

#include <cstdio>

#include "store/error.h"
#include "store/text_case.h"

namespace sample::detail {
namespace {

std::string quoted(std::string_view name) {
  std::string out = "\"";
  for (char ch : name) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

}  // namespace

Inserter::Inserter(const store::Database& db, const store::TableDef& def) : db_(db), def_(def) {
  std::string names, params;
  for (std::size_t i = 0; i < def_.fields.size(); ++i) {
    if (i > 0) {
      names += ", ";
      params += ", ";
    }
    names += quoted(def_.fields[i].name);
    params += "?" + std::to_string(i + 1);
  }
  const std::string sql =
      "INSERT INTO " + quoted(def_.name) + " (" + names + ") VALUES (" + params + ")";
  check(sqlite3_prepare_v3(db_.handle(), sql.c_str(), static_cast<int>(sql.size()),
                           SQLITE_PREPARE_PERSISTENT, &statement_, nullptr));
}

Inserter::~Inserter() { sqlite3_finalize(statement_); }

void Inserter::check(int rc) const {
  if (rc == SQLITE_OK || rc == SQLITE_DONE) return;
  throw store::Error(rc, "Writing '" + def_.name + "': " + sqlite3_errmsg(db_.handle()));
}

std::size_t Inserter::position(std::string_view field) const {
  if (auto at = def_.fieldPosition(field)) return *at;
  throw store::Error(store::code::notFound,
                     "The field '" + std::string(field) + "' is not in '" + def_.name + "'.");
}

void Inserter::text(std::size_t position, std::string_view text) {
  const store::FieldDef& field = def_.fields.at(position);
  if (static_cast<int>(store::characterCount(text)) > field.size) {
    throw store::Error(store::code::constraint,
                       "The value '" + std::string(text) + "' is longer than the " +
                           std::to_string(field.size) + " characters of the field '" + field.name +
                           "'.");
  }
  // An empty view may have no data, which SQLite would bind as null rather than "".
  check(sqlite3_bind_text(statement_, static_cast<int>(position + 1),
                          text.empty() ? "" : text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT));
}

void Inserter::textOrNull(std::size_t position, const std::optional<std::string>& text) {
  if (text) {
    this->text(position, std::string_view(*text));
  } else {
    null(position);
  }
}

void Inserter::number(std::size_t position, double number) {
  check(sqlite3_bind_double(statement_, static_cast<int>(position + 1), number));
}

void Inserter::integer(std::size_t position, std::int64_t number) {
  check(sqlite3_bind_int64(statement_, static_cast<int>(position + 1), number));
}

void Inserter::date(std::size_t position, store::Date date) {
  const std::string iso = date.iso();
  check(sqlite3_bind_text(statement_, static_cast<int>(position + 1), iso.data(),
                          static_cast<int>(iso.size()), SQLITE_TRANSIENT));
}

void Inserter::null(std::size_t position) {
  check(sqlite3_bind_null(statement_, static_cast<int>(position + 1)));
}

void Inserter::insert() {
  const int rc = sqlite3_step(statement_);
  sqlite3_reset(statement_);
  check(rc);
}

void removeDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

}  // namespace sample::detail
