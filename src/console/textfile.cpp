#include "console/textfile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>

#include "console/numfmt.h"
#include "console/report.h"
#include "console/terminal.h"
#include "console/threads.h"

namespace console {

namespace {
bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Permissions for a replacement file: those of the file it replaces, or what a newly created
// file would get.
mode_t replacement_mode(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}
}  // namespace

std::unique_ptr<OutputFile> OutputFile::open(const std::string& path, Mode mode,
                                             std::string failure_message) {
  if (failure_message.empty()) failure_message = "Unable to write output file - " + path;
  if (mode == Mode::truncate) {
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (file == nullptr) return nullptr;
    return std::unique_ptr<OutputFile>(new OutputFile(file, path, {}, std::move(failure_message)));
  }
  // The target must be a place a file can be written to; a directory or an unreachable folder
  // fails here as an ordinary open would.
  struct stat st;
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return nullptr;
  std::string temporary = path + ".tmpXXXXXX";
  int fd = ::mkstemp(temporary.data());
  if (fd < 0) return nullptr;
  ::fchmod(fd, replacement_mode(path));
  std::FILE* file = ::fdopen(fd, "w");
  if (file == nullptr) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return nullptr;
  }
  return std::unique_ptr<OutputFile>(
      new OutputFile(file, path, temporary, std::move(failure_message)));
}

OutputFile::OutputFile(std::FILE* file, std::string path, std::string temporary,
                       std::string failure_message)
    : file_(file),
      path_(std::move(path)),
      temporary_(std::move(temporary)),
      failure_message_(std::move(failure_message)) {
  buffer_.reserve(flush_size + 4096);
}

OutputFile::~OutputFile() {
  if (file_ == nullptr) return;
  if (temporary_.empty()) {
    // An unfinished file in truncate mode keeps what was produced so far, if it can.
    if (!buffer_.empty() && !failed_) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    std::fclose(file_);
  } else {
    std::fclose(file_);
    ::unlink(temporary_.c_str());
  }
}

void OutputFile::flush() {
  terminal::check_interrupt();
  if (!buffer_.empty() && !failed_) {
    if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) failed_ = true;
  }
  buffer_.clear();
  if (failed_) throw WriteFailure(failure_message_);
}

void OutputFile::put_blocks(const std::vector<std::string>& texts) {
  flush();
  int fd = ::fileno(file_);
  failed_ = std::fflush(file_) != 0;
  off_t at = failed_ ? 0 : ::lseek(fd, 0, SEEK_CUR);
  if (at < 0) {
    // Not a file with places (a pipe): the blocks go one after the other.
    for (const std::string& text : texts) {
      failed_ = failed_ || std::fwrite(text.data(), 1, text.size(), file_) != text.size();
    }
  } else if (!failed_) {
    std::vector<off_t> places;
    for (const std::string& text : texts) {
      places.push_back(at);
      at += static_cast<off_t>(text.size());
    }
    std::vector<char> faults(texts.size(), 0);
    run_tasks(thread_count(), static_cast<int>(texts.size()), [&](int i) {
      const char* data = texts[i].data();
      std::size_t left = texts[i].size();
      for (off_t place = places[i]; left > 0 && !faults[i];) {
        ssize_t n = ::pwrite(fd, data, left, place);
        faults[i] = n <= 0;
        if (n > 0) data += n, left -= static_cast<std::size_t>(n), place += n;
      }
    });
    for (char f : faults) failed_ = failed_ || f;
    failed_ = failed_ || ::fseeko(file_, at, SEEK_SET) != 0;
  }
  if (failed_) throw WriteFailure(failure_message_);
}

void OutputFile::put_int(int value, int width) {
  append_int(buffer_, value, width);
  if (buffer_.size() >= flush_size) flush();
}

void OutputFile::put_fixed(double value, int width, int precision) {
  append_fixed(buffer_, value, width, precision);
  if (buffer_.size() >= flush_size) flush();
}

void OutputFile::printf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  buffer_ += vformat(format, args);
  va_end(args);
  if (buffer_.size() >= flush_size) flush();
}

bool OutputFile::close() {
  if (file_ == nullptr) return !failed_;
  if (!buffer_.empty() && !failed_ &&
      std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
    failed_ = true;
  }
  buffer_.clear();
  if (std::fflush(file_) != 0) failed_ = true;
  if (!temporary_.empty() && !failed_ && ::fsync(::fileno(file_)) != 0) failed_ = true;
  if (std::fclose(file_) != 0) failed_ = true;
  file_ = nullptr;
  if (!temporary_.empty()) {
    if (!failed_ && std::rename(temporary_.c_str(), path_.c_str()) != 0) failed_ = true;
    if (failed_) ::unlink(temporary_.c_str());
  }
  return !failed_;
}

void OutputFile::finish() {
  if (!close()) throw WriteFailure(failure_message_);
}

std::unique_ptr<InputFile> InputFile::open(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return nullptr;
  struct stat st;
  if (::fstat(::fileno(file), &st) != 0 || S_ISDIR(st.st_mode)) {
    std::fclose(file);
    return nullptr;
  }
  // A block of 1 MiB, or less for a small file.
  std::size_t block = std::size_t{1} << 20;
  if (st.st_size >= 0 && static_cast<unsigned long long>(st.st_size) < block - 4096) {
    block = static_cast<std::size_t>(st.st_size) + 4096;
  }
  return std::unique_ptr<InputFile>(new InputFile(file, block));
}

InputFile::InputFile(std::FILE* file, std::size_t block) : file_(file) {
  buffer_.resize(block);
}

InputFile::~InputFile() {
  std::fclose(file_);
}

bool InputFile::refill(std::size_t keep) {
  terminal::check_interrupt();
  std::size_t kept = end_ - keep;
  if (keep > 0) {
    std::memmove(buffer_.data(), buffer_.data() + keep, kept);
    base_ += static_cast<long long>(keep);
  }
  pos_ -= keep;
  end_ = kept;
  if (end_ == buffer_.size()) return true;
  std::size_t n = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
  end_ += n;
  return n > 0;
}

bool InputFile::read_line(std::string& line, int size) {
  std::string_view view;
  bool any = next_line(view, size);
  line.assign(view);
  return any;
}

bool InputFile::next_line_slowly(std::string_view& line, int size) {
  std::size_t room = size > 1 ? static_cast<std::size_t>(size - 1) : 0;
  std::size_t start = pos_;
  std::size_t length = 0;                    // characters taken from `start` on
  std::size_t nul = std::string_view::npos;  // where the C string would end
  bool found = false;
  while (length < room && !found) {
    if (start + length == end_) {
      // The line so far moves to the front of the buffer and more is read behind it.
      bool more = refill(start);
      start = 0;
      if (!more || length == end_) break;
    }
    const char* from = buffer_.data() + start;
    std::size_t limit = std::min(end_ - start, room);
    while (length < limit) {
      length = find_line_end(from, length, limit);
      if (length == limit) break;
      if (from[length++] == '\n') {
        found = true;
        break;
      }
      if (nul == std::string_view::npos) nul = length - 1;
    }
  }
  pos_ = start + length;
  line = std::string_view(buffer_.data() + start, std::min(length, nul));
  return length > 0;
}

bool InputFile::next_token(std::string_view& token) {
  for (;;) {
    while (pos_ < end_ && is_space(buffer_[pos_])) ++pos_;
    if (pos_ < end_) break;
    if (!refill(pos_)) return false;
  }
  std::size_t start = pos_;
  for (;;) {
    while (pos_ < end_ && !is_space(buffer_[pos_])) ++pos_;
    if (pos_ < end_) break;
    if (pos_ - start > max_token) {
      // Skip the rest of an absurdly long token.
      for (;;) {
        while (pos_ < end_ && !is_space(buffer_[pos_])) ++pos_;
        if (pos_ < end_ || !refill(pos_)) break;
      }
      static const char too_long[] = "<token too long>";
      token = std::string_view(too_long);
      return true;
    }
    std::size_t offset = pos_ - start;
    if (!refill(start)) {
      token = std::string_view(buffer_.data(), offset);
      return true;
    }
    start = 0;
  }
  token = std::string_view(buffer_.data() + start, pos_ - start);
  return true;
}

bool InputFile::seek(long long position) {
  if (position >= base_ && position <= base_ + static_cast<long long>(end_)) {
    pos_ = static_cast<std::size_t>(position - base_);
    return true;
  }
  if (std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
  base_ = position;
  pos_ = end_ = 0;
  return true;
}

MappedFile::MappedFile(const InputFile& file) {
  int fd = ::fileno(file.file_);
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) return;
  auto size = static_cast<std::size_t>(st.st_size);
  void* data = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (data == MAP_FAILED) return;
  data_ = data;
  size_ = size;
}

MappedFile::~MappedFile() {
  if (data_ != nullptr) ::munmap(data_, size_);
}

void remove_file(const std::string& path) {
  std::remove(path.c_str());
}

}  // namespace console
