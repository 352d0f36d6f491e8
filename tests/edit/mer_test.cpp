// mer: buffer b behind buffer a, handed back into buffer a.
#include <gtest/gtest.h>

#include "support/editing.h"
#include "support/session.h"

using namespace session;
using editing::handback;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {

const std::string heading = "\nMerge buffer b in buffer a (all elements go to buffer a)\n";

// The unit square as one closed 4-node element, point 3 special.
std::string square() {
  return mesh_file("Square", "Mesh", {{1, 2, 3, 4, 1}},
                   {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {3});
}
// One bar from (5,0,0) to (6,0,0), no special nodes.
std::string bar() {
  return mesh_file("Bar", "Mesh", {{1, 2}}, {{5, 0, 0}, {6, 0, 0}}, {});
}

}  // namespace

TEST(Mer, SameMeshInBothBuffersGivesTwoUnjoinedCopies) {
  Session s;
  s.write("sq.vmz", square());
  Result r = s.run("rea\nsq\nccf\nrea\nsq\nccf\nmer\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 1) + step("ccf") +
                       read_step("sq", "sq", "Square", "Mesh", 1, 4, 1, 'b') + step("ccf", 'b') +
                       step("mer") + heading + handback("Square", "Mesh", 2, 8, 2) +
                       write_step("out", "sq", 2, 8, 2) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Square",
                                   "Mesh",
                                   "    2       8       2",
                                   "    1     5        1     2     3     4     1",
                                   "    2     5        5     6     7     8     5",
                                   "    1      0.00000000      0.00000000      0.00000000",
                                   "    2      1.00000000      0.00000000      0.00000000",
                                   "    3      1.00000000      1.00000000      0.00000000",
                                   "    4      0.00000000      1.00000000      0.00000000",
                                   "    5      0.00000000      0.00000000      0.00000000",
                                   "    6      1.00000000      0.00000000      0.00000000",
                                   "    7      1.00000000      1.00000000      0.00000000",
                                   "    8      0.00000000      1.00000000      0.00000000",
                                   "    1     3",
                                   "    2     7",
                               }));
}

TEST(Mer, WithBufferBCurrentOnlyBufferAChangesAndBufferBCountsAsWritten) {
  Session s;
  s.write("sq.vmz", square());
  s.write("bar.vmz", bar());
  // Buffer b is changed (a hand-back by ele) before the merge, so its mark is n until mer.
  Result r = s.run("rea\nsq\nccf\nrea\nbar\nele\n0\nmer\nccf\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 1) + step("ccf") +
                       read_step("bar", "sq", "Bar", "Mesh", 1, 2, 0, 'b') + step("ele", 'b') +
                       "\nEliminate ranges of elements\n"
                       "\n=====================================================================\n" +
                       ask_int("Number of the first element to be eliminated (0=end)", 0, "0") +
                       handback("Bar", "Mesh", 1, 2, 0) + step("mer", 'b') + heading +
                       handback("Bar", "Mesh", 2, 6, 1) + step("ccf", 'b') +
                       write_step("out", "bar", 2, 6, 1) + step("end") + leave());
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_file("Bar", "Mesh", {{1, 2, 3, 4, 1}, {5, 6}},
                      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 0, 0}, {6, 0, 0}}, {3}));

  // Buffer b itself is left as it was.
  Session t;
  t.write("sq.vmz", square());
  t.write("bar.vmz", bar());
  r = t.run("rea\nsq\nccf\nrea\nbar\nmer\nwri\nbcopy\nend\ny\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(t.read("bcopy.vmz"), bar());
}

TEST(Mer, RefusedWhenBufferBIsEmptyEvenIfBufferAHasPoints) {
  Session s;
  s.write("sq.vmz", square());
  Result r = s.run("rea\nsq\nmer\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("sq", "new", "Square", "Mesh", 1, 4, 1) + step("mer") +
                       "\nERROR: need at least one point\n" + step("end") + leave());
}

TEST(Mer, EmptyBufferABecomesACopyOfBufferB) {
  Session s;
  s.write("sq.vmz", square());
  Result r = s.run("ccf\nrea\nsq\nccf\nmer\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), square());
}

TEST(Mer, PointsWithoutElementsAreAppended) {
  Session s;
  s.write("sq.vmz", square());
  s.write("pts.vmz", mesh_file("Points", "Mesh", {}, {{7, 7, 7}, {8, 8, 8}}, {2}));
  Result r = s.run("rea\nsq\nccf\nrea\npts\nccf\nmer\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"),
            mesh_file("Points", "Mesh", {{1, 2, 3, 4, 1}},
                      {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {7, 7, 7}, {8, 8, 8}}, {3, 6}));
}
