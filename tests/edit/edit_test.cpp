// The mesh editing commands end to end: the file each one leaves in the buffer, each command's
// own dialogue once, and the refusals.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "edit/axbase.h"
#include "edit/csm.h"
#include "edit/snd.h"
#include "support/inprocess.h"
#include "support/session.h"

using namespace session;

namespace {

using Elements = std::vector<std::vector<int>>;
using Points = std::vector<Point>;

// Points from a text of coordinate triples, separated by commas.
Points pts(const char* text) {
  Points p;
  for (char* end;;) {
    Point x;
    for (double& v : x) {
      text += std::strspn(text, ", ");
      v = std::strtod(text, &end);
      if (end == text) return p;
      text = end;
    }
    p.push_back(x);
  }
}
std::string M(const Elements& e, const Points& p, const std::vector<int>& s = {},
              const std::string& title = "T") {
  return mesh_file(title, "Mesh", e, p, s);
}
std::string M(const Elements& e, const char* p, const std::vector<int>& s = {},
              const std::string& title = "T") {
  return M(e, pts(p), s, title);
}
const char* const square_points = "0 0 0, 1 0 0, 0 1 0, 1 1 0";
const auto sq = [](const std::vector<int>& s) { return M({{1, 2, 4, 3, 1}}, square_points, s); };
const std::string square = sq({});
const std::string bar = M({{1, 2}}, "1 2 3, -1 0 0.5", {2});
const std::string spoke = M({{1, 2}}, "1 0 0, 0 0 3", {1});
const std::string off_axis = M({{1, 3}, {1, 3, 2, 1}}, "1 1 0, 1 1 5, 2 1 0", {3});
const std::string two_quads =
    M({{1, 2, 5, 4, 1}, {2, 3, 6, 5, 2}}, "0 0 0, 1 0 0, 2 0 0, 0 1 0, 1 1 0, 2 1 0", {2, 5, 2});
const Elements quads_apart = {{1, 2, 3, 4, 1}, {5, 6, 7, 8, 5}};
const std::vector<int> quads_apart_specials = {2, 3, 5, 8};

// One element of each kind: 2- and 3-node bars, closed 4- and 8-node surface lists, an open
// 9-node list, an 8-node and a 20-node brick. Point i lies at (i, 2, 3).
const Elements mixed = {{1, 2},
                        {1, 2, 3},
                        {1, 2, 4, 3, 1},
                        {1, 2, 3, 4, 5, 6, 7, 8, 1},
                        {1, 2, 3, 4, 5, 6, 7, 8, 9},
                        {11, 12, 13, 14, 15, 16, 17, 18},
                        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20}};
Points row_of_points(double y, double z, int n = 20) {
  Points p;
  for (int i = 1; i <= n; ++i) p.push_back({static_cast<double>(i), y, z});
  return p;
}
Elements with(Elements e, int index, const std::vector<int>& nodes) {
  e[index] = nodes;
  return e;
}

// Ten bars along x: bar i joins points i and i + 1; point 11 is special.
std::string chain(const std::vector<int>& kept) {
  Elements bars;
  for (int i : kept) bars.push_back({i, i + 1});
  return M(bars, row_of_points(0, 0, 11), {11});
}
const std::string full_chain = chain({1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

// Four 4-node elements: on z = 0, on z = 1, one with a node at z = 1.0000001, one from z = 0
// to 1. Point 9 is special.
const char* const slab_points =
    "0 0 0, 1 0 0, 1 1 0, 0 1 0, 0 0 1, 1 0 1, 1 1 1, 0 1 1, 0 0 0.5, 1 0 0.5, 1 1 1.0000001, "
    "0 1 0.5, 2 0 0, 3 0 0, 3 0 1, 2 0 1";
const auto slab = [](const Elements& e) { return M(e, slab_points, {9}); };
const Elements slab_elements = {{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}, {13, 14, 15, 16}};

// Two unit cubes side by side along x, the shared face twice; points 2 and 9 special.
const std::string two_cubes = M({{1, 2, 4, 3, 5, 6, 8, 7}, {9, 10, 12, 11, 13, 14, 16, 15}},
                                "0 0 0, 1 0 0, 0 1 0, 1 1 0, 0 0 1, 1 0 1, 0 1 1, 1 1 1, 1 0 0, "
                                "2 0 0, 1 1 0, 2 1 0, 1 0 1, 2 0 1, 1 1 1, 2 1 1",
                                {2, 9});

const char* const tilted =
    "6 0 0, 0 6 0, 1 1 1, 1 1 4.00004, 1 1 4.00006, 1.5 .5 1, 0 -4 4, 1.5 .5 1.0002, 2 2 0, 2.5 "
    "3.5 -1";
const char* const on_line =
    "0 0 0, 1 0 0, 1.00005 0 0, 1.0002 0 0, -.5 0 0, -.00005 0 0, .5 .0001 0, .5 .00011 0";
const char* const heights = "0 0 .00002, 0 0 .000025, 0 0 .00003, 1 1 -.00002, 5 5 0";
const char* const cue_points = "5 -2 9, -5 -1.5 -9, 7 -1 3, -7 -.5 -3, 1 0 1";
const char* const used = "0 0 0, 1 0 0, 1 1 0, 0 1 0, 2 2 0";
const std::string no_correction =
    warning("Invalid n. of nodes for the specified type of element - no correction");
std::string times(const std::string& text, int n) {
  return n > 0 ? text + times(text, n - 1) : "";
}
const std::string plane_z0 = "c\n0\n0\n0\n1\n0\n0\n0\n1\n0\n";
const std::string out_of_range = warning("Coordinates out of range - the result cannot be stored");
const std::string nothing_changed = "\nNothing changed - press the Return key ... \n";
const std::string again = "\nERROR: repeat answer ...\n";

// Each row: the mesh read from m.vmz (and b.vmz), the answers after `rea m`, and the file that
// `wri out` then writes.
struct Row {
  std::string in, answers, out, err = "", b = "";
};

const Row rows[] = {
    {bar, "csm\n2\n\n\n", M({{1, 2, 4, 3, 1}}, square_points, {}, "Rectangular mesh")},
    {bar, "csm\n3\n2\n3\n4\n",
     M({{1, 2, 4, 3, 5, 6, 8, 7}}, "0 0 0, 2 0 0, 0 3 0, 2 3 0, 0 0 4, 2 0 4, 0 3 4, 2 3 4", {},
       "Parallelepipedic mesh")},
    {bar, "csm\n4\n2\n4\n",
     M({{1, 2, 5, 4, 1}, {2, 3, 6, 5, 2}, {4, 5, 6, 7, 4}},
       "0 0 0, 1 0 0, 2 0 0, 0 2 0, 0.7 1.4 0, 1 2 0, 0 4 0", {}, "Triangular mesh")},
    {bar, "csm\n1\n1\n2\n3\n-4\n5.5\n\n", M({{1, 2}}, "1 2 3, -4 5.5 0", {}, "Linear mesh")},
    {bar, "csm\n1\n\n\n\n\n\n\n", M({{1, 2}}, "0 0 0, 0 0 0", {}, "Linear mesh")},
    {bar, "mov\n1.5\n-2\n.25\n", M({{1, 2}}, "2.5 0 3.25, 0.5 -2 0.75", {2})},
    {M({{1, 2}}, "1 0 0, 2 3 4"), "rot\nc\n0\n0\n0\n0\n0\n1\n90\n", M({{1, 2}}, "0 1 0, -3 2 4")},
    {M({{1, 2}}, "1 0 0, 2 3 4"), "rot\nc\n0\n0\n1\n0\n0\n0\n90\n", M({{1, 2}}, "0 -1 0, 3 -2 4")},
    {M({{1, 3}}, "0 0 0, 0 2 0, 1 0 0"), "rot\nn\n1\n2\n90\n", M({{1, 3}}, "0 0 0, 0 2 0, 0 0 -1")},
    {M({{1, 2}}, "1 2 3, 4 5 6"), "rot\nc\n1\n1\n1\n2\n2\n2\n120\n", M({{1, 2}}, "3 1 2, 6 4 5")},
    {M({{1, 2}}, "1 2 3, 4 5 6"), "rot\nc\n0\n0\n0\n2\n0\n0\n90\n", M({{1, 2}}, "1 -3 2, 4 -6 5")},
    {M(mixed, row_of_points(2, 3)), "mir\n\n" + plane_z0, M(mixed, row_of_points(2, -3))},
    {M(mixed, row_of_points(2, 3)), "mir\n1\n" + plane_z0, M(mixed, row_of_points(2, -3)),
     times(no_correction, 5)},
    {M(mixed, row_of_points(2, 3)), "mir\n2\n" + plane_z0,
     M(with(with(with(with(mixed, 2, {2, 1, 3, 4, 2}), 3, {3, 2, 1, 8, 7, 6, 5, 4, 3}), 4,
                 {3, 2, 1, 8, 7, 6, 5, 4, 9}),
            5, {13, 12, 11, 18, 17, 16, 15, 14}),
       row_of_points(2, -3)),
     times(no_correction, 3)},
    {M(mixed, row_of_points(2, 3)), "mir\n3\n" + plane_z0,
     M(with(with(with(mixed, 3, {4, 3, 2, 1, 8, 7, 6, 5, 4}), 5, {14, 13, 12, 11, 18, 17, 16, 15}),
            6, {7, 6, 5, 4, 3, 2, 1, 8, 12, 11, 10, 9, 19, 18, 17, 16, 15, 14, 13, 20}),
       row_of_points(2, -3)),
     times(no_correction, 4)},
    {square, "mir\n2\nc\n0.5\n0\n0\n0.5\n1\n0\n0.5\n0\n1\n",
     M({{2, 1, 3, 4, 2}}, "1 0 0, 0 0 0, 1 1 0, 0 1 0")},
    {M({{1, 2}}, "1 2 3, 4 6 5"), "mir\n0\nc\n0\n0\n0\n1\n0\n0\n0\n1\n1\n",
     M({{1, 2}}, "1 3 2, 4 5 6")},
    {square, "shr\n\n", M({{1, 2, 3, 4, 1}}, "0.1 0.1 0, 0.9 0.1 0, 0.9 0.9 0, 0.1 0.9 0")},
    {two_quads, "shr\n1\n",
     M(quads_apart, "0 0 0, 1 0 0, 1 1 0, 0 1 0, 1 0 0, 2 0 0, 2 1 0, 1 1 0",
       quads_apart_specials)},
    {two_quads, "shr\n0\n",
     M(quads_apart, ".5 .5 0, .5 .5 0, .5 .5 0, .5 .5 0, 1.5 .5 0, 1.5 .5 0, 1.5 .5 0, 1.5 .5 0",
       quads_apart_specials)},
    {M({{1, 2, 1}, {3}, {1, 2, 3}, {4, 5, 6, 7, 8, 9, 10, 11}},
       "0 0 0, 2 0 0, 4 4 0, 0 0 0, 2 0 0, 2 2 0, 0 2 0, 0 0 2, 2 0 2, 2 2 2, 0 2 2"),
     "shr\n0.5\n",
     M({{1, 2}, {3}, {4, 5, 6}, {7, 8, 9, 10, 11, 12, 13, 14, 7}},
       ".5 0 0, 1.5 0 0, 4 4 0, 1 1 0, 2 1 0, 3 3 0, .5 .5 .5, 1.5 .5 .5, 1.5 1.5 .5, .5 1.5 .5, "
       ".5 .5 1.5, 1.5 .5 1.5, 1.5 1.5 1.5, .5 1.5 1.5")},
    // y = 2^101 and 2^102: the bounding-box centre 3 * 2^100 is exact.
    {M({{1, 2}}, "0 0x1p101 0, 0 0x1p102 0"), "shr\n0\n", M({{1, 2}}, "0 0x3p100 0, 0 0x3p100 0")},
    // Copy c = 3 * (ix - 1) + (iz - 1): x outermost, z innermost.
    {M({{1, 2}}, "0 0 0, 1 0 0", {2}), "paa\n2\n1\n3\n10\n20\n100\n",
     M({{1, 2}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 12}},
       "0 0 0, 1 0 0, 0 0 100, 1 0 100, 0 0 200, 1 0 200, 10 0 0, 11 0 0, 10 0 100, 11 0 100, "
       "10 0 200, 11 0 200",
       {2, 4, 6, 8, 10, 12})},
    {M({{1, 2, 3, 4, 1}}, "1.234567891 0 0, 2 0 0, 2 1 0, 0 1 -.5", {3, 1}), "paa\n\n\n\n\n\n\n",
     M({{1, 2, 3, 4, 1}}, "1.23456789 0 0, 2 0 0, 2 1 0, 0 1 -.5", {3, 1})},
    {M({{1, 2, 3, 1}}, "0 0 0, 1 0 0, 0 1 0"), "paa\n1\n2\n1\n\n-2.5\n\n",
     M({{1, 2, 3, 1}, {4, 5, 6, 4}}, "0 0 0, 1 0 0, 0 1 0, 0 -2.5 0, 1 -2.5 0, 0 -1.5 0")},
    // The cosine of 270 degrees is a tiny negative number.
    {spoke, "cya\n4\nc\n\n\n\n\n\n1\n90\n",
     M({{1, 2}, {3, 4}, {5, 6}, {7, 8}},
       "1 0 0, 0 0 3, 0 1 0, 0 0 3, -1 0 0, 0 0 3, -0.0 -1 0, 0 0 3", {1, 3, 5, 7})},
    {off_axis, "cya\n\nn\n\n2\n\n", off_axis},
    {off_axis, "cya\n2\nn\n\n2\n180\n",
     M({{1, 3}, {1, 3, 2, 1}, {4, 6}, {4, 6, 5, 4}}, "1 1 0, 1 1 5, 2 1 0, 1 1 0, 1 1 5, 0 1 0",
       {3, 6})},
    {M({{1, 2}}, "0 0 0, 1.234567891 0 0"), "ele\n\n", M({{1, 2}}, "0 0 0, 1.23456789 0 0")},
    {full_chain, "ele\n3\n5\n4\n7\n0\n", chain({1, 2, 8, 9, 10})},
    {full_chain, "ele\n2\n9\n3\n4\n2\n3\n10\n10\n0\n", chain({1})},
    {full_chain, "ele\n5\n5\n1\n6\n0\n", chain({7, 8, 9, 10})},
    {full_chain, "ele\n3\n0\n", full_chain},
    {full_chain, "ele\n1\n10\n0\n", chain({})},
    {full_chain, "ele\n3\n5\n5\n2\n1\n11\n-1\n2\n0\n", chain({1, 2, 6, 7, 8, 9, 10})},
    {M({{1, 2}, {2, 3}, {3, 4}, {4, 5}}, "1 0 0, 2 0 0, 3 0 0, 4 0 0, 5 0 0, 6 1 0, 7 1 0", {6, 4}),
     "ele\n1\n1\n3\n3\n0\nelp\n", M({{1, 2}, {3, 4}}, "2 0 0, 3 0 0, 4 0 0, 5 0 0, 6 1 0", {5, 3})},
    {M({{1, 2, 3, 4, 1}, {3, 5}}, used, {2}), "elp\n", M({{1, 2, 3, 4, 1}, {3, 5}}, used, {2})},
    {M({{1, 2}, {2, 3}}, "0 0 0, 1 0 0, 2 0 0", {3, 3}), "ele\n1\n2\n0\nelp\n",
     M({}, "2 0 0", {1, 1})},
    {slab(slab_elements), "cue\n3\n0\n1\n", slab({{1, 2, 3, 4}, {5, 6, 7, 8}, {13, 14, 15, 16}})},
    {slab(slab_elements), "cue\n0\n4\n3\n\n\n2\n1\n0\n0.5\n", slab({{1, 2, 3, 4}})},
    {M({{1, 2}, {2, 3}, {3, 4}, {4, 5}}, cue_points), "cue\n2\n-1.5\n-0.5\n",
     M({{2, 3}, {3, 4}}, cue_points)},
    {M({{1}, {2}, {3}}, "-1 5 5, 0 5 5, 1 5 5"), "cue\n\n-0.5\n1.5\n",
     M({{2}, {3}}, "-1 5 5, 0 5 5, 1 5 5")},
    {square, "ccf\nrea\nm\nccf\nmer\n",
     M({{1, 2, 4, 3, 1}, {5, 6, 8, 7, 5}},
       "0 0 0, 1 0 0, 0 1 0, 1 1 0, 0 0 0, 1 0 0, 0 1 0, 1 1 0")},
    {M({{1, 2, 3, 4, 1}}, square_points, {3}), "ccf\nrea\nb\nele\n0\nmer\nccf\n",
     M({{1, 2, 3, 4, 1}, {5, 6}}, "0 0 0, 1 0 0, 0 1 0, 1 1 0, 5 0 0, 6 0 0", {3, 5}), "",
     M({{1, 2}}, "5 0 0, 6 0 0", {1})},
    {sq({3}), "ccf\nrea\nb\nccf\nmer\n",
     M({{1, 2, 4, 3, 1}}, "0 0 0, 1 0 0, 0 1 0, 1 1 0, 7 7 7, 8 8 8", {3, 6}), "",
     M({}, "7 7 7, 8 8 8", {2})},
    {"", "ccf\nrea\nb\nccf\nmer\n", square, "", square},
    {sq({3, 1, 3}), "snd\n\n", sq({1, 3})},
    {square, "snd\n2\n\n\n1\n2\n0\n", sq({1, 2})},
    {square, "snd\n2\n\n\n1\n4\n0\n", sq({1, 4})},
    {sq({2}), "snd\n2\n\n\n1\n2\n3\n0.5\n\n1\n2\n3\n0\n", sq({1, 2, 3, 4})},
    {M({}, on_line), "snd\n2\n\nc\n0\n0\n0\n1\n0\n0\n0\n", M({}, on_line, {1, 2, 3, 6, 7})},
    {M({}, "0 0 0, 0 0 .5, 1 0 0"), "snd\n2\n\nc\n0\n0\n0\n0\n0\n1\n0\n",
     M({}, "0 0 0, 0 0 .5, 1 0 0", {1, 2})},
    // The normal (0,0,4) multiplies each height by 4: 0.00008 taken, 0.0001 and 0.00012 not.
    {M({}, heights), "snd\n3\n\nc\n0\n0\n0\n2\n0\n0\n0\n2\n0\n0\n", M({}, heights, {1, 4, 5})},
    // The plane x + y + z = 6 (normal (2,2,2)) and the line from (1,-1,2) to (2,2,0).
    {M({}, tilted), "snd\n3\n\nc\n1\n2\n3\n3\n2\n1\n2\n3\n1\n2\n\nc\n1\n-1\n2\n2\n2\n0\n0\n",
     M({}, tilted, {1, 2, 4, 6, 9})},
    // Joined: twelve points, x slowest and z fastest; the shared face used by both bricks.
    {two_cubes, "ren\n\n\n\n\n\n\n\n",
     M({{1, 5, 7, 3, 2, 6, 8, 4}, {5, 9, 11, 7, 6, 10, 12, 8}},
       "0 0 0, 0 0 1, 0 1 0, 0 1 1, 1 0 0, 1 0 1, 1 1 0, 1 1 1, 2 0 0, 2 0 1, 2 1 0, 2 1 1", {5})},
};

// The questions of points' coordinates (three values each) or node numbers (one each), alone or
// with the line (two points) or plane (three points) dialogue that asks them.
std::string coordinates(const std::vector<std::string>& values, int per_point = 3) {
  const char* const labels[] = {"First  point", "Second point", "Third  point"};
  std::string text;
  for (std::size_t i = 0; i < values.size(); ++i) {
    text += per_point == 1
                ? ask_int(std::string(labels[i]) + ": node number", 1, values[i])
                : ask_real(std::string(labels[i / 3]) + ": x" + std::to_string(i % 3 + 1), "0",
                           values[i]);
  }
  return text;
}
std::string ask_points(const std::vector<std::string>& values, int per_point = 3) {
  return (values.size() == 2u * per_point ? "\nTwo points will be asked to define a line:\n"
                                          : "\nThree points will be asked to define a plane:\n") +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', per_point == 1 ? "n" : "c") +
         coordinates(values, per_point);
}
std::string csm_menu() {
  return "\nAvailable simple meshes:\n\n" +
         lines({"   1 - line                (1 element  -  2 points)",
                "   2 - rectangle           (1 element  -  4 points)",
                "   3 - parallelepiped      (1 element  -  8 points)",
                "   4 - triangle            (3 elements -  7 points - 4 nodes per element)",
                "   5 - quarter of a circle (3 elements - 16 points - 8 nodes per element)"});
}
std::string mir_table(const std::string& answer) {
  const char* const edge = "+------------------------------------------+";
  const char* const rule = "|------------------+-----------------------|";
  const char* const row = "| %-16s |           %d           |";
  return lines({"", "After mirroring, some elements need to be numbered in the",
                "opposite direction. Please specify:", "", edge,
                "| Type of element  | N. of local variables |", rule, format(row, "Frame/Truss", 1),
                format(row, "Plane/Slab/Shell", 2), format(row, "Brick", 3), rule,
                format(row, "No correction", 0), edge}) +
         ask_int("Number of local variables (1, 2, 3 or 0)", 0, answer);
}
std::string ren_directions(const std::string& d1, const std::string& d2, const std::string& d3) {
  return ask_int("Direction with the biggest  number of nodes (1/2/3)", 1, d1) +
         ask_int("Direction with the medium   number of nodes (1/2/3)", 2, d2) +
         ask_int("Direction with the smallest number of nodes (1/2/3)", 3, d3);
}
// One range of ele: the rule, the first and the last element.
std::string range(const std::string& first, const std::string& last) {
  return "\n=====================================================================\n" +
         ask_int("Number of the first element to be eliminated (0=end)", 0, first) +
         (first == "0" ? ""
                       : ask_int("Number of the last  element to be eliminated (0=end)", 0, last));
}
std::string paa_count(char axis, const std::string& answer) {
  return ask_int(std::string("Number of repetitions in ") + axis, 1, answer);
}
std::string cue_planes(const std::string& first, const std::string& second) {
  return "\nEnter the coordinates of two planes normal to the direction\npreviously specified.\n"
         "The first cordinate must be less than the second.\n" +
         ask_real("Coordinate of the first  plane", "0", first) +
         ask_real("Coordinate of the second plane", "0", second);
}
const char* const repetitions = "Number of repetitions (including the existing object)";
const char* const kind = "2 or 3 point detection (line or plane) (0 = end)";
const char* const axis_q = "Axis that is normal to the cutting planes (1,2,or 3)";
const std::string beyond =
    "\nERROR: n. of repetitions too large for this mesh - repeat answer ...\n";
const std::string below = "\nERROR: n. of repetitions must be > 0 - repeat answer ...\n";
const std::string bad_range = "\nERROR: invalid element range - repeat answer ...\n";
const std::string coincident = "\nERROR: coincident points - repeat answer ...\n";

const struct {
  std::string in, answers, screen;
} screens[] = {
    {bar, "csm\n6\n0\nabc\n1\n1\n2\n3\n-4\n5.5\n\n",
     step("csm") + csm_menu() + ask_int("Your choice", 1, "6") + again + csm_menu() +
         ask_int("Your choice", 1, "0") + again + csm_menu() + ask_int("Your choice", 1, "abc") +
         again + ask_int("Your choice", 1, "1") +
         "\nThe 3d coordinates of 2 points will be asked\n" +
         coordinates({"1", "2", "3", "-4", "5.5", ""}) +
         handback_reading("Linear mesh", "Mesh", 1, 2, 0) + menu()},
    {bar, "mov\n1.5\n-2\n.25\n",
     step("mov") + "\nMove the object (previous object is lost)\n" + ask_real("x", "0", "1.5") +
         ask_real("y", "0", "-2") + ask_real("z", "0", ".25") + menu()},
    {M({{1, 3}}, "0 0 0, 0 2 0, 1 0 0"), "rot\nn\n4\n1\n1\n\n\n2\n90\n",
     step("rot") + "\nRotate the object around an axis (previous object is lost)\n" +
         "\nTwo points will be asked to define a line:\n" +
         ask_char("Nodal n)umbers or c)oordinates", 'n', 'c', 'n', "n") + coordinates({"4"}, 1) +
         "\nERROR: invalid node number - repeat answer ...\n" + coordinates({"1", "1"}, 1) +
         coincident + ask_points({"", "2"}, 1) + ask_real("Rotation angle (degrees)", "0", "90") +
         menu()},
    {square, "mir\n4\n-1\n2\nn\n1\n2\n2\nc\n0.5\n0\n0\n0.5\n1\n0\n0.5\n0\n1\n",
     step("mir") + "\nMirror the object (previous object is lost)\n" + mir_table("4") + again +
         mir_table("-1") + again + mir_table("2") + ask_points({"1", "2", "2"}, 1) +
         "\nERROR: collinear points - repeat answer ...\n" +
         ask_points({"0.5", "0", "0", "0.5", "1", "0", "0.5", "0", "1"}) + menu()},
    {square, "shr\n\n",
     step("shr") + "\nSeparate and shrink the elements of the mesh\n" +
         ask_real("Shrink factor", "0.8", "") + handback_reading("T", "Mesh", 1, 4, 0) + menu()},
    {bar, "paa\n0\n-3\n2147483647\n1\n1073741824\n1\n2000000000\n2\n\n\n\n",
     step("paa") + "\nRepeat a drawing nx by ny by nz times\n" + paa_count('x', "0") + below +
         paa_count('x', "-3") + below + paa_count('x', "2147483647") + beyond +
         paa_count('x', "1") + paa_count('y', "1073741824") + beyond + paa_count('y', "1") +
         paa_count('z', "2000000000") + beyond + paa_count('z', "2") +
         ask_real("Step   of repetitions in x", "0", "") +
         ask_real("Step   of repetitions in y", "0", "") +
         ask_real("Step   of repetitions in z", "0", "") + handback_reading("T", "Mesh", 2, 4, 2) +
         menu()},
    {spoke, "cya\n0\n1073741824\n2\nn\n1\n1\nn\n\n2\n90\n",
     step("cya") + "\nRepeat a drawing n times around an axis\n" + ask_int(repetitions, 1, "0") +
         below + ask_int(repetitions, 1, "1073741824") + beyond + ask_int(repetitions, 1, "2") +
         ask_points({"1", "1"}, 1) + coincident + ask_points({"", "2"}, 1) +
         ask_real("Step of repetitions (degrees)", "0", "90") +
         handback_reading("T", "Mesh", 2, 4, 2) + menu()},
    {full_chain, "ele\n3\n5\n5\n2\n1\n11\n-1\n2\n0\n",
     step("ele") + "\nEliminate ranges of elements\n" + range("3", "5") + range("5", "2") +
         bad_range + range("1", "11") + bad_range + range("-1", "2") + bad_range + range("0", "") +
         handback_reading("T", "Mesh", 7, 11, 1) + menu()},
    {slab(slab_elements), "cue\n0\n4\n3\n\n\n2\n1\n0\n0.5\n",
     step("cue") + "\nEliminate elements that have at least one node outside the planes\n" +
         ask_int(axis_q, 1, "0") + again + ask_int(axis_q, 1, "4") + again +
         ask_int(axis_q, 1, "3") + cue_planes("", "") + again + cue_planes("2", "1") + again +
         cue_planes("0", "0.5") + handback_reading("T", "Mesh", 1, 16, 1) + menu()},
    {full_chain, "elp\n",
     step("elp") + "\nEliminate points not belonging to any element\n" +
         handback_reading("T", "Mesh", 10, 11, 1) + menu()},
    {square, "ccf\nrea\nm\nccf\nmer\n",
     step("mer") + "\nMerge buffer b in buffer a (all elements go to buffer a)\n" +
         handback_reading("T", "Mesh", 2, 8, 0) + menu()},
    {square, "snd\n1\n4\n3\n\nc\n0\n0\n0\n2\n0\n0\n0\n2\n0\n2\n\nc\n0\n0\n0\n1\n0\n0\n0\n",
     step("snd") + "\nDetect and add special nodes to the mesh\n" + ask_int(kind, 0, "1") + again +
         ask_int(kind, 0, "4") + again + ask_int(kind, 0, "3") +
         ask_real("Tolerance to detect nodes", "0.0001", "") +
         ask_points({"0", "0", "0", "2", "0", "0", "0", "2", "0"}) + ask_int(kind, 0, "2") +
         ask_real("Tolerance to detect nodes", "0.0001", "") +
         ask_points({"0", "0", "0", "1", "0", "0"}) + ask_int(kind, 0, "0") +
         "\nReading file: tmp.snd\n" + menu()},
    {two_cubes, "ren\n1\n1\n2\n3\n1\n2\n\n\n\n\n",
     step("ren") + "\nSort the coord. of the nodes, the numbers of the elem. and the sp. nodes\n" +
         ren_directions("1", "1", "2") +
         "\nERROR: invalid set of directions - repeat answer ...\n" +
         ren_directions("3", "1", "2") + ask_char("Sort the element numbers", 'y', 'n', 'y', "") +
         ask_char("Sort the special   nodes", 'y', 'n', 'y', "") +
         ask_char("Connect coincident nodes", 'y', 'n', 'y', "") +
         ask_real("Tolerance to compare nodal coordinates", "1e-05", "") +
         "\nSorting (quicksort) - please wait\n"
         "If you're using a RISC workstation don't leave your seat !!!\n"
         "\nElement(s) with a difference between nodes equal to the maximum difference:\n"
         "       1       2\n" +
         format("\nMaximum difference between nodes of the same element = %8d\n", 9) +
         "\nWriting file: tmp.vmz\n" + handback_reading("T", "Mesh", 2, 12, 1) + menu()},
};
}  // namespace

TEST(Edit, ResultFiles) {
  for (const Row& row : rows) {
    Session s;
    s.write("m.vmz", row.in);
    if (!row.b.empty()) s.write("b.vmz", row.b);
    Result r = s.run((row.in.empty() ? "" : "rea\nm\n") + row.answers + "wri\nout\nend\n");
    EXPECT_EQ(r.status, 0) << row.answers;
    EXPECT_EQ(r.err, row.err) << row.answers;
    EXPECT_EQ(s.read("out.vmz"), row.out) << row.answers;
    EXPECT_FALSE(s.exists("tmp.vmz") || s.exists("tmp.snd")) << row.answers;
  }
}

TEST(Edit, Dialogues) {
  for (const auto& row : screens) {
    Session s;
    s.write("m.vmz", row.in);
    Result r = s.run("rea\nm\n" + row.answers + "end\ny\n");
    EXPECT_NE(r.out.find(row.screen), std::string::npos) << row.answers << "\n" << r.out;
  }
}

TEST(Edit, EmptyBuffersAreRefused) {
  const std::string point = "\nERROR: need at least one point\n";
  const std::string element = "\nERROR: need at least one element\n";
  Session s;
  Result r = s.run("cya\nmir\nmov\npaa\nrot\nshr\nend\n");
  EXPECT_EQ(r.out, startup() + step("cya") + point + step("mir") + point + step("mov") + point +
                       step("paa") + point + step("rot") + point + step("shr") + element +
                       step("end") + leave());
  // Points without elements: commands on elements refused; mer needs points in buffer b.
  s.write("m.vmz", M({}, "0 0 0"));
  r = s.run("rea\nm\nshr\nele\ncue\nmer\nend\n");
  EXPECT_NE(r.out.find(step("shr") + element + step("ele") + element + step("cue") + element +
                       step("mer") + point + step("end") + leave()),
            std::string::npos);
  EXPECT_EQ(r.err, "");
}

// A result beyond the range of reals: the warning, the pause, and the buffer as it was, still
// counted as written.
TEST(Edit, ResultsOutOfRangeAreRefused) {
  const std::string far = M({{1, 2}}, "1 1 2, 1e308 6 7");  // only the last overflows
  const struct {
    std::string in, answers, last;
  } cases[] = {
      {far, "mov\n1e308\n\n\n", ask_real("z", "0", "")},
      {bar, "rot\nc\n-1e300\n0\n0\n1e300\n0\n0\n45\n",
       ask_real("Rotation angle (degrees)", "0", "45")},
      {M({{1, 2}, {3, 4}}, "0 0 0, 0 0 0, 0 0 0, 10 0 0"), "shr\n1e308\n",
       ask_real("Shrink factor", "0.8", "1e308")},
      {far, "paa\n2\n\n\n1e308\n\n\n", ask_real("Step   of repetitions in z", "0", "")},
      {M({{1, 2}}, "0 0 0, 1e308 1 0"), "cya\n2\nc\n-1e308\n0\n0\n-1e308\n0\n1\n90\n",
       ask_real("Step of repetitions (degrees)", "0", "90")},
      {bar, "csm\n5\n1.7e308\n", ask_real("Radius of the circle", "1", "1.7e308")},
  };
  for (const auto& c : cases) {
    Session s;
    s.write("m.vmz", c.in);
    Result r = s.run("rea\nm\n" + c.answers + "\nend\n");
    EXPECT_TRUE(r.out.ends_with(c.last + nothing_changed + step("end") + leave())) << c.answers;
    EXPECT_EQ(r.err, out_of_range) << c.answers;
    EXPECT_EQ(s.files(), std::vector<std::string>{"m.vmz"}) << c.answers;
    r = s.run("rea\nm\n" + c.answers + "\nwri\nout\nend\n");
    EXPECT_EQ(s.read("out.vmz"), c.in) << c.answers;
  }
}

// A folder in the place of the scratch file (not empty, so start-up cannot remove it) ends the
// program; a scratch file on a full device leaves the buffer as it was.
TEST(Edit, ScratchFileFaults) {
  for (const std::string answers : {"csm\n2\n", "shr\n\n", "paa\n\n\n\n\n\n\n", "cya\n\nn\n\n2\n\n",
                                    "ele\n0\n", "cue\n\n0\n1\n", "elp\n", "ccf\nrea\nm\nmer\n",
                                    "ren\n\n\n\n\n\n\n\n", "snd\n2\n\n\n1\n2\n0\n"}) {
    const std::string file = answers.starts_with("snd") ? "tmp.snd" : "tmp.vmz";
    const std::string opened = answers.starts_with("ren") ? "jobname.vmz" : file;
    Session s;
    s.write("m.vmz", square);
    ASSERT_EQ(::mkdir(s.path(file).c_str(), 0700), 0);
    s.write(file + "/keep", "");
    Result r = s.run("rea\nm\n" + answers);
    EXPECT_EQ(r.err, fatal("Unable to open output file - " + opened)) << answers;
    EXPECT_EQ(r.status, 1) << answers;
    if (::access("/dev/full", W_OK) != 0 || answers.starts_with("csm")) continue;
    Session t;
    t.write("m.vmz", square);
    r = t.run("rea\nm\nsys\nln -s /dev/full " + file + "\n\n" + answers + "\nwri\nout\nend\n");
    EXPECT_EQ(r.err, warning("Unable to write output file - " + file)) << answers;
    EXPECT_NE(r.out.find(nothing_changed), std::string::npos) << answers;
    EXPECT_EQ(t.read("out.vmz"), square) << answers;
    EXPECT_FALSE(t.exists(file)) << answers;
  }
}

// 1073741823 copies of two points still number within an int: the next question comes.
TEST(Edit, PaaCountsUpToTheIntRange) {
  Session s;
  s.write("m.vmz", bar);
  Result r = s.run("rea\nm\npaa\n1073741823\n");
  EXPECT_TRUE(
      r.out.ends_with(paa_count('x', "1073741823") + "\nNumber of repetitions in y [1] ? "));
}

// The quarter circle of radius 2, in the wide layout of the simple meshes.
TEST(Edit, CsmQuarterCircleInTheWideLayout) {
  inprocess::Directory dir;
  {
    inprocess::Console console("5\n2\n");
    edit::vmzcsm();
  }
  std::ifstream file(std::string(TRELMO_TEST_DATA) + "/edit/quarter_circle.vmz");
  EXPECT_EQ(dir.read("tmp.vmz"), std::string(std::istreambuf_iterator<char>(file), {}));
}

TEST(Edit, SndResultFileLayout) {
  inprocess::Directory dir;
  mesh::MeshBuffer buffer;
  buffer.npoin = 4, buffer.nspno = 3;
  buffer.coord = console::OneMatrix<double>(4, 3);
  buffer.coord.zero();
  buffer.lspno = console::OneVector<int>(3);
  buffer.lspno[1] = 3, buffer.lspno[2] = 1, buffer.lspno[3] = 3;
  inprocess::Console console("0\n");
  edit::vmzsnd(buffer);
  EXPECT_EQ(dir.read("tmp.snd"), "       2\n       1          1\n       2          3\n");
}

TEST(Edit, CommandsMarkTheBufferChanged) {
  // csm works in buffer b, and its change counts when buffer a is current again.
  for (const char* answers : {"ccf\ncsm\n2\n\n\nccf\n", "mov\n\n\n\n", "rot\nn\n1\n2\n\n",
                              "mir\n\nn\n1\n2\n3\n", "snd\n\n"}) {
    Session s;
    s.write("m.vmz", square);
    Result r = s.run(std::string("rea\nm\n") + answers + "end\ny\n");
    EXPECT_EQ(r.err, warning("No write of a .vmz file since last change")) << answers;
  }
}

TEST(Edit, AxisBasesAreOrthonormalAndRightHanded) {
  // Near the y axis (within 1e-8) the second auxiliary vector is taken.
  for (const Point& axis : pts("1e-9 1 1e-9, 2e-8 1 0, 0 -1 0, 1 1 1, -3 2 .5, 0 0 1")) {
    console::OneVector<double> n(3);
    for (int j = 1; j <= 3; ++j) n[j] = axis[j - 1] / std::hypot(axis[0], axis[1], axis[2]);
    console::OneMatrix<double> q = edit::axbase(n);
    for (int a = 1, b = 2, c = 3; a <= 3; ++a, b = a % 3 + 1, c = b % 3 + 1) {
      EXPECT_EQ(q(a, 3), n[a]);
      EXPECT_NEAR(q(b, 1) * q(c, 2) - q(c, 1) * q(b, 2), n[a], 1e-14);  // right-handed
      for (int k = 1; k <= 3; ++k) {
        double dot = q(1, a) * q(1, k) + q(2, a) * q(2, k) + q(3, a) * q(3, k);
        EXPECT_NEAR(dot, a == k ? 1 : 0, 1e-14) << axis[0];
      }
    }
  }
}
