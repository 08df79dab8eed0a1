#include "room_line.h"

namespace roomkit {

std::string roomLine(std::string_view number, std::string_view name) {
  std::string line(number);
  line += ", ";
  line += name;
  return line;
}

std::string roomNumberOfLine(std::string_view line) {
  return std::string(line.substr(0, line.find(',')));
}

}  // namespace roomkit
