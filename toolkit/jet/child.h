// Running a piece of work in a forked process and relaying its events, so that a crash or a
// hang of the reading library on a damaged file ends that process and not the caller's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "events.h"

namespace jet::detail {

struct ChildEnd {
  enum class How {
    Exited,     // `code` is the exit status
    Signalled,  // `code` is the signal that ended it
    Stopped,    // the caller's handler asked to stop; the child was killed
    Silent,     // it sent no event for the time allowed and was killed
    Garbled,    // it sent bytes that are no event and was killed
    Lost,       // its end could not be learnt (the caller reaps children itself)
  };
  How how = How::Exited;
  int code = 0;
  std::string diagnostics;  // the end of what it wrote on standard output and error
};

// What the child may take, and what the caller does while it waits.
struct ChildLimits {
  // Only events count as life: a child that loops in the reading library writes warnings on
  // its diagnostics pipe without end, and must still be ended.
  int silenceSeconds = 30;
  // The child's data segment and private mappings (RLIMIT_DATA); 0 leaves the caller's limit.
  std::uint64_t memoryBytes = 0;
  // Runs in the caller's thread about ten times a second while the child works.
  std::function<void()> idle;
};

// Forks; the child runs `work` with the write end of the event pipe, its standard output and
// error going to a pipe of their own, and ends with _exit (status 1 when `work` throws). The
// child must not touch anything of the caller's but memory it was given: no Qt, no open
// database handles. The caller's thread runs `onEvent` for each event; returning false stops
// the child. An exception from `onEvent` or `idle` kills and reaps the child before it goes on.
ChildEnd runInChild(const std::function<void(int eventFd)>& work,
                    const std::function<bool(const Event&)>& onEvent, const ChildLimits& limits);

}  // namespace jet::detail
