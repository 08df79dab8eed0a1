// Every record of a building by field name, to state what a run did to it record by record.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace historytest {

using Row = std::vector<store::Value>;

// One table: its field names and its records in stored order.
struct Records {
  std::vector<std::string> fields;
  std::vector<bool> single;  // per field: a number of single precision, as Jet's Single
  std::vector<Row> rows;

  bool has(std::string_view field) const;
  // The position of a field, its name compared without regard to letter case; fails the running
  // test and gives 0 when absent.
  std::size_t column(std::string_view field) const;
  // The records whose field, read as text and upper-cased, is `upper`.
  std::vector<Row> where(std::string_view field, const std::string& upper) const;
  std::size_t count(std::string_view field, const std::string& upper) const;
  // A number as the field at that position keeps it.
  store::Value fitted(std::size_t column, double number) const;
  bool operator==(const Records&) const = default;
};

// Every table but the history's own, by name.
using Snapshot = std::map<std::string, Records>;
Snapshot snapshotOf(const std::string& path);

// "" when equal; else the first table, record and field that differ, for the failure message.
std::string differenceOf(const Snapshot& expected, const Snapshot& actual);

// A value read as text and upper-cased, as the renumbering walks compare it.
std::string upperText(const store::Value& value);

}  // namespace historytest
