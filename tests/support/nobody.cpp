#include "support/nobody.h"

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

#include <exception>
#include <stdexcept>

namespace testsupport {

namespace {

struct Ids {
  uid_t user = 65534;
  gid_t group = 65534;
};

Ids nobody() {
  Ids ids;
  if (const passwd* entry = getpwnam("nobody")) {
    ids.user = entry->pw_uid;
    ids.group = entry->pw_gid;
  }
  return ids;
}

}  // namespace

bool userMayWrite(const std::filesystem::path& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

RunAsNobody::RunAsNobody() {
  if (geteuid() != 0) return;
  const int count = getgroups(0, nullptr);
  groups_.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
  if (count > 0 && getgroups(count, groups_.data()) < 0) groups_.clear();
  const Ids ids = nobody();
  // The group first, while the process may still change it; the saved ids stay root's. Where
  // the system refuses, the process stays root and the folders stay writable, which the tests
  // see and report.
  if (setgroups(0, nullptr) == 0 && setresgid(ids.group, ids.group, 0) == 0 &&
      setresuid(ids.user, ids.user, 0) == 0) {
    switched_ = true;
    return;
  }
  if (setresgid(0, 0, 0) != 0 || setgroups(groups_.size(), groups_.data()) != 0) std::terminate();
}

RunAsNobody::~RunAsNobody() {
  if (!switched_) return;
  // Back to root first: only root may give the groups back.
  if (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0 ||
      setgroups(groups_.size(), groups_.data()) != 0) {
    std::terminate();  // the rest of the tests would run with the wrong rights
  }
}

void makeFolder(const std::filesystem::path& path, bool writable) {
  namespace fs = std::filesystem;
  fs::create_directories(path);
  if (geteuid() != 0) {
    fs::permissions(path, writable ? fs::perms(0755) : fs::perms(0555));
    return;
  }
  fs::permissions(path.parent_path(), fs::perms(0755));
  fs::permissions(path, fs::perms(0755));
  const Ids owner = writable ? nobody() : Ids{0, 0};
  if (chown(path.c_str(), owner.user, owner.group) != 0) {
    throw std::runtime_error("cannot hand " + path.string() + " over");
  }
}

}  // namespace testsupport
