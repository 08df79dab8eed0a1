#include "in_place.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "store/error.h"

namespace jet {
namespace {

namespace fs = std::filesystem;

bool sameFile(const std::string& a, const std::string& b) {
  struct stat first {
  }, second{};
  return ::lstat(a.c_str(), &first) == 0 && ::lstat(b.c_str(), &second) == 0 &&
         first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::string stagingPath(const std::string& path) {
  const fs::path file(path);
  std::random_device random;
  char suffix[17];
  std::snprintf(suffix, sizeof suffix, "%08x%08x", random(), random());
  return (file.parent_path() / ("." + file.filename().string() + ".converting-" + suffix)).string();
}

}  // namespace

std::string keptPath(const std::string& path) { return path + ".jet"; }

Replacement::Replacement(const std::string& path, const Progress& progress, const Limits& limits)
    : path_(path), staging_(stagingPath(path)) {
  const std::string kept = keptPath(path);
  // A replacement killed between its link and its rename leaves the original under both names.
  if (sameFile(path, kept)) ::unlink(kept.c_str());
  std::error_code error;
  if (fs::exists(fs::symlink_status(kept, error))) {
    throw store::Error(store::Fault::TargetExists,
                       "'" + kept + "' already exists, and it is not written over");
  }
  summary_ = convert(path, staging_, progress, limits);
}

Replacement::~Replacement() {
  if (!committed_) std::remove(staging_.c_str());
}

void Replacement::commit() {
  const std::string kept = keptPath(path_);
  if (::link(path_.c_str(), kept.c_str()) != 0) {
    throw store::Error(store::Fault::Unwritable, "The original could not be renamed to " +
                                                     fs::path(kept).filename().string() + ".");
  }
  if (std::rename(staging_.c_str(), path_.c_str()) != 0) {
    ::unlink(kept.c_str());
    throw store::Error(store::Fault::Unwritable, "The converted database could not take the name " +
                                                     fs::path(path_).filename().string() + ".");
  }
  committed_ = true;
}

}  // namespace jet
