// What the converting process tells its caller, framed for a pipe: the record total, progress,
// each finished table, each linked table left out, each index left out, the end, or a refusal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jet::detail {

struct Event {
  enum class Kind : std::uint8_t { Total = 1, Progress, Table, Linked, Done, Refused, LeftOut };
  Kind kind = Kind::Done;
  std::int64_t first = 0;   // Total: records; Progress: records done; Table: records
  std::int64_t second = 0;  // Progress: total; Table: indexes; Refused: the Fault
  std::string text;         // Table and Linked: the name; Refused, LeftOut: the message
};

// Writes the event whole; false when the pipe is closed.
bool writeEvent(int fd, const Event& event);

// Takes the first complete event off the front of `buffer`; nullopt while none is complete.
// Throws std::runtime_error for bytes that are no event.
std::optional<Event> takeEvent(std::string& buffer);

}  // namespace jet::detail
