#include "import_mdb.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "export.h"
#include "jet/convert.h"
#include "jet/jet_file.h"
#include "new_database.h"
#include "store/error.h"

namespace dbtool {
namespace {

namespace fs = std::filesystem;

std::string count(std::int64_t number, const char* one, const char* many) {
  return std::to_string(number) + " " + (number == 1 ? one : many);
}

// A folder of its own under the temporary folder, removed with what is in it.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    const std::string pattern = (fs::temp_directory_path() / "roomkit-db-XXXXXX").string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data()))
      throw store::Error(store::Fault::Input, "no temporary folder for the conversion");
    path_ = name.data();
  }
  ~TemporaryFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

}  // namespace

void importMdb(const std::string& jet, const std::string& target, Output& out) {
  refuseExisting(target);
  jet::Summary summary;
  try {
    summary = jet::convert(jet, target);
  } catch (const store::Error& error) {
    if (!error.refusesJet()) throw;
    throw store::Error(error, std::string(error.what()) + "; '" + target + "' was not written");
  }
  std::string& text = out.buffer();
  for (const jet::TableSummary& table : summary.tables) {
    text += table.name + ": " + count(table.records, "record", "records") + ", " +
            count(table.indexes, "index", "indexes") + "\n";
    for (const std::string& why : table.leftOut)
      text += table.name + ": " + why + "; left out, while its records came in\n";
  }
  for (const std::string& name : summary.linkedTables) {
    text += name + ": a linked table, left out (its records live in another file)\n";
  }
  text += target + ": " +
          count(static_cast<std::int64_t>(summary.tables.size()), "table", "tables") + ", " +
          count(summary.records, "record", "records") + ", " +
          count(summary.indexes, "index", "indexes") + "\n";
  out.flush();
}

bool exportJet(const std::string& path, Output& out) {
  if (!jet::isJetFile(path)) return false;
  const TemporaryFolder folder;
  const std::string converted = folder.file("converted.db");
  jet::convert(path, converted);
  exportDatabase(converted, out);
  return true;
}

}  // namespace dbtool
