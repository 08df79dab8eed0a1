// A field value: null, text, number (whole or double precision), date and time, yes/no,
// currency (exact to ten-thousandths) or bytes.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// A date with its time of day, to the second.
struct Date {
  int year = 1899;
  int month = 12;
  int day = 30;
  int seconds = 0;  // since midnight, 0 to 86399

  auto operator<=>(const Date&) const = default;

  static Date today();
  // "2026-12-08", "2026-12-08 14:05:09", or "m/dd/yy" and "m/d/yyyy" as the suite writes dates,
  // optionally followed by a time "h:mm" or "h:mm:ss" (24 hours, or with AM or PM); a two-digit
  // year 30..99 is 1930..1999, 00..29 is 2000..2029.
  static std::optional<Date> parse(std::string_view text);
  // The day number that Jet and OLE keep: days since 1899-12-30, the fraction the time of day.
  // Before that day the fraction still counts forward from midnight: -1.25 is 1899-12-29 06:00.
  // Rounds to the nearest second; nullopt outside the years 100 to 9999 or for NaN.
  static std::optional<Date> fromSerial(double serial);
  double serial() const;
  bool valid() const;
  std::string iso() const;      // 2026-12-08, or 2026-12-08 14:05:09 with a time of day
  std::string display() const;  // 12/8/2026, or 12/8/2026 2:05:09 PM with a time of day
};

// How a field keeps its values. Sizes (FieldDef::size) tell the variants apart: an integer of
// 1 (0 to 255), 2, 4 or 8 bytes, a double of 4 (single precision) or 8 bytes.
enum class FieldType { Text, Integer, Double, Date, Boolean, Currency, Memo, Binary, Ole, Guid };

class Value {
 public:
  enum class Kind : std::uint8_t { Null, Text, Integer, Double, Date, Boolean, Currency, Binary };

  Value() = default;
  Value(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
  Value(const char* text) : kind_(Kind::Text), text_(text) {}
  Value(std::string_view text) : kind_(Kind::Text), text_(text) {}
  Value(int number) : kind_(Kind::Integer), integer_(number) {}
  Value(std::int64_t number) : kind_(Kind::Integer), integer_(number) {}
  Value(double number) : kind_(Kind::Double), double_(number) {}
  Value(Date date) : kind_(Kind::Date), date_(date) {}
  static Value boolean(bool yes);
  static Value currency(std::int64_t tenThousandths);  // 12.3456 is 123456
  static Value binary(std::string bytes);

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool isText() const { return kind_ == Kind::Text; }
  // Currency counts as a number.
  bool isNumber() const {
    return kind_ == Kind::Integer || kind_ == Kind::Double || kind_ == Kind::Currency;
  }
  bool isDate() const { return kind_ == Kind::Date; }

  // Precondition: the matching kind.
  const std::string& text() const { return text_; }
  const std::string& bytes() const { return text_; }
  std::int64_t integer() const { return integer_; }
  std::int64_t currency() const { return integer_; }
  bool boolean() const { return integer_ != 0; }
  Date date() const { return date_; }
  // A number as double precision (whole numbers and currency converted, yes as -1); 0 for other
  // kinds.
  double number() const;

  // The value as the tools show it: "" for null, numbers in plain decimal ("12", "12.5"),
  // currency exactly ("12.3456"), dates as 12/8/2026, "True" or "False", bytes as they are.
  std::string toText() const;

  // Same kind and same content; for numbers, the same numeric value.
  bool operator==(const Value& other) const;

  // In-place setters that keep the text buffer for reuse.
  void setNull() { kind_ = Kind::Null; }
  void setText(std::string_view text) {
    kind_ = Kind::Text;
    text_.assign(text);
  }
  void setInteger(std::int64_t n) {
    kind_ = Kind::Integer;
    integer_ = n;
  }
  void setDouble(double d) {
    kind_ = Kind::Double;
    double_ = d;
  }
  void setDate(Date d) {
    kind_ = Kind::Date;
    date_ = d;
  }
  void setBoolean(bool yes) {
    kind_ = Kind::Boolean;
    integer_ = yes ? -1 : 0;
  }
  void setCurrency(std::int64_t tenThousandths) {
    kind_ = Kind::Currency;
    integer_ = tenThousandths;
  }
  void setBinary(std::string_view bytes) {
    kind_ = Kind::Binary;
    text_.assign(bytes);
  }

 private:
  Kind kind_ = Kind::Null;
  std::int64_t integer_ = 0;
  double double_ = 0.0;
  Date date_;
  std::string text_;
};

// Plain decimal text of a number: whole values without a fraction, others in the shortest form
// that reads back the same ("12.5", "0.1", "1E+21").
std::string numberText(double number);
// Exact decimal text of an amount in ten-thousandths: "12.3456", "12.5", "-3", "0.0001".
std::string currencyText(std::int64_t tenThousandths);
// Reads decimal text ("12.34", "-0.5", "1e3", " 7 ") exactly into ten-thousandths; nullopt when it
// is no number, has more than four decimals after the exponent is applied, or is out of range.
std::optional<std::int64_t> parseCurrency(std::string_view text);

}  // namespace store
