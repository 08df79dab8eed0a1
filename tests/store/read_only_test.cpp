// A file that the user may only read, as on a read-only share or a copy from a CD: it opens for
// reading without writing anything beside it, its records are read (those still in its journal
// too), and every write is refused; a file that may be written opens as before.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "store/database.h"
#include "store/history.h"
#include "store/schema.h"
#include "store/table.h"
#include "support/nobody.h"
#include "support/temp_dir.h"

using namespace store;
namespace fs = std::filesystem;

namespace {

struct Case {
  const char* name;
  bool journal;         // a "-wal" and a "-shm" lie beside the file, the newest record in them
  bool shm;             // the "-shm" is there (with the journal)
  bool fileWritable;    // by the user; the folder never is
  const char* refusal;  // of a reading open; nullptr when it reads
};

class ReadOnlyTest : public ::testing::TestWithParam<Case> {
 protected:
  // The building with one record in a table of its own, copied into a folder the user may not
  // write while the writer still holds it, so that the copy's journal holds that record.
  std::string prepare(const Case& c) {
    const std::string source = dir.file("JOX_RO.MDB");
    schema::createBuildingDatabase(source);
    Database writer = Database::open(source);
    writer.createTable({"Extra", {{"Code", FieldType::Text, 10}}, {}});
    Table extra = writer.openTable("Extra");
    extra.addNew();
    extra.setField(0, Value("NEWEST"));
    extra.update();
    if (!c.journal) writer.close();  // the record goes from the journal into the file
    const fs::path folder = dir.path() / "share";
    testsupport::makeFolder(folder, true);
    for (const char* end : {"", "-wal", "-shm"}) {
      if (*end != '\0' && (!c.journal || (std::string(end) == "-shm" && !c.shm))) continue;
      fs::copy_file(source + end, folder / (std::string("JOX_RO.MDB") + end));
    }
    writer.close();
    const std::string copy = (folder / "JOX_RO.MDB").string();
    ::chmod(copy.c_str(), c.fileWritable ? 0666 : 0444);
    testsupport::makeFolder(folder, false);
    return copy;
  }

  static std::size_t filesIn(const fs::path& folder) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
  }

  testsupport::TempDir dir;
};

TEST_P(ReadOnlyTest, OpensForReadingAndRefusesEveryWrite) {
  const Case c = GetParam();
  const std::string path = prepare(c);
  const fs::path folder = fs::path(path).parent_path();
  const std::size_t files = filesIn(folder);
  testsupport::RunAsNobody nobody;
  if (testsupport::userMayWrite(folder)) GTEST_SKIP() << "the folder cannot be made read-only here";

  try {
    Database::open(path);
    FAIL() << "opened for writing";
  } catch (const Error& error) {
    EXPECT_NE(std::string(error.what()).find(path), std::string::npos) << error.what();
  }
  for (const Database::Access access : {Database::Access::Read, Database::Access::AsAllowed}) {
    std::optional<Database> db;
    try {
      db = Database::open(path, access);
    } catch (const Error& error) {
      ASSERT_TRUE(c.refusal) << error.what();
      EXPECT_NE(std::string(error.what()).find(c.refusal), std::string::npos) << error.what();
      continue;
    }
    ASSERT_FALSE(c.refusal) << "read a file that it cannot read whole";
    EXPECT_TRUE(db->readOnly());
    Table extra = db->openTable("Extra");
    extra.moveFirst();
    ASSERT_FALSE(extra.eof()) << "the record in the journal is read";
    EXPECT_EQ(extra.field(0).toText(), "NEWEST");
    EXPECT_TRUE(listRuns(*db).empty());
    try {
      store::Run run(*db, "Refused");
      FAIL() << "a run began";
    } catch (const Error& error) {
      EXPECT_EQ(error.code(), code::readOnly);
    }
    EXPECT_THROW(
        {
          extra.addNew();
          extra.setField(0, Value("LATER"));
          extra.update();
        },
        Error);
  }
  EXPECT_EQ(filesIn(folder), files) << "nothing is written beside the file";
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadOnlyTest,
    ::testing::Values(Case{"ReadOnlyFile", false, false, false, nullptr},
                      Case{"WritableFileInAReadOnlyFolder", false, false, true, nullptr},
                      Case{"WithItsJournal", true, true, false, nullptr},
                      Case{"JournalWithoutItsSharedMemory", true, false, false, "its journal"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
