// roomkit-db history and undo, through run() and through the built program: the listing, the
// undo's line, the refusals and their exit statuses, the export around a run and its undo, and
// the history's table names refused by import.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <regex>
#include <sstream>

#include "dbtool/byte_io.h"
#include "dbtool/commands.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/table.h"
#include "store/writes.h"
#include "support.h"
#include "support/building.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace sch = store::schema;
using store::Value;

using dbtest::Outcome;
using dbtest::run;

// The date and time of each run, which the listing shows, as <when>.
std::string withoutTimes(const std::string& text) {
  static const std::regex when(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
  return std::regex_replace(text, when, "<when>");
}

// The listing of the three runs below; `third` follows the newest run's headline.
std::string listing(const std::string& third) {
  return "run 3, <when>, Database Cleanup: 1 record" + third +
         "\n"
         "    Cleaning Schedules- Describe: 1 removed\n"
         "run 2, <when>, Auto Generate Rooms (201 to 202): 2 records\n"
         "    Room Info: 2 added\n"
         "run 1, <when>, Change Room Number (101 to 901): 3 records\n"
         "    Room Info: 1 changed\n"
         "    Room Inventory: 2 changed\n";
}

class HistoryCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    store::Database db = testsupport::makeBuilding(path);
    testsupport::addRooms(db, {{"101", Value("LAB"), Value("A1")}, {"102", Value(), Value("A1")}});
    testsupport::addBank(db, 1);
    testsupport::addBank(db, 2);
    for (const char* room : {"101", "102"}) {
      testsupport::addInventory(db, room, 1, {{1, 4}});
      testsupport::addInventory(db, room, 2);
    }
    testsupport::addSchedule(db, "A1", "DAILY");
    testsupport::addSchedule(db, "Z9", "UNUSED");
  }

  // Three runs as the tools record them: a renumbering, two rooms added, a schedule deleted.
  void threeRuns() {
    store::Database db = store::Database::open(path);
    {
      store::Run run(db, "Change Room Number", "101 to 901");
      for (const char* table : {sch::roomInfo, sch::roomInventory}) {
        store::updateWhereUpperText(db, table, sch::roomNumber, Value("901"), "101");
      }
      run.commit();
    }
    {
      store::Run run(db, "Auto Generate Rooms", "201 to 202");
      store::Table info = db.openTable(sch::roomInfo);
      for (const char* room : {"201", "202"}) {
        info.addNew();
        info.setField(sch::roomNumber, Value(room));
        info.update();
      }
      run.commit();
    }
    {
      store::Run run(db, "Database Cleanup");
      store::deleteWhereText(db, sch::scheduleDescribe, sch::cleaningSchedule, "Z9");
      run.commit();
    }
  }

  testsupport::TempDir dir;
  std::string path = dir.file("JOX_H.MDB");
};

TEST_F(HistoryCommand, ListsTheRunsNewestFirstWithTheirRecordsPerTable) {
  const Outcome empty = run({"history", path});
  EXPECT_EQ(empty.status, 0) << empty.err;
  EXPECT_EQ(empty.out, path + ": the history holds no runs\n");

  threeRuns();
  const Outcome undone = run({"undo", path});
  ASSERT_EQ(undone.status, 0) << undone.err;
  EXPECT_EQ(withoutTimes(undone.out), "undone: run 3, <when>, Database Cleanup: 1 record\n");
  EXPECT_TRUE(undone.err.empty());

  const Outcome listed = run({"history", path});
  ASSERT_EQ(listed.status, 0) << listed.err;
  EXPECT_TRUE(listed.err.empty());
  EXPECT_EQ(withoutTimes(listed.out), listing(", undone <when>"));
  // The times shown are those the history keeps.
  store::Database db = store::Database::open(path);
  const std::vector<store::RunInfo> runs = store::listRuns(db);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_NE(listed.out.find("run 1, " + runs[2].when + ", "), std::string::npos);
  EXPECT_NE(listed.out.find("undone " + *runs[0].undone + "\n"), std::string::npos);
}

TEST_F(HistoryCommand, EachUndoGivesTheExportBeforeItsRun) {
  const std::string before = dbtest::exportText(path);
  store::Database db = store::Database::open(path);
  {
    store::Run run(db, "Change Room Number", "101 to 901");
    store::updateWhereUpperText(db, sch::roomInventory, sch::roomNumber, Value("901"), "101");
    run.commit();
  }
  const std::string between = dbtest::exportText(path);
  {
    store::Run run(db, "Combine Rooms", "into 102");
    store::deleteWhereText(db, sch::roomInventory, sch::roomNumber, "901");
    store::deleteWhereText(db, sch::roomInfo, sch::roomNumber, "101");
    run.commit();
  }
  db.close();
  ASSERT_NE(dbtest::exportText(path), between);

  const Outcome second = run({"undo", path});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(withoutTimes(second.out),
            "undone: run 2, <when>, Combine Rooms (into 102): 3 records\n");
  EXPECT_EQ(dbtest::exportText(path), between);
  const Outcome first = run({"undo", path});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(dbtest::exportText(path), before);
  EXPECT_EQ(run({"export", path}).out, before) << "the history stays out of the export";
}

TEST_F(HistoryCommand, RefusedUndoExitsOneWithTheReasonAndChangesNothing) {
  const Outcome nothing = run({"undo", path});
  EXPECT_EQ(nothing.status, 1);
  EXPECT_TRUE(nothing.out.empty());
  EXPECT_EQ(nothing.err, "roomkit-db: " + path + ": There is nothing to undo.\n");

  threeRuns();
  ASSERT_EQ(run({"undo", path}).status, 0);
  ASSERT_EQ(run({"undo", path}).status, 0);
  // Another program renumbers a record that run 1 wrote.
  dbtest::execute(path,
                  "UPDATE \"Room Inventory\" SET \"Room Number\" = '911' WHERE \"Room Number\" = "
                  "'901' AND Bank = 2");
  const std::string changed = dbtest::exportText(path);
  const Outcome refused = run({"undo", path});
  EXPECT_EQ(refused.status, 1);
  EXPECT_TRUE(refused.out.empty());
  EXPECT_EQ(refused.err,
            "roomkit-db: " + path +
                ": Run 1 cannot be undone: the record \"911, 2\" of the table "
                "\"Room Inventory\" has changed since the run. Nothing was changed.\n");
  EXPECT_EQ(dbtest::exportText(path), changed);
  EXPECT_NE(run({"history", path}).out.find("Change Room Number (101 to 901): 3 records\n"),
            std::string::npos)
      << "run 1 is not undone";
}

TEST_F(HistoryCommand, WrongUsageExitsTwoAndAMissingFileOne) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"history"},
                                               {"undo"},
                                               {"history", path, path},
                                               {"undo", path, "x"}}) {
    const Outcome outcome = run(args);
    EXPECT_EQ(outcome.status, 2) << args.size();
    EXPECT_TRUE(outcome.out.empty());
    EXPECT_EQ(outcome.err.rfind("roomkit-db: " + args[0] + " takes one database file\n", 0), 0u)
        << outcome.err;
    EXPECT_NE(outcome.err.find("       roomkit-db history FILE\n       roomkit-db undo FILE\n"),
              std::string::npos);
  }
  for (const char* command : {"history", "undo"}) {
    const Outcome missing = run({command, dir.file("JOX_NONE.MDB")});
    EXPECT_EQ(missing.status, 1) << command;
    EXPECT_TRUE(missing.out.empty());
    EXPECT_EQ(missing.err.rfind("roomkit-db: ", 0), 0u) << missing.err;
  }
  EXPECT_EQ(dbtest::filesIn(dir.path()), std::vector<std::string>{"JOX_H.MDB"}) << "nothing made";
}

// The history stays with its file: an export leaves it out, so an import of it starts without
// one, and a document that names a table of the history is refused.
TEST_F(HistoryCommand, ImportMakesNoHistoryAndRefusesItsTableNames) {
  threeRuns();
  const std::string exported = dbtest::exportText(path);
  EXPECT_EQ(exported.find("MSysRoomkit"), std::string::npos);
  dbtest::importText(exported, dir.file("JOX_COPY.MDB"));
  EXPECT_EQ(run({"history", dir.file("JOX_COPY.MDB")}).out,
            dir.file("JOX_COPY.MDB") + ": the history holds no runs\n");
  EXPECT_EQ(run({"undo", dir.file("JOX_COPY.MDB")}).status, 1);

  const std::string fields =
      R"("fields": [{"name": "A", "type": "text", "size": 3}], "records": [])";
  for (const char* name : {"MSysRoomkitRuns", "MSysRoomkitChanges", "msysroomkitruns",
                           "MSYSROOMKIT", "MSysRoomkit Notes"}) {
    const std::string document =
        R"({"tables": [{"name": ")" + std::string(name) + R"(", )" + fields + "}]}";
    EXPECT_EQ(
        dbtest::importRefusal(document),
        "line 1, column 22: the table name \"" + std::string(name) +
            "\" is reserved: names beginning with \"MSysRoomkit\" belong to the change history")
        << name;
  }
  for (const char* name : {"MSysRoomki", "Old MSysRoomkitRuns", "MSysObjects"}) {
    const std::string document =
        R"({"tables": [{"name": ")" + std::string(name) + R"(", )" + fields + "}]}";
    EXPECT_EQ(dbtest::importRefusal(document), "imported") << name;
  }
}

// The built program: the same words on its standard output and error, and its exit statuses.
class HistoryProgram : public HistoryCommand {
 protected:
  Outcome program(const std::vector<std::string>& args) {
    std::vector<std::string> words{ROOMKIT_DB_PROGRAM};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = outputs.file("out"), err = outputs.file("err");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t child = 0;
    int status = -1;
    if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      waitpid(child, &status, 0);
    }
    posix_spawn_file_actions_destroy(&actions);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, testsupport::readFile(out),
            testsupport::readFile(err)};
  }

  testsupport::TempDir outputs;
};

TEST_F(HistoryProgram, ListsUndoesAndRefuses) {
  const Outcome nothing = program({"undo", path});
  EXPECT_EQ(nothing.status, 1);
  EXPECT_EQ(nothing.err, "roomkit-db: " + path + ": There is nothing to undo.\n");
  EXPECT_TRUE(nothing.out.empty());

  const std::string before = dbtest::exportText(path);
  threeRuns();
  const Outcome listed = program({"history", path});
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(withoutTimes(listed.out), listing(""));
  for (const char* line : {"undone: run 3, <when>, Database Cleanup: 1 record\n",
                           "undone: run 2, <when>, Auto Generate Rooms (201 to 202): 2 records\n",
                           "undone: run 1, <when>, Change Room Number (101 to 901): 3 records\n"}) {
    const Outcome undone = program({"undo", path});
    EXPECT_EQ(undone.status, 0) << undone.err;
    EXPECT_EQ(withoutTimes(undone.out), line);
    EXPECT_TRUE(undone.err.empty());
  }
  EXPECT_EQ(program({"export", path}).out, before);
  EXPECT_EQ(program({"undo", path}).status, 1);

  const Outcome usage = program({"history"});
  EXPECT_EQ(usage.status, 2);
  EXPECT_TRUE(usage.out.empty());
  EXPECT_NE(usage.err.find("usage: roomkit-db"), std::string::npos);
}

}  // namespace
