// A private folder beside the new file in which it is written under a temporary name, so that the
// file appears at its own name whole or not at all.
#pragma once

#include <string>

namespace jet::detail {

class Workspace {
 public:
  // Throws Error (Unwritable) when the target's folder takes no new folder.
  explicit Workspace(const std::string& target);
  // Removes whatever is still inside (the file and its -wal, -shm and -journal companions) and
  // the folder.
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  const std::string& file() const { return file_; }
  // Gives the finished file its name, never over anything that appeared there meanwhile
  // (Error TargetExists); throws Error (Unwritable) when it cannot.
  void publish(const std::string& target);

 private:
  std::string folder_;
  std::string file_;
};

// Throws Error (TargetExists) when anything, even a dangling link, is at the path.
void refuseExisting(const std::string& target);

}  // namespace jet::detail
