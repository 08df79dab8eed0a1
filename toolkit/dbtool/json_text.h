// JSON text as roomkit-db writes it: strings with escapes for quote, backslash and control
// characters (UTF-8 otherwise as is), numbers in their shortest exact form.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dbtool {

// Well-formed UTF-8, as RapidJSON checks it: no stray continuation bytes, overlong forms,
// surrogates or code points beyond U+10FFFF.
bool isUtf8(std::string_view text);

// Precondition: isUtf8(text).
void appendJsonString(std::string& out, std::string_view text);
std::string jsonString(std::string_view text);

void appendJsonInteger(std::string& out, std::int64_t number);
// The shortest form that reads back as the same double; infinities as 1e999 and -1e999, which
// read back as infinities. Precondition: not NaN (a database holds none).
void appendJsonDouble(std::string& out, double number);

}  // namespace dbtool
