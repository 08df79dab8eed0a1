// One value of a record read for its field: null, or a string for a text field (no longer than
// its size), a whole number for an integer field, any number for a double field, "YYYY-MM-DD"
// for a date field.
#pragma once

#include "error.h"
#include "json_lexer.h"
#include "store/definition.h"
#include "store/value.h"

namespace dbtool {

// A value that its field cannot take; the message names the field ("field \"Area\": ..."), the
// caller adds where it stands.
class ValueRefusal : public Error {
 public:
  using Error::Error;
};

void readFieldValue(JsonLexer& lexer, const store::FieldDef& field, store::Value& value);

}  // namespace dbtool
