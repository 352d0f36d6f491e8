#include "vmztool/files.h"

#include <sys/stat.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "console/checks.h"
#include "console/report.h"
#include "mesh/vmzfile.h"

namespace vmztool {

void check_job(const std::string& job) {
  std::string checked = job;
  if (job.empty() || console::chkjob(checked) != 'y' || checked != job) {
    throw UsageError("invalid job name '" + job +
                     "': use letters, digits and the characters $ . / : \\ _ only");
  }
}

std::unique_ptr<console::InputFile> open_input(const std::string& path) {
  errno = 0;
  auto file = console::InputFile::open(path);
  if (!file) {
    struct stat st;
    const char* reason = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)
                             ? "it is a directory"
                             : std::strerror(errno != 0 ? errno : ENOENT);
    console::fatal("cannot open " + path + ": " + reason);
  }
  return file;
}

void read_job(const std::string& job, mesh::MeshBuffer& buffer, mesh::Titles& titles) {
  std::string name = job + ".vmz";
  auto file = open_input(name);
  try {
    mesh::read_mesh(*file, buffer, titles, mesh::Echo::quiet);
  } catch (const console::FatalError& error) {
    console::fatal(name + ": " + error.what());
  }
}

void write_file(const std::string& path, const std::function<void(console::OutputFile&)>& write) {
  errno = 0;
  std::string failure = "cannot write " + path + " completely; nothing was replaced";
  auto out = console::OutputFile::open(path, console::OutputFile::Mode::replace, failure);
  if (!out) {
    int saved = errno;
    struct stat st;
    bool directory = ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    console::fatal("cannot create " + path + ": " +
                   (directory ? "it is a directory" : std::strerror(saved != 0 ? saved : EIO)));
  }
  try {
    write(*out);
    out->finish();
  } catch (const console::WriteFailure& error) {
    console::fatal(error.what());
  }
}

void put_real(console::OutputFile& out, double value) {
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  out.put(std::string_view(text, static_cast<std::size_t>(result.ptr - text)));
}

void warn(std::string_view message) {
  console::errf("%s: warning: %.*s\n", program, static_cast<int>(message.size()), message.data());
}

}  // namespace vmztool
