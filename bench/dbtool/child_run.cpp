#include "child_run.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace bench {

ChildRun runInChild(const std::function<void()>& work) {
  int channel[2];
  if (pipe(channel) != 0) throw std::runtime_error("no pipe");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) throw std::runtime_error("no fork");
  if (child == 0) {
    close(channel[0]);
    char report[512] = {};
    int status = 0;
    try {
      const auto start = std::chrono::steady_clock::now();
      work();
      const double seconds =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      std::snprintf(report, sizeof report, "ok %.6f", seconds);
    } catch (const std::exception& error) {
      std::snprintf(report, sizeof report, "error %s", error.what());
      status = 1;
    }
    if (write(channel[1], report, std::strlen(report)) < 0) status = 2;
    _exit(status);
  }
  close(channel[1]);
  std::string report;
  char buffer[512];
  for (ssize_t got; (got = read(channel[0], buffer, sizeof buffer)) > 0;)
    report.append(buffer, got);
  close(channel[0]);
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  ChildRun run;
  if (report.rfind("ok ", 0) != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(report.empty() ? "the child died" : report);
  }
  run.seconds = std::stod(report.substr(3));
  run.maxRssKb = usage.ru_maxrss;
  auto seconds = [](const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
  };
  run.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  return run;
}

}  // namespace bench
