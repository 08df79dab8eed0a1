#include "commands.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "check_command.h"
#include "export.h"
#include "history_commands.h"
#include "import.h"
#include "import_mdb.h"
#include "migrate.h"
#include "new_database.h"
#include "sample/sample.h"
#include "store/error.h"
#include "store/schema.h"
#include "store/text_case.h"

namespace dbtool {
namespace {

namespace fs = std::filesystem;

constexpr int maxRooms = 1000000;
constexpr int maxBanks = 1000;

std::uint64_t wholeNumber(const std::string& option, const std::string& text,
                          std::uint64_t largest) {
  std::uint64_t number = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || result.ec != std::errc() || result.ptr != text.data() + text.size() ||
      number > largest) {
    throw store::Error(store::Fault::Usage, option + " takes a whole number from 0 to " +
                                                std::to_string(largest) + ", not '" + text + "'");
  }
  return number;
}

void say(Output& out, const std::string& line) {
  out.buffer() += line;
  out.buffer() += '\n';
  out.flush();
}

void create(const std::vector<std::string>& args, Output& out) {
  if (args.size() != 3 || (args[1] != "building" && args[1] != "account")) {
    throw store::Error(store::Fault::Usage, "create takes 'building' or 'account' and a file");
  }
  const std::string& path = args[2];
  refuseExisting(path);
  try {
    if (args[1] == "building") {
      store::schema::createBuildingDatabase(path);
    } else {
      store::schema::createAccountDatabase(path);
    }
  } catch (...) {
    removeDatabaseFiles(path);  // the path was free before
    throw;
  }
  say(out, path + ": an empty " + args[1] + " database");
}

void writeSample(const std::vector<std::string>& args, Output& out) {
  sample::Options options;
  std::string file, account;
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string option = args[i], value;
    const auto equals = option.find('=');
    const bool named = option.rfind("--", 0) == 0;
    if (named && equals != std::string::npos) {
      value = option.substr(equals + 1);
      option.resize(equals);
    } else if (named) {
      if (i + 1 == args.size()) throw store::Error(store::Fault::Usage, option + " needs a value");
      value = args[++i];
    }
    if (!named) {
      if (!file.empty())
        throw store::Error(store::Fault::Usage,
                           "sample takes one file, not '" + file + "' and '" + option + "'");
      file = option;
    } else if (option == "--rooms") {
      options.rooms = static_cast<int>(wholeNumber(option, value, maxRooms));
    } else if (option == "--banks") {
      options.banks = static_cast<int>(wholeNumber(option, value, maxBanks));
    } else if (option == "--seed") {
      options.variant = wholeNumber(option, value, UINT64_MAX);
    } else if (option == "--account") {
      if (value.empty()) throw store::Error(store::Fault::Usage, "--account needs a file");
      account = value;
    } else {
      throw store::Error(store::Fault::Usage, "sample has no option '" + option + "'");
    }
  }
  if (file.empty()) throw store::Error(store::Fault::Usage, "sample needs the file to write");
  refuseExisting(file);
  const std::string code = buildingCodeOf(file);
  if (!account.empty()) {
    refuseExisting(account);
    if (fs::absolute(file).lexically_normal() == fs::absolute(account).lexically_normal()) {
      throw store::Error(store::Fault::Input,
                         "the building and the account database cannot be one file");
    }
    const std::size_t length = store::characterCount(code);
    const auto size = store::schema::accountTable().fields[1].size;
    if (length == 0 || length > static_cast<std::size_t>(size)) {
      throw store::Error(store::Fault::Input,
                         "the building code '" + code + "' (the name of '" + file +
                             "' between \"JOX_\" and \".MDB\") must have 1 to " +
                             std::to_string(size) +
                             " characters to be listed in an account database");
    }
  }
  sample::writeBuilding(file, options);
  if (!account.empty()) {
    try {
      sample::writeAccount(account, {code}, options.variant);
    } catch (...) {
      removeDatabaseFiles(file);
      throw;
    }
  }
  say(out, file + ": " + std::to_string(options.rooms) + " rooms, " +
               std::to_string(options.banks) + " banks, " +
               std::to_string(static_cast<long long>(options.rooms) * options.banks) +
               " inventory records" +
               (account.empty() ? "" : "; " + account + ": users of building " + code));
}

void exportFile(const std::vector<std::string>& args, Output& out) {
  if (args.size() != 2) throw store::Error(store::Fault::Usage, "export takes one database file");
  if (!exportJet(args[1], out)) exportDatabase(args[1], out);
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

void importFile(const std::vector<std::string>& args, Input& in, Output& out) {
  if (args.size() != 3)
    throw store::Error(
        store::Fault::Usage,
        "import takes a JSON document (or - for standard input) and a new database file");
  const std::string& json = args[1];
  const std::string& target = args[2];
  refuseExisting(target);
  const std::string source = json == "-" ? "standard input" : "'" + json + "'";
  std::unique_ptr<std::FILE, FileCloser> file;
  std::unique_ptr<FileInput> fileInput;
  Input* input = &in;
  if (json != "-") {
    std::error_code error;
    if (fs::is_directory(json, error))
      throw store::Error(store::Fault::Input, source + " is a folder, not a JSON document");
    file.reset(std::fopen(json.c_str(), "rb"));
    if (!file)
      throw store::Error(store::Fault::Input,
                         "cannot read " + source + ": " + std::strerror(errno));
    fileInput = std::make_unique<FileInput>(file.get(), source);
    input = fileInput.get();
  }
  ImportCounts counts;
  try {
    counts = importDocument(*input, target);
  } catch (const store::Error& error) {
    // Faults of the document begin with their place ("line 4, column 9: ..."); those of the
    // target file come as the engine's errors that name it, and go on as they are.
    if (!error.is(store::Fault::Input)) throw;
    const std::string what = error.what();
    const std::string where = what.rfind("line ", 0) == 0 ? source + ", " : source + ": ";
    throw store::Error(store::Fault::Input, where + what + "; '" + target + "' was not written");
  }
  say(out, target + ": " + std::to_string(counts.tables) + " tables, " +
               std::to_string(counts.records) + " records");
}

// A refused command: its message, and nothing of an export's unwritten rest.
int refused(const std::exception& error, Output& out, std::ostream& err) {
  out.buffer().clear();
  err << "roomkit-db: " << error.what() << "\n";
  return 1;
}

}  // namespace

std::string buildingCodeOf(const std::string& path) {
  const std::string name = fs::path(path).filename().string();
  const std::string upper = store::toUpper(name);
  if (upper.size() > 8 && upper.rfind("JOX_", 0) == 0 &&
      upper.compare(upper.size() - 4, 4, ".MDB") == 0) {
    return name.substr(4, name.size() - 8);
  }
  return fs::path(name).stem().string();
}

const char* usageText() {
  return "usage: roomkit-db create building FILE\n"
         "       roomkit-db create account FILE\n"
         "       roomkit-db sample FILE [--rooms N] [--banks N] [--seed N] [--account FILE]\n"
         "       roomkit-db export FILE\n"
         "       roomkit-db import JSON FILE\n"
         "       roomkit-db import-mdb JET FILE\n"
         "       roomkit-db migrate FOLDER\n"
         "       roomkit-db history FILE\n"
         "       roomkit-db undo FILE\n"
         "       roomkit-db check [--json] [--mend] FILE\n"
         "\n"
         "  create  writes an empty building or account database.\n"
         "  sample  writes a building database of sample rooms (300 rooms and 5 inventory banks\n"
         "          unless told), the same content for the same --seed; --account also writes an\n"
         "          account database whose users may open it under its building code (the file\n"
         "          name between \"JOX_\" and \".MDB\").\n"
         "  export  writes the whole database as one JSON document on standard output; a Jet\n"
         "          (Access .mdb) database is read too, and only read.\n"
         "  import  makes a new database from such a document (JSON is a path, or - for standard\n"
         "          input); export of the result gives the document back.\n"
         "  import-mdb  makes a new database from a Jet database (Access 97 to 2003): every table\n"
         "          with its fields, records and indexes; prints each table and the totals.\n"
         "  migrate converts every Jet database of a data folder (JOX_*.MDB and JOXINIT.MDB) in\n"
         "          place as roomkit does on opening, keeping each original as <name>.jet; files\n"
         "          converted before are passed over. Exits 1 when any file was refused.\n"
         "  history lists the runs of the tools that the database's change history holds, newest\n"
         "          first, with the records each changed per table and whether it was undone.\n"
         "  undo    undoes the newest run not yet undone; it is refused, and nothing changes, "
         "when\n"
         "          a record it would put back has changed since.\n"
         "  check   lists what the database holds half done: records of rooms that do not exist,\n"
         "          rooms without a time record, codes without a description, sort values and\n"
         "          banks that are not listed, malformed and duplicate room numbers, and what the\n"
         "          engine's integrity check reports; --json writes them as one JSON document.\n"
         "          --mend also mends what has one sound mend, as one run that undo takes back.\n"
         "          Exits 0 when nothing is found (or left), 1 when something is, 2 when the\n"
         "          database could not be checked.\n"
         "\n"
         "No command writes over an existing file, and a refused one leaves no file behind.\n";
}

int run(const std::vector<std::string>& args, Input& in, Output& out, std::ostream& err) {
  try {
    if (args.empty()) throw store::Error(store::Fault::Usage, "");
    const std::string& command = args[0];
    if (command == "help" || command == "--help" || command == "-h") {
      out.buffer() += usageText();
      out.flush();
      return 0;
    }
    if (command == "create") {
      create(args, out);
    } else if (command == "sample") {
      writeSample(args, out);
    } else if (command == "export") {
      exportFile(args, out);
    } else if (command == "import") {
      importFile(args, in, out);
    } else if (command == "import-mdb") {
      if (args.size() != 3)
        throw store::Error(store::Fault::Usage,
                           "import-mdb takes a Jet database and a new database file");
      importMdb(args[1], args[2], out);
    } else if (command == "migrate") {
      if (args.size() != 2) throw store::Error(store::Fault::Usage, "migrate takes one folder");
      return migrateFolder(args[1], out) == 0 ? 0 : 1;
    } else if (command == "check") {
      std::string why;
      const auto request = checkRequest(args, why);
      if (!request) throw store::Error(store::Fault::Usage, why);
      return runCheck(*request, out, err);
    } else if (command == "history" || command == "undo") {
      if (args.size() != 2)
        throw store::Error(store::Fault::Usage, command + " takes one database file");
      if (command == "history") {
        listHistory(args[1], out);
      } else {
        undoNewestRun(args[1], out);
      }
    } else {
      throw store::Error(store::Fault::Usage, "unknown command '" + command + "'");
    }
    return 0;
  } catch (const store::Error& error) {
    if (!error.is(store::Fault::Usage)) return refused(error, out, err);
    if (*error.what()) err << "roomkit-db: " << error.what() << "\n";
    err << usageText();
    return 2;
  } catch (const std::exception& error) {
    return refused(error, out, err);
  }
}

}  // namespace dbtool
