#include "mesh/vmzfile.h"

#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "console/checks.h"
#include "console/dataline.h"
#include "console/dialogue.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "console/terminal.h"
#include "console/textfile.h"
#include "console/threads.h"
#include "mesh/meshwriter.h"

namespace mesh {

namespace {

using console::errf;
using console::fatal;

// Room of a title line: at most 998 characters and the line feed.
constexpr int title_line_size = 1000;

// Reads the numbers of the records; every fault is fatal, with the context of the record being
// read: a line on the error stream before the report (console), or the start of the message
// (quiet).
class RecordReader {
 public:
  RecordReader(console::InputFile& file, Echo echo) : file_(file), echo_(echo) {}

  // The record being read: the console context line (a format with one %8d) and the quiet
  // context (a format with one %d); a null console format prints no line.
  void context(const char* console_format, const char* quiet_format, int number) {
    console_format_ = console_format;
    quiet_format_ = quiet_format;
    number_ = number;
  }

  int read_int() {
    std::string_view token = next();
    int value = 0;
    if (!console::parse_int(token, value)) fail("Invalid integer in the file");
    return value;
  }

  double read_real() {
    std::string_view token = next();
    double value = 0;
    if (!console::parse_real(token, value)) fail("Invalid real number in the file");
    return value;
  }

  [[noreturn]] void fail(const std::string& message) {
    if (echo_ == Echo::quiet) fatal(console::cformat(quiet_format_, number_) + ": " + message);
    if (console_format_ != nullptr) {
      errf("\n");
      errf(console_format_, number_);
    }
    fatal(message);
  }

 private:
  std::string_view next() {
    std::string_view token;
    if (!file_.next_token(token)) fail("Unexpected end of file");
    return token;
  }

  console::InputFile& file_;
  Echo echo_;
  const char* console_format_ = nullptr;
  const char* quiet_format_ = "%d";
  int number_ = 0;
};

// Title line `number` (1 or 2), cut to `length` characters.
std::string read_title(console::InputFile& file, std::size_t length, Echo echo, int number) {
  std::string line;
  if (!file.read_line(line, title_line_size)) {
    if (echo == Echo::quiet) {
      fatal(console::cformat("title line %d: Unexpected end of file", number));
    }
    fatal("Unexpected end of file in the titles");
  }
  if (echo == Echo::quiet && line.back() != '\n') {
    // The console reports these two through the line-end check, in its own wording.
    fatal(console::cformat("title line %d: %s", number,
                           line.back() == '\r'
                               ? "carriage return without a line feed"
                               : "longer than 998 characters or without its line end"));
  }
  console::elimnl(line);
  console::trimbl(line);
  if (line.size() > length) line.resize(length);
  return line;
}

// The records after the counts, read by several threads from the file mapped in memory.
//
// The text is cut at white space into a few chunks a thread. For each chunk a thread converts
// the leading integers (the element records and the first node number), counts all the tokens
// and marks where every 4096th begins. The element records are then followed across the chunks
// from count to count, which finds where each thread's share of them begins and the token where
// the node records begin; the threads copy their elements, and each then converts an equal share
// of the node and special-node tokens, starting from the nearest mark.
//
// Nothing is reported here: at the first doubt (a number that does not convert, a check that
// fails, too few tokens) the answer is false, and the sequential reader reads the records again
// and reports the first fault in file order with its own message and context.
class ParallelRecords {
 public:
  // Least text a thread is given: below it the sequential reader is as fast.
  static constexpr std::size_t chunk_minimum = 64 << 10;

  // Chunks a thread, taken in turn: a thread slowed by other work takes fewer.
  static constexpr int chunks_per_thread = 4;

  ParallelRecords(std::string_view text, int threads) : text_(text), threads_(threads) {
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(threads) * chunks_per_thread,
                                          text.size() / chunk_minimum);
    std::size_t begin = 0;
    for (std::size_t i = 1; i <= n; ++i) {
      std::size_t end = i == n ? text.size() : text.size() / n * i;
      while (end < text.size() && !is_space(text[end])) ++end;
      chunks_.emplace_back();
      chunks_.back().begin = begin;
      chunks_.back().end = end;
      begin = end;
    }
  }

  int chunks() const { return static_cast<int>(chunks_.size()); }

  bool read(MeshBuffer& read, int nelem, int npoin, int nspno) {
    int n = threads_;
    console::run_tasks(n, chunks(), [&](int i) { convert_integers(chunks_[i]); });
    console::terminal::check_interrupt();
    long long total = 0;
    for (Chunk& c : chunks_) {
      if (c.ints == nullptr) return false;
      c.first = total;
      total += c.tokens;
    }
    std::vector<char> fault(n, 0);
    // Where each thread's elements begin, and where the node records begin.
    std::vector<Cursor> starts(n);
    Cursor at;
    for (int ielem = 1, t = 0; ielem <= nelem; ++ielem) {
      while (t < n && ielem == share(nelem, n, t)) starts[t++] = at;
      int number = 0;
      int count = 0;
      if (!take(at, number) || number != ielem || !take(at, count) || count < 1 ||
          count > mnode || !skip(at, count)) {
        return false;
      }
    }
    long long nodes_begin = chunks_[at.c].first + at.i;
    long long end = nodes_begin + 4LL * npoin + 2LL * nspno;
    if (total < end) return false;
    console::run_parallel(n, [&](int t) {
      fault[t] = !copy_elements(read, share(nelem, n, t), share(nelem, n, t + 1), starts[t], npoin);
    });
    for (Chunk& c : chunks_) c.ints.reset();
    console::terminal::check_interrupt();
    console::run_parallel(n, [&](int t) {
      long long from = nodes_begin + (end - nodes_begin) * t / n;
      long long to = nodes_begin + (end - nodes_begin) * (t + 1) / n;
      if (from < to) fault[t] |= !convert_nodes(read, from, to, nodes_begin, npoin);
    });
    for (char f : fault)
      if (f) return false;
    return true;
  }

 private:
  // Every mark_every-th token of a chunk has its place marked.
  static constexpr int mark_shift = 12;
  static constexpr long long mark_every = 1LL << mark_shift;

  struct Chunk {
    std::size_t begin = 0;  // place in the text
    std::size_t end = 0;
    // The leading integer tokens; null when they could not be given room.
    std::unique_ptr<int[], decltype(&std::free)> ints{nullptr, &std::free};
    long long nints = 0;
    long long tokens = 0;
    long long first = 0;             // number of the chunk's first token in the whole text
    std::vector<std::size_t> marks;  // place in the text of token k * mark_every
  };
  // A place in the chunks' integers.
  struct Cursor {
    std::size_t c = 0;
    long long i = 0;
  };

  static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

  // The first element of thread t's share of n.
  static int share(int count, int n, int t) {
    return 1 + static_cast<int>(static_cast<long long>(count) * t / n);
  }

  // An integer token: short runs of digits directly, everything else as parse_int reads it.
  static bool to_int(const char* begin, const char* end, int& value) {
    if (end - begin <= 9) {
      int v = 0;
      const char* p = begin;
      for (; p < end && *p >= '0' && *p <= '9'; ++p) v = v * 10 + (*p - '0');
      if (p == end && p != begin) {
        value = v;
        return true;
      }
    }
    return console::parse_int(std::string_view(begin, end - begin), value);
  }

  // Finds the next token at or after p; false at the end of the text.
  bool next(const char*& p, const char*& token) const {
    const char* end = text_.data() + text_.size();
    while (p < end && is_space(*p)) ++p;
    if (p == end) return false;
    token = p;
    while (p < end && !is_space(*p)) ++p;
    return true;
  }

  void convert_integers(Chunk& chunk) const {
    // A token takes at least two characters with its separator; the room is only touched
    // where integers are stored.
    std::size_t size = chunk.end - chunk.begin;
    chunk.ints.reset(static_cast<int*>(std::malloc((size / 2 + 1) * sizeof(int))));
    if (chunk.ints == nullptr) return;
    chunk.marks.reserve(size / 2 / mark_every + 1);
    int* out = chunk.ints.get();
    const char* base = text_.data();
    const char* p = base + chunk.begin;
    const char* end = base + chunk.end;
    bool integers = true;
    while (p < end) {
      if (is_space(*p)) {
        ++p;
        continue;
      }
      if (((out - chunk.ints.get()) & (mark_every - 1)) == 0) chunk.marks.push_back(p - base);
      // Digits are converted as they are passed; a token that is more than a short run of
      // digits goes to to_int.
      const char* token = p;
      unsigned value = 0;
      for (; p < end && static_cast<unsigned char>(*p - '0') <= 9; ++p) {
        value = value * 10 + static_cast<unsigned>(*p - '0');
      }
      if (p == end || is_space(*p)) {
        if (p != token && p - token <= 9) {
          *out++ = static_cast<int>(value);
          continue;
        }
      } else {
        while (p < end && !is_space(*p)) ++p;
      }
      if (!to_int(token, p, *out)) {
        integers = false;
        break;
      }
      ++out;
    }
    chunk.nints = out - chunk.ints.get();
    chunk.tokens = chunk.nints;
    if (integers) return;
    // Only counted from here: a token starts at each non-space after a space.
    long long tokens = chunk.tokens + 1;
    bool space = false;
    for (; p < end; ++p) {
      bool s = is_space(*p);
      if (space && !s) {
        if ((tokens & (mark_every - 1)) == 0) chunk.marks.push_back(p - base);
        ++tokens;
      }
      space = s;
    }
    chunk.tokens = tokens;
  }

  // The integer at the cursor, which moves on; false when the chunks' integers end first.
  bool take(Cursor& at, int& value) const {
    while (at.i == chunks_[at.c].nints) {
      if (chunks_[at.c].nints < chunks_[at.c].tokens || at.c + 1 == chunks_.size()) return false;
      ++at.c;
      at.i = 0;
    }
    value = chunks_[at.c].ints[at.i++];
    return true;
  }

  bool skip(Cursor& at, long long n) const {
    for (;;) {
      long long room = chunks_[at.c].nints - at.i;
      if (n <= room) {
        at.i += n;
        return true;
      }
      if (chunks_[at.c].nints < chunks_[at.c].tokens || at.c + 1 == chunks_.size()) return false;
      n -= room;
      ++at.c;
      at.i = 0;
    }
  }

  // Elements from .. to - 1, whose numbers and counts are known good, from the cursor on.
  bool copy_elements(MeshBuffer& read, int from, int to, Cursor at, int npoin) const {
    for (int ielem = from; ielem < to; ++ielem) {
      int count = 0;
      take(at, count);
      take(at, count);
      read.nnoel[ielem] = count;
      int* row = read.lnods.row(ielem);
      if (at.i + count <= chunks_[at.c].nints) {
        // The whole record lies in this chunk's integers.
        const int* nodes = chunks_[at.c].ints.get() + at.i;
        for (int k = 0; k < count; ++k) row[k] = nodes[k];
        at.i += count;
      } else {
        for (int k = 0; k < count; ++k) take(at, row[k]);
      }
      for (int k = 0; k < count; ++k) {
        if (row[k] < 1 || row[k] > npoin) return false;
      }
    }
    return true;
  }

  // Tokens from .. to - 1 of the node and special-node records, which begin at nodes_begin.
  bool convert_nodes(MeshBuffer& read, long long from, long long to, long long nodes_begin,
                     int npoin) const {
    std::size_t c = 0;
    while (from >= chunks_[c].first + chunks_[c].tokens) ++c;
    long long local = from - chunks_[c].first;
    const char* p = text_.data() + chunks_[c].marks[local >> mark_shift];
    const char* token = nullptr;
    for (long long k = local & (mark_every - 1); k > 0; --k) next(p, token);
    long long specials_begin = nodes_begin + 4LL * npoin;
    for (long long g = from; g < to; ++g) {
      if (!next(p, token)) return false;
      std::string_view t(token, p - token);
      if (g < specials_begin) {
        long long k = g - nodes_begin;
        int ipoin = static_cast<int>(k / 4) + 1;
        int field = static_cast<int>(k % 4);
        if (field == 0) {
          int number = 0;
          if (!to_int(token, p, number) || number != ipoin) return false;
        } else if (!console::parse_real(t, read.coord.row(ipoin)[field - 1])) {
          return false;
        }
      } else {
        long long k = g - specials_begin;
        int i = static_cast<int>(k / 2) + 1;
        int value = 0;
        if (!to_int(token, p, value)) return false;
        if (k % 2 == 0 ? value != i : value < 1 || value > npoin) return false;
        if (k % 2 == 1) read.lspno[i] = value;
      }
    }
    return true;
  }

  std::string_view text_;
  int threads_;
  std::vector<Chunk> chunks_;
};

// The records after the counts, one after the other; every fault is reported.
void read_records(RecordReader& in, MeshBuffer& read, int nelem, int npoin, int nspno, bool loud) {
  for (int ielem = 1; ielem <= nelem; ++ielem) {
    in.context("Reading element n. %8d\n", "element %d", ielem);
    if (in.read_int() != ielem) in.fail("Wrong element number");
    int count = in.read_int();
    if (count < 1) in.fail("N. of nodes of an element is less than 1");
    if (count > mnode) {
      if (!loud) in.fail(console::cformat("Too many nodes in the element (more than %d)", mnode));
      errf("\nReading element n. %8d\n", ielem);
      errf("Maximum n. of nodes per element = %8d\n", mnode);
      fatal("Too many nodes in the element");
    }
    read.nnoel[ielem] = count;
    int* row = read.lnods.row(ielem);
    for (int k = 0; k < count; ++k) {
      int node = in.read_int();
      if (node < 1 || node > npoin) in.fail("Element node out of range");
      row[k] = node;
    }
  }
  for (int ipoin = 1; ipoin <= npoin; ++ipoin) {
    in.context("Reading node n. %8d\n", "node %d", ipoin);
    if (in.read_int() != ipoin) in.fail("Wrong node number");
    double* row = read.coord.row(ipoin);
    for (int j = 0; j < ndime; ++j) row[j] = in.read_real();
  }
  for (int i = 1; i <= nspno; ++i) {
    in.context("Reading special node n. %8d\n", "special node %d", i);
    if (in.read_int() != i) in.fail("Wrong special node number");
    int node = in.read_int();
    if (node < 1 || node > npoin) in.fail("Special node number out of range");
    read.lspno[i] = node;
  }
}

// The records after the counts by several threads, when there are several and the file is
// large; false when they were not read so (the file is then where it was).
bool read_records_parallel(console::InputFile& file, MeshBuffer& read, int nelem, int npoin,
                           int nspno) {
  int threads = console::thread_count();
  if (threads < 2) return false;
  auto at = static_cast<std::size_t>(file.tell());
  console::MappedFile map(file);
  if (map.text().size() <= at) return false;
  ParallelRecords records(map.text().substr(at), threads);
  return records.chunks() > 1 && records.read(read, nelem, npoin, nspno);
}

}  // namespace

void print_counts(int nelem, int npoin, int nspno) {
  console::outf("\nNumber of      elements = %8d\n", nelem);
  console::outf("Number of         nodes = %8d\n", npoin);
  console::outf("Number of special nodes = %8d\n", nspno);
}

void read_mesh(console::InputFile& file, MeshBuffer& buffer, Titles& titles, Echo echo) {
  bool loud = echo == Echo::console;
  Titles read_titles;
  read_titles.main = read_title(file, main_title_length, echo, 1);
  read_titles.mesh = read_title(file, mesh_title_length, echo, 2);
  if (loud) console::outf("\n%s\n%s\n", read_titles.main.c_str(), read_titles.mesh.c_str());

  RecordReader in(file, echo);
  in.context("Reading the counts of elements, nodes and special nodes\n", "counts", 0);
  int nelem = in.read_int();
  int npoin = in.read_int();
  int nspno = in.read_int();
  if (loud) print_counts(nelem, npoin, nspno);
  if (nelem < 0) in.fail("Negative number of elements");
  if (npoin < 0) in.fail("Negative number of nodes");
  if (nspno < 0) in.fail("Negative number of special nodes");

  MeshBuffer read;
  read.lnods = console::OneMatrix<int>(nelem, mnode);
  read.nnoel = console::OneVector<int>(nelem);
  read.lspno = console::OneVector<int>(nspno);
  read.coord = console::OneMatrix<double>(npoin, ndime);

  if (!read_records_parallel(file, read, nelem, npoin, nspno)) {
    read_records(in, read, nelem, npoin, nspno, loud);
  }
  read.nelem = nelem;
  read.npoin = npoin;
  read.nspno = nspno;
  buffer = std::move(read);
  titles = std::move(read_titles);
}

void rdvmz(const std::string& jobname, MeshBuffer& buffer, Titles& titles) {
  buffer = MeshBuffer{};
  std::string name = jobname + ".vmz";
  console::outf("\nReading file: %s\n", name.c_str());
  auto file = console::InputFile::open(name);
  if (!file) {
    console::warning("File not found - jobname.vmz");
    console::outf("\n");
    console::pause("Current buffer cleared - press the Return key ... ");
    titles = Titles{};
    print_counts(0, 0, 0);
    return;
  }
  read_mesh(*file, buffer, titles, Echo::console);
}

char wrvmz(const MeshBuffer& buffer, const std::string& jobname, const Titles& titles) {
  print_counts(buffer.nelem, buffer.npoin, buffer.nspno);
  std::string name = jobname + ".vmz";
  console::outf("\nWriting file: %s\n", name.c_str());
  auto out = console::OutputFile::open(name, console::OutputFile::Mode::replace);
  const char* failure = nullptr;
  if (!out) {
    failure = "Unable to open output file - jobname.vmz";
  } else {
    try {
      MeshWriter writer(*out, titles, buffer.nelem, buffer.npoin, buffer.nspno, "wrvmz");
      write_buffer(writer, buffer);
      if (!out->close()) failure = "Unable to write output file - jobname.vmz";
    } catch (const console::WriteFailure&) {
      failure = "Unable to write output file - jobname.vmz";
    }
    out.reset();  // an unfinished replacement is discarded here
  }
  if (failure != nullptr) {
    console::warning(failure);
    console::outf("\n");
    console::pause("Nothing changed - press the Return key ... ");
    return 'n';
  }
  return 'y';
}

}  // namespace mesh
