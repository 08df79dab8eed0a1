// A small fixed generator (splitmix64), so that the same options give the same content with every
// compiler and standard library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sample::detail {

// One stream per part of the content, so that a change to one part leaves the others as they were.
enum Stream : std::uint64_t {
  layoutStream = 1,
  scheduleStream,
  areaStream,
  projectStream,
  inventoryStream,
  timeStream,
  accountStream,
};

class Random {
 public:
  // Separate streams of one variant stay independent of each other's use.
  Random(std::uint64_t variant, std::uint64_t stream)
      : state_(variant ^ (stream * 0xD1B54A32D192ED03ull)) {
    next();
  }

  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }

  // 0 .. n-1 (n > 0).
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  // lo .. hi inclusive.
  int between(int lo, int hi) { return lo + below(hi - lo + 1); }
  // True in `percent` of a hundred calls.
  bool chance(int percent) { return below(100) < percent; }

  template <typename T>
  const T& pick(const std::vector<T>& items) {
    return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
  }

 private:
  std::uint64_t state_;
};

}  // namespace sample::detail
