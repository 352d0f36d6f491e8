// dxo: the mesh as a DXF drawing, checked line by line against the entity layouts.
#include "exchange/dxo.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

#include "console/report.h"
#include "support/drawings.h"
#include "support/session.h"

using namespace session;

namespace {

const char* const zero = "      0.0000000";
const char* const one = "      1.0000000";
const char* const two = "      2.0000000";

std::string rectangle() {
  return mesh_file("Rectangular mesh", "Mesh", {{1, 2, 3, 4, 1}},
                   {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, {3});
}

const std::string export_heading = "Write a .dxf file (AutoCad 10) with buffer a or b";

// Limits the size of the files the program may write, as a full disk would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limited);
    old_handler_ = ::signal(SIGXFSZ, SIG_IGN);  // a write beyond the limit fails instead
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &old_);
    ::signal(SIGXFSZ, old_handler_);
  }

 private:
  rlimit old_;
  void (*old_handler_)(int);
};

}  // namespace

TEST(Dxo, AllAnswersDefaultWriteTheTitleAndOnePolylinePerElement) {
  Session s;
  s.write("plate.vmz", rectangle());
  DxoAnswers a;  // polylines, everything else n
  Result r = s.run("rea\nplate\ndxo\n\n" + a.lines() + "end\n");
  EXPECT_EQ(r.out, startup() + step("rea") +
                       job_dialogue("Read a .vmz file to buffer a or b", "new", "plate") +
                       reading("plate.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("dxo") +
                       dxo_dialogue("plate", "", a) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  // Extents x 0..2, y 0..1, reference size 2: title at (0.1, 1.2), height 0.4. The node list
  // is closed already, so the polyline has its five entries and nothing more.
  EXPECT_EQ(s.read("plate.dxf"), dxf_head() +
                                     dxf_text("TITLE", {"      0.1000000", "      1.2000000", zero},
                                              "      0.4000000", "Rectangular mesh - Mesh") +
                                     dxf_polyline("LINES", {{zero, zero, zero},
                                                            {two, zero, zero},
                                                            {two, one, zero},
                                                            {zero, one, zero},
                                                            {zero, zero, zero}}) +
                                     dxf_end());
  EXPECT_EQ(s.files(), (std::vector<std::string>{"plate.dxf", "plate.vmz"}));
}

TEST(Dxo, ConversionWritesPermutedCoordinatesAndLeavesTheBufferAsItWas) {
  Session s;
  s.write("bar.vmz", mesh_file("Bar", "B", {{1, 2}}, {{1.5, -2.25, 3.125}, {4.0, 0.5, -1.0}}, {}));
  DxoAnswers a{"l", "y", "y", "", "", "", ""};
  Result r = s.run("rea\nbar\ndxo\nbar\n" + a.lines() + "wri\nback\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(dxo_dialogue("bar", "bar", a)), std::string::npos);
  // Drawn x, y, z are the mesh's x2, x3, x1: (-2.25, 3.125, 1.5) and (0.5, -1, 4). Extents
  // x -2.25..0.5, y -1..3.125; reference size 4.125 (the y side).
  const DxfPoint p1{"     -2.2500000", "      3.1250000", "      1.5000000"};
  const DxfPoint p2{"      0.5000000", "     -1.0000000", "      4.0000000"};
  EXPECT_EQ(s.read("bar.dxf"), dxf_head() +
                                   dxf_text("TITLE", {"     -2.1125000", "      3.9500000", zero},
                                            "      0.8250000", "Bar - B") +
                                   dxf_line("LINES", p1, p2) + dxf_point("MARNO", p1) +
                                   dxf_point("MARNO", p2) + dxf_end());
  // The buffer still holds the coordinates it held before the export.
  EXPECT_EQ(s.read("back.vmz"),
            lines({"Bar", "B", "    1       2       0", "    1     2        1     2",
                   "    1      1.50000000     -2.25000000      3.12500000",
                   "    2      4.00000000      0.50000000     -1.00000000"}));
}

TEST(Dxo, PointsWithoutElementsStillGetMarksAndNumbersFarFromTheTitle) {
  Session s;
  s.write("loose.vmz", mesh_file("Loose points", "Pts", {}, {{1, 1, 0}, {3, 2, 0.5}}, {2}));
  DxoAnswers a{"", "", "y", "y", "y", "y", "y"};
  Result r = s.run("rea\nloose\ndxo\n\n" + a.lines() + "0.5\n0.5\n0.5\n0.5\nend\n");
  EXPECT_EQ(r.status, 0);
  // No element: the reference size stays 1.0e30, so every size is offered as 1.0e29.
  EXPECT_NE(r.out.find(dxo_dialogue("loose", "", a) +
                       ask_real("Size of the marks in the special nodes", "1e+29", "0.5") +
                       ask_real("Size of the numbers in the elements", "1e+29", "0.5") +
                       ask_real("Size of the numbers in the nodes", "1e+29", "0.5") +
                       ask_real("Size of the numbers in the special nodes", "1e+29", "0.5") +
                       step("end")),
            std::string::npos);
  // The extents keep their starting values: the title lies far away.
  const double reference = 1.0e30, xmin = 1.0e30, xmax = -1.0e30, ymin = 1.0e30, ymax = -1.0e30;
  const DxfPoint title{xmin + 0.05 * (xmax - xmin), ymax + 0.2 * (ymax - ymin), zero};
  const DxfPoint p1{one, one, zero}, p2{3.0, 2.0, 0.5};
  // Special node at (3, 2, 0.5): a square of side 0.5 and its diagonals, at height 0.5.
  const DxfPoint a1{2.75, 1.75, 0.5}, a2{3.25, 1.75, 0.5}, a3{3.25, 2.25, 0.5}, a4{2.75, 2.25, 0.5};
  EXPECT_EQ(s.read("loose.dxf"),
            dxf_head() + dxf_text("TITLE", title, 0.2 * reference, "Loose points - Pts") +
                dxf_point("MARNO", p1) + dxf_point("MARNO", p2) + dxf_line("MARSN", a1, a2) +
                dxf_line("MARSN", a2, a3) + dxf_line("MARSN", a3, a4) + dxf_line("MARSN", a4, a1) +
                dxf_line("MARSN", a1, a3) + dxf_line("MARSN", a4, a2) +
                dxf_text("NUMNO", {1.4, 1.4, zero}, 0.5, "1") +
                dxf_text("NUMNO", {3.4, 2.4, 0.5}, 0.5, "2") +
                dxf_text("NUMSN", {3.4, 1.25, 0.5}, 0.5, "1") + dxf_end());
}

TEST(Dxo, ElementWithCoincidentNodesGivesSizeZeroWhoseDefaultIsRefused) {
  Session s;
  s.write("flat.vmz", mesh_file("Flat", "F", {{1, 2}, {3, 4}},
                                {{0, 0, 0}, {1, 0, 0}, {5, 5, 1}, {5, 5, 1}}, {}));
  DxoAnswers a{"l", "", "", "", "y", "", ""};
  Result r = s.run("rea\nflat\ndxo\n\n" + a.lines() + "\n0\n-1\n0.25\nend\n");
  EXPECT_EQ(r.status, 0);
  const std::string refused = "\nERROR: positive number expected - repeat answer ...\n";
  const std::string question = "Size of the numbers in the elements";
  EXPECT_NE(r.out.find("\nWriting file: flat.dxf\n" + ask_real(question, "0", "") + refused +
                       ask_real(question, "0", "0") + refused + ask_real(question, "0", "-1") +
                       refused + ask_real(question, "0", "0.25") + step("end")),
            std::string::npos);
  // The second element has extent 0: the title height is 0.
  EXPECT_EQ(s.read("flat.dxf"), dxf_head() +
                                    dxf_text("TITLE", {0.25, 6.0, zero}, zero, "Flat - F") +
                                    dxf_line("LINES", {zero, zero, zero}, {one, zero, zero}) +
                                    dxf_line("LINES", {5.0, 5.0, one}, {5.0, 5.0, one}) +
                                    dxf_text("NUMEL", {0.375, -0.125, zero}, 0.25, "1") +
                                    dxf_text("NUMEL", {4.875, 4.875, one}, 0.25, "2") + dxf_end());
}

TEST(Dxo, FourNodeListsCloseOnlyWhenTheirEndsDiffer) {
  Session s;
  s.write("quads.vmz", mesh_file("Quads", "Q", {{1, 2, 3, 4}, {1, 2, 3, 4, 1}, {1, 2, 3, 1}},
                                 {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {}));
  DxoAnswers lines_mode{"l", "", "", "", "", "", ""};
  DxoAnswers polyline_mode;
  Result r = s.run("rea\nquads\ndxo\nlines\n" + lines_mode.lines() + "dxo\npolys\n" +
                   polyline_mode.lines() + "end\n");
  EXPECT_EQ(r.status, 0);
  const DxfPoint p1{zero, zero, zero}, p2{one, zero, zero}, p3{one, one, zero}, p4{zero, one, zero};
  const std::string title =
      dxf_head() + dxf_text("TITLE", {"      0.0500000", "      1.2000000", zero},
                            "      0.2000000", "Quads - Q");
  // Open list: a closing segment. Closed list: its chain ends at node 1 already. Three nodes
  // with the first repeated: no closing segment.
  EXPECT_EQ(s.read("lines.dxf"), title + dxf_line("LINES", p1, p2) + dxf_line("LINES", p2, p3) +
                                     dxf_line("LINES", p3, p4) + dxf_line("LINES", p4, p1) +
                                     dxf_line("LINES", p1, p2) + dxf_line("LINES", p2, p3) +
                                     dxf_line("LINES", p3, p4) + dxf_line("LINES", p4, p1) +
                                     dxf_line("LINES", p1, p2) + dxf_line("LINES", p2, p3) +
                                     dxf_line("LINES", p3, p1) + dxf_end());
  EXPECT_EQ(s.read("polys.dxf"), title + dxf_polyline("LINES", {p1, p2, p3, p4, p1}) +
                                     dxf_polyline("LINES", {p1, p2, p3, p4, p1}) +
                                     dxf_polyline("LINES", {p1, p2, p3, p1}) + dxf_end());
}

TEST(Dxo, ThreeAndTwentyNodeChainsStayOpenAndNineNodesClose) {
  std::vector<std::array<double, 3>> points;
  for (int p = 1; p <= 20; ++p) points.push_back({1.0 * p, 1.0 * (p % 3), 0.25 * p});
  std::vector<int> nine, twenty;
  for (int p = 1; p <= 9; ++p) nine.push_back(p);
  for (int p = 1; p <= 20; ++p) twenty.push_back(p);
  Session s;
  s.write("chains.vmz", mesh_file("Chains", "C", {{1, 2, 3}, nine, twenty}, points, {}));
  DxoAnswers lines_mode{"l", "", "", "", "", "", ""};
  DxoAnswers polyline_mode{"p", "", "", "", "", "", ""};
  Result r = s.run("rea\nchains\ndxo\nlines\n" + lines_mode.lines() + "dxo\npolys\n" +
                   polyline_mode.lines() + "end\n");
  EXPECT_EQ(r.status, 0);
  auto P = [](int p) { return DxfPoint{1.0 * p, 1.0 * (p % 3), 0.25 * p}; };
  // Extents x 1..20, y 0..2; reference size 2 (the 3-node element's x and y sides).
  const std::string title = dxf_head() + dxf_text("TITLE", {1.95, 2.4, zero}, 0.4, "Chains - C");
  std::string segments = dxf_line("LINES", P(1), P(2)) + dxf_line("LINES", P(2), P(3));
  for (int k = 2; k <= 9; ++k) segments += dxf_line("LINES", P(k - 1), P(k));
  segments += dxf_line("LINES", P(9), P(1));
  for (int k = 2; k <= 20; ++k) segments += dxf_line("LINES", P(k - 1), P(k));
  EXPECT_EQ(s.read("lines.dxf"), title + segments + dxf_end());

  std::vector<DxfPoint> v9, v20;
  for (int k = 1; k <= 9; ++k) v9.push_back(P(k));
  v9.push_back(P(1));
  for (int k = 1; k <= 20; ++k) v20.push_back(P(k));
  EXPECT_EQ(s.read("polys.dxf"), title + dxf_polyline("LINES", {P(1), P(2), P(3)}) +
                                     dxf_polyline("LINES", v9) + dxf_polyline("LINES", v20) +
                                     dxf_end());
}

TEST(Dxo, SpecialNodesAreNumberedByTheirPlaceInTheList) {
  Session s;
  s.write("tri.vmz",
          mesh_file("Special", "S", {{1, 2, 3}}, {{0, 0, 0}, {4, 0, 0}, {4, 2, 0}}, {3, 1, 2}));
  DxoAnswers a{"", "", "", "", "", "", "y"};
  Result r = s.run("rea\ntri\ndxo\n\n" + a.lines() + "1\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(ask_real("Size of the numbers in the special nodes", "0.4", "1")),
            std::string::npos);
  // Reference size 4; the numbers 1, 2, 3 stand beside points 3, 1 and 2.
  EXPECT_EQ(s.read("tri.dxf"),
            dxf_head() +
                dxf_text("TITLE", {"      0.2000000", "      2.4000000", zero}, "      0.8000000",
                         "Special - S") +
                dxf_polyline("LINES", {{zero, zero, zero}, {4.0, zero, zero}, {4.0, two, zero}}) +
                dxf_text("NUMSN", {4.8, 0.5, zero}, one, "1") +
                dxf_text("NUMSN", {0.8, -1.5, zero}, one, "2") +
                dxf_text("NUMSN", {4.8, -1.5, zero}, one, "3") + dxf_end());
}

TEST(Dxo, NeedsAPoint) {
  Session s;
  Result r = s.run("dxo\nend\n");
  EXPECT_EQ(r.out,
            startup() + step("dxo") + "\nERROR: need at least one point\n" + step("end") + leave());
  EXPECT_TRUE(s.files().empty());
}

TEST(Dxo, OutputThatCannotBeOpenedIsRefusedAndTheBufferKept) {
  Session s;
  s.write("plate.vmz", rectangle());
  DxoAnswers a{"", "y", "", "", "", "", ""};
  Result r = s.run("rea\nplate\ndxo\nnodir/plate\n" + a.lines() + "\nwri\nback\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") +
                       job_dialogue("Read a .vmz file to buffer a or b", "new", "plate") +
                       reading("plate.vmz", "Rectangular mesh", "Mesh", 1, 4, 1) + step("dxo") +
                       dxo_dialogue("plate", "nodir/plate", a) +
                       "\nNothing changed - press the Return key ...\n" + step("wri") +
                       job_dialogue("Write a .vmz file with buffer a or b", "nodir/plate", "back") +
                       counts(1, 4, 1) + "\nWriting file: back.vmz\n" + step("end") + leave());
  EXPECT_EQ(r.err, warning("Unable to open output file - jobname.dxf"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("back.vmz"), rectangle());
  EXPECT_EQ(s.files(), (std::vector<std::string>{"back.vmz", "plate.vmz"}));
}

TEST(Dxo, DrawingThatCannotBeWrittenCompletelyLeavesTheOldOne) {
  std::vector<std::vector<int>> bars;
  std::vector<std::array<double, 3>> points;
  for (int e = 1; e <= 400; ++e) bars.push_back({e, e + 1});
  for (int p = 1; p <= 401; ++p) points.push_back({0.5 * p, 0, 0});
  Session s;
  s.write("big.vmz", mesh_file("Big", "B", bars, points, {}));
  s.write("big.dxf", "old drawing\n");
  DxoAnswers a;
  Result r;
  {
    FileSizeLimit limit(32 * 1024);  // room for the session's output, not for the drawing
    r = s.run("rea\nbig\ndxo\n\n" + a.lines() + "\nend\n");
  }
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(dxo_dialogue("big", "", a) +
                       "\nNothing changed - press the Return key ... \n" + step("end")),
            std::string::npos);
  EXPECT_EQ(r.err, warning("Unable to write output file - jobname.dxf"));
  EXPECT_EQ(s.read("big.dxf"), "old drawing\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.dxf", "big.vmz"}));
}

TEST(Dxo, BufferWithoutPointsIsRefusedWithoutAQuestion) {
  // The shell never calls the export without a point; called anyway, it refuses.
  char input[] = "\n";
  char* out_text = nullptr;
  char* err_text = nullptr;
  std::size_t out_size = 0, err_size = 0;
  console::Streams saved = console::streams();
  console::streams().in = ::fmemopen(input, 1, "r");
  console::streams().out = ::open_memstream(&out_text, &out_size);
  console::streams().err = ::open_memstream(&err_text, &err_size);
  Session s;  // only for its empty directory
  exchange::vmzdxo(mesh::MeshBuffer{}, s.path("empty"), mesh::Titles{});
  std::fclose(console::streams().in);
  std::fclose(console::streams().out);
  std::fclose(console::streams().err);
  console::streams() = saved;
  EXPECT_EQ(std::string(out_text, out_size), "\nNothing changed - press the Return key ...\n");
  EXPECT_EQ(std::string(err_text, err_size), warning("There is nothing to write in the .dxf file"));
  EXPECT_TRUE(s.files().empty());
  std::free(out_text);
  std::free(err_text);
}
