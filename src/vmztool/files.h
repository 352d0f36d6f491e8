// What every vmztool command shares: reading the job's mesh file without the console's
// dialogue, writing an output file that replaces its target only when complete, the number
// format of the exchange files, and the reports on the error stream.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "console/textfile.h"
#include "mesh/meshbuffer.h"

namespace vmztool {

// The program's name at the start of every message.
inline constexpr const char* program = "vmztool";

// A command line that cannot be obeyed: main prints the message and a hint, exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Refuses a job name that trelmo would not accept: empty, or with a character other than a
// letter, a digit or one of $ . / : \ _ (UsageError).
void check_job(const std::string& job);

// Opens `path` for reading; a file that cannot be opened is a fatal error that says why.
std::unique_ptr<console::InputFile> open_input(const std::string& path);

// Reads job + ".vmz". A file that cannot be opened or that is malformed is a fatal error whose
// message names the file and the faulty record.
void read_job(const std::string& job, mesh::MeshBuffer& buffer, mesh::Titles& titles);

// Writes `path` through `write`. The text goes to a temporary file beside the target, which
// takes the target's place only when everything was written: a failure leaves any earlier file
// of that name as it was. A file that cannot be created or written is a fatal error.
void write_file(const std::string& path, const std::function<void(console::OutputFile&)>& write);

// Appends the shortest decimal text that reads back as exactly `value`.
void put_real(console::OutputFile& out, double value);

// "vmztool: warning: <message>" on the error stream.
void warn(std::string_view message);

}  // namespace vmztool
