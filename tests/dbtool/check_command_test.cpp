// roomkit-db check: the listing and the JSON document, the exit statuses, and --mend as one run
// that undo takes back to the byte of the export.
#include <gtest/gtest.h>

#include "store/history.h"
#include "support.h"
#include "support/building.h"
#include "support/temp_dir.h"

namespace {

using store::Value;

class CheckCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    store::Database db = testsupport::makeBuilding(path);
    testsupport::addRooms(db, {{"101", Value("LAB"), Value("A1")}, {"102", Value(), Value()}});
    testsupport::addSchedule(db, "A1", "DAILY", 1);
    testsupport::addBank(db, 1);
    for (const char* room : {"101", "102"}) {
      testsupport::addTime(db, room);
      testsupport::addInventory(db, room, 1, {{3, 2.5}});
    }
  }
  // A room without a time record, inventory of a missing room, a malformed number, and a
  // schedule line without a description (which has no mend).
  void spoil() {
    dbtest::execute(
        path,
        "DELETE FROM \"Room Time\" WHERE \"Room Number\" = '102';"
        "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\", \"7\") VALUES ('X9', 1, 4);"
        "UPDATE \"Room Info\" SET \"Room Number\" = '101 ' WHERE \"Room Number\" = '101';"
        "UPDATE \"Room Inventory\" SET \"Room Number\" = '101 ' WHERE \"Room Number\" = '101';"
        "UPDATE \"Room Time\" SET \"Room Number\" = '101 ' WHERE \"Room Number\" = '101';"
        "INSERT INTO \"Cleaning Schedules\" (\"Cleaning Schedule\", \"Line Number\") VALUES ('Q', "
        "1)");
  }

  testsupport::TempDir dir;
  std::string path = dir.file("JOX_C.MDB");
};

TEST_F(CheckCommand, StatusesAndListings) {
  const std::string listing =
      path +
      ": 4 findings\n"
      "Records of missing rooms (1)\n"
      "  Room Inventory, Room Number \"X9\", Bank 1: no \"Room Info\" record has this room number "
      "[removed]\n"
      "Rooms without a time record (1)\n"
      "  Room Info, Room Number \"102\": the room has no \"Room Time\" record [a \"Room Time\" "
      "record is made]\n"
      "Schedule lines without a description (1)\n"
      "  Cleaning Schedules, Cleaning Schedule \"Q\", Line Number 1: the schedule \"Q\" has no "
      "record in "
      "\"Cleaning Schedules- Describe\"\n"
      "Malformed room numbers (1)\n"
      "  Room Info, Room Number \"101 \": the room number has blanks at an end [becomes \"101\"]\n";
  const std::string line =
      "  Cleaning Schedules, Cleaning Schedule \"Q\", Line Number 1: the schedule \"Q\" has no "
      "record in \"Cleaning Schedules- Describe\"\n";
  struct Step {
    const char* name;
    std::vector<std::string> args;
    int status;
    std::string out;
  };
  // In this order, the building spoiled after the first.
  const std::vector<Step> steps = {
      {"sound", {"check", path}, 0, path + ": nothing found\n"},
      {"findings", {"check", path}, 1, listing},
      {"mend",
       {"check", "--mend", path},
       1,
       listing +
           "mended: 1 record of a missing room removed, 1 room number trimmed and upper-cased, "
           "1 \"Room Time\" record made\n" +
           path + ": 1 finding left\n"},
      {"after the mend",
       {"check", path},
       1,
       path + ": 1 finding\nSchedule lines without a description (1)\n" + line},
      {"missing file", {"check", dir.file("JOX_NONE.MDB")}, 2, ""},
      {"no file", {"check"}, 2, ""},
      {"unknown option", {"check", "--fix", path}, 2, ""},
      {"two files", {"check", path, path}, 2, ""},
  };
  for (const Step& step : steps) {
    const dbtest::Outcome outcome = dbtest::run(step.args);
    EXPECT_EQ(outcome.status, step.status) << step.name << "\n" << outcome.err;
    EXPECT_EQ(outcome.out, step.out) << step.name;
    EXPECT_EQ(outcome.err.empty(), step.status != 2) << step.name << "\n" << outcome.err;
    if (&step == &steps.front()) spoil();
  }
  EXPECT_NE(dbtest::run({"check", dir.file("JOX_NONE.MDB")}).err.find("could not be checked"),
            std::string::npos);
}

TEST_F(CheckCommand, JsonDocument) {
  dbtest::execute(path,
                  "INSERT INTO \"Room Inventory\" (\"Room Number\", \"Bank\") VALUES ('X9', 1)");
  dbtest::Outcome outcome = dbtest::run({"check", "--json", path});
  EXPECT_EQ(outcome.status, 1);
  const auto kind = [](const char* code, const char* name) {
    return std::string("  {\"kind\": \"") + code + "\", \"name\": \"" + name +
           "\", \"count\": 0, \"findings\": []}";
  };
  const std::string rest = kind("no-room-time", "Rooms without a time record") + ",\n" +
                           kind("undescribed-schedule", "Room schedules without a description") +
                           ",\n" +
                           kind("undescribed-line", "Schedule lines without a description") +
                           ",\n" + kind("unlisted-sort-value", "Unlisted sort values") + ",\n" +
                           kind("unknown-bank", "Inventory of unknown banks") + ",\n" +
                           kind("key-format", "Malformed room numbers") + ",\n" +
                           kind("duplicate-number", "Duplicate room numbers") + ",\n" +
                           kind("engine", "Engine integrity") + "\n]";
  const std::string head = "{\"file\": \"" + path + "\", \"checked\": true, ";
  EXPECT_EQ(
      outcome.out,
      head +
          "\"findings\": 1, \"kinds\": [\n"
          "  {\"kind\": \"missing-room\", \"name\": \"Records of missing rooms\", \"count\": 1, "
          "\"findings\": [\n"
          "    {\"table\": \"Room Inventory\", \"key\": {\"Room Number\": \"X9\", \"Bank\": 1}, "
          "\"problem\": \"no \\\"Room Info\\\" record has this room number\", \"mendable\": true, "
          "\"mend\": \"removed\"}\n"
          "  ]},\n" +
          rest + "}\n");

  outcome = dbtest::run({"check", "--json", "--mend", path});
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(
      outcome.out.find(rest + ", \"mend\": {\"done\": true, \"removed\": 1, \"renumbered\": 0, "
                              "\"timesAdded\": 0, \"left\": 0}}\n"),
      std::string::npos)
      << outcome.out;

  const std::string missing = dir.file("JOX_NONE.MDB");
  outcome = dbtest::run({"check", "--json", missing});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(
      outcome.out.rfind("{\"file\": \"" + missing + "\", \"checked\": false, \"failure\": \"", 0),
      0u)
      << outcome.out;
}

// The mend is one run: its undo gives the export back exactly, and a second undo has nothing.
TEST_F(CheckCommand, MendUndoneExactly) {
  spoil();
  const std::string before = dbtest::exportText(path);
  ASSERT_EQ(dbtest::run({"check", "--mend", path}).status, 1);
  EXPECT_NE(dbtest::exportText(path), before);
  store::Database db = store::Database::open(path);
  const auto runs = store::listRuns(db);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].function + " (" + runs[0].detail + ")", "Check Database (Mend)");
  db.close();
  const dbtest::Outcome undo = dbtest::run({"undo", path});
  ASSERT_EQ(undo.status, 0) << undo.err;
  EXPECT_EQ(dbtest::exportText(path), before);
}

}  // namespace
