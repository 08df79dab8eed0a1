// What a conversion reports as it goes and at its end, a stop asked for by the progress callback,
// and a Jet file that stays exactly as it was.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>

#include "jet/convert.h"
#include "jet/jet_file.h"
#include "jet_support.h"
#include "support/temp_dir.h"

namespace {

struct Step {
  std::int64_t done;
  std::int64_t total;
  bool operator==(const Step&) const = default;
};

class Conversion : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string fruit = jettest::dataFile("fruit.mdb");
  std::string target = dir.file("fruit.db");
};

TEST_F(Conversion, ReportsEveryTableAndTheTotals) {
  const jet::Summary summary = jet::convert(fruit, target);
  std::vector<std::tuple<std::string, std::int64_t, std::int64_t>> tables;
  for (const auto& table : summary.tables)
    tables.emplace_back(table.name, table.records, table.indexes);
  EXPECT_EQ(tables, (decltype(tables){{"Fruit", 37, 2},
                                      {"Fruit Salad", 18, 2},
                                      {"Veggie Salad", 4, 1},
                                      {"Muffin/Bread", 13, 1},
                                      {"Dried", 12, 1}}));
  EXPECT_EQ(summary.records, 84);
  EXPECT_EQ(summary.indexes, 7);
  EXPECT_TRUE(summary.linkedTables.empty());
  EXPECT_EQ(jettest::namesIn(dir.path().string()), std::vector<std::string>{"fruit.db"});
}

TEST_F(Conversion, ProgressCountsUpToTheCatalogueTotal) {
  std::vector<Step> steps;
  jet::convert(fruit, target, [&](std::int64_t done, std::int64_t total) {
    steps.push_back({done, total});
    return true;
  });
  // The first step announces the total, then one at the end of each table.
  EXPECT_EQ(steps, (std::vector<Step>{{0, 84}, {37, 84}, {55, 84}, {59, 84}, {72, 84}, {84, 84}}));
}

TEST_F(Conversion, StopsWhenTheCallbackSaysSoAndLeavesNothing) {
  for (int stopAt : {1, 3}) {
    int calls = 0;
    try {
      jet::convert(fruit, target, [&](std::int64_t, std::int64_t) { return ++calls < stopAt; });
      ADD_FAILURE() << "not stopped";
    } catch (const store::Error& error) {
      EXPECT_EQ(error.fault(), store::Fault::Stopped);
      EXPECT_EQ(std::string(error.what()), "the conversion of '" + fruit + "' was stopped");
    }
    EXPECT_EQ(calls, stopAt);
    EXPECT_TRUE(jettest::namesIn(dir.path().string()).empty());
  }
}

TEST_F(Conversion, AnExceptionFromTheCallbackPassesThroughAndLeavesNothing) {
  EXPECT_THROW(jet::convert(fruit, target,
                            [](std::int64_t done, std::int64_t) -> bool {
                              if (done > 0) throw std::logic_error("enough");
                              return true;
                            }),
               std::logic_error);
  EXPECT_TRUE(jettest::namesIn(dir.path().string()).empty());
  // The reading process was ended and reaped.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

TEST_F(Conversion, LeavesTheJetFileAsItWas) {
  testsupport::TempDir copies;
  const std::string copy = copies.file("fruit.mdb");
  std::filesystem::copy_file(fruit, copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_read);
  struct stat before {};
  ::stat(copy.c_str(), &before);
  jet::convert(copy, target);
  struct stat after {};
  ::stat(copy.c_str(), &after);
  EXPECT_EQ(testsupport::readFile(copy), testsupport::readFile(fruit));
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(jettest::namesIn(copies.path().string()), std::vector<std::string>{"fruit.mdb"});
}

struct Probe {
  const char* name;
  std::string bytes;
  jet::Format format;
};

TEST(JetFiles, AreKnownByTheirSignature) {
  testsupport::TempDir dir;
  std::string jet4 = testsupport::readFile(jettest::dataFile("node-adodb.mdb"));
  std::string jet3 = jet4, ace = jet4, other = jet4;
  jet3[0x14] = 0;
  ace.replace(4, 15, "Standard ACE DB");
  ace[0x14] = 3;
  other[0x14] = 9;
  const Probe probes[] = {
      {"jet4", jet4, jet::Format::Jet4},
      {"jet3", jet3, jet::Format::Jet3},
      {"ace", ace, jet::Format::Ace},
      {"other", other, jet::Format::UnknownVersion},
      {"text", "Standard Jet DB\n", jet::Format::NotJet},
      {"empty", "", jet::Format::NotJet},
      {"sqlite", "SQLite format 3" + std::string(100, '\0'), jet::Format::NotJet}};
  for (const Probe& probe : probes) {
    SCOPED_TRACE(probe.name);
    testsupport::writeFile(dir.file(probe.name), probe.bytes);
    EXPECT_EQ(jet::readHeader(dir.file(probe.name)).format, probe.format);
    EXPECT_EQ(jet::isJetFile(dir.file(probe.name)), probe.format != jet::Format::NotJet);
  }
  EXPECT_FALSE(jet::isJetFile(dir.file("missing")));
  EXPECT_FALSE(jet::isJetFile(dir.path().string()));
}

}  // namespace
