// vmztool in the test program: command lines, statuses, VTK/Gmsh files written and read, SVG.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <set>

#include "support/inprocess.h"
#include "support/session.h"
#include "vmztool/check.h"
#include "vmztool/commands.h"
#include "vmztool/files.h"
#include "vmztool/quality.h"
#include "vmztool/svg.h"

using session::format;
using session::mesh_file;
using session::Point;

namespace {
namespace tool {

struct Run {
  int status;
  std::string out, err;
};
Run run(const std::vector<std::string>& args) {
  inprocess::Console console("");
  int status = vmztool::run(args);
  return {status, console.out(), console.err()};
}
void write(const std::string& name, const std::string& text) {
  std::ofstream(name) << text;
}
}  // namespace tool

const std::string v2 = "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n";  // Gmsh file heads
const std::string v4 = "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n";
const std::string square =
    mesh_file("Square", "S", {{1, 2, 3, 4, 1}}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {3});
const std::string six =
    mesh_file("Six", "M", {{1, 2, 3, 4, 5, 6}, {1, 2}}, std::vector<Point>(6, {1, 0, 0}));

// A 9-node quadrangle on (0,0)-(2,2), a line below it (numbered lower), a triangle, two points
// (one special); node numbers sparse and unsorted: 40 30 20 7 8 9 1 2 3 round from (0,0) to (1,1).
const char* const plate_v4 =
    "$MeshFormat\n4.1 0 8\n$EndMeshFormat\n"
    "$PhysicalNames\n2\n0 7 \"special_nodes\"\n2 3 \"plate\"\n$EndPhysicalNames\n"
    "$Entities\n2 1 1 0\n10 0 0 0 1 7\n11 2 0 0 0\n5 0 0 0 2 0 0 0 2 10 -11\n"
    "1 0 0 0 2 2 0 1 3 1 5\n$EndEntities\n"
    "$Nodes\n3 9 1 40\n0 10 0 1\n40\n0 0 0\n1 5 1 1\n30\n1 0 0 0.5\n"
    "2 1 0 7\n20\n7\n8\n9\n1\n2\n3\n2 0 0\n2 1 0\n2 2 0\n1 2 0\n0 2 0\n0 1 0\n1 1 0\n$EndNodes\n"
    "$Elements\n5 5 2 9\n2 1 10 1\n5 40 20 8 1 30 7 9 2 3\n2 1 2 1\n6 40 20 8\n"
    "1 5 1 1\n2 40 20\n0 10 15 1\n9 8\n0 11 15 1\n8 20\n$EndElements\n";

// Draws a mesh with the given options; answers the picture.
std::string draw(const std::string& mesh, std::vector<std::string> options) {
  tool::write("m.vmz", mesh);
  options.insert(options.begin(), {"svg", "m"});
  tool::run(options);
  std::ifstream in("m.svg");
  return {std::istreambuf_iterator<char>(in), {}};
}
std::string points(const std::vector<Point>& xyz) {
  return mesh_file("P", "M", {}, xyz);
}
// The dots of the points, in order.
std::string dots(const std::vector<std::pair<double, double>>& at) {
  std::string text = "<g id=\"points\" fill=\"#222222\">\n";
  for (auto [x, y] : at) text += format("<circle cx=\"%.2f\" cy=\"%.2f\" r=\"1.5\"/>\n", x, y);
  return text + "</g>\n";
}

}  // namespace

TEST(VmzCli, AnswersEachCommandLine) {
  inprocess::Directory dir;
  tool::write("m.vmz", square);
  tool::write("six.vmz", six);
  tool::write("bad.msh", v2 + "$Nodes\n1\n1 0 0\n$EndNodes\n");
  // Faults are reported after "vmztool: "; a misuse (status 2) with the help of its command.
  const std::string job = "': use letters, digits and the characters $ . / : \\ _ only";
  const std::string skip =
      "vmztool: warning: 1 element not written: no cell type for its node list"
      " (the first is element 1, with 6 entries)";
  const std::string quad = " --eight-node (use quad or brick)",
                    cell = ": 1 cell, 4 points, 1 special node";
  const std::tuple<std::vector<std::string>, int, std::string> rows[] = {
      {{}, 2, "missing command (svg, export, import or check)"},
      {{"draw", "m"}, 2, "unknown command 'draw' (use svg, export, import or check)"},
      {{"--verbose"}, 2, "unknown option '--verbose'"},
      {{"svg"}, 2, "missing job name"},
      {{"svg", "m", "n"}, 2, "unexpected argument 'n'"},
      {{"svg", "m", "--view", "top"}, 2, "invalid value 'top' for --view (use x, y, z or iso)"},
      {{"svg", "m", "--view"}, 2, "option --view needs a value"},
      {{"svg", "m", "--numbers=yes"}, 2, "option --numbers takes no value"},
      {{"svg", "m", "-x"}, 2, "unknown option '-x'"},
      {{"svg", "m", "--view=x", "--view=y"}, 2, "option --view given twice"},
      {{"svg", "m", "-o", ""}, 2, "option --output needs a file name"},
      {{"svg", "--", "--help"}, 2, "invalid job name '--help" + job},
      {{"export", "m"}, 2, "missing --to vtk, --to msh or --to inp"},
      {{"export", "m", "--to", "stl"}, 2, "invalid value 'stl' for --to (use vtk, msh or inp)"},
      {{"export", "m", "--to=inp", "--type=5"},
       2,
       "invalid value '5' for --type (use 1, 2, 3, 4, 6, 7, 8 or 9)"},
      {{"export", "m", "--to=vtk", "--type=1"}, 2, "option --type needs --to inp"},
      {{"export", "m", "--to=vtk", "--eight-node", "hex"}, 2, "invalid value 'hex' for" + quad},
      {{"import"}, 2, "missing mesh file and job name"},
      {{"import", "a.msh"}, 2, "missing job name"},
      {{"import", "a.msh", "b", "c"}, 2, "unexpected argument 'c'"},
      {{"check"}, 2, "missing job name"},
      {{"check", "m", "--worst=1.5"},
       2,
       "invalid value '1.5' for --worst (use a whole number of 0 or more)"},
      {{"check", "m", "--tolerance", "-1e-5"},
       2,
       "invalid value '-1e-5' for --tolerance (use a number of 0 or more)"},
      {{"check", "m", "--tolerance", "1e-5x"},
       2,
       "invalid value '1e-5x' for --tolerance (use a number of 0 or more)"},
      {{"svg", "none"}, 1, "cannot open none.vmz: No such file or directory"},
      {{"import", "bad.msh", "m"}, 1, "bad.msh: $Nodes: invalid coordinate '$EndNodes'"},
      {{"import", ".", "m"}, 1, "cannot open .: it is a directory"},
      {{"svg", "m", "-o", "."}, 1, "cannot create .: it is a directory"},
      {{"svg", "m", "-o", "no/m.svg"}, 1, "cannot create no/m.svg: No such file or directory"},
      {{"svg", "m"}, 0, "Wrote m.svg (view z): 1 element, 4 points, 1 special node"},
      {{"export", "--to=vtk", "m", "--output", "sub.vtk"}, 0, "Wrote sub.vtk" + cell},
      {{"export", "m", "--to", "msh", "-osub.msh"}, 0, "Wrote sub.msh" + cell},
      {{"import", "sub.msh", "back"}, 0, "Wrote back.vmz: 1 element, 4 points, 1 special node"},
      {{"export", "six", "--to", "vtk"},
       0,
       "Wrote six.vtk: 1 cell, 6 points, 0 special nodes\n" + skip},
      {{"export", "m", "--to", "inp", "--type", "4"},
       0,
       "Wrote m.inp: 0 cells, 4 points, 1 special node\nvmztool: warning: 1 element not written: "
       "no CalculiX element of problem type 4 (solid) for its node list (the first is element 1, "
       "a 4-node quadrilateral)"},
      {{"export", "m", "--to", "inp", "--type", "1"}, 0, "Wrote m.inp" + cell},
      {{"import", "m.inp", "back"}, 0, "Wrote back.vmz: 1 element, 4 points, 1 special node"},
  };
  for (const auto& [args, status, text] : rows) {
    bool named =
        !args.empty() && std::set<std::string>{"svg", "export", "import", "check"}.count(args[0]);
    std::string command = named ? args[0] + " " : "";
    tool::Run r = tool::run(args);
    EXPECT_EQ(r.status, status) << args.size();
    std::string help = status == 2 ? "Try 'vmztool " + command + "--help'.\n" : "";
    EXPECT_EQ(r.out + r.err, (status ? "vmztool: " : "") + text + "\n" + help) << args.size();
  }
  EXPECT_EQ(dir.read("back.vmz"), square);
  // The help wins over anything else on the line, up to "--".
  tool::Run help = tool::run({"svg", "--bogus", "x", "-h", "--", "--help"});
  EXPECT_EQ(std::to_string(help.status) + help.out.substr(0, 18), "0Usage: vmztool svg");
  EXPECT_EQ(tool::run({"help", "svg"}).out, help.out);
  for (const char* command : {"export", "import", "check"}) {
    EXPECT_EQ(tool::run({command, "-h"}).status, 0);
  }
}

TEST(VmzExport, WritesVtkAndGmshFilesLineByLine) {
  inprocess::Directory dir;
  // A closed 4-node quadrilateral, a 3-node line, a 6-node element no format has; point 3 special.
  const std::vector<Point> at = {{0, 0, 0}, {1, 0, 0},       {1, 1, 0},
                                 {0, 1, 0}, {-0.5, 1.25, 0}, {-1, 1.5, 2.00000001}};
  tool::write("m.vmz",
              mesh_file("Two", "T", {{1, 2, 3, 4, 1}, {4, 5, 6}, {1, 2, 3, 4, 5, 6}}, at, {3}));
  EXPECT_EQ(tool::run({"export", "m", "--to", "vtk"}).status, 0);
  EXPECT_EQ(dir.read("m.vtk"),
            "# vtk DataFile Version 3.0\nTwo\nASCII\nDATASET UNSTRUCTURED_GRID\nPOINTS 6 double\n"
            "0 0 0\n1 0 0\n1 1 0\n0 1 0\n-0.5 1.25 0\n-1 1.5 2.00000001\n"
            "CELLS 2 9\n4 0 1 2 3\n3 3 5 4\nCELL_TYPES 2\n9\n21\n"
            "CELL_DATA 2\nSCALARS element int 1\nLOOKUP_TABLE default\n1\n2\n"
            "POINT_DATA 6\nSCALARS special_nodes int 1\nLOOKUP_TABLE default\n0\n0\n1\n0\n0\n0\n");
  EXPECT_EQ(tool::run({"export", "m", "--to", "msh"}).status, 0);
  EXPECT_EQ(dir.read("m.msh"),
            "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$TrelmoTitles\nTwo\nT\n$EndTrelmoTitles\n"
            "$PhysicalNames\n1\n0 2 \"special_nodes\"\n$EndPhysicalNames\n$Nodes\n6\n1 0 0 0\n"
            "2 1 0 0\n3 1 1 0\n4 0 1 0\n5 -0.5 1.25 0\n6 -1 1.5 2.00000001\n$EndNodes\n"
            "$Elements\n3\n1 3 2 1 1 1 2 3 4\n2 8 2 1 1 4 6 5\n4 15 2 2 1 3\n$EndElements\n");
}

TEST(VmzExport, NodeListsGiveTheirCellTypes) {
  // Lists 1..n, open, or closed (first node repeated): VTK cell types by closure, and with
  // --eight-node quad and brick; the other lists have none.
  const int open[] = {2, 3, 4, 8, 9, 20, 1, 5, 7, 10, 19}, closed[] = {4, 8, 9, 2, 3, 19};
  std::vector<std::vector<int>> lists;
  auto upto = [&](int n) {
    lists.emplace_back(n), std::iota(lists.back().begin(), lists.back().end(), 1);
  };
  for (int n : open) upto(n);
  for (int n : closed) upto(n), lists.back().push_back(1);
  inprocess::Directory dir;
  tool::write("m.vmz", mesh_file("K", "K", lists, std::vector<Point>(20, {0, 0, 0})));
  const std::pair<std::vector<std::string>, std::string> rows[] = {
      {{}, "3\n21\n9\n12\n28\n25\n9\n23\n28\n"},
      {{"--eight-node", "quad"}, "3\n21\n9\n23\n28\n25\n9\n23\n28\n"},
      {{"--eight-node=brick"}, "3\n21\n9\n12\n28\n25\n9\n12\n28\n"}};
  for (auto [args, types] : rows) {
    args.insert(args.begin(), {"export", "m", "--to", "vtk"});
    tool::Run r = tool::run(args);
    EXPECT_NE(dir.read("m.vtk").find("CELL_TYPES 9\n" + types + "CELL_DATA"), std::string::npos);
    EXPECT_EQ(r.err,
              "vmztool: warning: 8 elements not written: no cell type for their node "
              "list (the first is element 7, with 1 entries)\n");
  }
}

TEST(VmzImport, ReadsSparseNumbersInTheirOrder) {
  // Points in the order of the node numbers, the line first, the quadrangle closed in trelmo's
  // order (corner, mid-side, ..., centre), node 8 special; either line end.
  inprocess::Directory dir;
  const std::vector<Point> at = {{0, 2, 0}, {0, 1, 0}, {1, 1, 0}, {2, 1, 0}, {2, 2, 0},
                                 {1, 2, 0}, {2, 0, 0}, {1, 0, 0}, {0, 0, 0}};
  const std::string plate =
      mesh_file("v4.msh", "Mesh", {{9, 7}, {9, 8, 7, 4, 5, 6, 1, 2, 3, 9}}, at, {5});
  for (bool dos : {false, true}) {
    std::string text;
    for (const char* c = plate_v4; *c != '\0'; ++c)
      text += dos && *c == '\n' ? "\r\n" : std::string(1, *c);
    tool::write("v4.msh", text);
    tool::Run r = tool::run({"import", "v4.msh", "out"});
    EXPECT_EQ(r.out + r.err,
              "Wrote out.vmz: 2 elements, 9 points, 1 special node\nvmztool: warning: 2 "
              "elements of other kinds skipped: 1 of Gmsh type 2 (3-node triangle), 1 of "
              "Gmsh type 15 (1-node point outside the group special_nodes)\n");
    EXPECT_EQ(dir.read("out.vmz"), plate);
  }
  tool::write("p.msh", v4 + "$Nodes\n1 2 5 6\n0 1 0 2\n6\n5\n1 1 1\n2 2 2\n$EndNodes\n");
  EXPECT_EQ(tool::run({"import", "p.msh", "out"}).err, "");  // nodes without elements
  EXPECT_EQ(dir.read("out.vmz"), mesh_file("p.msh", "Mesh", {}, {{2, 2, 2}, {1, 1, 1}}));
  tool::write("q.msh",
              v2 + "$PhysicalNames\n1\n0 1 \"special_nodes\"\n$EndPhysicalNames\n$Nodes\n1\n"
                   "1 0 0 0\n$EndNodes\n$Elements\n1\n1 15 0 1\n$EndElements\n");
  EXPECT_EQ(tool::run({"import", "q.msh", "out"}).err,
            "vmztool: warning: 1 element of other kinds skipped: "
            "1 of Gmsh type 15 (1-node point outside the group special_nodes)\n");
}

// A random mesh large enough to be shared among threads, in versions 2.2 and 4.1 (node blocks,
// one with parametric coordinates; element blocks by type), imported with 1, 2, 3 and 7 threads:
// the same mesh, and the same report of each planted fault or record split over lines.
TEST(VmzImport, ThreadsReadGmshTheSame) {
  inprocess::Directory dir;
  std::mt19937 random(11);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int npoin = 12000, nelem = 12000, sizes[] = {0, 2, 3, 4, 0, 8};
  std::vector<int> tag(npoin), etag(nelem);
  for (int i = 0; i < npoin; ++i) tag[i] = 2 * i + 1;
  std::iota(etag.begin(), etag.end(), 1);
  std::shuffle(tag.begin(), tag.end(), random);
  std::shuffle(etag.begin(), etag.end(), random);
  std::string v2text = v2 +
                       "$PhysicalNames\n1\n0 7 \"special_nodes\"\n$EndPhysicalNames\n$Nodes\n" +
                       std::to_string(npoin) + "\n",
              v4text = v4 + format("$Nodes\n3 %d 1 %d\n", npoin, 2 * npoin), tags, xyz;
  for (int i = 0; i < npoin; ++i) {
    std::string at = format("%.17g %.17g %.17g", (pick(2000001) - 1000000) * 1e-3, pick(9) * 1e7,
                            -pick(999) * 1e-9);
    v2text += std::to_string(tag[i]) + " " + at + "\n";
    tags += std::to_string(tag[i]) + "\n";
    xyz += at + (i >= 7000 && i < 7010 ? " 0.5\n" : "\n");
    if (i == 6999 || i == 7009 || i == npoin - 1) {
      v4text += format("%s %d\n",
                       i == 6999   ? "3 1 0"
                       : i == 7009 ? "1 2 1"
                                   : "2 3 0",
                       i == 6999   ? 7000
                       : i == 7009 ? 10
                                   : npoin - 7010) +
                tags + xyz;
      tags.clear(), xyz.clear();
    }
  }
  v2text += "$EndNodes\n$Elements\n" + std::to_string(nelem) + "\n";
  std::map<int, std::string> blocks;  // Gmsh type -> its records
  for (int e = 0; e < nelem; ++e) {
    int type = std::vector<int>{5, 5, 5, 3, 1, 2, 15}[static_cast<std::size_t>(pick(7))];
    std::string nodes;
    for (int k = 0; k < (type == 15 ? 1 : sizes[type]); ++k)
      nodes += " " + std::to_string(tag[pick(npoin)]);
    v2text += format("%d %d 2 7 1", etag[e], type) + nodes + "\n";
    blocks[type] += std::to_string(etag[e]) + nodes + "\n";
  }
  v4text += format("$EndNodes\n$Elements\n%zu %d 1 %d\n", blocks.size(), nelem, nelem);
  for (const auto& [type, text] : blocks)
    v4text += format("2 1 %d %zu\n", type, std::count(text.begin(), text.end(), '\n')) + text;
  for (const std::string& text : {v2text + "$EndElements\n", v4text + "$EndElements\n"}) {
    // Variant v: none, or a random record line changed (odd v: of the nodes, even v: of the
    // elements), or the line of counts (v 11).
    std::size_t first = text.find("\n", text.find("$Nodes\n") + 7) + 1,
                elements = text.find("$Elements\n") + 10;
    for (int v = 0; v < 14; ++v) {
      std::string bad = text;
      std::size_t from = v % 2 ? first : elements, to = v % 2 ? elements : text.size() - 30;
      std::size_t at = text.find('\n', from + random() % (to - from)) + 1;
      std::size_t end = text.find('\n', at), last = text.rfind(' ', end);
      if (v == 1 || v == 2 || v > 11) bad.replace(last + 1, end - last - 1, v < 12 ? "1x" : "4");
      if (v == 3 || v == 4) bad[v == 3 ? end : text.find(' ', at)] = v == 3 ? ' ' : '\n';
      if (v == 5) bad.resize(at + 3);
      if (v == 6) bad.erase(at, end + 1 - at);
      if (v > 6 && v < 12)
        bad.insert(v == 11 ? first - 1
                   : v > 8 ? end
                           : at + (v - 7) * (end - at) / 2,
                   v == 7   ? "$"
                   : v == 8 ? "\n\n"
                            : " 1");
      tool::write("g.msh", bad);
      std::string reference;
      for (const char* threads : {"1", "2", "3", "7"}) {
        setenv("TRELMO_THREADS", threads, 1);
        std::filesystem::remove("g.vmz");
        tool::Run r = tool::run({"import", "g.msh", "g"});
        std::string got =
            std::to_string(r.status) + r.out + r.err + (r.status == 0 ? dir.read("g.vmz") : "");
        if (reference.empty()) reference = got;
        EXPECT_EQ(got, reference) << threads << " " << v << " " << at;
        EXPECT_EQ(r.status, v == 0 || v == 3 || v == 4 || v == 13 ? 0 : r.status) << v;
      }
    }
  }
  unsetenv("TRELMO_THREADS");
}

TEST(VmzImport, FaultsNameTheirPlace) {
  const std::pair<std::string, std::string> rows[] = {
      {"", "not a Gmsh mesh file: it does not begin with $MeshFormat"},
      {v2, "no $Nodes section: there is no mesh to import"},
      {v2 + "$Nodes\n2\n1 0 0 0\n1 1 0 0\n$EndNodes\n$Elements\n0\n$EndElements\n",
       "$Nodes: node 1 is given twice"},
      {v2 + "$Nodes\n2\n1 0 0 0\n3 1 0 0\n$EndNodes\n$Elements\n1\n1 1 2 0 0 1 2\n$EndElements\n",
       "$Elements: element 1 refers to node 2, which is not in $Nodes"},
      {v2 + "$Nodes\n1\n1 0 0 0\n2 1 0 0\n$EndNodes\n",
       "$Nodes: expected $EndNodes, found '2' (more entries than announced?)"},
      {v4 + "$Nodes\n1 3 1 3\n0 1 0 2\n1\n2\n0 0 0\n1 1 1\n$EndNodes\n",
       "$Nodes: announces 3 nodes but its blocks hold 2"},
      {v4 + "$Nodes\n1 2 1 2\n0 1 0 2\n1\n2\n0 0 0\n1 1 1\n$EndNodes\n"
            "$Elements\n1 2 1 2\n1 1 1 1\n1 1 2\n$EndElements\n",
       "$Elements: announces 2 elements but its blocks hold 1"},
      {v2 + "$TrelmoTitles\nonly one\n", "$TrelmoTitles: unexpected end of file in the titles"},
  };
  inprocess::Directory dir;
  for (const auto& [text, message] : rows) {
    tool::write("bad.msh", text);
    tool::Run r = tool::run({"import", "bad.msh", "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vmztool: bad.msh: " + message + "\n") << text;
  }
  EXPECT_FALSE(std::filesystem::exists("out.vmz"));
}

TEST(VmzInp, EveryKindSurvivesExportAndImport) {
  // Lines, closed quadrilaterals, bricks (a 20-node one takes a continuation line), 17 special
  // nodes (two lines of the node set), a title read as a keyword were it not for its blank.
  std::vector<std::vector<int>> lists;
  std::vector<Point> at;
  for (int n : {2, 3, 4, 8, 8, 20}) {
    lists.emplace_back(n);
    std::iota(lists.back().begin(), lists.back().end(), static_cast<int>(at.size()) + 1);
    if (n == 4 || lists.size() == 4) lists.back().push_back(lists.back()[0]);
    for (int i = 0; i < n; ++i) at.push_back({0.1 * i, -1.5 * n, 1e-8 * (i % 3)});
  }
  std::vector<int> special(17);
  std::iota(special.rbegin(), special.rend(), 3);
  inprocess::Directory dir;
  const std::string mesh = mesh_file("*Every kind", "K", lists, at, special);
  tool::write("m.vmz", mesh);
  EXPECT_EQ(tool::run({"export", "m", "--to", "inp"}).status, 0);
  EXPECT_EQ(tool::run({"import", "m.inp", "back"}).err, "");
  EXPECT_EQ(dir.read("back.vmz"), mesh);
  EXPECT_NE(dir.read("m.inp").find("*HEADING\n *Every kind\nK\n*NODE\n1, 0, -3, 0\n"),
            std::string::npos);
}

TEST(VmzInp, ReadsWhatOtherProgramsWrite) {
  // Blanks, lower case, comments, CR LF line ends, numbers out of order, two coordinates, a
  // reduced-integration 8-node quadrilateral closed in trelmo's order, ranges, other types.
  inprocess::Directory dir;
  tool::write("o.inp",
              "*Node\r\n 9 , 2., 0\r\n1, 0, 0, 0\r\n3,2,2\r\n** made elsewhere\r\n7,0,2\r\n"
              "2,1,0\r\n4,2,1\r\n5,1,2\r\n6,0,1\r\n*element, type=s8r, elset=a\r\n"
              "4, 1, 9, 3, 7, 2, 4, 5, 6\r\n*ELEMENT,TYPE=C3D10\r\n1,1,2,3,4,5,6,\r\n7,9,3,2\r\n"
              "*NSET,NSET=special,GENERATE\r\n2, 6, 2\r\n*NSET,NSET=S\r\n7\r\n*STEP\r\n");
  tool::Run r = tool::run({"import", "o.inp", "o"});
  EXPECT_EQ(r.err, "vmztool: warning: 1 element of other kinds skipped: 1 of type C3D10\n");
  EXPECT_EQ(
      dir.read("o.vmz"),
      mesh_file(
          "o.inp", "Mesh", {{1, 2, 8, 4, 3, 5, 7, 6, 1}},  // node 9 is point 8
          {{0, 0, 0}, {1, 0, 0}, {2, 2, 0}, {2, 1, 0}, {1, 2, 0}, {0, 1, 0}, {0, 2, 0}, {2, 0, 0}},
          {2, 4, 6}));
  const std::pair<std::string, std::string> faults[] = {
      {"1, 0, 0, 0\n", "line 1: data before the first keyword"},
      {"*HEADING\nT\n", "no *NODE: there is no mesh to import"},
      {"*NODE\n1, 0, x\n", "line 2: invalid coordinate 'x'"},
      {"*NODE\n1, 0\n1, 1\n", "node 1 is given twice"},
      {"*NODE\n1, 0\n*ELEMENT, TYPE=T3D2\n1, 1, 2\n",
       "element 1 refers to node 2, which is not in *NODE"},
      {"*NODE\n1, 0\n*ELEMENT, TYPE=B32\n1, 1, 1\n",
       "line 4: element 1 has 2 nodes; its type B32 has 3"},
      {"*NODE\n0, 0\n", "line 2: invalid node number '0'"},
      {"*INCLUDE, INPUT=m.inp\n", "line 1: *INCLUDE is not read: put the file's text in its place"},
  };
  for (const auto& [text, message] : faults) {
    tool::write("bad.inp", text);
    tool::Run bad = tool::run({"import", "bad.inp", "out"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "vmztool: bad.inp: " + message + "\n") << text;
  }
  EXPECT_FALSE(std::filesystem::exists("out.vmz"));
}

TEST(VmzSvg, EachViewScalesToAThousandPixels) {
  inprocess::Directory dir;
  // 2 by 1 in the x-y plane away from the origin, the first point lowest: 1000 by 500 pixels
  // inside a margin of 20 and a caption line of 24 below.
  std::string svg = draw(points({{3, 7, 1}, {5, 8, 1}, {3, 8, 1}}), {});
  EXPECT_NE(svg.find("width=\"1040.00\" height=\"564.00\" viewBox=\"0 0 1040.00 564.00\""),
            std::string::npos);
  EXPECT_NE(svg.find(dots({{20, 520}, {1020, 20}, {20, 20}})), std::string::npos);
  // The origin and a point along x, y and z, seen from each side; isometric: from (1, 1, 1).
  const std::pair<const char*, std::string> views[] = {
      {"x", dots({{20, 1020}, {20, 1020}, {1020, 1020}, {20, 20}})},
      {"y", dots({{20, 1020}, {1020, 1020}, {20, 1020}, {20, 20}})},
      {"z", dots({{20, 1020}, {1020, 1020}, {20, 20}, {20, 1020}})},
      {"iso", dots({{520, 597.35}, {20, 886.03}, {1020, 886.03}, {520, 20}})}};
  for (const auto& [view, expected] : views) {
    svg = draw(points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), {"--view", view});
    EXPECT_NE(svg.find(expected), std::string::npos) << view << svg;
  }
  // Coordinates near the largest real overflow the projection: all drawn at one place.
  svg = draw(points({{-1.5e308, -1.5e308, 1.5e308}, {1.5e308, 1.5e308, -1.5e308}}),
             {"--view", "iso"});
  EXPECT_NE(svg.find("width=\"480.00\" height=\"64.00\""), std::string::npos);
  EXPECT_NE(svg.find(dots({{240, 20}, {240, 20}})), std::string::npos);
}

TEST(VmzSvg, OutlinesOfEachKind) {
  // Point k at x = k - 1 on a line 20 long: k is drawn at (20 + 50 (k - 1), 20).
  std::vector<Point> line;
  for (int k = 0; k <= 20; ++k) line.push_back({1.0 * k, 0, 0});
  std::vector<int> twenty;
  for (int k = 1; k <= 20; ++k) twenty.push_back(k);
  auto run = [](std::vector<int> nodes, bool close) {
    std::string r;
    for (std::size_t i = 0; i < nodes.size(); ++i)
      r += (i == 0 ? "M" : i == 1 ? "L" : " ") + format("%.2f 20.00", 20 + 50.0 * (nodes[i] - 1));
    return close ? r + "Z" : r;
  };
  inprocess::Directory dir;
  const std::vector<std::vector<int>> kinds = {
      {1, 2, 3}, {1, 2, 3, 4, 5, 6, 7, 8, 1}, {1, 2, 3, 4, 5, 6, 7, 8},
      twenty,    {1, 2, 3, 4, 5, 6},          {7}};
  std::string svg = draw(mesh_file("K", "M", kinds, line), {});
  std::string paths;
  for (std::size_t at = svg.find("<path d=\""); at != std::string::npos;
       at = svg.find("<path d=\"", at + 1))
    paths += svg.substr(at + 9, svg.find('"', at + 9) - at - 9) + "\n";
  EXPECT_EQ(paths,
            session::lines(
                {run({1, 2, 3}, false), run({1, 2, 3, 4, 5, 6, 7, 8}, true),
                 run({1, 2, 3, 4, 1, 5, 6, 7, 8, 5}, false) + run({2, 6}, false) +
                     run({3, 7}, false) + run({4, 8}, false),
                 run({1, 2, 3, 4, 5, 6, 7, 8, 1, 9, 13, 14, 15, 16, 17, 18, 19, 20, 13}, false) +
                     run({3, 10, 15}, false) + run({5, 11, 17}, false) + run({7, 12, 19}, false),
                 run({1, 2, 3, 4, 5, 6}, false), "M320.00 20.00h0"}));
}

TEST(VmzSvg, SpecialNodesNumbersAndTitles) {
  inprocess::Directory dir;
  std::string mesh = mesh_file("Tank <A&B>", "M", {{1, 2, 3, 4, 1}},
                               {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, {3});
  std::string plain = draw(mesh, {});
  EXPECT_NE(plain.find("<circle cx=\"1020.00\" cy=\"20.00\" r=\"4.5\"/>"), std::string::npos);
  EXPECT_EQ(plain.find("<text x=\"520.00\""), std::string::npos);
  EXPECT_NE(plain.find("<title>Tank &lt;A&amp;B&gt;</title>"), std::string::npos);
  // The element's number at the centre of its four nodes, each point's beside it.
  std::string numbered = draw(mesh, {"--numbers"});
  for (const char* text :
       {"<text x=\"520.00\" y=\"520.00\">1</text>", "<text x=\"23.00\" y=\"1017.00\">1</text>",
        "<text x=\"23.00\" y=\"17.00\">4</text>",
        "<text x=\"20.00\" y=\"1056.00\" fill=\"#444444\" font-family=\"sans-serif\" "
        "font-size=\"12\">"
        "Tank &lt;A&amp;B&gt; - 1 element, 4 points, 1 special node - view z</text>"})
    EXPECT_NE(numbered.find(text), std::string::npos) << text;
  // Then Latin-1, a cut sequence, overlong forms, a surrogate, beyond U+10FFFF.
  const std::pair<const char*, const char*> texts[] = {
      {"a<b & \"c\" 'd' >", "a&lt;b &amp; &quot;c&quot; &apos;d&apos; &gt;"},
      {"tab\there\x01\x1f", "tab\there??"},
      {"D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80", "D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80"},
      {"D\xf4me", "D?me"},
      {"\xe2\x82", "??"},
      {"\xc0\xaf", "??"},
      {"\xe0\x80\xaf", "???"},
      {"\xed\xa0\x80", "???"},
      {"\xf0\x80\x80\xaf", "????"},
      {"\xf4\x90\x80\x80", "????"}};
  for (const auto& [text, xml] : texts) EXPECT_EQ(vmztool::xml_text(text), xml) << text;
}

// Elements on points of their own, each with its measures derived by hand (NAN: not derived).
struct Shape {
  std::vector<Point> at;  // the points in node order
  double scaled_jacobian, edge_ratio, warpage;
  bool inverted, degenerate;
};
const double r5 = std::sqrt(1.25), r52 = std::sqrt(.52);
// The buffer of a mesh file written in the current directory.
void load(const std::string& text, mesh::MeshBuffer& buffer) {
  tool::write("m.vmz", text);
  mesh::Titles titles;
  vmztool::read_job("m", buffer, titles);
}
const Shape shapes[] = {
    {{{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}}, 1, 2, 1, false, false},
    // A parallelogram: the sine of its corner angle, 1 / sqrt(1.25).
    {{{0, 0, 0}, {1, 0, 0}, {1.5, 1, 0}, {.5, 1, 0}}, 1 / r5, r5, 1, false, false},
    // Corner 3 pulled past the diagonal 2-4: its cross product -0.2 over sides of sqrt(0.52).
    {{{0, 0, 0}, {1, 0, 0}, {.4, .4, 0}, {0, 1, 0}}, -.2 / .52, 1 / r52, -1, true, false},
    // A corner within the tolerance of its neighbour, then twice as far.
    {{{0, 0, 0}, {1, 0, 0}, {1, 1e-5, 0}, {0, 1, 0}}, NAN, NAN, NAN, false, true},
    {{{0, 0, 0}, {1, 0, 0}, {1, 2e-5, 0}, {0, 1, 0}}, NAN, NAN, NAN, false, false},
    // Corners 1 and 3 lifted by h = 1/2: opposite unit corner normals at (1 - 2h²) / (1 + 2h²).
    {{{0, 0, .5}, {1, 0, 0}, {1, 1, .5}, {0, 1, 0}}, NAN, 1, 1 / 27.0, false, false},
    // 3-node lines, middle node at a: the Jacobian s + 1/2 - 2as, from 2a - 1/2 to 3/2 - 2a.
    {{{0, 0, 0}, {.5, 0, 0}, {1, 0, 0}}, 1, 1, 1, false, false},
    {{{0, 0, 0}, {.1, 0, 0}, {1, 0, 0}}, -.3 / 1.3, 9, 1, false, false},
    {{{0, 0, 0}, {-.5, 0, 0}, {1, 0, 0}}, -.6, 3, 1, true, false},
    {{{0, 0, 0}, {0, 0, 0}, {1, 0, 0}}, -1 / 3.0, INFINITY, 1, true, true},
    // Bricks: the unit cube, and its two rings swapped (a mirror image).
    {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
     1,
     1,
     1,
     false,
     false},
    {{{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}, {0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}},
     -1,
     1,
     1,
     true,
     false},
};
TEST(VmzCheck, MeasuresByHand) {
  for (const Shape& shape : shapes) {
    std::vector<int> nodes(shape.at.size());
    std::iota(nodes.begin(), nodes.end(), 1);
    inprocess::Directory dir;
    mesh::MeshBuffer buffer;
    load(mesh_file("M", "M", {nodes}, shape.at), buffer);
    vmztool::Kind kind = vmztool::check_kind(buffer, 1, vmztool::EightNodes::by_closure);
    vmztool::ElementQuality q = vmztool::measure(buffer, 1, kind, 1e-5);
    std::string label = format("%zu nodes, %g", nodes.size(), shape.at[1][0]);
    EXPECT_EQ(q.inverted, shape.inverted) << label;
    EXPECT_EQ(q.degenerate, shape.degenerate) << label;
    const double want[3] = {shape.scaled_jacobian, shape.edge_ratio, shape.warpage};
    const double got[3] = {q.scaled_jacobian, q.edge_ratio, q.warpage};
    for (int k = 0; k < 3; ++k) {
      if (std::isinf(want[k])) {
        EXPECT_EQ(got[k], want[k]) << label;
      } else if (std::isfinite(want[k])) {
        EXPECT_NEAR(got[k], want[k], 1e-12) << label << " " << k;
      }
    }
  }
}

TEST(VmzCheck, AffineQuadraticElementsHaveOneJacobian) {
  // Any affine map gives a constant Jacobian: 1, or -1 and inverted when a brick is mirrored.
  // Nodes at their parametric places in trelmo's order (rings from (-1,-1), mid-height, centre).
  const int s[8] = {-1, 0, 1, 1, 1, 0, -1, -1}, t[8] = {-1, -1, -1, 0, 1, 1, 1, 0};
  std::vector<Point> line3 = {{-1, 0, 0}, {0, 0, 0}, {1, 0, 0}}, quad8, quad9, hex20;
  for (int k = 0; k < 8; ++k) quad8.push_back({1.0 * s[k], 1.0 * t[k], 0});
  quad9 = quad8;
  quad9.push_back({0, 0, 0});
  for (int u : {-1, 0, 1}) {
    for (int k = 0; k < 8; ++k) {
      if (u != 0 || k % 2 == 0) hex20.push_back({1.0 * s[k], 1.0 * t[k], 1.0 * u});
    }
  }
  std::mt19937 random(7);
  std::uniform_real_distribution<double> any(-1, 1);
  for (int trial = 0; trial < 40; ++trial) {
    double m[3][3];
    for (auto& row : m) {
      for (double& v : row) v = any(random);
    }
    double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                 m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                 m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (std::fabs(det) < .1) continue;  // nearly flat: the 8 decimals of the file would show
    for (const auto* shape : {&line3, &quad8, &quad9, &hex20}) {
      std::vector<Point> at;
      for (const Point& p : *shape) {
        at.push_back({});
        for (int i = 0; i < 3; ++i) at.back()[i] = m[i][0] * p[0] + m[i][1] * p[1] + m[i][2] * p[2];
      }
      std::vector<int> nodes(at.size());
      std::iota(nodes.begin(), nodes.end(), 1);
      if (shape != &hex20 && shape != &line3) nodes.push_back(1);
      inprocess::Directory dir;
      mesh::MeshBuffer buffer;
      load(mesh_file("M", "M", {nodes}, at), buffer);
      vmztool::Kind kind = vmztool::check_kind(buffer, 1, vmztool::EightNodes::by_closure);
      vmztool::ElementQuality q = vmztool::measure(buffer, 1, kind, 1e-5);
      bool mirrored = shape == &hex20 && det < 0;  // lines and surfaces follow their own normal
      EXPECT_NEAR(q.scaled_jacobian, mirrored ? -1 : 1, 1e-6) << at.size() << " " << trial;
      EXPECT_EQ(q.inverted, mirrored) << at.size() << " " << trial;
    }
  }
}

TEST(VmzCheck, CoincidentPointsAsAllPairsFindThem) {
  // Random points on a lattice of step 0.65e-5, a few to a cell: chains of pairs within the
  // tolerance, against the search over all pairs.
  std::mt19937 random(16);
  for (double tolerance : {2e-5, 1e-5, 0.0}) {
    for (int trial = 0; trial < 20; ++trial) {
      std::uniform_int_distribution<int> step(0, trial % 2 ? 12 : 4), low(0, 2);
      std::vector<Point> at(60);
      for (Point& p : at) p = {step(random) * .65e-5, step(random) * .65e-5, low(random) * .65e-5};
      inprocess::Directory dir;
      mesh::MeshBuffer buffer;
      load(points(at), buffer);
      std::vector<int> want(at.size());
      std::iota(want.begin(), want.end(), 0);
      for (bool changed = true; changed;) {  // the smallest point reachable by near pairs
        changed = false;
        for (int a = 0; a < buffer.npoin; ++a) {
          for (int b = 0; b < buffer.npoin; ++b) {
            bool near = true;
            for (int j = 1; j <= 3; ++j) {
              near =
                  near && std::fabs(buffer.coord(a + 1, j) - buffer.coord(b + 1, j)) <= tolerance;
            }
            if (near && want[b] < want[a]) want[a] = want[b], changed = true;
          }
        }
      }
      EXPECT_EQ(vmztool::coincident_points(buffer, tolerance), want) << tolerance << " " << trial;
    }
  }
}

TEST(VmzCheck, ReportsAndColoursEachFinding) {
  // Elements 1 and 2 on the same square (2 turned the other way), 3 a bow tie beside it (no
  // normal at its centre), 4 of 6 nodes; point 5 within 1e-5 of point 1, point 6 unused.
  inprocess::Directory dir;
  const std::vector<Point> at = {{0, 0, 0},    {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                 {1e-6, 0, 0}, {9, 9, 9}, {2, 0, 0}, {2, 1, 0}};
  tool::write(
      "m.vmz",
      mesh_file("M", "M", {{1, 2, 3, 4, 1}, {4, 3, 2, 1, 4}, {2, 7, 3, 8, 2}, {1, 2, 3, 4, 5, 7}},
                at));
  tool::Run r = tool::run({"check", "m"});
  EXPECT_EQ(r.status, 1);
  // Scaled Jacobians 1, 1, 0 (median 1); edge ratios 1, 1, sqrt(2); warpages 1, 1, -1.
  for (const char* line :
       {"Check of m.vmz: 4 elements, 8 points, 0 special nodes\n",
        "\n         3  4-node quadrilateral\n1 of other node counts (4)\n",
        "  scaled Jacobian     0.0000    1.0000    1.0000\n",
        "  edge ratio          1.0000    1.0000    1.4142\n",
        "  warpage            -1.0000    1.0000    1.0000\n", "     0.0 ..  0.2: 1\n",
        "    -0.2 ..  0.0: 0\n", "     0.8 ..  1.0: 2\n", "\nInverted elements: 1 (3)\n",
        "\nDegenerate elements: 0\nCoincident points not joined (within 1e-05): 2 points in 1 "
        "group (1 5)\nUnused points: 1 (6)\nElements on the same points: 2 elements in 1 group "
        "(1 2)\n",
        "\nNot fit for analysis: 1 inverted and 0 degenerate elements.\n"}) {
    EXPECT_NE(r.out.find(line), std::string::npos) << line << r.out;
  }
  r = tool::run({"check", "m", "--tolerance=0", "--worst", "1", "--json"});
  for (const char* text : {"\"coincident_points\": {\"count\": 0, \"points\": 0, \"groups\": []}",
                           "\"worst\": [\n    {\"element\": 3, \"kind\": \"quad4\", "
                           "\"scaled_jacobian\": 0, \"edge_ratio\": 1.4142135623730951, "
                           "\"warpage\": -1, \"inverted\": true, \"degenerate\": false}\n  ],\n"
                           "  \"fit\": false\n}\n"}) {
    EXPECT_NE(r.out.find(text), std::string::npos) << text << r.out;
  }
  tool::write("s.vmz", square);
  EXPECT_EQ(tool::run({"check", "s"}).status, 0);
  // Scaled Jacobian 1 in the darkest green, the bow tie in the inverted colour, the 6-node
  // element plain; the legend below the drawing.
  std::string svg =
      draw(mesh_file("M", "M", {{1, 2, 3, 4, 1}, {2, 7, 3, 8, 2}, {1, 2, 3, 4, 5, 7}}, at),
           {"--quality"});
  for (const char* path : {"<path fill=\"#006837\" fill-opacity=\"0.8\" d=\"M",
                           "<path fill=\"#5e3c99\" fill-opacity=\"0.8\" d=\"M", "<path d=\"M",
                           "<g id=\"legend\"", ">inverted</text>"}) {
    EXPECT_NE(svg.find(path), std::string::npos) << path;
  }
}
