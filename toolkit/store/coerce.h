// Fitting a value to a field before it is written or compared.
#pragma once

#include "definition.h"
#include "value.h"

namespace store {

// The value converted to what a field of that definition holds; throws Error when it cannot be
// (text that is no number for a number field, text longer than a text field's size).
Value coerce(const FieldDef& field, const Value& value);

}  // namespace store
