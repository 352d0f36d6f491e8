// Buffered text files for the readers and writers of every file format.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace console {

// A file being written. Output is collected in a large buffer and written in blocks.
//
// A write error ends the writing at once: the call that meets it throws WriteFailure with the
// failure message given at open ("Unable to write output file - <path>" by default), so a full
// disk is reported without producing the rest of a large output first, and in the same words
// wherever it is met.
//
// In `replace` mode the text goes to a temporary file beside the target, and `close` renames it
// over the target only when everything was written: a crash or a full disk never leaves a
// half-written file where a good one was. In `truncate` mode the target itself is written.
class OutputFile {
 public:
  enum class Mode { truncate, replace };

  // The open file, or null when it cannot be opened.
  static std::unique_ptr<OutputFile> open(const std::string& path, Mode mode = Mode::truncate,
                                          std::string failure_message = {});
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  void put(std::string_view text) {
    buffer_.append(text);
    if (buffer_.size() >= flush_size) flush();
  }
  void put(char c) {
    buffer_.push_back(c);
    if (buffer_.size() >= flush_size) flush();
  }
  // "%<width>d"
  void put_int(int value, int width);
  // "%<width>.<precision>lf"
  void put_fixed(double value, int width, int precision);
  // Any printf format.
  void printf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Text appended by `format(std::string&)` straight into the buffer.
  template <class Format>
  void put_formatted(Format&& format) {
    format(buffer_);
    if (buffer_.size() >= flush_size) flush();
  }
  // Large blocks of text, one after the other after what is buffered, each written to its place
  // by its own thread without being copied.
  void put_blocks(const std::vector<std::string>& texts);

  // Writes what is buffered, closes the file and, in replace mode, puts it in place of the
  // target. False when anything could not be written; the target is then left as it was
  // (replace mode) and the partial temporary file is removed.
  bool close();
  // close(), and a WriteFailure with the failure message when it fails.
  void finish();

  const std::string& path() const { return path_; }

 private:
  static constexpr std::size_t flush_size = 1 << 20;
  OutputFile(std::FILE* file, std::string path, std::string temporary, std::string failure_message);
  void flush();

  std::FILE* file_;
  std::string path_;       // the target
  std::string temporary_;  // replace mode: the file actually written
  std::string buffer_;
  std::string failure_message_;
  bool failed_ = false;
};

// A file being read, either line by line (with the semantics of fgets) or as a stream of
// white-space separated tokens, or both.
class InputFile {
 public:
  // The open file, or null when it cannot be opened.
  static std::unique_ptr<InputFile> open(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Reads at most size - 1 characters, stopping after a line feed, which is kept. False at end
  // of file when nothing was read. A line holding a NUL character ends there, as a C string.
  bool read_line(std::string& line, int size);
  // The same line as a view into the file's buffer, valid until the next read: the fast way
  // through files of many short lines.
  bool next_line(std::string_view& line, int size) {
    // Most lines lie whole in the buffer and hold no NUL.
    std::size_t room = size > 1 ? static_cast<std::size_t>(size - 1) : 0;
    std::size_t limit = end_ - pos_ < room ? end_ : pos_ + room;
    std::size_t at = find_line_end(buffer_.data(), pos_, limit);
    if (at < limit && buffer_[at] == '\n') {
      line = std::string_view(buffer_.data() + pos_, at + 1 - pos_);
      pos_ = at + 1;
      return true;
    }
    return next_line_slowly(line, size);
  }
  // Hands every line, split exactly as next_line splits them with the same room, to
  // `visit(line)` until it answers false (true is then returned) or the file ends (false).
  // Whole lines inside the buffer are found sixteen characters at a time; every other line (cut
  // by the room, holding a NUL, crossing the end of the buffer) goes through next_line.
  template <class Visit>
  bool for_each_line(int size, Visit&& visit) {
    std::size_t room = size > 1 ? static_cast<std::size_t>(size - 1) : 0;
    for (;;) {
#if defined(__SSE2__)
      for (std::size_t base = pos_; base + 16 <= end_; base += 16) {
        __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(buffer_.data() + base));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_setzero_si128())) != 0) break;
        auto ends =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n'))));
        bool cut = false;
        for (; ends != 0; ends &= ends - 1) {
          std::size_t at = base + static_cast<std::size_t>(std::countr_zero(ends));
          if (at - pos_ >= room) {
            cut = true;
            break;
          }
          std::string_view line(buffer_.data() + pos_, at + 1 - pos_);
          pos_ = at + 1;
          if (!visit(line)) return true;
        }
        // A line that already fills its room is cut: next_line takes it.
        if (cut || base + 16 - pos_ >= room) break;
      }
#endif
      std::string_view line;
      if (!next_line(line, size)) return false;
      if (!visit(line)) return true;
    }
  }
  // The next token (a maximal run of non-white-space characters); false at end of file. The
  // view stays valid until the next read. A token longer than `max_token` is returned as the
  // text "<token too long>", which is no number.
  bool next_token(std::string_view& token);
  // Position in the file, and repositioning to a position given by `tell`.
  long long tell() const { return base_ + static_cast<long long>(pos_); }
  bool seek(long long position);

  static constexpr std::size_t max_token = 4096;

 private:
  friend class MappedFile;
  InputFile(std::FILE* file, std::size_t block);
  // next_line for a line that crosses the end of the buffer, is cut by the room or holds a NUL.
  bool next_line_slowly(std::string_view& line, int size);
  // Position of the first line feed or NUL in text[from .. limit), or limit. Eight characters
  // are tested at a time: a byte of a word is zero exactly where the word had the character
  // sought, and the lowest flagged byte of that zero-byte test is always exact.
  static std::size_t find_line_end(const char* text, std::size_t from, std::size_t limit) {
    if constexpr (std::endian::native == std::endian::little) {
      constexpr std::uint64_t ones = 0x0101010101010101ULL;
      constexpr std::uint64_t highs = 0x8080808080808080ULL;
      constexpr std::uint64_t line_feeds = ones * '\n';
      while (from + 8 <= limit) {
        std::uint64_t word;
        std::memcpy(&word, text + from, 8);
        std::uint64_t lf = word ^ line_feeds;
        std::uint64_t hit = ((lf - ones) & ~lf & highs) | ((word - ones) & ~word & highs);
        if (hit != 0) return from + static_cast<std::size_t>(std::countr_zero(hit) / 8);
        from += 8;
      }
    }
    while (from < limit && text[from] != '\n' && text[from] != '\0') ++from;
    return from;
  }

  // Keeps the unread characters from `keep` on and reads more behind them; false at end of file.
  bool refill(std::size_t keep);

  std::FILE* file_;
  std::string buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  long long base_ = 0;  // file position of buffer_[0]
};

// The whole of an open input file mapped into memory, read only: the text of a bulk reader that
// splits it among threads. Empty when the file cannot be mapped (not a regular file, empty).
class MappedFile {
 public:
  explicit MappedFile(const InputFile& file);
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  std::string_view text() const { return {static_cast<const char*>(data_), size_}; }

 private:
  void* data_ = nullptr;
  std::size_t size_ = 0;
};

// Deletes a file, ignoring failure.
void remove_file(const std::string& path);

}  // namespace console
