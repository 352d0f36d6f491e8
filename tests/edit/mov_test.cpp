// mov: translation of every point, in place.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nMove the object (previous object is lost)\n";

std::string ask_vector(const std::string& x, const std::string& y, const std::string& z) {
  return ask_real("x", "0", x) + ask_real("y", "0", y) + ask_real("z", "0", z);
}

}  // namespace

TEST(Mov, AddsTheVectorToEveryPointAndKeepsTheRest) {
  Session s;
  s.write("m.vmz", "Bar\nB\n1 2 1\n1 2 1 2\n1 1 2 3\n2 -1 0 0.5\n1 2\n");
  Result r = s.run("rea\nm\nmov\n1.5\n-2\n.25\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Bar", "B", 1, 2, 1) +
                       step("mov") + heading + ask_vector("1.5", "-2", ".25") + step("wri") +
                       wri_dialogue("m", "out", 1, 2, 1) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(s.read("out.vmz"),
            "Bar\n"
            "B\n"
            "    1       2       1\n"
            "    1     2        1     2\n"
            "    1      2.50000000      0.00000000      3.25000000\n"
            "    2      0.50000000     -2.00000000      0.75000000\n"
            "    1     2\n");
}

TEST(Mov, DefaultsLeaveTheCoordinatesButMarkTheBufferChanged) {
  Session s;
  s.write("m.vmz", "Bar\nB\n1 2 0\n1 2 1 2\n1 1 2 3\n2 -1 0 0.5\n");
  Result r = s.run("rea\nm\nmov\n\n\n\nend\n\nwri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Bar", "B", 1, 2, 0) +
                       step("mov") + heading + ask_vector("", "", "") + step("end") +
                       ask_char("Leave anyway", 'y', 'n', 'n', "") + step("wri") +
                       wri_dialogue("m", "out", 1, 2, 0) + step("end") + leave());
  EXPECT_EQ(r.err, warning("No write of a .vmz file since last change"));
  EXPECT_EQ(s.read("out.vmz"),
            "Bar\n"
            "B\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      1.00000000      2.00000000      3.00000000\n"
            "    2     -1.00000000      0.00000000      0.50000000\n");
}

TEST(Mov, ResultBeyondTheRangeOfRealsIsRefusedAndNothingChanges) {
  Session s;
  s.write("m.vmz", "Far\nF\n1 2 0\n1 2 1 2\n1 1e308 1 2\n2 1e308 6 7\n");
  // Refused: the buffer keeps its coordinates and its written mark, so end leaves at once.
  Result r = s.run("rea\nm\nmov\n1e308\n\n\n\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Far", "F", 1, 2, 0) +
                       step("mov") + heading + ask_vector("1e308", "", "") + refusal_out() +
                       step("end") + leave());
  EXPECT_EQ(r.err, warning("Coordinates out of range - the result cannot be stored"));
  EXPECT_EQ(r.status, 0);
  // A move back by the same amount then lands every point exactly where it should.
  r = s.run("rea\nm\nmov\n1e308\n\n\n\nmov\n-1e308\n\n\nwri\nout\nend\n");
  EXPECT_EQ(s.read("out.vmz"),
            "Far\n"
            "F\n"
            "    1       2       0\n"
            "    1     2        1     2\n"
            "    1      0.00000000      1.00000000      2.00000000\n"
            "    2      0.00000000      6.00000000      7.00000000\n");
}
