// roomkit-db export and import on the 20,000-room, 25-bank sample, each beside its plain
// counterpart: a SELECT walk that writes the same document with stdio formatting, and prepared
// inserts of the same records in one transaction. Every run is a child process of its own, so
// that its peak memory (max RSS) is its own; times are wall-clock medians. --large repeats it on a
// sample ten times larger, to show that the memory stays bounded.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "child_run.h"
#include "dbtool/byte_io.h"
#include "dbtool/export.h"
#include "dbtool/import.h"
#include "plain_export.h"
#include "plain_import.h"
#include "sample/sample.h"

namespace fs = std::filesystem;

namespace {

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Timed {
  std::vector<double> seconds, cpuSeconds;
  long maxRssKb = 0;

  void add(const bench::ChildRun& run) {
    seconds.push_back(run.seconds);
    cpuSeconds.push_back(run.cpuSeconds);
    maxRssKb = std::max(maxRssKb, run.maxRssKb);
  }
};

// Processor time is the steadier figure on a shared machine; wall-clock time is what a user waits.
void report(const char* what, const Timed& ours, const char* plainName, const Timed& plain) {
  const double cpu = median(ours.cpuSeconds), plainCpu = median(plain.cpuSeconds);
  const double wall = median(ours.seconds), plainWall = median(plain.seconds);
  std::printf(
      "%s: roomkit-db %.2f s processor (%.2f s wall), max RSS %ld MB; %s %.2f s "
      "processor (%.2f s wall), max RSS %ld MB; ratio %.2f processor (%.2f wall)\n",
      what, cpu, wall, ours.maxRssKb / 1024, plainName, plainCpu, plainWall, plain.maxRssKb / 1024,
      cpu / plainCpu, wall / plainWall);
}

bool sameFiles(const std::string& a, const std::string& b) {
  std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
  std::vector<char> bx(1 << 20), by(1 << 20);
  for (;;) {
    x.read(bx.data(), static_cast<std::streamsize>(bx.size()));
    y.read(by.data(), static_cast<std::streamsize>(by.size()));
    if (x.gcount() != y.gcount() || !std::equal(bx.begin(), bx.begin() + x.gcount(), by.begin()))
      return false;
    if (x.gcount() == 0) return true;
  }
}

// Runs the work on the file opened in that mode, and closes it.
template <typename Work>
void withFile(const std::string& path, const char* mode, Work work) {
  std::FILE* file = std::fopen(path.c_str(), mode);
  if (!file) throw std::runtime_error("cannot open " + path);
  work(file);
  if (std::fclose(file) != 0) throw std::runtime_error("cannot write " + path);
}

void exportTo(const std::string& database, const std::string& json) {
  withFile(json, "wb", [&](std::FILE* file) {
    dbtool::FileOutput out(file, json);
    dbtool::exportDatabase(database, out);
  });
}

void plainExportTo(const std::string& database, const std::string& json) {
  withFile(json, "wb", [&](std::FILE* file) { bench::plainExport(database, file); });
}

void importFrom(const std::string& json, const std::string& database) {
  withFile(json, "rb", [&](std::FILE* file) {
    dbtool::FileInput in(file, json);
    dbtool::importDocument(in, database);
  });
}

// Each round runs both, the first of them in turn, so that neither always finds the other's
// pages cached.
template <typename One, typename Other>
void alternate(int rounds, One one, Other other) {
  for (int i = 0; i < rounds; ++i) {
    if (i % 2 == 0) {
      one();
      other();
    } else {
      other();
      one();
    }
  }
}

void removeDatabase(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) fs::remove(path + suffix);
}

void measure(const fs::path& dir, int rooms, int runs) {
  const sample::Options options{rooms, 25, 1};
  const std::string base = (dir / "JOX_BASE.MDB").string();
  const std::string ours = (dir / "ours.json").string(), plain = (dir / "plain.json").string();
  const std::string target = (dir / "JOX_COPY.MDB").string();
  bench::runInChild([&] { sample::writeBuilding(base, options); });
  Timed exportOurs, exportPlain, importOurs, importPlain;
  alternate(
      runs, [&] { exportOurs.add(bench::runInChild([&] { exportTo(base, ours); })); },
      [&] { exportPlain.add(bench::runInChild([&] { plainExportTo(base, plain); })); });
  std::printf("sample: %d rooms, %d banks, %.0f MB; document %.0f MB%s\n", rooms, options.banks,
              static_cast<double>(fs::file_size(base)) / 1e6,
              static_cast<double>(fs::file_size(ours)) / 1e6,
              sameFiles(ours, plain) ? "" : "   (the plain walk wrote a different document!)");
  fs::remove(plain);
  alternate(
      runs,
      [&] {
        removeDatabase(target);
        importOurs.add(bench::runInChild([&] { importFrom(ours, target); }));
      },
      [&] {
        removeDatabase(target);
        importPlain.add(bench::runInChild([&] { bench::plainImport(base, target); }));
      });
  report("export", exportOurs, "plain SQL walk", exportPlain);
  report("import", importOurs, "plain inserts", importPlain);
  removeDatabase(target);
  removeDatabase(base);
  fs::remove(ours);
}

}  // namespace

int main(int argc, char** argv) {
  const bool large = argc > 1 && std::string(argv[1]) == "--large";
  if (argc > 2 || (argc == 2 && !large)) {
    std::fprintf(stderr, "usage: bench_dbtool [--large]\n");
    return 2;
  }
  const fs::path dir = fs::temp_directory_path() / ("bench_dbtool_" + std::to_string(getpid()));
  fs::create_directories(dir);
  int status = 0;
  try {
    measure(dir, 20000, 3);
    if (large) measure(dir, 200000, 1);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_dbtool: %s\n", error.what());
    status = 1;
  }
  fs::remove_all(dir);
  return status;
}
