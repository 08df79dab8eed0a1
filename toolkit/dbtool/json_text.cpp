#include "json_text.h"

#include <rapidjson/encodings.h>
#include <rapidjson/memorystream.h>

#include <charconv>
#include <cmath>

namespace dbtool {

namespace {

struct Discard {
  void Put(char) {}
};

}  // namespace

bool isUtf8(std::string_view text) {
  rapidjson::MemoryStream in(text.data(), text.size());
  Discard out;
  while (in.Tell() < text.size()) {
    if (static_cast<unsigned char>(in.Peek()) < 0x80) {
      in.Take();
    } else if (!rapidjson::UTF8<>::Validate(in, out)) {
      return false;
    }
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
