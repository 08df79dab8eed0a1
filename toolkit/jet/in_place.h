// A Jet file replaced by its conversion under its own name, the original kept byte for byte as
// "<name>.jet" beside it. The new file is made first under a hidden name; putting it in place is
// a hard link of the original to its ".jet" name and one rename over the original, so that a
// process killed at any point leaves the file either converted or as it was.
#pragma once

#include <string>

#include "convert.h"

namespace jet {

// Where the original is kept: the file's name with ".jet" appended.
std::string keptPath(const std::string& path);

// A finished conversion beside the original, waiting to take its place.
class Replacement {
 public:
  // Converts `path` beside it. Throws Error (TargetExists) when "<name>.jet" exists, unless it is
  // the original itself under a second name, which an interrupted replacement leaves and which
  // goes; and Error as convert() does.
  Replacement(const std::string& path, const Progress& progress = {}, const Limits& limits = {});
  // Removes the new file unless it took the original's place.
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  const Summary& summary() const { return summary_; }
  // Keeps the original as "<name>.jet" and gives the new file its name. Throws Error
  // (Unwritable), and then the original is where it was.
  void commit();

 private:
  std::string path_;
  std::string staging_;
  Summary summary_;
  bool committed_ = false;
};

}  // namespace jet
