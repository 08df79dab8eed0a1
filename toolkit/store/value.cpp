#include "value.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

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

namespace {

// Reads "h:mm" or "h:mm:ss", with AM or PM or in 24 hours, at text[pos] to the end.
std::optional<int> parseTime(std::string_view text, std::size_t pos) {
  std::size_t digits = 0, minuteDigits = 0, secondDigits = 2;
  const auto hour = readNumber(text, pos, 2, digits);
  if (!hour || pos >= text.size() || text[pos] != ':') return std::nullopt;
  ++pos;
  const auto minute = readNumber(text, pos, 2, minuteDigits);
  std::optional<int> second = 0;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    second = readNumber(text, pos, 2, secondDigits);
  }
  if (!minute || !second || minuteDigits != 2 || secondDigits != 2) return std::nullopt;
  int h = *hour;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  if (pos < text.size()) {
    const std::string_view rest = text.substr(pos);
    const bool pm = rest == "PM" || rest == "pm";
    if (!pm && rest != "AM" && rest != "am") return std::nullopt;
    if (h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (pm ? 12 : 0);
  }
  if (h > 23 || *minute > 59 || *second > 59) return std::nullopt;
  return h * 3600 + *minute * 60 + *second;
}

constexpr int secondsPerDay = 86400;

std::chrono::sys_days dayOf(const Date& date) {
  return std::chrono::sys_days{std::chrono::year{date.year} /
                               std::chrono::month{static_cast<unsigned>(date.month)} /
                               std::chrono::day{static_cast<unsigned>(date.day)}};
}

const std::chrono::sys_days serialZero =
    std::chrono::sys_days{std::chrono::year{1899} / std::chrono::December / std::chrono::day{30}};

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
  if (!c) return std::nullopt;
  int seconds = 0;
  if (pos != text.size()) {
    const char gap = text[pos];
    if (gap != ' ' && !(gap == 'T' && sep == '-')) return std::nullopt;
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == 'T')) ++pos;
    const auto time = parseTime(text, pos);
    if (!time) return std::nullopt;
    seconds = *time;
  }
  Date date;
  if (sep == '-') {
    if (d1 != 4) return std::nullopt;
    date = Date{*a, *b, *c, seconds};
  } else {
    if (d1 > 2 || (d3 != 2 && d3 != 4)) return std::nullopt;
    int year = *c;
    if (d3 == 2) year += (year >= 30) ? 1900 : 2000;
    date = Date{year, *a, *b, seconds};
  }
  if (!date.valid()) return std::nullopt;
  return date;
}

std::optional<Date> Date::fromSerial(double serial) {
  if (!std::isfinite(serial) || std::fabs(serial) > 3.0e6) return std::nullopt;
  const double whole = std::trunc(serial);
  long long days = static_cast<long long>(whole);
  long long seconds = std::llround(std::fabs(serial - whole) * secondsPerDay);
  if (seconds >= secondsPerDay) {
    seconds -= secondsPerDay;
    ++days;
  }
  const std::chrono::year_month_day ymd{serialZero + std::chrono::days{days}};
  Date date{static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())), static_cast<int>(seconds)};
  if (!date.valid()) return std::nullopt;
  return date;
}

double Date::serial() const {
  const double days = static_cast<double>((dayOf(*this) - serialZero).count());
  const double time = static_cast<double>(seconds) / secondsPerDay;
  return days < 0 ? days - time : days + time;
}

std::string Date::iso() const {
  char buf[32];
  if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", year, month, day);
  } else {
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day,
                  seconds / 3600, seconds / 60 % 60, seconds % 60);
  }
  return buf;
}

std::string Date::display() const {
  char buf[40];
  if (seconds == 0) {
    std::snprintf(buf, sizeof buf, "%d/%d/%04d", month, day, year);
  } else {
    const int hour = seconds / 3600;
    std::snprintf(buf, sizeof buf, "%d/%d/%04d %d:%02d:%02d %s", month, day, year,
                  (hour + 11) % 12 + 1, seconds / 60 % 60, seconds % 60, hour < 12 ? "AM" : "PM");
  }
  return buf;
}

Value Value::boolean(bool yes) {
  Value value;
  value.setBoolean(yes);
  return value;
}

Value Value::currency(std::int64_t tenThousandths) {
  Value value;
  value.setCurrency(tenThousandths);
  return value;
}

Value Value::binary(std::string bytes) {
  Value value;
  value.kind_ = Kind::Binary;
  value.text_ = std::move(bytes);
  return value;
}

double Value::number() const {
  switch (kind_) {
    case Kind::Integer:
    case Kind::Boolean: return static_cast<double>(integer_);
    case Kind::Double: return double_;
    case Kind::Currency: return static_cast<double>(integer_) / 10000.0;
    default: return 0.0;
  }
}

std::string currencyText(std::int64_t tenThousandths) {
  const bool negative = tenThousandths < 0;
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(tenThousandths)
                                           : static_cast<std::uint64_t>(tenThousandths);
  std::string text = (negative ? "-" : "") + std::to_string(magnitude / 10000);
  std::uint64_t fraction = magnitude % 10000;
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, "%04llu", static_cast<unsigned long long>(fraction));
    std::string decimals(digits);
    while (decimals.back() == '0') decimals.pop_back();
    text += '.' + decimals;
  }
  return text;
}

std::optional<std::int64_t> parseCurrency(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  std::string digits;  // every digit of the mantissa, without leading zeros
  int exponent = 0;    // of the last digit
  std::size_t pos = 0, seen = 0;
  bool point = false;
  for (; pos < text.size(); ++pos) {
    const char ch = text[pos];
    if (ch == '.' && !point) {
      point = true;
    } else if (ch >= '0' && ch <= '9') {
      ++seen;
      if (!digits.empty() || ch != '0') digits += ch;
      if (point) --exponent;
    } else {
      break;
    }
  }
  if (seen == 0) return std::nullopt;
  if (pos < text.size()) {
    if (text[pos] != 'e' && text[pos] != 'E') return std::nullopt;
    int power = 0;
    const auto result =
        std::from_chars(text.data() + pos + 1 + (pos + 1 < text.size() && text[pos + 1] == '+'),
                        text.data() + text.size(), power);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size()) return std::nullopt;
    if (power > 100 || power < -100)
      return digits.empty() ? std::optional<std::int64_t>(0) : std::nullopt;
    exponent += power;
  }
  exponent += 4;  // ten-thousandths
  while (exponent < 0 && !digits.empty() && digits.back() == '0') {
    digits.pop_back();
    ++exponent;
  }
  if (digits.empty()) return 0;
  if (exponent < 0) return std::nullopt;  // more than four decimals
  if (digits.size() + static_cast<std::size_t>(exponent) > 19) return std::nullopt;
  digits.append(static_cast<std::size_t>(exponent), '0');
  std::uint64_t magnitude = 0;
  if (std::from_chars(digits.data(), digits.data() + digits.size(), magnitude).ec != std::errc()) {
    return std::nullopt;
  }
  const std::uint64_t limit = negative ? 9223372036854775808ULL : 9223372036854775807ULL;
  if (magnitude > limit) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
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
    case Kind::Boolean: return integer_ != 0 ? "True" : "False";
    case Kind::Currency: return currencyText(integer_);
    case Kind::Binary: return text_;
  }
  return {};
}

bool Value::operator==(const Value& other) const {
  if (isNumber() && other.isNumber()) {
    if (kind_ == other.kind_ && kind_ != Kind::Double) return integer_ == other.integer_;
    if (kind_ == Kind::Integer && other.kind_ == Kind::Currency) {
      return other == *this;
    }
    if (kind_ == Kind::Currency && other.kind_ == Kind::Integer) {
      return integer_ % 10000 == 0 && integer_ / 10000 == other.integer_;
    }
    return number() == other.number();
  }
  if (kind_ != other.kind_) return false;
  switch (kind_) {
    case Kind::Null: return true;
    case Kind::Text:
    case Kind::Binary: return text_ == other.text_;
    case Kind::Date: return date_ == other.date_;
    case Kind::Boolean: return (integer_ != 0) == (other.integer_ != 0);
    default: return false;
  }
}

}  // namespace store
