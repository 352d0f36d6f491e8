// The command-table rows of csm, cya, mir, mov, paa, rot and shr: the check made before each
// call.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {
const std::string need_point = "\nERROR: need at least one point\n";
const std::string need_element = "\nERROR: need at least one element\n";
}  // namespace

TEST(CommandRows, EmptyBufferIsRefusedByEveryCommandButCsm) {
  Session s;
  Result r = s.run("cya\nmir\nmov\npaa\nrot\nshr\nend\n");
  EXPECT_EQ(r.out, startup() + step("cya") + need_point + step("mir") + need_point + step("mov") +
                       need_point + step("paa") + need_point + step("rot") + need_point +
                       step("shr") + need_element + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST(CommandRows, PointsWithoutElementsServeEverythingButShr) {
  Session s;
  s.write("p.vmz", "Points\nP\n0 2 1\n1 0 0 0\n2 1 2 3\n1 2\n");
  Result r = s.run("rea\np\nshr\npaa\n2\n\n\n\n\n7\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "p", "Points", "P", 0, 2, 1) +
                       step("shr") + need_element + step("paa") +
                       "\nRepeat a drawing nx by ny by nz times\n" +
                       ask_int("Number of repetitions in x", 1, "2") +
                       ask_int("Number of repetitions in y", 1, "") +
                       ask_int("Number of repetitions in z", 1, "") +
                       ask_real("Step   of repetitions in x", "0", "") +
                       ask_real("Step   of repetitions in y", "0", "") +
                       ask_real("Step   of repetitions in z", "0", "7") +
                       handback("Points", "P", 0, 4, 2) + step("wri") +
                       wri_dialogue("p", "out", 0, 4, 2) + step("end") + leave());
  EXPECT_EQ(s.read("out.vmz"),
            "Points\n"
            "P\n"
            "    0       4       2\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      1.00000000      2.00000000      3.00000000\n"
            "    3      0.00000000      0.00000000      0.00000000\n"
            "    4      1.00000000      2.00000000      3.00000000\n"
            "    1     2\n"
            "    2     4\n");
}

TEST(CommandRows, CsmWorksInBufferBAndMarksOnlyIt) {
  Session s;
  // csm in buffer b; back in buffer a, end still warns because buffer b holds unwritten changes.
  Result r = s.run("ccf\ncsm\n2\n\n\nccf\nend\ny\n");
  EXPECT_EQ(r.out, startup() + step("ccf") + step("csm", 'b') + csm_menu() +
                       ask_int("Your choice", 1, "2") + "\nThe mesh is in the plane (x+ , y+)\n" +
                       ask_real("Size in x", "1", "") + ask_real("Size in y", "1", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("ccf", 'b') +
                       step("end") + leave_anyway());
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  EXPECT_EQ(r.status, 0);
}
