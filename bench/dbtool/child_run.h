// Runs a piece of work in a child process, so that its peak memory is its own and nothing it
// leaves (heap, page cache of its own writes aside) weighs on the next.
#pragma once

#include <functional>
#include <string>

namespace bench {

struct ChildRun {
  double seconds = 0;     // wall-clock time of the work alone, measured in the child
  double cpuSeconds = 0;  // the child's processor time (user and system), its start included
  long maxRssKb = 0;      // the child's peak resident memory
};

// Throws std::runtime_error with the child's message when the work throws or the child dies.
ChildRun runInChild(const std::function<void()>& work);

}  // namespace bench
