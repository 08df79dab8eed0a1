// Folders that a program may or may not write into, for tests that must see the difference.
// Root may write into any folder whatever its mode, so when the tests run as root the part of a
// test that must be refused runs as the user "nobody" instead.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <vector>

namespace testsupport {

// Whether the current user may write into `folder`, asked of the system.
bool userMayWrite(const std::filesystem::path& folder);

// While it lives the process runs as "nobody" (user and group ids, no further groups) when the
// tests run as root; for any other user it changes nothing. The saved user id stays root, so
// that its end switches back.
class RunAsNobody {
 public:
  RunAsNobody();
  ~RunAsNobody();
  RunAsNobody(const RunAsNobody&) = delete;
  RunAsNobody& operator=(const RunAsNobody&) = delete;

 private:
  bool switched_ = false;
  std::vector<gid_t> groups_;
};

// Makes the new folder `path` one that the user under RunAsNobody may write into or not: as
// root by its owner (nobody or root, rwxr-xr-x, with its parent opened for reading), for any
// other user by its mode.
void makeFolder(const std::filesystem::path& path, bool writable);

}  // namespace testsupport
