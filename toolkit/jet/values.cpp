#include "values.h"

#include <array>
#include <cstring>
#include <vector>

namespace jet::detail {

std::int64_t signedLittleEndian(const unsigned char* bytes, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;) value = value << 8 | bytes[i];
  const unsigned bits = static_cast<unsigned>(size * 8);
  if (bits < 64 && (value >> (bits - 1) & 1)) value |= ~std::uint64_t{0} << bits;  // sign
  return static_cast<std::int64_t>(value);
}

float singleAt(const unsigned char* bytes) {
  const auto raw = static_cast<std::uint32_t>(signedLittleEndian(bytes, 4));
  float value;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

double doubleAt(const unsigned char* bytes) {
  const auto raw = static_cast<std::uint64_t>(signedLittleEndian(bytes, 8));
  double value;
  std::memcpy(&value, &raw, sizeof value);
  return value;
}

store::Value currencyAt(const unsigned char* bytes) {
  return store::Value::currency(signedLittleEndian(bytes, 8));
}

std::optional<store::Value> dateAt(const unsigned char* bytes) {
  const auto date = store::Date::fromSerial(doubleAt(bytes));
  if (!date) return std::nullopt;
  return store::Value(*date);
}

std::string guidAt(const unsigned char* bytes) {
  // Bytes in the order they are written: the first three groups reversed, the rest as stored.
  static constexpr std::array<int, 16> order = {3, 2, 1,  0,  5,  4,  7,  6,
                                                8, 9, 10, 11, 12, 13, 14, 15};
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) text += '-';
    const unsigned char byte = bytes[order[i]];
    text += hex[byte >> 4];
    text += hex[byte & 15];
  }
  return text + "}";
}

std::string decimalAt(const unsigned char* bytes, int scale) {
  // The four words, least significant first, divided by ten digit by digit.
  std::array<std::uint32_t, 4> words{};
  for (int word = 0; word < 4; ++word) {
    words[static_cast<std::size_t>(3 - word)] =
        static_cast<std::uint32_t>(signedLittleEndian(bytes + 1 + 4 * word, 4));
  }
  std::string digits;
  auto nonZero = [&] { return words[0] || words[1] || words[2] || words[3]; };
  while (nonZero()) {
    std::uint64_t rest = 0;
    for (std::size_t i = words.size(); i-- > 0;) {
      const std::uint64_t part = rest << 32 | words[i];
      words[i] = static_cast<std::uint32_t>(part / 10);
      rest = part % 10;
    }
    digits.insert(digits.begin(), static_cast<char>('0' + rest));
  }
  const bool zero = digits.empty();
  const auto decimals = static_cast<std::size_t>(scale > 0 ? scale : 0);
  if (digits.size() <= decimals) digits.insert(0, decimals + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - decimals, 1, '.');
  return (bytes[0] & 0x80) && !zero ? "-" + digits : digits;
}

namespace {

void appendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | code >> 6);
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | code >> 12);
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | code >> 18);
    out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

std::string utf16ToUtf8(const std::vector<std::uint16_t>& units) {
  constexpr std::uint32_t replacement = 0xFFFD;
  std::string out;
  out.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    const std::uint32_t unit = units[i];
    if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000) {
      appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (units[++i] - 0xDC00));
    } else {
      appendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? replacement : unit);
    }
  }
  return out;
}

}  // namespace

std::string jet4Text(const unsigned char* bytes, std::size_t size) {
  std::vector<std::uint16_t> units;
  units.reserve(size);
  if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
    bool compressed = true;
    for (std::size_t i = 2; i < size;) {
      if (bytes[i] == 0) {
        compressed = !compressed;
        ++i;
      } else if (compressed) {
        units.push_back(bytes[i++]);
      } else if (i + 1 < size) {
        units.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
        i += 2;
      } else {
        break;  // half a unit at the end
      }
    }
  } else {
    for (std::size_t i = 0; i + 1 < size; i += 2) {
      units.push_back(static_cast<std::uint16_t>(bytes[i] | bytes[i + 1] << 8));
    }
  }
  return utf16ToUtf8(units);
}

}  // namespace jet::detail
