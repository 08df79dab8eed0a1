#include "events.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace jet::detail {
namespace {

constexpr std::size_t frameHeader = 1 + 8 + 8 + 4;  // kind, first, second, text length
constexpr std::uint32_t longestText = 1 << 20;

void put(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

std::uint64_t get(const std::string& in, std::size_t at, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
  return value;
}

}  // namespace

bool writeEvent(int fd, const Event& event) {
  std::string frame;
  const auto length =
      static_cast<std::uint32_t>(std::min<std::size_t>(event.text.size(), longestText));
  frame += static_cast<char>(event.kind);
  put(frame, static_cast<std::uint64_t>(event.first), 8);
  put(frame, static_cast<std::uint64_t>(event.second), 8);
  put(frame, length, 4);
  frame.append(event.text, 0, length);
  for (std::size_t done = 0; done < frame.size();) {
    const ssize_t wrote = ::write(fd, frame.data() + done, frame.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

std::optional<Event> takeEvent(std::string& buffer) {
  if (buffer.size() < frameHeader) return std::nullopt;
  const auto kind = static_cast<unsigned char>(buffer[0]);
  const auto length = static_cast<std::uint32_t>(get(buffer, 17, 4));
  if (kind < static_cast<unsigned char>(Event::Kind::Total) ||
      kind > static_cast<unsigned char>(Event::Kind::LeftOut) || length > longestText) {
    throw std::runtime_error("the converting process sent bytes that are no message");
  }
  if (buffer.size() < frameHeader + length) return std::nullopt;
  Event event{static_cast<Event::Kind>(kind), static_cast<std::int64_t>(get(buffer, 1, 8)),
              static_cast<std::int64_t>(get(buffer, 9, 8)), buffer.substr(frameHeader, length)};
  buffer.erase(0, frameHeader + length);
  return event;
}

}  // namespace jet::detail
