// One value of a record read for its field, from the JSON value's token and (for strings and
// numbers) its text: null for any field; a string for text, memo and GUID fields (text no longer
// than its size, a GUID in its braced form), for dates ("YYYY-MM-DD", with " HH:MM:SS" for a time
// of day) and for binary and OLE fields (the bytes in base64); a whole number within its size for
// an integer field; any number for a double field (rounded to single precision for size 4);
// an exact amount of at most four decimals for a currency field; true or false for a yes/no one.
#pragma once

#include <string_view>

#include "json_input.h"
#include "store/definition.h"
#include "store/error.h"
#include "store/value.h"

namespace dbtool {

// A value that its field cannot take throws Error (Input) whose message names the field
// ("field \"Area\": ..."); the caller adds where it stands.
void readFieldValue(Token token, std::string_view text, const store::FieldDef& field,
                    store::Value& value);

}  // namespace dbtool
