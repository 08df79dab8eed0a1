// The change history of the store: what a run records, undo restoring the file exactly, the
// refusals when records changed since, the limits, and two connections at once.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "history_fixture.h"
#include "store/inserter.h"
#include "store/writes.h"

using namespace historytest;

namespace {

TEST_F(HistoryTest, UndoPutsEveryRecordBackInItsPlace) {
  const std::string before = dump(db);
  mixedRun();
  ASSERT_NE(dump(db), before);
  const std::vector<RunInfo> runs = listRuns(db);
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].function, "Mixed");
  EXPECT_EQ(runs[0].records, 6) << "101, 102, 104 changed, 103 deleted, 105 and the note added";
  ASSERT_EQ(runs[0].tables.size(), 2u);
  EXPECT_EQ(runs[0].tables[0].table, "Rooms");
  EXPECT_EQ(runs[0].tables[0].added, 1);
  EXPECT_EQ(runs[0].tables[0].changed, 3);
  EXPECT_EQ(runs[0].tables[0].removed, 1);

  const UndoResult undone = undoLatest(db);
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(dump(db), before);
  ASSERT_EQ(listRuns(db).size(), 1u);
  EXPECT_TRUE(listRuns(db)[0].undone);
  EXPECT_EQ(undoLatest(db).message(), "There is nothing to undo.");
}

// Writes that come without the store's knowledge of the new values (plain SQL on the same
// connection) are recorded from the engine, a record that leaves its place and takes it again
// included.
TEST_F(HistoryTest, PlainSqlWritesAreRecordedToo) {
  const std::string before = dump(db);
  {
    store::Run run(db, "Plain");
    exec(db, "UPDATE Rooms SET Name = 'X', Area = 3 WHERE Number = '101'");
    exec(db, "DELETE FROM Rooms WHERE rowid = 2");
    exec(db, "INSERT INTO Rooms (rowid, Number, Name) VALUES (2, '900', 'IN ITS PLACE')");
    exec(db, "INSERT INTO Rooms (Number) VALUES ('901')");
    exec(db, "DELETE FROM Rooms WHERE Number = '901'");  // added and gone again: nothing
    run.commit();
  }
  ASSERT_EQ(listRuns(db).at(0).records, 2);
  const UndoResult undone = undoLatest(db);
  ASSERT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(dump(db), before);
}

TEST_F(HistoryTest, TwoRunsAreUndoneInTurn) {
  const std::string first = dump(db);
  mixedRun();
  const std::string second = dump(db);
  {
    store::Run run(db, "Rename");
    store::updateWhereUpperText(db, "Rooms", "Number", Value("201"), "101");
    run.commit();
  }
  ASSERT_EQ(latestUndoable(db)->function, "Rename");
  ASSERT_TRUE(undoLatest(db).ok());
  EXPECT_EQ(dump(db), second);
  ASSERT_EQ(latestUndoable(db)->function, "Mixed");
  ASSERT_TRUE(undoLatest(db).ok());
  EXPECT_EQ(dump(db), first);
  const std::vector<RunInfo> runs = listRuns(db);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].number, 2);
  EXPECT_TRUE(runs[0].undone && runs[1].undone);
}

// An undo is marked beside the runs; a run that the first release marked in its own row reads as
// undone the same way. A mark belongs to its run alone: a later run that takes the number of a
// run gone from the history is not undone.
TEST_F(HistoryTest, UndoMarksOfEitherKindBelongToTheirRuns) {
  const std::string first = dump(db);
  mixedRun();
  {
    store::Run run(db, "Rename");
    store::updateWhereUpperText(db, "Rooms", "Number", Value("201"), "101");
    run.commit();
  }
  ASSERT_TRUE(undoLatest(db).ok());
  exec(db,
       "UPDATE MSysRoomkitRuns SET Undone = (SELECT \"When\" FROM MSysRoomkitUndone) "
       "WHERE Run = 2; DELETE FROM MSysRoomkitUndone");
  std::vector<RunInfo> runs = listRuns(db);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_TRUE(runs[0].undone);
  EXPECT_FALSE(runs[1].undone);
  ASSERT_EQ(latestUndoable(db)->function, "Mixed");
  ASSERT_TRUE(undoLatest(db).ok());
  EXPECT_EQ(dump(db), first);
  runs = listRuns(db);
  EXPECT_TRUE(runs[0].undone && runs[1].undone);

  exec(db, "DELETE FROM MSysRoomkitRuns");
  {
    store::Run run(db, "Fresh");
    store::updateWhereUpperText(db, "Rooms", "Name", Value("FRESH"), "ROOM");
    run.commit();
  }
  ASSERT_TRUE(latestUndoable(db));
  EXPECT_EQ(latestUndoable(db)->number, 1);
  EXPECT_EQ(latestUndoable(db)->function, "Fresh");
  EXPECT_FALSE(listRuns(db).at(0).undone);
}

// Each kind of record refuses the undo when another program changed it since the run; the
// refusal names the table and the key, and nothing is changed.
TEST_F(HistoryTest, ARecordChangedSinceTheRunRefusesTheUndo) {
  struct Case {
    const char* name;
    const char* later;
    const char* named;
  };
  const Case cases[] = {
      {"changed", "UPDATE Rooms SET Area = 99 WHERE Number = '102'",
       "\"102\" of the table \"Rooms\" has changed"},
      {"added", "UPDATE Rooms SET Photo = NULL WHERE Number = '105'",
       "\"105\" of the table \"Rooms\" has changed"},
      {"gone", "DELETE FROM Rooms WHERE Number = '105'",
       "\"105\" of the table \"Rooms\" is no longer"},
      {"place taken", "INSERT INTO Rooms (rowid, Number) VALUES (3, '777')",
       "now stands in its place"},
      {"key taken", "UPDATE Rooms SET Number = '103' WHERE Number = '105'", "has changed"},
      {"note", "UPDATE Notes SET Text = 'other'", "has changed"},
  };
  db.close();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    testsupport::TempDir caseDir;
    const std::string copy = caseDir.file("COPY.MDB");
    std::filesystem::copy_file(path, copy);
    db = Database::open(copy);
    mixedRun();
    Database program = Database::open(copy);  // another program's connection
    exec(program, c.later);
    program.close();
    const std::string changed = dump(db);
    const UndoResult result = undoLatest(db);
    EXPECT_FALSE(result.ok());
    EXPECT_NE(result.message().find(c.named), std::string::npos) << result.message();
    EXPECT_NE(result.message().find("Nothing was changed"), std::string::npos) << result.message();
    EXPECT_EQ(dump(db), changed);
    EXPECT_FALSE(latestUndoable(db)->undone);
    db.close();
  }
}

// Records added are checked as they are removed, in tables of any width: narrow enough for the
// row function that the delete checks with, just at its limit of arguments, and wider (checked
// in the pre-update hook). A change to the first field or the last refuses; unchanged they go.
TEST_F(HistoryTest, AddedRecordsOfTablesOfAnyWidthAreCheckedFieldByField) {
  for (const int width : {3, 125, 126, 200}) {
    for (const bool last : {false, true}) {
      SCOPED_TRACE(std::to_string(width) +
                   (last ? " fields, the last changed" : " fields, the first"));
      const std::string table = "Wide" + std::to_string(width) + (last ? "L" : "F");
      TableDef wide{table, {{"Code", FieldType::Text, 10}}, {{"PrimaryKey", {"Code"}, true}}};
      for (int i = 1; i < width; ++i) {
        wide.fields.push_back({"F" + std::to_string(i), FieldType::Integer, 4});
      }
      const std::string lastField = "F" + std::to_string(width - 1);
      db.createTable(wide);
      const std::string before = dump(db);
      {
        store::Run run(db, "Wide");
        Table t = db.openTable(table);
        for (const char* code : {"A", "B", "C"}) {
          t.addNew();
          t.setField("Code", Value(code));
          t.setField(lastField, Value(1));
          t.update();
        }
        run.commit();
      }
      const std::string change =
          last ? "SET " + lastField + " = 2 WHERE Code = 'B'" : "SET Code = 'b' WHERE Code = 'B'";
      const std::string back =
          last ? "SET " + lastField + " = 1 WHERE Code = 'B'" : "SET Code = 'B' WHERE Code = 'b'";
      exec(db, "UPDATE " + table + " " + change);
      const UndoResult refused = undoLatest(db);
      EXPECT_FALSE(refused.ok());
      EXPECT_NE(refused.message().find("of the table \"" + table + "\" has changed"),
                std::string::npos)
          << refused.message();
      exec(db, "UPDATE " + table + " " + back);
      EXPECT_TRUE(undoLatest(db).ok());
      EXPECT_EQ(dump(db), before);
    }
  }
}

// Many records added with their keys in order, and few others between them, are removed walking
// the key's index over their span, others walking the table by place: either way each is
// checked, the records another program changed since refuse the undo (a key moved out of the
// span too), and records it added stay.
TEST_F(HistoryTest, ManyAddedRecordsAreFoundByTheirKeysOrTheirPlaces) {
  struct Case {
    const char* name;
    std::string later;  // with K the first key of the 11th record, then its second key
    const char* refusal;
  };
  const Case cases[] = {
      {"unchanged", "", nullptr},
      {"field", "UPDATE Bulk SET Name = 'x' WHERE K", "has changed"},
      {"key out of the span", "UPDATE Bulk SET First = 'A-1' WHERE K", "has changed"},
      {"key in the span", "UPDATE Bulk SET Second = 'z' WHERE K", "has changed"},
      {"gone", "DELETE FROM Bulk WHERE K", "is no longer in the database"},
      {"another program's record", "INSERT INTO Bulk (First, Second) VALUES ('M-010', 'q')",
       nullptr},
  };
  enum Layout { InOrder, Reversed, Spread, OtherIndex };
  const char* const layoutNames[] = {", keys in order", ", keys in reverse",
                                     ", keys in order among four times as many",
                                     ", keys in order in an index descending without nulls"};
  db.close();
  for (const Layout layout : {InOrder, Reversed, Spread, OtherIndex}) {
    const bool ascending = layout != Reversed;
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + layoutNames[layout]);
      testsupport::TempDir caseDir;
      const std::string copy = caseDir.file("COPY.MDB");
      std::filesystem::copy_file(path, copy);
      db = Database::open(copy);
      db.createTable({"Bulk",
                      {{"First", FieldType::Text, 10},
                       {"Second", FieldType::Text, 10},
                       {"Name", FieldType::Text, 10}},
                      {{"PrimaryKey",
                        {"First", "Second"},
                        true,
                        {layout == OtherIndex},
                        layout == OtherIndex}}});
      Table bulk = db.openTable("Bulk");
      const auto add = [&](const std::string& first, const std::string& second) {
        bulk.addNew();
        bulk.setField("First", Value(first));
        bulk.setField("Second", Value(second));
        bulk.update();
      };
      for (const char* first : {"A-0", "M-0105", "Z-0"}) add(first, "a");
      const auto number = [](int n) {
        return "M-" + std::string(n < 10 ? "00" : "0") + std::to_string(n);
      };
      for (int n = 0; layout == Spread && n < 30; ++n) {
        for (int other = 0; other < 20; ++other) add(number(n) + "x", std::to_string(other));
      }
      const std::string before = dump(db);
      {
        store::Run run(db, "Bulk");
        for (int i = 0; i < 30; ++i) {
          const int n = ascending ? i : 29 - i;
          for (const char* second : {"a", "b", "c", "d", "e"}) {
            add(number(n), second);
          }
        }
        run.commit();
      }
      std::string later = c.later;
      const std::size_t k = later.find(" K");
      const std::string eleventh = ascending ? "M-002" : "M-027";
      if (k != std::string::npos) {
        later.replace(k, 2, " First = '" + eleventh + "' AND Second = 'a'");
      }
      if (!later.empty()) exec(db, later);
      const std::string changed = dump(db);
      std::string statements;
      sqlite3_trace_v2(
          store::engineHandle(db), SQLITE_TRACE_STMT,
          [](unsigned, void* out, void* stmt, void*) {
            *static_cast<std::string*>(out) += sqlite3_sql(static_cast<sqlite3_stmt*>(stmt));
            return 0;
          },
          &statements);
      const UndoResult result = undoLatest(db);
      sqlite3_trace_v2(store::engineHandle(db), 0, nullptr, nullptr);
      EXPECT_EQ(statements.find("DELETE FROM \"Bulk\" INDEXED BY") != std::string::npos,
                (layout == InOrder || layout == OtherIndex) && !c.refusal)
          << statements;
      if (c.refusal) {
        EXPECT_FALSE(result.ok());
        EXPECT_NE(result.message().find(c.refusal), std::string::npos) << result.message();
        EXPECT_EQ(dump(db), changed);
      } else {
        ASSERT_TRUE(result.ok()) << result.message();
        if (!later.empty()) {
          EXPECT_NE(dump(db).find("3:M-010 | 3:q |"), std::string::npos) << dump(db);
          exec(db, "DELETE FROM Bulk WHERE Second = 'q'");
        }
        EXPECT_EQ(dump(db), before);
      }
      db.close();
    }
  }
}

// A field that an added record leaves out takes its table's default, as a converted Jet file's
// Yes/No fields take No: each way of adding records records them as the engine keeps them, and
// the undo takes them out again.
TEST_F(HistoryTest, AddedRecordsTakeTheDefaultsOfTheFieldsTheyLeaveOut) {
  db.createTable({"Flags",
                  {{"Code", FieldType::Text, 10},
                   {"Active", FieldType::Boolean, 1},
                   {"Count", FieldType::Integer, 4}},
                  {}});
  exec(db, "DROP TABLE Flags");
  exec(db,
       "CREATE TABLE Flags (Code TEXT(10), Active YESNO NOT NULL DEFAULT 0, "
       "Count INTEGER DEFAULT 7)");
  db = Database::open(path);
  const std::string before = dump(db);
  {
    store::Run run(db, "Flags");
    Table flags = db.openTable("Flags");
    flags.addNew();
    flags.setField("Code", Value("A"));
    flags.update();
    Inserter(db, "Flags", {0}).insert({Value("B")});
    Inserter bulk(db, "Flags", {0});
    bulk.set(0, Value("C"));
    bulk.insert();
    run.commit();
  }
  ASSERT_NE(dump(db).find("3:C | 1:0 | 1:7 |"), std::string::npos) << dump(db);
  const UndoResult undone = undoLatest(db);
  EXPECT_TRUE(undone.ok()) << undone.message();
  EXPECT_EQ(dump(db), before);
}

TEST_F(HistoryTest, ARunRolledBackOrChangingNothingLeavesNoEntry) {
  const std::string before = dump(db);
  {
    store::Run run(db, "Abandoned");
    store::updateWhereUpperText(db, "Rooms", "Name", Value("GONE"), "ROOM");
  }  // never committed
  {
    store::Run run(db, "Nothing");
    store::updateWhereUpperText(db, "Rooms", "Name", Value("X"), "NO SUCH NAME");
    run.commit();
  }
  EXPECT_EQ(dump(db), before);
  EXPECT_TRUE(listRuns(db).empty());
  EXPECT_EQ(undoLatest(db).message(), "There is nothing to undo.");
}

TEST_F(HistoryTest, ADatabaseWithoutHistoryHasNothingToUndo) {
  db.close();
  db = Database::open(path);
  EXPECT_TRUE(listRuns(db).empty());
  EXPECT_FALSE(latestUndoable(db));
  const UndoResult result = undoLatest(db);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.message(), "There is nothing to undo.");
  for (const std::string& table : db.tableNames())
    EXPECT_EQ(table.rfind("MSys", 0), std::string::npos);
}

// The newest runs are kept: never more than 100, and the oldest beyond the last 50 go whole
// while the history holds more than 64 MiB.
TEST_F(HistoryTest, TheHistoryKeepsTheNewestRunsWithinItsLimits) {
  for (int i = 0; i < 110; ++i) {
    store::Run run(db, "Small " + std::to_string(i + 1));
    store::updateWhereKey(db, "Rooms", "PrimaryKey", {Value("101")}, {{2, Value(i)}});
    run.commit();
  }
  std::vector<RunInfo> runs = listRuns(db);
  ASSERT_EQ(runs.size(), 100u);
  EXPECT_EQ(runs.front().function, "Small 110");
  EXPECT_EQ(runs.back().function, "Small 11");

  const std::string photo(1 << 20, 'p');  // 2 MiB kept for each run below: before and after
  for (int i = 0; i < 52; ++i) {
    store::Run run(db, "Large " + std::to_string(i + 1));
    store::updateWhereKey(db, "Rooms", "PrimaryKey", {Value("101")},
                          {{5, Value::binary(photo + std::to_string(i))}});
    run.commit();
  }
  runs = listRuns(db);
  EXPECT_EQ(runs.size(), 50u) << "the last 50 runs are kept although they pass 64 MiB";
  EXPECT_EQ(runs.front().function, "Large 52");
  EXPECT_EQ(runs.back().function, "Large 3");
  ASSERT_TRUE(undoLatest(db).ok());
  Table rooms = db.openTable("Rooms");
  rooms.setIndex("PrimaryKey");
  rooms.seek({Value("101")});
  EXPECT_EQ(rooms.field("Photo").bytes(), photo + "50");
}

// While one connection's run holds the file, an undo on another connection waits for it, then
// undoes that run; when the wait is too long it is refused, and nothing is lost either way.
TEST_F(HistoryTest, AnUndoWaitsForARunOnAnotherConnection) {
  const std::string before = dump(db);
  Database tool = Database::open(path);
  {
    store::Run run(tool, "Slow");
    store::updateWhereUpperText(tool, "Rooms", "Name", Value("SLOW"), "ROOM");
    auto undo = std::async(std::launch::async, [this] {
      Database other = Database::open(path);
      return undoLatest(other);
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    run.commit();
    const UndoResult result = undo.get();
    ASSERT_TRUE(result.ok()) << result.message();
    EXPECT_EQ(result.run->function, "Slow");
  }
  EXPECT_EQ(dump(db), before);

  store::Run held(tool, "Held");
  store::updateWhereUpperText(tool, "Rooms", "Name", Value("HELD"), "ROOM");
  Database other = Database::open(path);
  other.setBusyTimeout(200);
  const UndoResult refused = undoLatest(other);
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.message().find("Another program is writing"), std::string::npos)
      << refused.message();
  EXPECT_EQ(refused.failure->code() & 0xFF, store::code::busy) << "the engine's code stays";
  held.commit();
  EXPECT_EQ(latestUndoable(other)->function, "Held");
}

}  // namespace
