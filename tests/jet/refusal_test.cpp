// Files that are not whole, sound Jet 3 or Jet 4 databases, and targets that are taken: each is
// refused with its reason and a message naming the file, nothing is left behind, the Jet file
// stays as it was and the caller's process goes on.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <functional>
#include <random>

#include "jet/convert.h"
#include "jet/jet_file.h"
#include "jet_support.h"
#include "support/temp_dir.h"

namespace {

using store::Fault;

constexpr std::size_t page = 4096;
constexpr std::size_t usersDefinitionPage = 25;  // where node-adodb.mdb keeps the table "Users"

std::string noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
  return bytes;
}

struct BadFile {
  const char* name;
  std::function<std::string(std::string)> make;  // from the bytes of node-adodb.mdb
  Fault reason;
};

std::string cut(std::string bytes, std::size_t size) { return bytes.substr(0, size); }

std::string withByte(std::string bytes, std::size_t at, unsigned char value) {
  bytes[at] = static_cast<char>(value);
  return bytes;
}

const BadFile badFiles[] = {
    {"empty", [](std::string) { return std::string(); }, Fault::NotJet},
    {"ten bytes", [](std::string b) { return cut(b, 10); }, Fault::NotJet},
    {"cut in the first page", [](std::string b) { return cut(b, 1000); }, Fault::CutShort},
    {"cut in a page", [](std::string b) { return cut(b, 100000); }, Fault::CutShort},
    {"one byte short", [](std::string b) { return cut(b, b.size() - 1); }, Fault::CutShort},
    {"cut before the catalogue", [](std::string b) { return cut(b, 2 * page); }, Fault::CutShort},
    {"cut before a table definition", [](std::string b) { return cut(b, 20 * page); },
     Fault::CutShort},
    {"cut before a record page", [](std::string b) { return cut(b, 27 * page); }, Fault::CutShort},
    {"cut before an index page", [](std::string b) { return cut(b, 28 * page); }, Fault::CutShort},
    {"zeroed header page", [](std::string b) { return std::string(page, '\0') + b.substr(page); },
     Fault::NotJet},
    {"zeroed signature", [](std::string b) { return std::string(24, '\0') + b.substr(24); },
     Fault::NotJet},
    {"text file",
     [](std::string) {
       std::string text;
       for (int i = 0; i < 500; ++i) text += "Room Number,Room Name\r\n101,OFFICE\r\n";
       return text;
     },
     Fault::NotJet},
    {"signature and version, then noise",
     [](std::string b) { return b.substr(0, 0x18) + noise(10 * page - 0x18, 1); }, Fault::Damaged},
    {"three true pages, then noise",
     [](std::string b) { return b.substr(0, 3 * page) + noise(b.size() - 3 * page, 2); },
     Fault::Damaged},
    {"version 7", [](std::string b) { return withByte(b, 0x14, 7); }, Fault::Version},
    {"Jet signature with an ACE version", [](std::string b) { return withByte(b, 0x14, 2); },
     Fault::Version},
    {"ACE signature",
     [](std::string b) { return withByte(b.replace(4, 15, "Standard ACE DB"), 0x14, 2); },
     Fault::Ace},
    // One byte of the usage map's place in the table definition makes libmdb (and mdb-export)
    // crash with a segmentation fault.
    {"a table definition that crashes libmdb",
     [](std::string b) { return withByte(b, usersDefinitionPage * page + 55, 0xD5); },
     Fault::Damaged},
};

class BadFiles : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadFiles, AreRefusedWithTheirReasonAndLeaveNothing) {
  testsupport::TempDir dir;
  testsupport::TempDir targets;
  const std::string bad = dir.file("bad.mdb");
  const std::string bytes =
      GetParam().make(testsupport::readFile(jettest::dataFile("node-adodb.mdb")));
  testsupport::writeFile(bad, bytes);
  const std::string target = targets.file("new.db");
  try {
    jet::convert(bad, target);
    ADD_FAILURE() << "converted";
  } catch (const store::Error& error) {
    EXPECT_EQ(error.fault(), GetParam().reason) << error.what();
    EXPECT_EQ(std::string(error.what()).rfind("'" + bad + "' ", 0), 0u) << error.what();
  }
  EXPECT_TRUE(jettest::namesIn(targets.path().string()).empty());
  EXPECT_EQ(testsupport::readFile(bad), bytes);
}

INSTANTIATE_TEST_SUITE_P(Refusals, BadFiles, ::testing::ValuesIn(badFiles), [](const auto& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return name;
});

std::string refusal(const std::string& from, const std::string& to) {
  try {
    jet::convert(from, to);
  } catch (const store::Error& error) {
    EXPECT_TRUE(error.refusesJet()) << error.what();
    return error.what();
  }
  return "converted";
}

TEST(RefusalMessages, SayWhatIsWrong) {
  testsupport::TempDir dir;
  const std::string good = testsupport::readFile(jettest::dataFile("node-adodb.mdb"));
  const std::string file = dir.file("a.mdb");
  testsupport::writeFile(file, cut(good, 100000));
  EXPECT_EQ(refusal(file, dir.file("a.db")),
            "'" + file + "' is cut short: 100000 bytes are not a whole number of 4096-byte pages");
  testsupport::writeFile(file, cut(good, 20 * page));
  EXPECT_EQ(refusal(file, dir.file("a.db")),
            "'" + file +
                "' is cut short: the definition of table 'Users' lies on page 25, past "
                "its last page 19");
  testsupport::writeFile(file, "hello\n");
  EXPECT_EQ(
      refusal(file, dir.file("a.db")),
      "'" + file + "' is not a Jet database: it lacks the \"Standard Jet DB\" signature at byte 4");
  testsupport::writeFile(file, withByte(good, 0x14, 7));
  EXPECT_EQ(refusal(file, dir.file("a.db")),
            "'" + file +
                "' is a Jet database of a version that cannot be read: its version "
                "number is 7, where Jet 3 has 0 and Jet 4 has 1");
  testsupport::writeFile(file, withByte(good, usersDefinitionPage * page + 55, 0xD5));
  EXPECT_EQ(refusal(file, dir.file("a.db"))
                .rfind("'" + file + "' is damaged: the reader failed on it", 0),
            0u);
}

// Cut at any page boundary, the file is refused, or all its records and definitions survived:
// a conversion never brings across part of a table.
TEST(CutAtAPage, IsRefusedOrComplete) {
  testsupport::TempDir dir;
  const std::string source = jettest::dataFile("node-adodb.mdb");
  jet::convert(source, dir.file("whole.db"));
  const auto whole = jettest::records(dir.file("whole.db"), "Users");
  const std::string bytes = testsupport::readFile(source);
  int refused = 0;
  for (std::size_t pages = 0; pages * page < bytes.size(); ++pages) {
    SCOPED_TRACE(std::to_string(pages) + " pages");
    const std::string file = dir.file("cut" + std::to_string(pages) + ".mdb");
    const std::string target = dir.file("cut" + std::to_string(pages) + ".db");
    testsupport::writeFile(file, cut(bytes, pages * page));
    try {
      jet::convert(file, target);
      EXPECT_EQ(jettest::records(target, "Users"), whole);
    } catch (const store::Error& error) {
      EXPECT_TRUE(error.refusesJet()) << error.what();
      ++refused;
      EXPECT_FALSE(std::filesystem::exists(target));
    }
  }
  EXPECT_GE(refused, 29);  // up to the last page that holds part of "Users"
}

class Targets : public ::testing::Test {
 protected:
  testsupport::TempDir dir;
  std::string source = jettest::dataFile("node-adodb.mdb");
};

TEST_F(Targets, AnExistingFileFolderOrLinkIsNeverReplaced) {
  const std::string file = dir.file("file.db");
  testsupport::writeFile(file, "keep me");
  std::filesystem::create_directory(dir.file("folder.db"));
  std::filesystem::create_symlink(dir.file("nowhere"), dir.file("link.db"));
  for (const std::string& target : {file, dir.file("folder.db"), dir.file("link.db")}) {
    try {
      jet::convert(source, target);
      ADD_FAILURE() << target << " was replaced";
    } catch (const store::Error& error) {
      EXPECT_EQ(error.fault(), Fault::TargetExists);
      EXPECT_EQ(std::string(error.what()),
                "'" + target +
                    "' exists; a conversion writes only a new file, never over an existing one");
    }
  }
  EXPECT_EQ(testsupport::readFile(file), "keep me");
  EXPECT_EQ(jettest::namesIn(dir.path().string()),
            (std::vector<std::string>{"file.db", "folder.db", "link.db"}));
}

TEST_F(Targets, AMissingFolderCannotBeWritten) {
  try {
    jet::convert(source, dir.file("missing/new.db"));
    ADD_FAILURE() << "converted";
  } catch (const store::Error& error) {
    EXPECT_EQ(error.fault(), Fault::Unwritable) << error.what();
  }
  EXPECT_TRUE(jettest::namesIn(dir.path().string()).empty());
}

TEST_F(Targets, AMissingFolderOrPipeSourceCannotBeRead) {
  std::filesystem::create_directory(dir.file("folder.mdb"));
  ASSERT_EQ(::mkfifo(dir.file("pipe.mdb").c_str(), 0600), 0);
  EXPECT_FALSE(jet::isJetFile(dir.file("pipe.mdb")));  // and does not wait for a writer
  for (const std::string& from :
       {dir.file("missing.mdb"), dir.file("folder.mdb"), dir.file("pipe.mdb")}) {
    try {
      jet::convert(from, dir.file("new.db"));
      ADD_FAILURE() << "converted";
    } catch (const store::Error& error) {
      EXPECT_EQ(error.fault(), Fault::Unreadable) << error.what();
    }
  }
  EXPECT_EQ(jettest::namesIn(dir.path().string()),
            (std::vector<std::string>{"folder.mdb", "pipe.mdb"}));
}

}  // namespace
