// Combine Rooms on the 20,000-room, 25-bank sample: 50 rooms merged into one existing room with
// deletion, beside plain prepared SQL making the same writes on a second copy in the same run.
// At the end the two copies must hold the same records.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plain_merge.h"
#include "sample/sample.h"
#include "store/database.h"
#include "store/engine/handle.h"
#include "store/schema.h"
#include "store/table.h"
#include "tools/combine_rooms_work.h"

namespace fs = std::filesystem;
namespace sch = store::schema;
namespace work = roomkit::combine_rooms;

namespace {

double seconds(const std::function<void()>& job) {
  const auto start = std::chrono::steady_clock::now();
  job();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

[[noreturn]] void die(const std::string& why) {
  std::fprintf(stderr, "%s\n", why.c_str());
  std::exit(1);
}

}  // namespace

int main() {
  const fs::path dir =
      fs::temp_directory_path() / ("roomkit-bench-combine-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const sample::Options options{20000, 25, 1};
  const std::string ours = (dir / "JOX_TOOL.MDB").string();
  const std::string plain = (dir / "JOX_PLAIN.MDB").string();
  std::printf("writing the sample (%d rooms, %d banks)...\n", options.rooms, options.banks);
  sample::writeBuilding(ours, options);
  fs::copy_file(ours, plain);

  // The target and 50 sources spread over the building; the target is ticked too.
  const std::vector<std::string> numbers = sample::roomNumbers(options);
  const std::string target = numbers[numbers.size() / 2];
  std::vector<std::string> sources;
  for (std::size_t i = 0; sources.size() < 50; i += numbers.size() / 53) {
    if (numbers[i] != target) sources.push_back(numbers[i]);
  }
  work::MergePlan plan{sources, target, std::nullopt, true};
  plan.ticked.push_back(target);

  double prepareTime = 0, toolTime = 0, plainTime = 0;
  {
    store::Database db = store::Database::open(ours);
    store::Table info = db.openTable(sch::roomInfo);
    info.setIndex(sch::primaryKey);
    store::Table inventory = db.openTable(sch::roomInventory);
    store::Table banks = db.openTable(sch::inventoryBanks);
    store::Table time = db.openTable(sch::roomTime);
    work::TargetTables own(db);
    work::CombineLog log(ours + ".log");
    prepareTime = seconds([&] {
      if (const store::Outcome prepared = log.prepare(); !prepared.ok()) die(prepared.message());
    });
    work::MergeResult result;
    toolTime = seconds([&] {
      result = work::mergeRooms(db, {info, inventory, banks, time}, own, plan, log);
    });
    if (!result.ok()) die(result.message());
    if (result.merged != 50) die("merged " + std::to_string(result.merged) + " rooms, not 50");
  }
  {
    store::Database db = store::Database::open(plain);
    plainTime =
        seconds([&] { combinebench::plainMerge(store::engineHandle(db), sources, target); });
  }

  std::printf("log prepared (new log)                        %7.4f s\n", prepareTime);
  std::printf("%-46s tool %7.3f s   plain SQL %7.3f s   ratio %5.2f\n",
              "merge 50 rooms into one, with deletion", toolTime, plainTime, toolTime / plainTime);

  store::Database a = store::Database::open(ours);
  store::Database b = store::Database::open(plain);
  const bool same = combinebench::contentOf(store::engineHandle(a)) ==
                    combinebench::contentOf(store::engineHandle(b));
  std::printf("both copies hold the same records: %s\n", same ? "yes" : "NO");
  a.close();
  b.close();
  fs::remove_all(dir);
  return same ? 0 : 1;
}
