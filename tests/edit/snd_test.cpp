// snd: special node detection on lines and planes.
#include "edit/snd.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/editing.h"
#include "support/inprocess.h"
#include "support/session.h"

using namespace session;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {

const char* const kind_q = "2 or 3 point detection (line or plane) (0 = end)";
const std::string heading = "\nDetect and add special nodes to the mesh\n";
const std::string special_return = "\nReading file: tmp.snd\n";

// A detection's tolerance question answered with the default, then the choice of numbers or
// coordinates.
std::string line_start(const std::string& choice) {
  return ask_real("Tolerance to detect nodes", "0.0001", "") +
         "\nTwo points will be asked to define a line:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', choice);
}

// The unit square as made by the simple-mesh command: points (0,0), (1,0), (0,1), (1,1).
std::string square(const std::vector<int>& specials) {
  return mesh_file("Square", "Mesh", {{1, 2, 4, 3, 1}},
                   {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}, specials);
}
// Only the special-node records of a mesh file written by wri.
std::string specials_of(const std::string& file, int nelem, int npoin) {
  std::string text;
  std::size_t pos = 0;
  int line = 0;
  while (pos < file.size()) {
    std::size_t end = file.find('\n', pos);
    if (end == std::string::npos) end = file.size();
    // Titles, counts, elements and points: the rest are special nodes.
    if (++line > 3 + nelem + npoin) text += file.substr(pos, end - pos) + "\n";
    pos = end + 1;
  }
  return text;
}

}  // namespace

TEST(Snd, ZeroAtOnceSortsTheSpecialNodesAndDropsRepeats) {
  Session s;
  s.write("sq.vmz", square({3, 1, 3}));
  Result r = s.run("rea\nsq\nsnd\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 3) + step("snd") +
                       heading + ask_int(kind_q, 0, "") + special_return +
                       write_step("out", "sq", 1, 4, 2) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(specials_of(s.read("out.vmz"), 1, 4), lines({"    1     1", "    2     3"}));
  EXPECT_FALSE(s.exists("tmp.snd"));
}

TEST(Snd, LineBetweenTwoCornersTakesOnlyThem) {
  Session s;
  s.write("sq.vmz", square({}));
  Result r = s.run("rea\nsq\nsnd\n2\n\n\n1\n2\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 0) + step("snd") +
                       heading + ask_int(kind_q, 0, "2") + line_start("") +
                       ask_int("First  point: node number", 1, "1") +
                       ask_int("Second point: node number", 1, "2") + ask_int(kind_q, 0, "0") +
                       special_return + write_step("out", "sq", 1, 4, 2) + step("end") + leave());
  EXPECT_EQ(specials_of(s.read("out.vmz"), 1, 4), lines({"    1     1", "    2     2"}));

  Session t;
  t.write("sq.vmz", square({}));
  r = t.run("rea\nsq\nsnd\n2\n\n\n1\n4\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(specials_of(t.read("out.vmz"), 1, 4), lines({"    1     1", "    2     4"}));
}

TEST(Snd, LineToleranceAroundTheEndsAndBesideTheLine) {
  Session s;
  std::vector<editing::Point> points = {
      {0, 0, 0},          // 1: the first end
      {1, 0, 0},          // 2: the second end
      {1.00005, 0, 0},    // 3: beyond the second end by less than the tolerance
      {1.0002, 0, 0},     // 4: beyond it by more
      {-0.5, 0, 0},       // 5: on the line behind the first end
      {-0.00005, 0, 0},   // 6: behind the first end, within the tolerance
      {0.5, 0.0001, 0},   // 7: exactly the tolerance beside the line
      {0.5, 0.00011, 0},  // 8: more than the tolerance beside it
  };
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, points, {}));
  Result r = s.run("rea\npts\nsnd\n2\n\nc\n0\n0\n0\n1\n0\n0\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.out,
            startup() + read_step("pts", "new", "Points", "Mesh", 0, 8, 0) + step("snd") + heading +
                ask_int(kind_q, 0, "2") + line_start("c") + ask_real("First  point: x1", "0", "0") +
                ask_real("First  point: x2", "0", "0") + ask_real("First  point: x3", "0", "0") +
                ask_real("Second point: x1", "0", "1") + ask_real("Second point: x2", "0", "0") +
                ask_real("Second point: x3", "0", "0") + ask_int(kind_q, 0, "0") + special_return +
                write_step("out", "pts", 0, 8, 5) + step("end") + leave());
  EXPECT_EQ(specials_of(s.read("out.vmz"), 0, 8),
            lines({"    1     1", "    2     2", "    3     3", "    4     6", "    5     7"}));
}

TEST(Snd, PlaneToleranceIsScaledByTheNormalsLength) {
  Session s;
  // Plane through (0,0,0), (2,0,0), (0,2,0): the normal (0,0,4) multiplies the height by 4.
  std::vector<editing::Point> points = {
      {0, 0, 0.00002},   // 1: 0.00008, taken
      {0, 0, 0.000025},  // 2: exactly 0.0001, not taken (strict)
      {0, 0, 0.00003},   // 3: 0.00012, not taken
      {1, 1, -0.00002},  // 4: below the plane, taken
      {5, 5, 0},         // 5: in the plane far outside the triangle, taken
  };
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, points, {}));
  Result r = s.run("rea\npts\nsnd\n3\n\nc\n0\n0\n0\n2\n0\n0\n0\n2\n0\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.out,
            startup() + read_step("pts", "new", "Points", "Mesh", 0, 5, 0) + step("snd") + heading +
                ask_int(kind_q, 0, "3") + ask_real("Tolerance to detect nodes", "0.0001", "") +
                "\nThree points will be asked to define a plane:\n" +
                ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "c") +
                ask_real("First  point: x1", "0", "0") + ask_real("First  point: x2", "0", "0") +
                ask_real("First  point: x3", "0", "0") + ask_real("Second point: x1", "0", "2") +
                ask_real("Second point: x2", "0", "0") + ask_real("Second point: x3", "0", "0") +
                ask_real("Third  point: x1", "0", "0") + ask_real("Third  point: x2", "0", "2") +
                ask_real("Third  point: x3", "0", "0") + ask_int(kind_q, 0, "0") + special_return +
                write_step("out", "pts", 0, 5, 3) + step("end") + leave());
  EXPECT_EQ(specials_of(s.read("out.vmz"), 0, 5),
            lines({"    1     1", "    2     4", "    3     5"}));
}

TEST(Snd, PointsFoundTwiceOrAlreadySpecialAreListedOnce) {
  Session s;
  s.write("sq.vmz", square({2}));
  // Line 1-2, then a larger tolerance for the plane through points 1, 2, 3 (every point).
  Result r = s.run("rea\nsq\nsnd\n2\n\n\n1\n2\n3\n0.5\n\n1\n2\n3\n0\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(specials_of(s.read("out.vmz"), 1, 4),
            lines({"    1     1", "    2     2", "    3     3", "    4     4"}));
}

TEST(Snd, OtherDetectionKindsAreAskedAgain) {
  Session s;
  s.write("sq.vmz", square({}));
  Result r = s.run("rea\nsq\nsnd\n1\n4\n0\nend\ny\n");
  std::string repeat = "\nERROR: repeat answer ...\n";
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 0) + step("snd") +
                       heading + ask_int(kind_q, 0, "1") + repeat + ask_int(kind_q, 0, "4") +
                       repeat + ask_int(kind_q, 0, "0") + special_return + step("end") +
                       ask_char("Leave anyway", 'y', 'n', 'n', "y") + leave());
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
}

TEST(Snd, ScratchListHoldsOldNodesThenEachDetectionInFound) {
  Session s;
  s.write("sq.vmz", square({4, 2}));
  // The input ends during the second detection question: the scratch list stays behind.
  Result r = s.run("rea\nsq\nsnd\n2\n\n\n1\n2\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(s.read("tmp.snd"), lines({"       4", "       2", "       1", "       2"}));
}

TEST(SndResult, CountLineThenRunningNumbersAndAscendingPoints) {
  inprocess::Directory dir;
  mesh::MeshBuffer buffer;
  buffer.npoin = 4;
  buffer.coord = console::OneMatrix<double>(4, 3);
  buffer.coord.zero();
  for (int p = 1; p <= 4; ++p) buffer.coord(p, 1) = p;
  buffer.nspno = 3;
  buffer.lspno = console::OneVector<int>(3);
  buffer.lspno[1] = 3;
  buffer.lspno[2] = 1;
  buffer.lspno[3] = 3;
  {
    inprocess::Console console("0\n");
    edit::vmzsnd(buffer);
  }
  EXPECT_EQ(dir.read("tmp.snd"), lines({"       2", "       1          1", "       2          3"}));

  buffer.nspno = 0;
  buffer.lspno = console::OneVector<int>(0);
  {
    inprocess::Console console("0\n");
    edit::vmzsnd(buffer);
  }
  EXPECT_EQ(dir.read("tmp.snd"), "       0\n");
}

TEST(Snd, SpecialNodeFileThatCannotBeCreatedIsFatal) {
  Session s;
  s.write("sq.vmz", square({}));
  // A folder in the file's place, not empty, so that start-up cannot remove it.
  ASSERT_EQ(::mkdir(s.path("tmp.snd").c_str(), 0700), 0);
  s.write("tmp.snd/keep", "");
  Result r = s.run("rea\nsq\nsnd\n");
  EXPECT_EQ(r.out,
            startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 0) + step("snd") + heading);
  EXPECT_EQ(r.err, fatal("Unable to open output file - tmp.snd"));
  EXPECT_EQ(r.status, 1);
}

TEST(Snd, FailedWriteLeavesTheSpecialNodesAsTheyWere) {
  Session s;
  std::string mesh = square({3, 1});
  s.write("sq.vmz", mesh);
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  // tmp.snd leads to a device that is always full: the scratch list cannot be written.
  Result r =
      s.run("rea\nsq\nsys\nln -s /dev/full tmp.snd\n\nsnd\n2\n\n\n1\n2\n0\n\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, warning("Unable to write output file - tmp.snd"));
  EXPECT_NE(r.out.find(ask_int(kind_q, 0, "0") + "\nNothing changed - press the Return key ... \n"),
            std::string::npos);
  EXPECT_EQ(s.read("out.vmz"), mesh);
  EXPECT_FALSE(s.exists("tmp.snd"));
}
