// vmztool end to end: the command line, its exit statuses and messages, the output files and
// what stays of an earlier file when something fails, and meshes made by trelmo itself going
// to Gmsh's format and back.
#include <gtest/gtest.h>

#include "support/session.h"
#include "support/tool_run.h"

using session::Result;
using session::Session;
using tool_run::failure;
using tool_run::misuse;

namespace {

const char* const square =
    "Square\nS\n    1       4       1\n    1     5        1     2     3     4     1\n"
    "    1      0.00000000      0.00000000      0.00000000\n"
    "    2      1.00000000      0.00000000      0.00000000\n"
    "    3      1.00000000      1.00000000      0.00000000\n"
    "    4      0.00000000      1.00000000      0.00000000\n"
    "    1     3\n";

const char* const square_msh =
    "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
    "$Nodes\n4\n1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n$EndNodes\n"
    "$Elements\n3\n1 3 2 1 1 1 2 3 4\n2 2 2 1 1 1 2 3\n3 2 2 1 1 1 3 4\n$EndElements\n";

bool starts_with(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

}  // namespace

TEST(VmztoolCli, HelpTexts) {
  Session s;
  Result r = tool_run::run(s, {"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(starts_with(r.out, "Usage: vmztool COMMAND [ARGUMENTS]\n")) << r.out;
  for (const char* command : {"\n  svg JOB", "\n  export JOB", "\n  import FILE.msh JOB"}) {
    EXPECT_NE(r.out.find(command), std::string::npos) << command;
  }
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(tool_run::run(s, {"-h"}).out, r.out);

  const std::pair<const char*, const char*> commands[] = {
      {"svg", "Usage: vmztool svg JOB [--view x|y|z|iso]"},
      {"export", "Usage: vmztool export JOB --to vtk|msh"},
      {"import", "Usage: vmztool import FILE.msh JOB\n"}};
  for (const auto& [command, usage] : commands) {
    // The help wins over anything else on the line.
    Result help = tool_run::run(s, {command, "--bogus", "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_TRUE(starts_with(help.out, usage)) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(tool_run::run(s, {"help", command}).out, help.out);
  }
  EXPECT_EQ(s.files(), std::vector<std::string>{});
}

TEST(VmztoolCli, BadUsageIsExitStatusTwo) {
  Session s;
  s.write("m.vmz", square);
  const std::string svg_hint = "vmztool svg --help";
  const std::string export_hint = "vmztool export --help";
  const std::string import_hint = "vmztool import --help";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{}, misuse("missing command (svg, export or import)")},
      {{"draw", "m"}, misuse("unknown command 'draw' (use svg, export or import)")},
      {{"--version"}, misuse("unknown option '--version'")},
      {{"svg"}, misuse("missing job name", svg_hint)},
      {{"svg", "m", "n"}, misuse("unexpected argument 'n'", svg_hint)},
      {{"svg", "m", "--view", "top"},
       misuse("invalid value 'top' for --view (use x, y, z or iso)", svg_hint)},
      {{"svg", "m", "--view"}, misuse("option --view needs a value", svg_hint)},
      {{"svg", "m", "--numbers=yes"}, misuse("option --numbers takes no value", svg_hint)},
      {{"svg", "m", "--colour"}, misuse("unknown option '--colour'", svg_hint)},
      {{"svg", "m", "-x"}, misuse("unknown option '-x'", svg_hint)},
      {{"svg", "m", "--view=x", "--view=y"}, misuse("option --view given twice", svg_hint)},
      {{"svg", "m", "-o", ""}, misuse("option --output needs a file name", svg_hint)},
      {{"svg", "m-1"},
       misuse("invalid job name 'm-1': use letters, digits and the characters $ . / : \\ _ only",
              svg_hint)},
      {{"export", "m"}, misuse("missing --to vtk or --to msh", export_hint)},
      {{"export", "m", "--to", "stl"},
       misuse("invalid value 'stl' for --to (use vtk or msh)", export_hint)},
      {{"export", "m", "--to", "vtk", "--eight-node", "hex"},
       misuse("invalid value 'hex' for --eight-node (use quad or brick)", export_hint)},
      {{"import"}, misuse("missing Gmsh file and job name", import_hint)},
      {{"import", "a.msh"}, misuse("missing job name", import_hint)},
      {{"import", "a.msh", "b", "c"}, misuse("unexpected argument 'c'", import_hint)},
      {{"import", "a.msh", "my job"},
       misuse("invalid job name 'my job': use letters, digits and the characters $ . / : \\ _ "
              "only",
              import_hint)},
  };
  for (const auto& [args, message] : cases) {
    Result r = tool_run::run(s, args);
    std::string line;
    for (const std::string& a : args) line += " " + a;
    EXPECT_EQ(r.status, 2) << line;
    EXPECT_EQ(r.err, message) << line;
    EXPECT_EQ(r.out, "") << line;
  }
  EXPECT_EQ(s.files(), std::vector<std::string>{"m.vmz"});
}

TEST(VmztoolCli, EachCommandWritesItsFile) {
  Session s;
  s.write("m.vmz", square);
  Result svg = tool_run::run(s, {"svg", "m"});
  EXPECT_EQ(svg.status, 0);
  EXPECT_EQ(svg.out, "Wrote m.svg (view z): 1 element, 4 points, 1 special node\n");
  EXPECT_EQ(svg.err, "");
  EXPECT_TRUE(starts_with(s.read("m.svg"), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg "));

  Result vtk = tool_run::run(s, {"export", "--to=vtk", "m", "--output", "sub.vtk"});
  EXPECT_EQ(vtk.status, 0);
  EXPECT_EQ(vtk.out, "Wrote sub.vtk: 1 cell, 4 points, 1 special node\n");
  EXPECT_TRUE(starts_with(s.read("sub.vtk"), "# vtk DataFile Version 3.0\nSquare\n"));

  Result msh = tool_run::run(s, {"export", "m", "--to", "msh"});
  EXPECT_EQ(msh.status, 0);
  EXPECT_EQ(msh.out, "Wrote m.msh: 1 cell, 4 points, 1 special node\n");

  Result back = tool_run::run(s, {"import", "m.msh", "back"});
  EXPECT_EQ(back.status, 0);
  EXPECT_EQ(back.out, "Wrote back.vmz: 1 element, 4 points, 1 special node\n");
  EXPECT_EQ(back.err, "");
  EXPECT_EQ(s.read("back.vmz"), square);
  EXPECT_EQ(s.files(),
            (std::vector<std::string>{"back.vmz", "m.msh", "m.svg", "m.vmz", "sub.vtk"}));
}

TEST(VmztoolCli, WarningsCountWhatIsLeftOut) {
  Session s;
  s.write("tri.msh", square_msh);
  Result r = tool_run::run(s, {"import", "tri.msh", "t"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err,
            "vmztool: warning: 2 elements of other kinds skipped: 2 of Gmsh type 2 (3-node "
            "triangle)\n");
  EXPECT_EQ(r.out, "Wrote t.vmz: 1 element, 4 points, 0 special nodes\n");

  s.write("six.vmz",
          "Six\nM\n2 6 0\n1 6 1 2 3 4 5 6\n2 2 1 2\n1 0 0 0\n2 1 0 0\n3 2 0 0\n"
          "4 3 0 0\n5 4 0 0\n6 5 0 0\n");
  Result e = tool_run::run(s, {"export", "six", "--to", "vtk"});
  EXPECT_EQ(e.status, 0);
  EXPECT_EQ(e.err,
            "vmztool: warning: 1 element not written: no cell type for its node list (the first "
            "is element 1, with 6 entries)\n");
  EXPECT_EQ(e.out, "Wrote six.vtk: 1 cell, 6 points, 0 special nodes\n");
}

TEST(VmztoolCli, BadInputIsExitStatusOneAndLeavesEarlierFilesAlone) {
  Session s;
  s.write("m.vmz", "Square\nS\n1 4 0\n2 4 1 2 3 4\n");
  s.write("m.svg", "earlier picture");
  s.write("m.msh", "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n1\n1 0 0\n$EndNodes\n");
  s.write("t.vmz", "earlier mesh");
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"svg", "none"}, failure("cannot open none.vmz: No such file or directory")},
      {{"svg", "m"}, failure("m.vmz: element 1: Wrong element number")},
      {{"export", "m", "--to", "msh", "-o", "m.svg"},
       failure("m.vmz: element 1: Wrong element number")},
      {{"import", "none.msh", "t"}, failure("cannot open none.msh: No such file or directory")},
      {{"import", "m.msh", "t"}, failure("m.msh: $Nodes: invalid coordinate '$EndNodes'")},
      {{"import", ".", "t"}, failure("cannot open .: it is a directory")},
  };
  for (const auto& [args, message] : cases) {
    Result r = tool_run::run(s, args);
    EXPECT_EQ(r.status, 1) << args[1];
    EXPECT_EQ(r.err, message) << args[1];
    EXPECT_EQ(r.out, "") << args[1];
  }
  EXPECT_EQ(s.read("m.svg"), "earlier picture");
  EXPECT_EQ(s.read("t.vmz"), "earlier mesh");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"m.msh", "m.svg", "m.vmz", "t.vmz"}));
}

TEST(VmztoolCli, AnOutputThatCannotBeWrittenReplacesNothing) {
  Session s;
  s.write("m.vmz", square);
  s.write("m.vtk", "earlier export");
  s.write("m.msh", square_msh);
  ::mkdir(s.path("folder").c_str(), 0700);
  // A disk that takes 100 bytes a file: the first output block does not fit.
  Result full = tool_run::run(s, {"export", "m", "--to", "vtk"}, 100);
  EXPECT_EQ(full.status, 1);
  EXPECT_EQ(full.err, failure("cannot write m.vtk completely; nothing was replaced"));
  EXPECT_EQ(s.read("m.vtk"), "earlier export");
  Result import_full = tool_run::run(s, {"import", "m.msh", "m"}, 100);
  EXPECT_EQ(import_full.status, 1);
  EXPECT_EQ(import_full.err, failure("cannot write m.vmz completely; nothing was replaced"));
  EXPECT_EQ(s.read("m.vmz"), square);
  Result folder = tool_run::run(s, {"svg", "m", "-o", "folder"});
  EXPECT_EQ(folder.status, 1);
  EXPECT_EQ(folder.err, failure("cannot create folder: it is a directory"));
  Result nowhere = tool_run::run(s, {"svg", "m", "-o", "no/such/dir.svg"});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_EQ(nowhere.err, failure("cannot create no/such/dir.svg: No such file or directory"));
  // No temporary file is left behind.
  EXPECT_EQ(s.files(), (std::vector<std::string>{"folder", "m.msh", "m.vmz", "m.vtk"}));
}

TEST(VmztoolCli, MeshesMadeByTrelmoGoToGmshAndBackUnchanged) {
  // Lines of 3 nodes, quadrilaterals of 8 and 9 nodes (closed), bricks of 8 and 20 nodes.
  const std::pair<std::string, std::string> sessions[] = {
      {"line3", "csm\n1\n0\n0\n0\n2\n1\n0.5\ngen\n1\n3\n4\nwri\nline3\nend\n"},
      {"quad8", "csm\n5\n2\ngen\n2\n8\n3\n2\nwri\nquad8\nend\n"},
      {"quad9", "csm\n5\n2\ngen\n2\n9\n2\n3\nwri\nquad9\nend\n"},
      {"hex8", "csm\n3\n1\n2\n3\npaa\n2\n1\n1\n1\n0\n0\nwri\nhex8\nend\n"},
      {"hex20", "csm\n3\n1\n2\n0.5\ngen\n3\n20\n2\n1\n2\nwri\nhex20\nend\n"},
  };
  for (const auto& [job, answers] : sessions) {
    Session s;
    Result made = s.run(answers);
    ASSERT_EQ(made.status, 0) << job << made.err;
    ASSERT_EQ(made.err.find("Invalid command"), std::string::npos) << job << made.err;
    ASSERT_TRUE(s.exists(job + ".vmz")) << job << made.out;
    Result out = tool_run::run(s, {"export", job, "--to", "msh"});
    ASSERT_EQ(out.status, 0) << job << out.err;
    Result in = tool_run::run(s, {"import", job + ".msh", "back"});
    ASSERT_EQ(in.status, 0) << job << in.err;
    EXPECT_EQ(in.err, "") << job;
    EXPECT_EQ(s.read("back.vmz"), s.read(job + ".vmz")) << job;
  }
}
