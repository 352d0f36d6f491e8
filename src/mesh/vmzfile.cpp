#include "mesh/vmzfile.h"

#include <string_view>

#include "console/checks.h"
#include "console/dataline.h"
#include "console/dialogue.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "console/textfile.h"
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
