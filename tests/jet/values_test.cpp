// The reader's decoding of Jet's stored value forms against libmdb's own conversions to text (the
// ones mdb-export prints), on raw bytes laid out as Jet writes them.
#include "jet/values.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>
#include <functional>
#include <limits>

#include "jet/mdb.h"
#include "jet_support.h"

namespace {

using namespace jet::detail;

std::string littleEndian(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
  return out;
}

const unsigned char* raw(const std::string& bytes) {
  return reinterpret_cast<const unsigned char*>(bytes.data());
}

// A Jet 4 handle whose page buffer serves libmdb's conversions as a scratch record.
class LibmdbConversions : public ::testing::Test {
 protected:
  void SetUp() override {
    mdb = mdb_open(jettest::dataFile("node-adodb.mdb").c_str(), MDB_NOFLAGS);
    ASSERT_NE(mdb, nullptr);
  }
  void TearDown() override { mdb_close(mdb); }

  // libmdb's text for bytes placed at the start of its page buffer.
  std::string libmdb(const std::string& bytes, const std::function<char*()>& convert) {
    std::memcpy(mdb->pg_buf, bytes.data(), bytes.size());
    char* text = convert();
    std::string copy = text ? text : "";
    g_free(text);
    return copy;
  }

  MdbHandle* mdb = nullptr;
};

TEST_F(LibmdbConversions, CurrencyIsTheExactAmount) {
  for (std::int64_t amount :
       {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{10000},
        std::int64_t{-123456789}, std::int64_t{5000000}, std::numeric_limits<std::int64_t>::max(),
        std::numeric_limits<std::int64_t>::min()}) {
    const std::string bytes = littleEndian(static_cast<std::uint64_t>(amount), 8);
    const store::Value value = currencyAt(raw(bytes));
    EXPECT_EQ(value.currency(), amount);
    EXPECT_EQ(store::parseCurrency(libmdb(bytes, [&] { return mdb_money_to_string(mdb, 0); })),
              amount);
  }
}

TEST_F(LibmdbConversions, DecimalsKeepEveryDigit) {
  struct Case {
    std::uint32_t words[4];  // most significant first
    bool negative;
    int scale;
  };
  const Case cases[] = {
      {{0, 0, 0, 12345}, false, 2},
      {{0, 0, 0, 12345}, true, 2},
      {{0, 0, 0, 5}, false, 3},
      {{0, 0, 0, 7}, false, 0},
      {{0, 0, 0, 1200}, false, 2},
      {{0, 0, 1, 12345}, false, 4},
      {{0, 0, 0xFFFFFFFF, 0xFFFFFFFF}, true, 0},
      {{0x204FCE5E, 0x3E250261, 0x10000000, 1}, false, 28},
      {{0, 0x00000001, 0, 0}, false, 10},
  };
  for (const Case& c : cases) {
    std::string bytes(1, c.negative ? '\x80' : '\0');
    for (std::uint32_t word : c.words) bytes += littleEndian(word, 4);
    // libmdb takes the scale as its fourth argument.
    EXPECT_EQ(decimalAt(raw(bytes), c.scale),
              libmdb(bytes, [&] { return mdb_numeric_to_string(mdb, 0, 28, c.scale); }));
  }
  // libmdb writes "-0.00" for a negative zero; the reader writes the number, 0.
  EXPECT_EQ(decimalAt(raw(std::string("\x80", 1) + std::string(16, '\0')), 2), "0.00");
}

TEST_F(LibmdbConversions, ReplicationIdsAreGuids) {
  std::string bytes;
  for (int i = 0; i < 16; ++i) bytes += static_cast<char>(i * 17);
  EXPECT_EQ(guidAt(raw(bytes)), "{33221100-5544-7766-8899-AABBCCDDEEFF}");
  // libmdb prints the same digits without the hyphen before the last group.
  EXPECT_EQ(libmdb(bytes, [&] { return mdb_col_to_string(mdb, mdb->pg_buf, 0, MDB_REPID, 16); }),
            "{33221100-5544-7766-8899AABBCCDDEEFF}");
}

TEST_F(LibmdbConversions, DatesFrom1900OnAreTheDaysAndTimesLibmdbGives) {
  for (double serial :
       {2.0, 2.5, 60.75, 61.0, 32874.0, 36526.999988425923, 44927.5208333333, 401768.0}) {
    SCOPED_TRACE(serial);
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &serial, 8);
    struct tm parts {};
    mdb_date_to_tm(serial, &parts);
    char expected[32];
    std::strftime(expected, sizeof expected, "%Y-%m-%d %H:%M:%S", &parts);
    const auto value = dateAt(raw(bytes));
    ASSERT_TRUE(value);
    const store::Date date = value->date();
    char got[32];
    std::snprintf(got, sizeof got, "%04d-%02d-%02d %02d:%02d:%02d", date.year, date.month, date.day,
                  date.seconds / 3600, date.seconds / 60 % 60, date.seconds % 60);
    EXPECT_STREQ(got, expected);
  }
}

// Before 1900 (and after 2637) libmdb gives no date at all; the day numbers count back from
// 1899-12-30, and the fraction still counts forward from midnight.
TEST(Dates, Before1900CountBackwards) {
  const std::pair<double, store::Date> cases[] = {
      {0.0, {1899, 12, 30, 0}},       {-1.0, {1899, 12, 29, 0}},
      {-1.25, {1899, 12, 29, 21600}}, {-36522.0, {1800, 1, 1, 0}},
      {-657434.0, {100, 1, 1, 0}},    {2958465.999988426, {9999, 12, 31, 86399}},
  };
  for (const auto& [serial, date] : cases) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &serial, 8);
    const auto value = dateAt(raw(bytes));
    ASSERT_TRUE(value) << serial;
    EXPECT_EQ(value->date(), date) << serial;
  }
  for (double outside : {-657435.0, 2958466.0, std::numeric_limits<double>::quiet_NaN()}) {
    std::string bytes(8, '\0');
    std::memcpy(bytes.data(), &outside, 8);
    EXPECT_FALSE(dateAt(raw(bytes))) << outside;
  }
}

TEST_F(LibmdbConversions, NumbersAreReadLittleEndian) {
  const std::string bytes("\xfe\xff\xff\xff\x00\x00\x80\x3f\x9a\x99\x99\x99\x99\x99\xb9\x3f", 16);
  std::memcpy(mdb->pg_buf, bytes.data(), bytes.size());
  EXPECT_EQ(signedLittleEndian(raw(bytes), 1), -2);
  EXPECT_EQ(signedLittleEndian(raw(bytes), 2), static_cast<short>(mdb_get_int16(mdb->pg_buf, 0)));
  EXPECT_EQ(signedLittleEndian(raw(bytes), 4),
            static_cast<std::int32_t>(mdb_get_int32(mdb->pg_buf, 0)));
  EXPECT_EQ(signedLittleEndian(raw(bytes.substr(4)), 4), 0x3f800000);
  EXPECT_EQ(singleAt(raw(bytes.substr(4))), mdb_get_single(mdb->pg_buf, 4));
  EXPECT_EQ(doubleAt(raw(bytes.substr(8))), mdb_get_double(mdb->pg_buf, 8));
  EXPECT_EQ(doubleAt(raw(bytes.substr(8))), 0.1);
}

// UTF-16 text, plain and in Jet's compressed form.
TEST_F(LibmdbConversions, Jet4TextIsTheTextLibmdbGives) {
  auto utf16 = [](std::initializer_list<std::uint16_t> units) {
    std::string bytes;
    for (std::uint16_t unit : units) bytes += littleEndian(unit, 2);
    return bytes;
  };
  const std::string texts[] = {
      utf16({'R', 'o', 'o', 'm', ' ', '1', '0', '1'}),
      utf16({0x5F20, 0x4E09}),                         // 张三
      utf16({'c', 'a', 'f', 0xE9, ' ', 0x20AC, '5'}),  // café €5
      std::string("\xff\xfe"
                  "abc",
                  5),  // compressed
      std::string("\xff\xfe"
                  "a\x00\x20\x5f\x09\x4e\x00"
                  "b",
                  10),  // compressed with a run of UTF-16
      std::string("\xff\xfe"
                  "\xe9t\xe9",
                  5),  // compressed Latin-1
      std::string(),
  };
  for (const std::string& bytes : texts) {
    std::string expected(bytes.size() * 3 + 1, '\0');
    const int length =
        mdb_unicode2ascii(mdb, bytes.data(), bytes.size(), expected.data(), expected.size());
    expected.resize(static_cast<std::size_t>(length));
    EXPECT_EQ(jet4Text(raw(bytes), bytes.size()), expected);
  }
  EXPECT_EQ(jet4Text(raw(utf16({0x5F20, 0x4E09})), 4), "张三");
}

// Beyond the 16-bit range, where libmdb's UCS-2 conversion gives '?'.
TEST(Jet4Text, KeepsSurrogatePairs) {
  const std::string bytes(
      "\x3d\xd8\x00\xde"
      "a\x00",
      6);  // U+1F600, then 'a'
  EXPECT_EQ(jet4Text(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()),
            "\xF0\x9F\x98\x80"
            "a");
  const std::string lone(
      "\x3d\xd8"
      "a\x00",
      4);
  EXPECT_EQ(jet4Text(reinterpret_cast<const unsigned char*>(lone.data()), lone.size()),
            "\xEF\xBF\xBD"
            "a");
}

}  // namespace
