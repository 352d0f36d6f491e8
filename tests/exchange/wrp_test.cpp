// wrp: one coordinate of every point in a file named after the buffer.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/drawings.h"
#include "support/session.h"

using namespace session;

namespace {

const std::string heading = "\nWrite a .pva file with one of the coordinates of a .vmz file\n";
const std::string axis_question = "x,y or z (1,2 or 3)";

std::string plate() {
  return mesh_file("Plate", "P", {{1, 2, 3, 4, 1}},
                   {{-0.5, 0, 0}, {2.25, 0, 0}, {2.25, 1.125, 0}, {-0.5, 1.125, 0}}, {});
}

}  // namespace

TEST(Wrp, RefusedAxesAreAskedAgainAndReturnTakesX) {
  Session s;
  s.write("plate.vmz", plate());
  Result r = s.run("rea\nplate\nwrp\n0\n4\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") +
                       job_dialogue("Read a .vmz file to buffer a or b", "new", "plate") +
                       reading("plate.vmz", "Plate", "P", 1, 4, 0) + step("wrp") + heading +
                       ask_int(axis_question, 1, "0") + "\nERROR: repeat answer ...\n" +
                       ask_int(axis_question, 1, "4") + "\nERROR: repeat answer ...\n" +
                       ask_int(axis_question, 1, "") + "\nWriting file: plate_1.pva\n" +
                       step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1     -0.50000000", "    2      2.25000000",
                                          "    3      2.25000000", "    4     -0.50000000"}));
}

TEST(Wrp, FlatMeshGivesZerosInZAndASecondRunOverwrites) {
  Session s;
  s.write("plate.vmz", plate());
  Result first = s.run("rea\nplate\nwrp\n3\nend\n");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1      0.00000000", "    2      0.00000000",
                                          "    3      0.00000000", "    4      0.00000000"}));
  Result second = s.run("rea\nplate\nwrp\n2\nend\n");
  EXPECT_EQ(second.status, 0);
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1      0.00000000", "    2      0.00000000",
                                          "    3      1.12500000", "    4      1.12500000"}));
  EXPECT_EQ(s.files(), (std::vector<std::string>{"plate.vmz", "plate_1.pva"}));
}

TEST(Wrp, BuffersNotReadWithReaUseTheirStartingNames) {
  Session s;
  s.write("bar.dxf",
          dxf_head() + dxf_polyline("LINES", {{"1", "2", "3"}, {"-4", "5", "1234.5"}}) + dxf_end());
  Result r = s.run("wrp\ndxi\nbar\nwrp\n3\nccf\ndxi\nbar\nwrp\n1\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(step("wrp") + "\nERROR: need at least one point\n"), std::string::npos);
  EXPECT_EQ(s.read("buffa_1.pva"), lines({"    1      3.00000000", "    2   1234.50000000"}));
  EXPECT_EQ(s.read("buffb_1.pva"), lines({"    1      1.00000000", "    2     -4.00000000"}));
}

TEST(Wrp, FileThatCannotBeCreatedEndsTheProgram) {
  Session s;
  s.write("plate.vmz", plate());
  ::mkdir(s.path("plate_1.pva").c_str(), 0700);
  Result r = s.run("rea\nplate\nwrp\n1\nend\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find(ask_int(axis_question, 1, "1") + "\nWriting file: plate_1.pva\n"),
            std::string::npos);
  EXPECT_EQ(r.err, fatal("Unable to open output file - jobname_1.pva"));
}
