// A field value: null, text, number (whole or double precision) or date.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace store {

struct Date {
  int year = 1899;
  int month = 12;
  int day = 30;

  auto operator<=>(const Date&) const = default;

  static Date today();
  // "2026-12-08", or "m/dd/yy" and "m/d/yyyy" as the suite writes dates; a two-digit year
  // 30..99 is 1930..1999, 00..29 is 2000..2029.
  static std::optional<Date> parse(std::string_view text);
  bool valid() const;
  std::string iso() const;        // 2026-12-08
  std::string display() const;    // 12/8/2026
};

enum class FieldType { Text, Integer, Double, Date };

class Value {
 public:
  enum class Kind : std::uint8_t { Null, Text, Integer, Double, Date };

  Value() = default;
  Value(std::string text) : kind_(Kind::Text), text_(std::move(text)) {}
  Value(const char* text) : kind_(Kind::Text), text_(text) {}
  Value(std::string_view text) : kind_(Kind::Text), text_(text) {}
  Value(int number) : kind_(Kind::Integer), integer_(number) {}
  Value(std::int64_t number) : kind_(Kind::Integer), integer_(number) {}
  Value(double number) : kind_(Kind::Double), double_(number) {}
  Value(Date date) : kind_(Kind::Date), date_(date) {}

  Kind kind() const { return kind_; }
  bool isNull() const { return kind_ == Kind::Null; }
  bool isText() const { return kind_ == Kind::Text; }
  bool isNumber() const { return kind_ == Kind::Integer || kind_ == Kind::Double; }
  bool isDate() const { return kind_ == Kind::Date; }

  // Precondition: the matching kind.
  const std::string& text() const { return text_; }
  std::int64_t integer() const { return integer_; }
  Date date() const { return date_; }
  // A number as double precision (whole numbers converted); 0 for other kinds.
  double number() const;

  // The value as the tools show it: "" for null, numbers in plain decimal ("12", "12.5"),
  // dates as 12/8/2026.
  std::string toText() const;

  // Same kind and same content; for numbers, the same numeric value.
  bool operator==(const Value& other) const;

  // In-place setters that keep the text buffer for reuse.
  void setNull() { kind_ = Kind::Null; }
  void setText(std::string_view text) { kind_ = Kind::Text; text_.assign(text); }
  void setInteger(std::int64_t n) { kind_ = Kind::Integer; integer_ = n; }
  void setDouble(double d) { kind_ = Kind::Double; double_ = d; }
  void setDate(Date d) { kind_ = Kind::Date; date_ = d; }

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

}  // namespace store
