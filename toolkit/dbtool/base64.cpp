#include "base64.h"

#include <array>
#include <cstdint>

namespace dbtool {
namespace {

constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

constexpr std::array<std::int8_t, 256> digitValues() {
  std::array<std::int8_t, 256> values{};
  for (auto& value : values) value = -1;
  for (int i = 0; i < 64; ++i)
    values[static_cast<unsigned char>(alphabet[i])] = static_cast<std::int8_t>(i);
  return values;
}

constexpr std::array<std::int8_t, 256> digits = digitValues();

}  // namespace

void appendBase64(std::string& out, std::string_view bytes) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t whole = bytes.size() / 3 * 3;
  std::size_t at = out.size();
  out.resize(at + (bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < whole; i += 3) {
    const std::uint32_t group = data[i] << 16 | data[i + 1] << 8 | data[i + 2];
    out[at++] = alphabet[group >> 18];
    out[at++] = alphabet[(group >> 12) & 63];
    out[at++] = alphabet[(group >> 6) & 63];
    out[at++] = alphabet[group & 63];
  }
  const std::size_t rest = bytes.size() - whole;
  if (rest > 0) {
    const std::uint32_t group = data[whole] << 16 | (rest == 2 ? data[whole + 1] << 8 : 0);
    out[at++] = alphabet[group >> 18];
    out[at++] = alphabet[(group >> 12) & 63];
    out[at++] = rest == 2 ? alphabet[(group >> 6) & 63] : '=';
    out[at++] = '=';
  }
}

std::optional<std::string> decodeBase64(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  std::size_t padding = 0;
  if (!text.empty() && text.back() == '=') padding = text[text.size() - 2] == '=' ? 2 : 1;
  std::string bytes;
  bytes.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const bool last = i + 4 == text.size();
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 4; ++k) {
      const char ch = text[i + k];
      const bool padded = last && k >= 4 - padding;
      const int value = padded ? (ch == '=' ? 0 : -1) : digits[static_cast<unsigned char>(ch)];
      if (value < 0) return std::nullopt;
      group = group << 6 | static_cast<std::uint32_t>(value);
    }
    const std::size_t count = last ? 3 - padding : 3;
    // The bits that padding stands for must be zero, so that one byte string has one text.
    if (last && padding > 0 && (group & ((1u << (8 * padding)) - 1)) != 0) return std::nullopt;
    for (std::size_t k = 0; k < count; ++k) bytes += static_cast<char>(group >> (16 - 8 * k));
  }
  return bytes;
}

}  // namespace dbtool
