#include "workspace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

#include "store/error.h"

namespace jet::detail {
namespace {

namespace fs = std::filesystem;

[[noreturn]] void existing(const std::string& target) {
  throw store::Error(
      store::Fault::TargetExists,
      "'" + target + "' exists; a conversion writes only a new file, never over an existing one");
}

[[noreturn]] void unwritable(const std::string& target, int error) {
  throw store::Error(store::Fault::Unwritable,
                     "'" + target + "' cannot be written: " + std::strerror(error));
}

}  // namespace

void refuseExisting(const std::string& target) {
  std::error_code error;
  if (fs::exists(fs::symlink_status(target, error))) existing(target);
}

Workspace::Workspace(const std::string& target) {
  fs::path folder = fs::path(target).parent_path();
  if (folder.empty()) folder = ".";
  std::string name = (folder / ".roomkit-jet-XXXXXX").string();
  std::vector<char> buffer(name.begin(), name.end());
  buffer.push_back('\0');
  if (!::mkdtemp(buffer.data())) unwritable(target, errno);
  folder_ = buffer.data();
  file_ = folder_ + "/new.db";
}

Workspace::~Workspace() {
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::remove((file_ + suffix).c_str());
  ::rmdir(folder_.c_str());
}

void Workspace::publish(const std::string& target) {
  // A hard link never replaces an existing name; where the file system has none, a rename that
  // is told not to replace one.
  if (::link(file_.c_str(), target.c_str()) == 0) return;
  if (errno == EEXIST) existing(target);
  if (::renameat2(AT_FDCWD, file_.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return;
  if (errno == EEXIST) existing(target);
  unwritable(target, errno);
}

}  // namespace jet::detail
