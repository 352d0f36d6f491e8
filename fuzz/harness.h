// Shared set-up of the fuzz targets: a private working directory, the console pointed at
// memory, and the file-size limit that stands in for a small disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace fuzz {

// Creates (once) a fresh working directory, makes it current and limits written files to a few
// megabytes; returns its path.
const std::string& workdir();
// Writes bytes to a file in the working directory.
void write_file(const std::string& name, const std::uint8_t* data, std::size_t size);
void write_file(const std::string& name, const std::string& text);
// Removes every file of the working directory.
void clear_workdir();

// Points the console's input at `answers` and its output and error streams at /dev/null for
// the lifetime of the object.
class QuietConsole {
 public:
  explicit QuietConsole(const std::string& answers);
  ~QuietConsole();

 private:
  std::string answers_;
  void* in_;
};

}  // namespace fuzz
