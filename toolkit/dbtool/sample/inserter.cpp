#include "inserter.h"

#include <cstdio>

#include "store/error.h"

namespace sample::detail {

Inserter::Inserter(const store::Database& db, const store::TableDef& def)
    : def_(def), insert_(db, def.name) {}

std::size_t Inserter::position(std::string_view field) const {
  if (auto at = def_.fieldPosition(field)) return *at;
  throw store::Error(store::code::notFound,
                     "The field '" + std::string(field) + "' is not in '" + def_.name + "'.");
}

void Inserter::set(std::size_t position, const store::Value& value) {
  try {
    insert_.set(position, value);
  } catch (const store::Error& error) {
    throw store::Error(error, "Writing '" + def_.name + "': " + error.what());
  }
}

void Inserter::text(std::size_t position, std::string_view text) {
  set(position, store::Value(text));
}

void Inserter::textOrNull(std::size_t position, const std::optional<std::string>& text) {
  set(position, text ? store::Value(*text) : store::Value());
}

void Inserter::number(std::size_t position, double number) { set(position, store::Value(number)); }

void Inserter::integer(std::size_t position, std::int64_t number) {
  set(position, store::Value(number));
}

void Inserter::date(std::size_t position, store::Date date) { set(position, store::Value(date)); }

void Inserter::null(std::size_t position) { set(position, store::Value()); }

void Inserter::insert() {
  try {
    insert_.insert();
  } catch (const store::Error& error) {
    throw store::Error(error, "Writing '" + def_.name + "': " + error.what());
  }
}

void removeDatabaseFiles(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((path + suffix).c_str());
}

}  // namespace sample::detail
