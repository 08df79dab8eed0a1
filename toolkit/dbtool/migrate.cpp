#include "migrate.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "jet/in_place.h"
#include "jet/jet_file.h"
#include "store/error.h"
#include "store/text_case.h"

namespace dbtool {
namespace {

namespace fs = std::filesystem;

bool isSuiteDatabase(const std::string& name) {
  const std::string upper = store::toUpper(name);
  if (upper == "JOXINIT.MDB") return true;
  return upper.size() > 8 && upper.rfind("JOX_", 0) == 0 &&
         upper.compare(upper.size() - 4, 4, ".MDB") == 0;
}

bool isStoreFile(const fs::path& path) {
  char start[16] = {};
  std::ifstream in(path, std::ios::binary);
  return in.read(start, sizeof start) && std::memcmp(start, "SQLite format 3", 16) == 0;
}

std::string plural(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// The new files that a run killed before it finished left beside `file`.
void removeLeftovers(const fs::path& folder, const std::string& file) {
  const std::string prefix = "." + file + ".converting-";
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    if (entry.path().filename().string().rfind(prefix, 0) == 0) fs::remove(entry.path(), error);
  }
}

}  // namespace

int migrateFolder(const std::string& folder, Output& out) {
  std::error_code error;
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder, error)) {
    const std::string name = entry.path().filename().string();
    if (isSuiteDatabase(name) && entry.is_regular_file(error)) names.push_back(name);
  }
  if (error)
    throw store::Error(store::Fault::Input,
                       "cannot list the folder '" + folder + "': " + error.message());
  std::sort(names.begin(), names.end());

  std::size_t converted = 0, ours = 0, refused = 0;
  std::string& text = out.buffer();
  for (std::size_t i = 0; i < names.size(); ++i) {
    const fs::path path = fs::path(folder) / names[i];
    text +=
        "[" + std::to_string(i + 1) + "/" + std::to_string(names.size()) + "] " + names[i] + ": ";
    if (!jet::isJetFile(path.string())) {
      if (isStoreFile(path)) {
        ++ours;
        text += "already converted\n";
      } else {
        ++refused;
        text += "refused: it is neither a Jet database nor one of roomkit's\n";
      }
      out.flush();
      continue;
    }
    try {
      removeLeftovers(path.parent_path(), names[i]);
      jet::Replacement replacement(path.string());
      replacement.commit();
      const jet::Summary& summary = replacement.summary();
      ++converted;
      text += "converted, " + plural(summary.tables.size(), "table", "tables") + ", " +
              plural(static_cast<std::size_t>(summary.records), "record", "records") +
              "; the original is " + names[i] + ".jet\n";
      for (const jet::TableSummary& table : summary.tables) {
        for (const std::string& why : table.leftOut)
          text += "  " + table.name + ": " + why + "; left out\n";
      }
    } catch (const store::Error& refusal) {
      // A refused file is told and counted, and the next one is converted.
      if (!refusal.refusesJet()) throw;
      ++refused;
      text += std::string("refused: ") + refusal.what() + "\n";
    }
    out.flush();
  }
  text += folder + ": " + std::to_string(converted) + " converted, " + std::to_string(ours) +
          " already converted, " + std::to_string(refused) + " refused\n";
  out.flush();
  return static_cast<int>(refused);
}

}  // namespace dbtool
