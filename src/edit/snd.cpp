#include "edit/snd.h"

#include <cmath>
#include <string_view>

#include "console/arrays.h"
#include "console/checks.h"
#include "console/dialogue.h"
#include "console/pointinput.h"
#include "console/report.h"
#include "console/textfile.h"
#include "mesh/sndfile.h"

namespace edit {

namespace {

using console::OneVector;

constexpr const char* special_file = "tmp.snd";

// The scratch list: one point number a line, "%8d", entries may repeat.
class ScratchList {
 public:
  explicit ScratchList(console::OutputFile& out) : out_(out) {}
  void add(int ipoin) {
    out_.put_int(ipoin, 8);
    out_.put('\n');
    ++count_;
  }
  long long count() const { return count_; }

 private:
  console::OutputFile& out_;
  long long count_ = 0;
};

double length(double x1, double x2, double x3) {
  return std::sqrt(x1 * x1 + x2 * x2 + x3 * x3);
}

// Points on the segment from p1 to p2, within tol of the line, stretched by tol beyond p2 and
// around p1.
void detect_line(const mesh::MeshBuffer& buffer, double tol, const OneVector<double>& p1,
                 const OneVector<double>& p2, ScratchList& found) {
  double d[3] = {p2[1] - p1[1], p2[2] - p1[2], p2[3] - p1[3]};
  // Measure along the coordinate in which the line advances most (the first on a tie).
  int f = 0;
  for (int i = 1; i < 3; ++i) {
    if (std::fabs(d[i]) > std::fabs(d[f])) f = i;
  }
  if (d[f] == 0) console::fatal("vmzsnd: internal error 2");
  const double dlen = length(d[0], d[1], d[2]);
  const double start[3] = {p1[1], p1[2], p1[3]};
  for (int k = 1; k <= buffer.npoin; ++k) {
    const double* x = buffer.coord.row(k);
    double u = (x[f] - start[f]) / d[f];
    bool near = true;
    for (int i = 0; i < 3; ++i) {
      if (!(std::fabs(u * d[i] + start[i] - x[i]) <= tol)) near = false;
    }
    if (!near) continue;
    double w[3] = {x[0] - start[0], x[1] - start[1], x[2] - start[2]};
    double wlen = length(w[0], w[1], w[2]);
    double wd = w[0] * d[0] + w[1] * d[1] + w[2] * d[2];
    if (wlen < tol || (wd >= 0 && wlen - dlen < tol)) found.add(k);
  }
}

// Points x with |n.p1 - n.x| < tol, n = (p2 - p1) x (p3 - p1) not normalised.
void detect_plane(const mesh::MeshBuffer& buffer, double tol, const OneVector<double>& p1,
                  const OneVector<double>& p2, const OneVector<double>& p3, ScratchList& found) {
  double a[3] = {p2[1] - p1[1], p2[2] - p1[2], p2[3] - p1[3]};
  double b[3] = {p3[1] - p1[1], p3[2] - p1[2], p3[3] - p1[3]};
  double n[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
  double c = n[0] * p1[1] + n[1] * p1[2] + n[2] * p1[3];
  for (int k = 1; k <= buffer.npoin; ++k) {
    const double* x = buffer.coord.row(k);
    if (std::fabs(c - (n[0] * x[0] + n[1] * x[1] + n[2] * x[2])) < tol) found.add(k);
  }
}

// Reads the count entries of the scratch list back and marks their points. The file was written
// completely just before, so anything other than count point numbers of the buffer is an
// internal fault. Marks, one a point, cost the same however often a point was found.
OneVector<char> read_scratch(long long count, int npoin) {
  auto in = console::InputFile::open(special_file);
  if (!in) console::fatal("vmzsnd: internal error 3");
  OneVector<char> marked(npoin);
  marked.zero();
  std::string_view token;
  for (long long k = 1; k <= count; ++k) {
    int value = 0;
    if (!in->next_token(token) || !console::parse_int(token, value) || value < 1 || value > npoin) {
      console::fatal("vmzsnd: internal error 4");
    }
    marked[value] = 1;
  }
  if (in->next_token(token)) console::fatal("vmzsnd: internal error 4");
  return marked;
}

}  // namespace

void vmzsnd(const mesh::MeshBuffer& buffer) {
  console::outf("\nDetect and add special nodes to the mesh\n");
  auto out = console::OutputFile::open(special_file, console::OutputFile::Mode::truncate,
                                       "Unable to write output file - tmp.snd");
  if (!out) console::fatal("Unable to open output file - tmp.snd");
  ScratchList found(*out);
  for (int s = 1; s <= buffer.nspno; ++s) found.add(buffer.lspno[s]);

  OneVector<double> p1(mesh::ndime), p2(mesh::ndime), p3(mesh::ndime);
  for (;;) {
    int kind = console::askint("2 or 3 point detection (line or plane) (0 = end)", 0);
    if (kind == 0) break;
    if (kind != 2 && kind != 3) {
      console::outf("\nERROR: repeat answer ...\n");
      continue;
    }
    double tol = console::askrea("Tolerance to detect nodes", 0.0001);
    if (kind == 2) {
      console::asklin(buffer.npoin, buffer.coord, p1, p2);
      detect_line(buffer, tol, p1, p2, found);
    } else if (kind == 3) {
      console::askpla(buffer.npoin, buffer.coord, p1, p2, p3);
      detect_plane(buffer, tol, p1, p2, p3, found);
    } else {
      console::fatal("vmzsnd: internal error 1");
    }
  }
  out->finish();
  out.reset();
  // The special nodes are the points found, each once, in increasing order.
  OneVector<char> marked = read_scratch(found.count(), buffer.npoin);
  int m = 0;
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) m += marked[ipoin];
  OneVector<int> entries(m);
  m = 0;
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    if (marked[ipoin]) entries[++m] = ipoin;
  }

  out = console::OutputFile::open(special_file, console::OutputFile::Mode::truncate,
                                  "Unable to write output file - tmp.snd");
  if (!out) console::fatal("Unable to open output file - tmp.snd");
  mesh::wrsnd(*out, entries, m);
  out->finish();
}

}  // namespace edit
