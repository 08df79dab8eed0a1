// Bytes as base64 text, the standard alphabet with padding, as the document holds binary values.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dbtool {

void appendBase64(std::string& out, std::string_view bytes);
// The bytes of base64 text in its one canonical form (length a multiple of four, padding only at
// the end, unused bits zero); nullopt for anything else.
std::optional<std::string> decodeBase64(std::string_view text);

}  // namespace dbtool
