// Records: a table's columns, the bytes of each record and the pages that hold them.
#include "jet_writer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "jet_format.h"

namespace jetbench {
namespace format {

std::string ucs2(const std::string& utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  auto unit = [&](std::uint32_t u) { append16(out, u); };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const int extra = c < 0x80 ? 0 : c < 0xe0 ? 1 : c < 0xf0 ? 2 : 3;
    std::uint32_t code = extra == 0 ? c : c & (0x3f >> extra);
    if (i + static_cast<std::size_t>(extra) >= utf8.size())
      throw std::invalid_argument("text that is not UTF-8: " + utf8);
    for (int k = 1; k <= extra; ++k) code = code << 6 | (utf8[i + k] & 0x3f);
    i += static_cast<std::size_t>(extra) + 1;
    if (code >= 0x10000) {
      code -= 0x10000;
      unit(0xd800 + (code >> 10));
      unit(0xdc00 + (code & 0x3ff));
    } else {
      unit(code);
    }
  }
  return out;
}

bool isFixed(Type type) {
  switch (type) {
    case Type::Binary:
    case Type::Text:
    case Type::Ole:
    case Type::Memo: return false;
    default: return true;
  }
}

int fixedBytes(Type type) {
  switch (type) {
    case Type::YesNo: return 0;
    case Type::Byte: return 1;
    case Type::Integer: return 2;
    case Type::Long:
    case Type::Single: return 4;
    default: return 8;
  }
}

int columnLength(const Column& column) {
  switch (column.type) {
    case Type::Text: return column.length * 2;  // UCS-2
    case Type::Binary: return column.length;
    case Type::Ole:
    case Type::Memo: return 0;
    case Type::YesNo: return 1;
    default: return fixedBytes(column.type);
  }
}

namespace {
std::size_t recordsEnd(const std::string& page) {
  const std::uint16_t rows = get16(page, kRowsAt);
  return rows ? get16(page, kRowsAt + 2 * rows) : kPage;
}
std::size_t freeBytes(const std::string& page) {
  return recordsEnd(page) - (kRowsAt + 2 + 2 * get16(page, kRowsAt));
}
}  // namespace

std::string recordPage(std::uint32_t owner) {
  std::string page(kPage, '\0');
  page[0] = 0x01;
  page[1] = 0x01;
  put32(page, 4, owner);
  put16(page, 2, freeBytes(page));
  return page;
}

bool pageFits(const std::string& page, std::size_t size) { return freeBytes(page) >= size + 2; }

int addToPage(std::string& page, const std::string& record) {
  const std::uint16_t rows = get16(page, kRowsAt);
  const std::size_t start = recordsEnd(page) - record.size();
  std::memcpy(page.data() + start, record.data(), record.size());
  put16(page, kRowsAt + 2 + 2 * rows, start);
  put16(page, kRowsAt, rows + 1u);
  put16(page, 2, freeBytes(page));
  return rows;
}

}  // namespace format

using namespace format;

namespace {
// A long value kept inline in its record: its length with the inline flag, no page, then bytes.
std::string inlineLong(const std::string& bytes) {
  std::string out;
  append32(out, static_cast<std::uint32_t>(bytes.size()) | 0x80000000u);
  append32(out, 0);
  append32(out, 0);
  return out + bytes;
}
}  // namespace

Table::Table(std::string name, std::vector<Column> columns, std::vector<Index> indexes, bool system)
    : name_(std::move(name)),
      columns_(std::move(columns)),
      indexes_(std::move(indexes)),
      system_(system) {
  if (columns_.empty() || columns_.size() > 255)
    throw std::invalid_argument("table '" + name_ + "' needs 1 to 255 columns");
  for (const Column& column : columns_) {
    if (isFixed(column.type)) {
      fixedOffset_.push_back(fixedSize_);
      varNumber_.push_back(-1);
      fixedSize_ += fixedBytes(column.type);
      continue;
    }
    if ((column.type == Type::Text && (column.length < 1 || column.length > 255)) ||
        (column.type == Type::Binary && (column.length < 1 || column.length > 510)))
      throw std::invalid_argument("column '" + column.name + "' has a length it cannot have");
    fixedOffset_.push_back(-1);
    varNumber_.push_back(varCount_++);
  }
  if (indexes_.size() > 32)
    throw std::invalid_argument("table '" + name_ + "' has too many indexes");
  for (const Index& index : indexes_) {
    if (index.columns.empty() || index.columns.size() > 10)
      throw std::invalid_argument("index '" + index.name + "' needs 1 to 10 keys");
    for (const std::string& key : index.columns) {
      bool found = false;
      for (const Column& column : columns_) found |= column.name == key;
      if (!found) throw std::invalid_argument("index '" + index.name + "' names no column " + key);
    }
  }
}

// A Jet 4 record: the field count, the fixed part, the variable fields, where the variable part
// ends, each variable field's start (last first), their count, and the null mask (a set bit for
// a value; a Yes/No field's value is its bit).
std::string Table::encode(const std::vector<Value>& values) const {
  if (values.size() != columns_.size())
    throw std::invalid_argument("a record of '" + name_ + "' has the wrong number of values");
  std::string record;
  append16(record, columns_.size());
  record.append(static_cast<std::size_t>(fixedSize_), '\0');
  std::string mask((columns_.size() + 7) / 8, '\0');
  std::vector<std::size_t> starts(static_cast<std::size_t>(varCount_));
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    const Column& column = columns_[i];
    const Value& value = values[i];
    const bool isNumber = value.kind == Value::Kind::Number;
    bool present = value.kind != Value::Kind::Null;
    if (column.type == Type::YesNo) present = isNumber && value.number != 0;
    if (varNumber_[i] >= 0) starts[static_cast<std::size_t>(varNumber_[i])] = record.size();
    if (present) mask[i / 8] = static_cast<char>(mask[i / 8] | 1 << (i % 8));
    if (!present || column.type == Type::YesNo) continue;
    if (isFixed(column.type) != isNumber)
      throw std::invalid_argument("column '" + column.name + "' gets a value of another kind");
    const std::size_t at = 2 + static_cast<std::size_t>(std::max(fixedOffset_[i], 0));
    const double n = value.number;
    switch (column.type) {
      case Type::Byte: record[at] = static_cast<char>(std::lround(n) & 0xff); break;
      case Type::Integer: put16(record, at, static_cast<std::uint16_t>(std::lround(n))); break;
      case Type::Long: put32(record, at, static_cast<std::uint32_t>(std::llround(n))); break;
      case Type::Currency:
        put64(record, at, static_cast<std::uint64_t>(std::llround(n * 10000)));
        break;
      case Type::Single: {
        const float f = static_cast<float>(n);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &f, 4);
        put32(record, at, bits);
        break;
      }
      case Type::Double:
      case Type::DateTime: {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &n, 8);
        put64(record, at, bits);
        break;
      }
      case Type::Text: {
        const std::string text = ucs2(value.text);
        if (text.size() > static_cast<std::size_t>(column.length) * 2)
          throw std::invalid_argument("'" + value.text + "' is too long for " + column.name);
        record += text;
        break;
      }
      case Type::Binary: record += value.text; break;
      case Type::Memo: record += inlineLong(ucs2(value.text)); break;
      case Type::Ole: record += inlineLong(value.text); break;
      default: break;
    }
  }
  if (varCount_ > 0) {
    const std::size_t end = record.size();
    append16(record, end);
    for (std::size_t v = starts.size(); v-- > 0;) append16(record, starts[v]);
    append16(record, starts.size());
  }
  return record + mask;
}

void Table::addRecord(const std::vector<Value>& values) {
  const std::string record = encode(values);
  if (record.size() + 2 > kPage - kRowsAt - 2)
    throw std::invalid_argument("a record of '" + name_ + "' does not fit on a page");
  if (pages_.empty() || !pageFits(pages_.back(), record.size())) pages_.push_back(recordPage(0));
  addToPage(pages_.back(), record);
  ++records_;
}

}  // namespace jetbench
