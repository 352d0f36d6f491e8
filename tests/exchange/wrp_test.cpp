// wrp: one coordinate of every point in a file named after the buffer.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

TEST(Wrp, WritesTheChosenCoordinateOfEveryPoint) {
  Session s;
  s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{-0.5, 12, 3.125}, {2.25, 0, -1234.5}}));
  const std::string axis = "x,y or z (1,2 or 3)", refused = "\nERROR: repeat answer ...\n";
  Result r = s.run("rea\nplate\nwrp\n0\n4\n\nwrp\n3\nend\n");
  EXPECT_EQ(r.out, startup() + rea_step("new", "plate", "Plate", "P", 1, 2, 0) + step("wrp") +
                       "\nWrite a .pva file with one of the coordinates of a .vmz file\n" +
                       ask_int(axis, 1, "0") + refused + ask_int(axis, 1, "4") + refused +
                       ask_int(axis, 1, "") + "\nWriting file: plate_1.pva\n" + step("wrp") +
                       "\nWrite a .pva file with one of the coordinates of a .vmz file\n" +
                       ask_int(axis, 1, "3") + "\nWriting file: plate_1.pva\n" + step("end") +
                       leave());
  // The second run replaced the first file.
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1      3.12500000", "    2  -1234.50000000"}));
  s.run("rea\nplate\nwrp\n1\nrea\nplate\nwrp\n2\nend\n");
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1     12.00000000", "    2      0.00000000"}));

  // A buffer not read by rea is named buffa.
  s.write("bar.dxf",
          "  0\nENTITIES\n  0\nPOLYLINE\n  0\nVERTEX\n 10\n1\n 20\n2\n 30\n3\n  0\nSEQEND\n"
          "  0\nENDSEC\n");
  s.run("dxi\nbar\nwrp\n2\nend\n");
  EXPECT_EQ(s.read("buffa_1.pva"), "    1      2.00000000\n");
}
