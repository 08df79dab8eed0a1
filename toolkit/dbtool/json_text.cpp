#include "json_text.h"

#include <charconv>
#include <cmath>

namespace dbtool {

bool isUtf8(std::string_view text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
  const std::size_t size = text.size();
  std::size_t i = 0;
  while (i < size) {
    const unsigned char lead = bytes[i];
    if (lead < 0x80) {
      ++i;
      continue;
    }
    int extra;
    char32_t cp;
    if (lead >= 0xC2 && lead <= 0xDF) {
      extra = 1;
      cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      extra = 2;
      cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      extra = 3;
      cp = lead & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= size) return false;
    for (int k = 1; k <= extra; ++k) {
      const unsigned char next = bytes[i + static_cast<std::size_t>(k)];
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    const char32_t least = extra == 1 ? 0x80 : extra == 2 ? 0x800 : 0x10000;
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

void appendJsonString(std::string& out, std::string_view text) {
  static const char hex[] = "0123456789abcdef";
  out += '"';
  std::size_t plain = 0;  // start of the run not yet copied
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch >= 0x20 && ch != '"' && ch != '\\' && ch != 0x7F) continue;
    out.append(text, plain, i - plain);
    plain = i + 1;
    switch (ch) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        out += "\\u00";
        out += hex[ch >> 4];
        out += hex[ch & 0xF];
    }
  }
  out.append(text, plain, text.size() - plain);
  out += '"';
}

std::string jsonString(std::string_view text) {
  std::string out;
  appendJsonString(out, text);
  return out;
}

void appendJsonInteger(std::string& out, std::int64_t number) {
  char buf[24];
  const auto result = std::to_chars(buf, buf + sizeof buf, number);
  out.append(buf, result.ptr);
}

void appendJsonDouble(std::string& out, double number) {
  if (std::isinf(number)) {
    out += number > 0 ? "1e999" : "-1e999";
    return;
  }
  char buf[32];
  const auto result = std::to_chars(buf, buf + sizeof buf, number);
  out.append(buf, result.ptr);
}

}  // namespace dbtool
