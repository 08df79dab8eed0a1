// What Jet enforces on a field beyond its type, as the new file's table keeps it: Required as NOT
// NULL, Allow Zero Length "No" as a check that a text is not empty, a default value where the
// file holds one as a literal, and a Yes/No field that is never null (No unless told). Indexes
// that ignore nulls leave out records whose keys are all null.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "store/definition.h"

namespace jet::detail {

struct FieldRules {
  bool required = false;
  bool allowZeroLength = true;
  std::string defaultValue;  // Jet's expression as the file keeps it ("0", "\"abc\"", "Yes")
};

struct IndexRules {
  bool ignoreNulls = false;
  bool required = false;  // its key fields take no null
};

// The value of a default expression of a field of this type, or nothing when the expression is
// no literal (a function such as Date()) or does not fit the type.
std::optional<store::Value> defaultValue(const store::FieldDef& field,
                                         const std::string& expression);

// The table's definition with the rules: its fields with their constraints and defaults, and its
// indexes, those that ignore nulls over records with a key. `strict` false keeps only what every
// record meets whatever it holds: the defaults and the Yes/No fields' NOT NULL.
store::TableDef withRules(const store::TableDef& def, const std::vector<FieldRules>& fields,
                          const std::vector<IndexRules>& indexes, bool strict);

}  // namespace jet::detail
