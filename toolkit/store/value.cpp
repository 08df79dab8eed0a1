#include "value.h"

#include <charconv>
#include <chrono>
#include <ctime>
#include <cmath>
#include <cstdio>

namespace store {

Date Date::today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool Date::valid() const {
  const std::chrono::year_month_day ymd{std::chrono::year{year},
                                        std::chrono::month{static_cast<unsigned>(month)},
                                        std::chrono::day{static_cast<unsigned>(day)}};
  return year >= 100 && year <= 9999 && ymd.ok();
}

namespace {

// Reads an unsigned decimal of 1..maxDigits digits at text[pos]; advances pos.
std::optional<int> readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits,
                              std::size_t& digits) {
  int value = 0;
  digits = 0;
  while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9' && digits < maxDigits) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

}  // namespace

std::optional<Date> Date::parse(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  std::size_t pos = 0, d1 = 0, d2 = 0, d3 = 0;
  const auto a = readNumber(text, pos, 4, d1);
  if (!a || pos >= text.size()) return std::nullopt;
  const char sep = text[pos];
  if (sep != '-' && sep != '/') return std::nullopt;
  ++pos;
  const auto b = readNumber(text, pos, 2, d2);
  if (!b || pos >= text.size() || text[pos] != sep) return std::nullopt;
  ++pos;
  const auto c = readNumber(text, pos, 4, d3);
  if (!c || pos != text.size()) return std::nullopt;
  Date date;
  if (sep == '-') {
    if (d1 != 4) return std::nullopt;
    date = Date{*a, *b, *c};
  } else {
    if (d1 > 2 || (d3 != 2 && d3 != 4)) return std::nullopt;
    int year = *c;
    if (d3 == 2) year += (year >= 30) ? 1900 : 2000;
    date = Date{year, *a, *b};
  }
  if (!date.valid()) return std::nullopt;
  return date;
}

std::string Date::iso() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  return buf;
}

std::string Date::display() const {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d/%d/%04d", month, day, year);
  return buf;
}

double Value::number() const {
  if (kind_ == Kind::Integer) return static_cast<double>(integer_);
  if (kind_ == Kind::Double) return double_;
  return 0.0;
}

std::string numberText(double number) {
  if (std::isfinite(number) && std::fabs(number) < 1e15 && number == std::trunc(number)) {
    return std::to_string(static_cast<long long>(number));
  }
  char buf[64];
  auto result = std::to_chars(buf, buf + sizeof buf, number);
  std::string text(buf, result.ptr);
  for (char& ch : text) {
    if (ch == 'e') ch = 'E';
  }
  return text;
}

std::string Value::toText() const {
  switch (kind_) {
    case Kind::Null: return {};
    case Kind::Text: return text_;
    case Kind::Integer: return std::to_string(integer_);
    case Kind::Double: return numberText(double_);
    case Kind::Date: return date_.display();
  }
  return {};
}

bool Value::operator==(const Value& other) const {
  if (isNumber() && other.isNumber()) {
    if (kind_ == Kind::Integer && other.kind_ == Kind::Integer) return integer_ == other.integer_;
    return number() == other.number();
  }
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Null: return true;
    case Kind::Text: return text_ == other.text_;
    case Kind::Date: return date_ == other.date_;
    default: return false;
  }
}

}  // namespace store
