// The store field that holds a Jet column's values without loss.
#pragma once

#include <string>

#include "store/definition.h"

namespace jet::detail {

// A column as the catalogue describes it: Jet's type code, its stored size in bytes, and for
// decimals their precision and scale.
struct Column {
  std::string name;
  int type = 0;
  int size = 0;
  int precision = 0;
  int scale = 0;
};

// What the column becomes: its field, and for a decimal whether the value goes in as an exact
// currency amount (scale up to 4 and no more than 14 whole digits) or as exact decimal text.
struct FieldPlan {
  store::FieldDef field;
  int jetType = 0;
  int scale = 0;
};

// Throws Error (Unsupported, or Damaged for an impossible size) naming the table and column.
FieldPlan planField(const std::string& table, const Column& column, bool jet4);

}  // namespace jet::detail
