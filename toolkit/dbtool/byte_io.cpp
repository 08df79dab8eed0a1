#include "byte_io.h"

#include <cerrno>
#include <cstring>

#include "store/error.h"

namespace dbtool {

void Output::flush() {
  if (buffer_.empty()) return;
  deliver(buffer_);
  buffer_.clear();
}

void FileOutput::deliver(std::string_view bytes) {
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() ||
      std::fflush(file_) != 0) {
    throw store::Error(store::Fault::Input, "cannot write " + name_ + ": " + std::strerror(errno));
  }
}

std::size_t FileInput::read(char* into, std::size_t size) {
  const std::size_t got = std::fread(into, 1, size, file_);
  if (got == 0 && std::ferror(file_))
    throw store::Error(store::Fault::Input, "cannot read " + name_ + ": " + std::strerror(errno));
  return got;
}

std::size_t StringInput::read(char* into, std::size_t size) {
  const std::size_t got = std::min(size, text_.size());
  std::memcpy(into, text_.data(), got);
  text_.remove_prefix(got);
  return got;
}

}  // namespace dbtool
