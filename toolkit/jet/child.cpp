#include "child.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "store/error.h"

namespace jet::detail {
namespace {

constexpr std::size_t keptDiagnostics = 4096;
constexpr auto idleInterval = std::chrono::milliseconds(100);

class Pipe {
 public:
  Pipe() {
    if (::pipe2(ends_, O_CLOEXEC) != 0) {
      throw store::Error(store::Fault::Unwritable,
                         std::string("no pipe to a converting process: ") + std::strerror(errno));
    }
  }
  ~Pipe() {
    closeRead();
    closeWrite();
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  int read() const { return ends_[0]; }
  int write() const { return ends_[1]; }
  void closeRead() { closeEnd(0); }
  void closeWrite() { closeEnd(1); }

 private:
  void closeEnd(int end) {
    if (ends_[end] >= 0) ::close(ends_[end]);
    ends_[end] = -1;
  }
  int ends_[2] = {-1, -1};
};

// Kills the child unless it was reaped, and reaps it.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  ~Child() {
    if (pid_ > 0) {
      ::kill(pid_, SIGKILL);
      reap();
    }
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;

  void kill() const { ::kill(pid_, SIGKILL); }
  // The raw wait status, or -1 when the child was reaped by someone else.
  int reap() {
    int status = 0;
    pid_t got;
    do {
      got = ::waitpid(pid_, &status, 0);
    } while (got < 0 && errno == EINTR);
    pid_ = 0;
    return got < 0 ? -1 : status;
  }

 private:
  pid_t pid_;
};

[[noreturn]] void runChild(const std::function<void(int)>& work, std::uint64_t memoryBytes,
                           Pipe& events, Pipe& output) {
  // A crash ends the child at once, whatever handlers the caller installed for itself.
  for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT, SIGPIPE}) ::signal(sig, SIG_DFL);
  sigset_t none;
  sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  // The reading library reads some buffers of a damaged file before it fills them. Zeroed new
  // memory makes it read what it would in a fresh process, whatever the caller's heap held, so
  // that one file reads the same way in every run.
  ::mallopt(M_PERTURB, 0xFF);
#if defined(__SANITIZE_ADDRESS__)
  // The address sanitizer maps its shadow of the whole address space as data, which no limit
  // on data fits; there the watchdog alone bounds the reader.
  memoryBytes = 0;
#endif
  if (memoryBytes > 0) {
    // An allocation past it fails, and the reader ends with an error instead of taking the
    // machine's memory.
    const rlimit limit{static_cast<rlim_t>(memoryBytes), static_cast<rlim_t>(memoryBytes)};
    ::setrlimit(RLIMIT_DATA, &limit);
  }
  events.closeRead();
  output.closeRead();
  ::dup2(output.write(), STDOUT_FILENO);
  ::dup2(output.write(), STDERR_FILENO);
  int status = 0;
  try {
    work(events.write());
  } catch (...) {
    // What the work did not send as a refusal ends the process with a failing status; the
    // parent then refuses the file with the last line the process wrote.
    status = 1;
  }
  ::_exit(status);
}

// Reads what is there; false at the end of the pipe.
bool drain(int fd, std::string& into) {
  char chunk[65536];
  const ssize_t got = ::read(fd, chunk, sizeof chunk);
  if (got < 0) return errno == EINTR || errno == EAGAIN;
  into.append(chunk, static_cast<std::size_t>(got));
  return got > 0;
}

}  // namespace

ChildEnd runInChild(const std::function<void(int eventFd)>& work,
                    const std::function<bool(const Event&)>& onEvent, const ChildLimits& limits) {
  Pipe events;
  Pipe output;
  const pid_t pid = ::fork();
  if (pid < 0) {
    throw store::Error(store::Fault::Unwritable,
                       std::string("no process for the conversion: ") + std::strerror(errno));
  }
  if (pid == 0) runChild(work, limits.memoryBytes, events, output);
  Child child(pid);
  events.closeWrite();
  output.closeWrite();

  ChildEnd end;
  std::string pending, diagnostics;
  bool eventsOpen = true, outputOpen = true, stopped = false, silent = false, garbled = false;
  using Clock = std::chrono::steady_clock;
  auto lastEvent = Clock::now();
  auto lastIdle = lastEvent;
  while ((eventsOpen || outputOpen) && !stopped && !silent && !garbled) {
    pollfd fds[2] = {{eventsOpen ? events.read() : -1, POLLIN, 0},
                     {outputOpen ? output.read() : -1, POLLIN, 0}};
    const int ready = ::poll(fds, 2, static_cast<int>(idleInterval.count()));
    if (ready < 0 && errno != EINTR) break;
    if (ready > 0 && outputOpen && fds[1].revents) {
      outputOpen = drain(output.read(), diagnostics);
      if (diagnostics.size() > 2 * keptDiagnostics)
        diagnostics.erase(0, diagnostics.size() - keptDiagnostics);
    }
    if (ready > 0 && eventsOpen && fds[0].revents) {
      eventsOpen = drain(events.read(), pending);
      while (!stopped && !garbled) {
        std::optional<Event> event;
        try {
          event = takeEvent(pending);
        } catch (const std::runtime_error&) {
          garbled = true;
          break;
        }
        if (!event) break;
        lastEvent = Clock::now();
        stopped = !onEvent(*event);
      }
    }
    const auto now = Clock::now();
    silent = now - lastEvent > std::chrono::seconds(limits.silenceSeconds);
    if (limits.idle && now - lastIdle >= idleInterval) {
      lastIdle = now;
      limits.idle();
    }
  }
  if (diagnostics.size() > keptDiagnostics)
    diagnostics.erase(0, diagnostics.size() - keptDiagnostics);
  end.diagnostics = std::move(diagnostics);
  if (stopped || silent || garbled) child.kill();
  const int status = child.reap();
  if (stopped) {
    end.how = ChildEnd::How::Stopped;
  } else if (silent) {
    end.how = ChildEnd::How::Silent;
  } else if (garbled) {
    end.how = ChildEnd::How::Garbled;
  } else if (status < 0) {
    end.how = ChildEnd::How::Lost;
  } else if (WIFSIGNALED(status)) {
    end.how = ChildEnd::How::Signalled;
    end.code = WTERMSIG(status);
  } else {
    end.code = WEXITSTATUS(status);
  }
  return end;
}

}  // namespace jet::detail
