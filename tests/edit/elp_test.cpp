// elp: removal of the points that no element uses.
#include <gtest/gtest.h>

#include "support/editing.h"
#include "support/session.h"

using namespace session;
using editing::handback;
using editing::read_step;
using editing::write_step;
using session::mesh_file;

namespace {
const std::string heading = "\nEliminate points not belonging to any element\n";
}  // namespace

TEST(Elp, AfterEleOnlyPointsOfRemovedElementsGoAndSpecialNodesStay) {
  Session s;
  // Bars 1-2, 2-3, 3-4, 4-5; point 6 is used by no element but is special; point 7 is free.
  s.write("bars.vmz",
          mesh_file("Bars", "Mesh", {{1, 2}, {2, 3}, {3, 4}, {4, 5}},
                    {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}, {5, 0, 0}, {6, 1, 0}, {7, 1, 0}},
                    {6, 4}));
  Result r = s.run("rea\nbars\nele\n1\n1\n3\n3\n0\nelp\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + read_step("bars", "new", "Bars", "Mesh", 4, 7, 2) + step("ele") +
                       "\nEliminate ranges of elements\n"
                       "\n=====================================================================\n" +
                       ask_int("Number of the first element to be eliminated (0=end)", 0, "1") +
                       ask_int("Number of the last  element to be eliminated (0=end)", 0, "1") +
                       "\n=====================================================================\n" +
                       ask_int("Number of the first element to be eliminated (0=end)", 0, "3") +
                       ask_int("Number of the last  element to be eliminated (0=end)", 0, "3") +
                       "\n=====================================================================\n" +
                       ask_int("Number of the first element to be eliminated (0=end)", 0, "0") +
                       handback("Bars", "Mesh", 2, 7, 2) + step("elp") + heading +
                       handback("Bars", "Mesh", 2, 5, 2) + write_step("out", "bars", 2, 5, 2) +
                       step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Bars",
                                   "Mesh",
                                   "    2       5       2",
                                   "    1     2        1     2",
                                   "    2     2        3     4",
                                   "    1      2.00000000      0.00000000      0.00000000",
                                   "    2      3.00000000      0.00000000      0.00000000",
                                   "    3      4.00000000      0.00000000      0.00000000",
                                   "    4      5.00000000      0.00000000      0.00000000",
                                   "    5      6.00000000      1.00000000      0.00000000",
                                   "    1     5",
                                   "    2     3",
                               }));
}

TEST(Elp, EveryPointUsedGivesTheSameNumbering) {
  Session s;
  // A closed quadrilateral (first node repeated) and a bar sharing point 3.
  std::string mesh = mesh_file("Quad", "Mesh", {{1, 2, 3, 4, 1}, {3, 5}},
                               {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {2, 2, 0}}, {2});
  s.write("quad.vmz", mesh);
  Result r = s.run("rea\nquad\nelp\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), mesh);
}

TEST(Elp, WithoutElementsOnlyTheSpecialNodesPointsRemain) {
  Session s;
  s.write("bars.vmz",
          mesh_file("Bars", "Mesh", {{1, 2}, {2, 3}}, {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}}, {3, 3}));
  Result r = s.run("rea\nbars\nele\n1\n2\n0\nelp\nwri\nout\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("out.vmz"), lines({
                                   "Bars",
                                   "Mesh",
                                   "    0       1       2",
                                   "    1      2.00000000      0.00000000      0.00000000",
                                   "    1     1",
                                   "    2     1",
                               }));
}
