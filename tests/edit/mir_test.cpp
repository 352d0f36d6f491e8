// mir: reflection in a plane and the node-order correction of each element type.
#include <gtest/gtest.h>

#include "support/create_move.h"
#include "support/session.h"

using namespace session;
using namespace create_move;

namespace {

const std::string heading = "\nMirror the object (previous object is lost)\n";
const std::string no_correction =
    "Invalid n. of nodes for the specified type of element - no correction";

// One element of each kind: a 2-node and a 3-node bar, a closed 4-node and a closed 8-node
// surface element, an open 9-node one, an 8-node and a 20-node brick. Point i lies at (i, 2, 3).
std::string mixed_mesh() {
  std::string text =
      "Mixed\nMix\n7 20 0\n"
      "1 2 1 2\n"
      "2 3 1 2 3\n"
      "3 5 1 2 4 3 1\n"
      "4 9 1 2 3 4 5 6 7 8 1\n"
      "5 9 1 2 3 4 5 6 7 8 9\n"
      "6 8 11 12 13 14 15 16 17 18\n"
      "7 20 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20\n";
  for (int i = 1; i <= 20; ++i) text += format("%d %d 2 3\n", i, i);
  return text;
}

// The mirrored points of mixed_mesh in the plane z = 0: (i, 2, -3).
std::string mirrored_points() {
  std::string text;
  for (int i = 1; i <= 20; ++i) {
    text += format("%5d %15.8f      2.00000000     -3.00000000\n", i, static_cast<double>(i));
  }
  return text;
}

const std::string plane_z0 = "c\n0\n0\n0\n1\n0\n0\n0\n1\n0\n";
std::string plane_z0_dialogue() {
  return askpla_coordinates({"0", "0", "0", "1", "0", "0", "0", "1", "0"});
}

std::string mirrored_file(const std::string& elements) {
  return "Mixed\nMix\n    7      20       0\n" + elements + mirrored_points();
}

std::string repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

}  // namespace

TEST(Mir, PlaneZZeroWithoutCorrectionKeepsEveryNodeList) {
  Session s;
  s.write("m.vmz", mixed_mesh());
  Result r = s.run("rea\nm\nmir\n\n" + plane_z0 + "wri\nout\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Mixed", "Mix", 7, 20, 0) +
                       step("mir") + heading + mir_correction("") + plane_z0_dialogue() +
                       step("wri") + wri_dialogue("m", "out", 7, 20, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(s.read("out.vmz"),
            mirrored_file("    1     2        1     2\n"
                          "    2     3        1     2     3\n"
                          "    3     5        1     2     4     3     1\n"
                          "    4     9        1     2     3     4     5     6     7     8     1\n"
                          "    5     9        1     2     3     4     5     6     7     8     9\n"
                          "    6     8       11    12    13    14    15    16    17    18\n"
                          "    7    20        1     2     3     4     5     6     7     8     9"
                          "    10    11    12    13    14    15    16    17    18    19    20\n"));
}

TEST(Mir, FrameCorrectionAcceptsBarsAndWarnsForEveryOtherElement) {
  Session s;
  s.write("m.vmz", mixed_mesh());
  Result r = s.run("rea\nm\nmir\n1\n" + plane_z0 + "wri\nout\nend\n");
  EXPECT_EQ(r.err, repeat(warning(no_correction), 5));
  EXPECT_EQ(s.read("out.vmz"),
            mirrored_file("    1     2        1     2\n"
                          "    2     3        1     2     3\n"
                          "    3     5        1     2     4     3     1\n"
                          "    4     9        1     2     3     4     5     6     7     8     1\n"
                          "    5     9        1     2     3     4     5     6     7     8     9\n"
                          "    6     8       11    12    13    14    15    16    17    18\n"
                          "    7    20        1     2     3     4     5     6     7     8     9"
                          "    10    11    12    13    14    15    16    17    18    19    20\n"));
}

TEST(Mir, SurfaceCorrectionReversesFourEightAndNineNodeLists) {
  Session s;
  s.write("m.vmz", mixed_mesh());
  Result r = s.run("rea\nm\nmir\n2\n" + plane_z0 + "wri\nout\nend\n");
  // The bars and the 20-node brick are no surface elements; the 8-node brick is corrected as an
  // 8-node list, since only the node count is known.
  EXPECT_EQ(r.err, repeat(warning(no_correction), 3));
  EXPECT_EQ(s.read("out.vmz"),
            mirrored_file("    1     2        1     2\n"
                          "    2     3        1     2     3\n"
                          "    3     5        2     1     3     4     2\n"
                          "    4     9        3     2     1     8     7     6     5     4     3\n"
                          "    5     9        3     2     1     8     7     6     5     4     9\n"
                          "    6     8       13    12    11    18    17    16    15    14\n"
                          "    7    20        1     2     3     4     5     6     7     8     9"
                          "    10    11    12    13    14    15    16    17    18    19    20\n"));
}

TEST(Mir, BrickCorrectionAfterRefusedAnswers) {
  Session s;
  s.write("m.vmz", mixed_mesh());
  Result r = s.run("rea\nm\nmir\n4\n-1\n3\n" + plane_z0 + "wri\nout\nend\n");
  const std::string again = "\nERROR: repeat answer ...\n";
  EXPECT_EQ(r.out, startup() + step("rea") + rea_dialogue("new", "m", "Mixed", "Mix", 7, 20, 0) +
                       step("mir") + heading + mir_correction("4") + again + mir_correction("-1") +
                       again + mir_correction("3") + plane_z0_dialogue() + step("wri") +
                       wri_dialogue("m", "out", 7, 20, 0) + step("end") + leave());
  // Warnings for the two bars, the 4-node and the 9-node element; the closed 8-node list is
  // corrected as a brick and closed again with its new first node.
  EXPECT_EQ(r.err, repeat(warning(no_correction), 4));
  EXPECT_EQ(s.read("out.vmz"),
            mirrored_file("    1     2        1     2\n"
                          "    2     3        1     2     3\n"
                          "    3     5        1     2     4     3     1\n"
                          "    4     9        4     3     2     1     8     7     6     5     4\n"
                          "    5     9        1     2     3     4     5     6     7     8     9\n"
                          "    6     8       14    13    12    11    18    17    16    15\n"
                          "    7    20        7     6     5     4     3     2     1     8    12"
                          "    11    10     9    19    18    17    16    15    14    13    20\n"));
}

TEST(Mir, PlaneThroughNodesAfterACollinearChoice) {
  Session s;
  // A unit square of csm mirrored in the plane x = 0.5 through points 2, 4 (x = 1) ... first the
  // collinear points 1, 2, 2; then the plane through (0.5,0,0), (0.5,1,0), (0.5,0,1).
  Result r = s.run(
      "csm\n2\n\n\nmir\n2\nn\n1\n2\n2\nc\n0.5\n0\n0\n0.5\n1\n0\n0.5\n0\n1\n"
      "wri\nsq\nend\n");
  EXPECT_EQ(r.out, startup() + step("csm") + csm_menu() + ask_int("Your choice", 1, "2") +
                       "\nThe mesh is in the plane (x+ , y+)\n" + ask_real("Size in x", "1", "") +
                       ask_real("Size in y", "1", "") +
                       handback("Rectangular mesh", "Mesh", 1, 4, 0) + step("mir") + heading +
                       mir_correction("2") + askpla_numbers("1", "2", "2") +
                       "\nERROR: collinear points - repeat answer ...\n" +
                       askpla_coordinates({"0.5", "0", "0", "0.5", "1", "0", "0.5", "0", "1"}) +
                       step("wri") + wri_dialogue("new", "sq", 1, 4, 0) + step("end") + leave());
  EXPECT_EQ(r.err, "");
  // x becomes 1 - x; the closed list 1 2 4 3 1 becomes 2 1 3 4 2.
  EXPECT_EQ(s.read("sq.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "    1       4       0\n"
            "    1     5        2     1     3     4     2\n"
            "    1      1.00000000      0.00000000      0.00000000\n"
            "    2      0.00000000      0.00000000      0.00000000\n"
            "    3      1.00000000      1.00000000      0.00000000\n"
            "    4      0.00000000      1.00000000      0.00000000\n");
}
