// The eight functions on a building converted from a Jet file and on a sample building of the same
// shape (120 rooms, 3 banks): each run is given inputs picked from the building itself, does the
// same in kind on both (the records it changes per table follow from what each building holds,
// record by record), and is undone to the byte of the building's export and its stored order.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <map>

#include "case_test.h"
#include "converted_cases.h"
#include "history_building.h"
#include "jet/convert.h"
#include "jet_support.h"
#include "runs.h"
#include "sample/sample.h"
#include "store/schema.h"
#include "tool_runs.h"

namespace historytest {
namespace {

namespace sch = store::schema;

struct Building {
  const char* name;
  std::function<void(const std::string& path)> make;
  bool converted;  // a Jet file's conversion, whose "Room Info" has the Yes/No field "Active"
};

const Building buildings[] = {
    {"converted",
     [](const std::string& path) { jet::convert(jettest::dataFile("JOX_JETDEMO.MDB"), path); },
     true},
    {"sample",
     [](const std::string& path) {
       sample::writeBuilding(path, {120, 3, 1});
     },
     false},
};

// Per table, which of added, changed and removed the run did at all.
std::map<std::string, std::array<bool, 3>> kindOf(const Counts& counts) {
  std::map<std::string, std::array<bool, 3>> kind;
  for (const auto& [table, n] : counts) kind[table] = {n[0] > 0, n[1] > 0, n[2] > 0};
  return kind;
}

std::int64_t total(const Counts& counts) {
  std::int64_t sum = 0;
  for (const auto& [table, n] : counts) sum += n[0] + n[1] + n[2];
  return sum;
}

using ConvertedAndSample = CaseTest<FunctionCase>;

TEST_P(ConvertedAndSample, DoTheSameAndUndoToTheByte) {
  const FunctionCase& c = GetParam();
  std::map<std::string, Counts> done;
  for (const Building& building : buildings) {
    SCOPED_TRACE(building.name);
    const std::string file = dir.file(std::string(building.name) + ".mdb");
    building.make(file);
    const Snapshot before = snapshotOf(file);
    ASSERT_EQ(before.at(sch::roomInfo).rows.size(), 120u);
    ASSERT_EQ(before.at(sch::inventoryBanks).rows.size(), 3u);
    ASSERT_EQ(before.at(sch::roomInfo).has("Active"), building.converted);
    const Picks picks = pick(before);
    if (HasFatalFailure()) return;
    const State state = stateOf(file);

    c.run(file, picks);
    const Snapshot after = snapshotOf(file);
    const Counts expected = c.effect(before, after, picks);
    const std::vector<store::RunInfo> runs = runsOf(file);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].function, c.function);
    EXPECT_EQ(countsOf(runs[0]), expected);
    EXPECT_EQ(runs[0].records, total(expected));
    EXPECT_GT(total(expected), 0) << "the inputs picked give the run nothing to do";
    done[building.name] = countsOf(runs[0]);

    const store::UndoResult undone = undoOn(file);
    ASSERT_TRUE(undone.ok()) << undone.message();
    EXPECT_EQ(difference(state, stateOf(file)), "");
    EXPECT_EQ(differenceOf(before, snapshotOf(file)), "");
  }
  EXPECT_EQ(kindOf(done["converted"]), kindOf(done["sample"]))
      << "the run touches other tables, or in another way, on the two buildings";
  if (c.sameCounts) {
    EXPECT_EQ(done["converted"], done["sample"]);
  }
}

INSTANTIATE_TEST_SUITE_P(EachFunction, ConvertedAndSample, ::testing::ValuesIn(functionCases()),
                         caseName);

// A quantity of the converted building is a Single, as in the Jet file, and a sum written into it
// keeps single precision, as the sums of Combine Rooms do.
TEST(ConvertedQuantities, KeepSinglePrecisionWhenACopyIsAdded) {
  testsupport::TempDir dir;
  const std::string file = dir.file("converted.mdb");
  jet::convert(jettest::dataFile("JOX_JETDEMO.MDB"), file);
  const Picks picks = pick(snapshotOf(file));
  const float tenth = 0.1f;
  char value[40];
  std::snprintf(value, sizeof value, "%.17g", static_cast<double>(tenth));
  otherProgram(file, "UPDATE \"Room Inventory\" SET \"5\" = " + std::string(value) +
                         " WHERE \"Room Number\" IN ('" + picks.rooms[0] + "', '" + picks.rooms[1] +
                         "')");
  copyRoomInventory(file, picks.rooms[0], {picks.rooms[1]}, {3, false, true});
  const Records after = snapshotOf(file).at(sch::roomInventory);
  const float sum = tenth + static_cast<float>(3.0 * static_cast<double>(tenth));
  for (const Row& row : after.where(sch::roomNumber, picks.rooms[1])) {
    EXPECT_EQ(row[after.column("5")].number(), static_cast<double>(sum));
  }
}

}  // namespace
}  // namespace historytest
