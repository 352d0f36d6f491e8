#include "exchange/dxi.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string_view>
#include <vector>

#include "console/checks.h"
#include "console/dataline.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "console/terminal.h"
#include "console/textfile.h"
#include "console/threads.h"
#include "mesh/vmzfile.h"

namespace exchange {

namespace {

using console::errf;
using console::fatal;
using console::outf;

// A line is read into room for 79 characters and the terminator; the rest of a longer line is
// read as the next line.
constexpr int dxf_line_size = 80;

// Lines are recognised by their first characters only, compared exactly.
constexpr std::string_view entities = "ENTITIES";
constexpr std::string_view polyline = "POLYLINE";
constexpr std::string_view vertex = "VERTEX";
constexpr std::string_view x_code = " 10";
constexpr std::string_view seqend = "SEQEND";
constexpr std::string_view endsec = "ENDSEC";

bool starts(std::string_view line, std::string_view key) {
  return line.starts_with(key);
}

// What a value line holds, before the full syntax check.
enum class Decimal {
  exact,  // a plain decimal, converted
  plain,  // a plain decimal with too many digits for the short conversion
  other,  // anything else: the syntax check decides
};

// A plain decimal number: an optional minus sign, digits and at most one decimal point, with at
// least one digit ("-12.5000000", as drawings are written). The syntax check accepts every such
// text. With at most 15 digits, the digits as an integer and the power of ten are both exact
// doubles, so their quotient is the correctly rounded value, the same as any exact conversion.
Decimal plain_decimal(std::string_view text, double& value) {
  constexpr double powers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  constexpr int max_digits = 15;
  std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
  std::int64_t digits = 0;
  int count = 0;      // digits read
  int decimals = -1;  // digits after the point; -1 before it
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      if (count < max_digits) digits = digits * 10 + (c - '0');
      ++count;
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      return Decimal::other;
    }
  }
  if (count == 0) return Decimal::other;
  if (count > max_digits) return Decimal::plain;
  value = static_cast<double>(digits) / powers[decimals > 0 ? decimals : 0];
  if (text[0] == '-') value = -value;
  return Decimal::exact;
}

// A coordinate value line. The line end goes as elimnl removes it: a line without one (cut by
// its room, or the last line of the file) ends the program there.
double value(std::string_view number) {
  if (number.ends_with('\n')) {
    number.remove_suffix(1);
    if (number.ends_with('\r')) number.remove_suffix(1);
  } else if (!number.empty()) {
    std::string cut(number);
    console::elimnl(cut);
  }
  while (!number.empty() && number.front() == ' ') number.remove_prefix(1);
  while (!number.empty() && number.back() == ' ') number.remove_suffix(1);
  double v = 0;
  Decimal kind = plain_decimal(number, v);
  if (kind == Decimal::exact) return v;
  bool valid = kind == Decimal::plain || console::chkrea(number).valid;
  if (!valid || !console::parse_real(number, v)) fatal("Real number expected");
  return v;
}

[[noreturn]] void end_of_file() {
  fatal("End of file !");
}

// Reads up to the line that starts with "ENTITIES"; everything before it is skipped.
std::string_view skip_to_entities(console::InputFile& file) {
  std::string_view line;
  do {
    if (!file.next_line(line, dxf_line_size)) end_of_file();
  } while (!starts(line, entities));
  return line;
}

void too_many_nodes(int ielem) {
  errf("\nReading element n. %8d\n", ielem);
  errf("Maximum n. of nodes per element = %8d\n", mesh::mnode);
  fatal("Too many nodes in the element");
}

struct Counts {
  int nelem = 0;
  int npoin = 0;
};

// A place where the second pass may start: the line after a POLYLINE line met outside a
// polyline, with the elements and points before it.
struct Checkpoint {
  long long offset;
  Counts before;
};
// Polylines between two checkpoints.
constexpr int checkpoint_every = 1024;

// First pass: the numbers of elements and points, up to the line that starts with "ENDSEC"
// outside a polyline. A polyline without vertices makes no element: an element has at least one
// node.
struct FirstPass {
  long long nelem = 0;
  long long npoin = 0;
  long long polylines = 0;
  bool inside = false;  // between a POLYLINE line and its SEQEND line
  int nvert = 0;

  // One line; begun() is called at a POLYLINE line, counting() at a VERTEX line before the point
  // is counted. False at the end of the section.
  template <class Begun, class Counting>
  bool line(std::string_view line, Begun&& begun, Counting&& counting) {
    if (!inside) {
      if (starts(line, endsec)) return false;
      if (starts(line, polyline)) {
        begun();
        ++polylines;
        nvert = 0;
        inside = true;
      }
      return true;
    }
    if (starts(line, seqend)) {
      if (nvert > 0) ++nelem;
      inside = false;
    } else if (starts(line, vertex)) {
      ++nvert;
      counting();
      ++npoin;
    }
    return true;
  }
};

// The place of the line after the first SEQEND line, read whole, that begins at or after `from`;
// -1 when there is none. The first pass is outside a polyline there, whatever came before.
long long after_seqend(const std::string& name, long long from) {
  auto file = console::InputFile::open(name);
  if (!file || !file->seek(from)) return -1;
  std::string_view line;
  bool at_start = false;  // the line read begins a line of the file
  while (file->next_line(line, dxf_line_size)) {
    if (at_start && starts(line, seqend) && line.ends_with('\n')) return file->tell();
    at_start = line.ends_with('\n');
  }
  return -1;
}

// The first pass by several threads, each over the lines from the one after a SEQEND line to the
// next thread's start, on its own handle of the file, counting from zero. The counts and the
// POLYLINE lines are joined in order up to the thread that meets the end of the section. False,
// with nothing printed, when a thread meets a fault or the file ends first: the sequential pass
// then reads it and reports as it goes.
bool count_polylines_parallel(const std::string& name, long long from, Counts& counts,
                              std::vector<Checkpoint>& checkpoints) {
  constexpr long long least_share = 1 << 18;
  int n = console::thread_count();
  std::error_code error;
  auto size = static_cast<long long>(std::filesystem::file_size(name, error));
  if (n < 2 || error || size - from < n * least_share) return false;
  std::vector<long long> begin = {from};
  for (int t = 1; t < n; ++t) {
    long long at = after_seqend(name, from + (size - from) * t / n);
    if (at > begin.back() && at < size) begin.push_back(at);
  }
  // Apart in memory: each is written at every line.
  struct alignas(64) Share {
    FirstPass pass;
    std::vector<int> begun;  // elements before each POLYLINE line
    std::vector<Checkpoint> marks;
    bool ended = false;
    bool fault = false;
  };
  int m = static_cast<int>(begin.size());
  std::vector<Share> shares(m);
  console::run_parallel(m, [&](int t) {
    Share& share = shares[t];
    FirstPass& pass = share.pass;
    auto file = console::InputFile::open(name);
    if (!file || !file->seek(begin[t])) {
      share.fault = true;
      return;
    }
    long long stop = t + 1 < m ? begin[t + 1] : -1;
    bool reached = false;
    file->for_each_line(dxf_line_size, [&](std::string_view line) {
      share.ended = !pass.line(
          line,
          [&] {
            share.begun.push_back(static_cast<int>(std::min<long long>(pass.nelem, INT_MAX)));
            if ((pass.polylines + 1) % checkpoint_every == 0) {
              share.marks.push_back({file->tell(), {static_cast<int>(pass.nelem),
                                                    static_cast<int>(pass.npoin)}});
            }
          },
          [&] { share.fault = share.fault || pass.nvert > mesh::mnode; });
      reached = file->tell() == stop;
      return !share.ended && !share.fault && !reached;
    });
    share.fault = share.fault || (!share.ended && !reached) || pass.nelem >= INT_MAX ||
                  pass.npoin >= INT_MAX;
  });
  console::terminal::check_interrupt();
  long long nelem = 0;
  long long npoin = 0;
  int last = 0;
  for (; last < m; ++last) {
    const Share& share = shares[last];
    if (share.fault) return false;
    for (const Checkpoint& mark : share.marks) {
      checkpoints.push_back({mark.offset, {static_cast<int>(nelem + mark.before.nelem),
                                           static_cast<int>(npoin + mark.before.npoin)}});
    }
    nelem += share.pass.nelem;
    npoin += share.pass.npoin;
    if (nelem >= INT_MAX || npoin >= INT_MAX) return false;
    if (share.ended) break;
  }
  if (last == m) return false;
  for (int t = 0; t <= last; ++t) {
    long long before = 0;
    for (int s = 0; s < t; ++s) before += shares[s].pass.nelem;
    for (int local : shares[t].begun) outf("POLYLINE n. %8d\n", static_cast<int>(before + local + 1));
  }
  counts = {static_cast<int>(nelem), static_cast<int>(npoin)};
  return true;
}

Counts count_polylines(const std::string& name, console::InputFile& file,
                       std::vector<Checkpoint>& checkpoints) {
  std::string_view shown = skip_to_entities(file);
  if (shown.ends_with('\n')) shown.remove_suffix(1);
  if (shown.ends_with('\r')) shown.remove_suffix(1);
  outf("\n%.*s\n", static_cast<int>(shown.size()), shown.data());

  Counts counts;
  if (count_polylines_parallel(name, file.tell(), counts, checkpoints)) return counts;
  checkpoints.clear();
  FirstPass pass;
  bool ended = file.for_each_line(dxf_line_size, [&](std::string_view line) {
    return pass.line(
        line,
        [&] {
          if (pass.nelem == INT_MAX) fatal("Too many elements in the file");
          outf("POLYLINE n. %8d\n", static_cast<int>(pass.nelem + 1));
          if ((pass.polylines + 1) % checkpoint_every == 0) {
            checkpoints.push_back(
                {file.tell(), {static_cast<int>(pass.nelem), static_cast<int>(pass.npoin)}});
          }
        },
        [&] {
          if (pass.nvert > mesh::mnode) too_many_nodes(static_cast<int>(pass.nelem + 1));
          if (pass.npoin == INT_MAX) fatal("Too many nodes in the file");
        });
  });
  if (!ended) end_of_file();
  return {static_cast<int>(pass.nelem), static_cast<int>(pass.npoin)};
}

// Second pass: the node lists and the coordinates, in file order. Inside a vertex, x follows the
// " 10" group code; y and z follow the next two group codes, whatever they say.
struct SecondPass {
  enum class State { outside, in_polyline, seek_x, x, code_y, y, code_z, z };
  State state = State::outside;
  int ielem = 0;
  int ipoin = 0;
  int j = 0;  // vertices of the current polyline
  double* c = nullptr;

  // One line, with the elements and points bounded by `limit`; false at the end of the section.
  bool line(std::string_view line, const Counts& limit, mesh::MeshBuffer& read) {
    switch (state) {
      case State::outside:
        if (starts(line, endsec)) return false;
        if (starts(line, polyline)) {
          j = 0;
          state = State::in_polyline;
        }
        break;
      case State::in_polyline:
        if (starts(line, seqend)) {
          if (j > 0) read.nnoel[ielem] = j;
          state = State::outside;
        } else if (starts(line, vertex)) {
          if (j == 0) {
            if (ielem >= limit.nelem) fatal("vmzdxi: internal error 1");
            ++ielem;
          }
          if (ipoin >= limit.npoin) fatal("vmzdxi: internal error 2");
          ++ipoin;
          if (j >= mesh::mnode) fatal("vmzdxi: internal error 3");
          ++j;
          read.lnods(ielem, j) = ipoin;
          c = read.coord.row(ipoin);
          state = State::seek_x;
        }
        break;
      case State::seek_x:
        if (starts(line, x_code)) state = State::x;
        break;
      case State::x:
        c[0] = value(line);
        state = State::code_y;
        break;
      case State::code_y:
        state = State::y;
        break;
      case State::y:
        c[1] = value(line);
        state = State::code_z;
        break;
      case State::code_z:
        state = State::z;
        break;
      case State::z:
        c[2] = value(line);
        state = State::in_polyline;
        break;
    }
    return true;
  }
};

void read_polylines(console::InputFile& file, const Counts& counts, mesh::MeshBuffer& read) {
  skip_to_entities(file);
  SecondPass pass;
  bool ended = file.for_each_line(
      dxf_line_size, [&](std::string_view line) { return pass.line(line, counts, read); });
  if (!ended) end_of_file();
  if (pass.ielem != counts.nelem) fatal("vmzdxi: internal error 4");
  if (pass.ipoin != counts.npoin) fatal("vmzdxi: internal error 5");
}

// The second pass by several threads, each from a checkpoint to the next one it was given, on
// its own handle of the file. A thread that meets a fault, or that does not arrive at its end in
// the state in which the next thread began, makes the answer false: the sequential pass then
// reads the file again and reports the first fault in file order.
bool read_polylines_parallel(const std::string& name, const Counts& counts,
                             const std::vector<Checkpoint>& checkpoints, mesh::MeshBuffer& read) {
  int n = static_cast<int>(std::min<std::size_t>(console::thread_count(), checkpoints.size()));
  if (n < 2) return false;
  // Thread t begins at checkpoint first(t) - 1 (thread 0 at the file's start).
  auto first = [&](int t) { return static_cast<std::size_t>(checkpoints.size() * t / n); };
  std::vector<char> good(n, 0);
  console::run_parallel(n, [&](int t) {
    try {
      auto file = console::InputFile::open(name);
      if (!file) return;
      SecondPass pass;
      if (t == 0) {
        skip_to_entities(*file);
      } else {
        const Checkpoint& from = checkpoints[first(t) - 1];
        if (!file->seek(from.offset)) return;
        pass.state = SecondPass::State::in_polyline;
        pass.ielem = from.before.nelem;
        pass.ipoin = from.before.npoin;
      }
      const Checkpoint* to = t + 1 < n ? &checkpoints[first(t + 1) - 1] : nullptr;
      const Counts& limit = to != nullptr ? to->before : counts;
      bool arrived = false;
      bool ended = file->for_each_line(dxf_line_size, [&](std::string_view line) {
        if (!pass.line(line, limit, read)) return false;
        arrived = to != nullptr && file->tell() == to->offset;
        return !arrived;
      });
      bool matches = pass.ielem == limit.nelem && pass.ipoin == limit.npoin;
      good[t] = to == nullptr ? ended && matches
                              : arrived && matches && pass.state == SecondPass::State::in_polyline &&
                                    pass.j == 0;
    } catch (const console::FatalError&) {
    }
  });
  console::terminal::check_interrupt();
  return std::all_of(good.begin(), good.end(), [](char g) { return g != 0; });
}

}  // namespace

void vmzdxi(mesh::MeshBuffer& buffer, const std::string& jobname, mesh::Titles& titles) {
  buffer = mesh::MeshBuffer{};
  outf("\nPolylines are converted to .vmz data\n");
  titles = mesh::Titles{};

  std::string name = jobname + ".dxf";
  outf("\nScanning file: %s\n", name.c_str());
  Counts counts;
  std::vector<Checkpoint> checkpoints;
  {
    auto file = console::InputFile::open(name);
    if (!file) {
      console::warning("File not found - jobname.dxf");
      outf("\n");
      console::pause("Current buffer cleared - press the Return key ... ");
      mesh::print_counts(0, 0, 0);
      return;
    }
    counts = count_polylines(name, *file, checkpoints);
  }

  mesh::print_counts(counts.nelem, counts.npoin, 0);
  mesh::MeshBuffer read;
  read.lnods = console::OneMatrix<int>(counts.nelem, mesh::mnode);
  read.nnoel = console::OneVector<int>(counts.nelem);
  read.lspno = console::OneVector<int>(0);
  read.coord = console::OneMatrix<double>(counts.npoin, mesh::ndime);

  outf("\nReading file: %s\n", name.c_str());
  if (!read_polylines_parallel(name, counts, checkpoints, read)) {
    auto file = console::InputFile::open(name);
    if (!file) fatal("File not found - jobname.dxf");
    read_polylines(*file, counts, read);
  }

  read.nelem = counts.nelem;
  read.npoin = counts.npoin;
  read.nspno = 0;
  buffer = std::move(read);
}

}  // namespace exchange
