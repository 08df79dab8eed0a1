// Buffered byte streams for export and import: files (standard input and output included) and
// strings, so that the same code serves the program and its tests.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace dbtool {

class Output {
 public:
  virtual ~Output() = default;
  // Writers append to the buffer and call spill() now and then; flush() hands everything on.
  std::string& buffer() { return buffer_; }
  void spill() {
    if (buffer_.size() >= chunk) flush();
  }
  void flush();

 protected:
  virtual void deliver(std::string_view bytes) = 0;

 private:
  static constexpr std::size_t chunk = 1 << 20;
  std::string buffer_;
};

class FileOutput : public Output {
 public:
  FileOutput(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}

 protected:
  void deliver(std::string_view bytes) override;  // throws Error when the file takes no more

 private:
  std::FILE* file_;
  std::string name_;
};

class StringOutput : public Output {
 public:
  explicit StringOutput(std::string& target) : target_(target) {}

 protected:
  void deliver(std::string_view bytes) override { target_.append(bytes); }

 private:
  std::string& target_;
};

class Input {
 public:
  virtual ~Input() = default;
  // Up to `size` bytes; 0 at the end. Throws Error when reading fails.
  virtual std::size_t read(char* into, std::size_t size) = 0;
};

class FileInput : public Input {
 public:
  FileInput(std::FILE* file, std::string name) : file_(file), name_(std::move(name)) {}
  std::size_t read(char* into, std::size_t size) override;

 private:
  std::FILE* file_;
  std::string name_;
};

class StringInput : public Input {
 public:
  explicit StringInput(std::string_view text) : text_(text) {}
  std::size_t read(char* into, std::size_t size) override;

 private:
  std::string_view text_;
};

}  // namespace dbtool
