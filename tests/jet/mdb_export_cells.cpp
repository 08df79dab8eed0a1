#include "mdb_export_cells.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>

namespace jettest {
namespace {

using store::FieldType;

// Dates and times as mdb-export is told to print them.
constexpr const char* dateFormat = "%Y-%m-%d %H:%M:%S";

std::string dateText(const store::Date& date) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                date.seconds / 3600, date.seconds / 60 % 60, date.seconds % 60);
  return text;
}

// libmdb prints singles with 8 significant digits and doubles with 16.
std::string numberText(double number, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", digits, number);
  return text;
}

std::string hexText(const std::string& bytes) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char byte : bytes) {
    text += hex[byte >> 4];
    text += hex[byte & 15];
  }
  return text;
}

std::string upperWithoutHyphens(std::string text) {
  std::string out;
  for (char ch : text) {
    if (ch != '-') out += static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  }
  return out;
}

}  // namespace

void expectCell(const store::FieldDef& field, const store::Value& value, const Cell& cell) {
  // mdb-export passes a binary field through C text, which ends at its first zero byte.
  const std::string shownBytes = field.type == FieldType::Binary && !value.isNull()
                                     ? value.bytes().substr(0, value.bytes().find('\0'))
                                     : std::string();
  if (!cell.quoted && cell.text.empty()) {
    const bool empty = (value.isText() && value.text().empty()) ||
                       (field.type == FieldType::Binary && shownBytes.empty());
    EXPECT_TRUE(value.isNull() || empty)
        << "mdb-export shows no value, the store has '" << value.toText() << "'";
    return;
  }
  ASSERT_FALSE(value.isNull()) << "the store has null, mdb-export '" << cell.text << "'";
  switch (field.type) {
    case FieldType::Text:
    case FieldType::Memo: EXPECT_EQ(value.text(), cell.text); break;
    case FieldType::Integer: EXPECT_EQ(std::to_string(value.integer()), cell.text); break;
    case FieldType::Boolean: EXPECT_EQ(value.boolean() ? "1" : "0", cell.text); break;
    case FieldType::Double:
      EXPECT_EQ(numberText(value.number(), field.size == 4 ? 8 : 16), cell.text);
      break;
    case FieldType::Currency:
      EXPECT_EQ(store::parseCurrency(cell.text), value.currency()) << cell.text;
      break;
    case FieldType::Date: EXPECT_EQ(dateText(value.date()), cell.text); break;
    case FieldType::Guid:  // libmdb leaves out the hyphen before the last group
      EXPECT_EQ(upperWithoutHyphens(value.text()), upperWithoutHyphens(cell.text));
      break;
    case FieldType::Binary: EXPECT_EQ(hexText(shownBytes), upperWithoutHyphens(cell.text)); break;
    case FieldType::Ole: EXPECT_EQ(hexText(value.bytes()), upperWithoutHyphens(cell.text)); break;
  }
}

std::vector<std::vector<Cell>> mdbExport(const std::string& jetFile, const std::string& table) {
  const Run exported =
      run({"mdb-export", "-D", dateFormat, "-T", dateFormat, "-b", "hex", jetFile, table});
  EXPECT_EQ(exported.status, 0) << exported.err;
  return parseCsv(exported.out);
}

}  // namespace jettest
