// vmztool's command line: exit statuses and messages, the files written and what stays of an
// earlier file when something fails.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include "support/session.h"
#include "vmztool/tool.h"

namespace {

const std::string square = session::mesh_file(
    "Square", "S", {{1, 2, 3, 4, 1}}, {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {3});

const char* const square_msh =
    "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n"
    "$Nodes\n4\n1 0 0 0\n2 1 0 0\n3 1 1 0\n4 0 1 0\n$EndNodes\n"
    "$Elements\n3\n1 3 2 1 1 1 2 3 4\n2 2 2 1 1 1 2 3\n3 2 2 1 1 1 3 4\n$EndElements\n";

std::string misuse(const std::string& message, const std::string& command = "") {
  return "vmztool: " + message + "\nTry 'vmztool " + command + (command.empty() ? "" : " ") +
         "--help'.\n";
}

}  // namespace

TEST(VmzCli, RefusesBadUsageAndBadInput) {
  inprocess::Directory dir;
  tool::write("m.vmz", square);
  tool::write("bad.vmz", "Square\nS\n1 4 0\n2 4 1 2 3 4\n");
  tool::write("m.svg", "earlier picture");
  tool::write("bad.msh", "$MeshFormat\n2.2 0 8\n$EndMeshFormat\n$Nodes\n1\n1 0 0\n$EndNodes\n");
  const std::string job = "': use letters, digits and the characters $ . / : \\ _ only";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } rows[] = {
      {{}, 2, misuse("missing command (svg, export or import)")},
      {{"draw", "m"}, 2, misuse("unknown command 'draw' (use svg, export or import)")},
      {{"--version"}, 2, misuse("unknown option '--version'")},
      {{"svg"}, 2, misuse("missing job name", "svg")},
      {{"svg", "m", "n"}, 2, misuse("unexpected argument 'n'", "svg")},
      {{"svg", "m", "--view", "top"}, 2,
       misuse("invalid value 'top' for --view (use x, y, z or iso)", "svg")},
      {{"svg", "m", "--view"}, 2, misuse("option --view needs a value", "svg")},
      {{"svg", "m", "--numbers=yes"}, 2, misuse("option --numbers takes no value", "svg")},
      {{"svg", "m", "--colour"}, 2, misuse("unknown option '--colour'", "svg")},
      {{"svg", "m", "-x"}, 2, misuse("unknown option '-x'", "svg")},
      {{"svg", "m", "--view=x", "--view=y"}, 2, misuse("option --view given twice", "svg")},
      {{"svg", "m", "-o", ""}, 2, misuse("option --output needs a file name", "svg")},
      {{"svg", "m-1"}, 2, misuse("invalid job name 'm-1" + job, "svg")},
      {{"export", "m"}, 2, misuse("missing --to vtk or --to msh", "export")},
      {{"export", "m", "--to", "stl"}, 2,
       misuse("invalid value 'stl' for --to (use vtk or msh)", "export")},
      {{"export", "m", "--to=vtk", "--eight-node", "hex"}, 2,
       misuse("invalid value 'hex' for --eight-node (use quad or brick)", "export")},
      {{"import"}, 2, misuse("missing Gmsh file and job name", "import")},
      {{"import", "a.msh"}, 2, misuse("missing job name", "import")},
      {{"import", "a.msh", "b", "c"}, 2, misuse("unexpected argument 'c'", "import")},
      {{"import", "a.msh", "my job"}, 2, misuse("invalid job name 'my job" + job, "import")},
      {{"svg", "none"}, 1, "vmztool: cannot open none.vmz: No such file or directory\n"},
      {{"svg", "bad", "-o", "m.svg"}, 1, "vmztool: bad.vmz: element 1: Wrong element number\n"},
      {{"export", "bad", "--to", "msh"}, 1, "vmztool: bad.vmz: element 1: Wrong element number\n"},
      {{"import", "none.msh", "m"}, 1, "vmztool: cannot open none.msh: No such file or directory\n"},
      {{"import", "bad.msh", "m"}, 1, "vmztool: bad.msh: $Nodes: invalid coordinate '$EndNodes'\n"},
      {{"import", ".", "m"}, 1, "vmztool: cannot open .: it is a directory\n"},
      {{"svg", "m", "-o", "."}, 1, "vmztool: cannot create .: it is a directory\n"},
      {{"svg", "m", "-o", "no/m.svg"}, 1,
       "vmztool: cannot create no/m.svg: No such file or directory\n"},
  };
  for (const auto& row : rows) {
    tool::Run r = tool::run(row.args);
    std::string line;
    for (const std::string& a : row.args) line += " " + a;
    EXPECT_EQ(r.status, row.status) << line;
    EXPECT_EQ(r.err, row.err) << line;
    EXPECT_EQ(r.out, "") << line;
  }
  EXPECT_EQ(tool::read("m.svg"), "earlier picture");
  EXPECT_EQ(tool::read("m.vmz"), square);
  EXPECT_EQ(tool::files(), (std::vector<std::string>{"bad.msh", "bad.vmz", "m.svg", "m.vmz"}));
}

TEST(VmzCli, HelpWinsOverEverythingElse) {
  inprocess::Directory dir;
  tool::Run r = tool::run({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.rfind("Usage: vmztool COMMAND [ARGUMENTS]\n", 0), 0u) << r.out;
  EXPECT_EQ(tool::run({"-h"}).out, r.out);
  EXPECT_EQ(tool::run({"help"}).out, r.out);
  const std::pair<const char*, const char*> usages[] = {
      {"svg", "Usage: vmztool svg JOB [--view x|y|z|iso] [--numbers] [--eight-node quad|brick]"},
      {"export", "Usage: vmztool export JOB --to vtk|msh [--eight-node quad|brick] [-o FILE]\n"},
      {"import", "Usage: vmztool import FILE.msh JOB\n"}};
  for (const auto& [command, usage] : usages) {
    tool::Run help = tool::run({command, "--bogus", "x", "-h", "--", "--help"});
    EXPECT_EQ(help.status, 0) << command;
    EXPECT_EQ(help.out.rfind(usage, 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(tool::run({"help", command}).out, help.out);
    EXPECT_EQ(tool::run({command, "--", "--help"}).status, 2) << command;  // a job name
  }
  EXPECT_TRUE(tool::files().empty());
}

TEST(VmzCli, EachCommandWritesItsFileAndSaysSo) {
  inprocess::Directory dir;
  tool::write("m.vmz", square);
  tool::write("tri.msh", square_msh);
  const struct {
    std::vector<std::string> args;
    std::string out, err;
  } rows[] = {
      {{"svg", "m"}, "Wrote m.svg (view z): 1 element, 4 points, 1 special node\n", ""},
      {{"export", "--to=vtk", "m", "--output", "sub.vtk"},
       "Wrote sub.vtk: 1 cell, 4 points, 1 special node\n", ""},
      {{"export", "m", "--to", "msh", "-osub.msh"},
       "Wrote sub.msh: 1 cell, 4 points, 1 special node\n", ""},
      {{"import", "sub.msh", "back"}, "Wrote back.vmz: 1 element, 4 points, 1 special node\n", ""},
      {{"import", "tri.msh", "t"}, "Wrote t.vmz: 1 element, 4 points, 0 special nodes\n",
       "vmztool: warning: 2 elements of other kinds skipped: 2 of Gmsh type 2 (3-node "
       "triangle)\n"},
      {{"export", "six", "--to", "vtk"}, "Wrote six.vtk: 1 cell, 6 points, 0 special nodes\n",
       "vmztool: warning: 1 element not written: no cell type for its node list (the first is "
       "element 1, with 6 entries)\n"},
      {{"export", "six", "--to", "msh", "-o", "six.svg"},
       "Wrote six.svg: 1 cell, 6 points, 0 special nodes\n",
       "vmztool: warning: 1 element not written: no cell type for its node list (the first is "
       "element 1, with 6 entries)\n"},
  };
  tool::write("six.vmz", session::mesh_file("Six", "M", {{1, 2, 3, 4, 5, 6}, {1, 2}},
                                            {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0},
                                             {4, 0, 0}, {5, 0, 0}}));
  for (const auto& row : rows) {
    tool::Run r = tool::run(row.args);
    EXPECT_EQ(r.status, 0) << row.out;
    EXPECT_EQ(r.out, row.out);
    EXPECT_EQ(r.err, row.err);
  }
  EXPECT_EQ(tool::read("m.svg").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
  EXPECT_EQ(tool::read("sub.vtk").rfind("# vtk DataFile Version 3.0\nSquare\n", 0), 0u);
  EXPECT_EQ(tool::read("back.vmz"), square);
  EXPECT_EQ(tool::files(), (std::vector<std::string>{"back.vmz", "m.svg", "m.vmz", "six.svg",
                                                     "six.vmz", "six.vtk", "sub.msh", "sub.vtk",
                                                     "t.vmz", "tri.msh"}));
}

TEST(VmzCli, AnOutputThatCannotBeWrittenReplacesNothing) {
  inprocess::Directory dir;
  tool::write("m.vmz", square);
  tool::write("m.vtk", "earlier export");
  tool::write("m.msh", square_msh);
  // A disk that takes 100 bytes a file: the output does not fit.
  rlimit old;
  ::getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 100;
  ::setrlimit(RLIMIT_FSIZE, &small);
  auto handler = ::signal(SIGXFSZ, SIG_IGN);
  tool::Run vtk = tool::run({"export", "m", "--to", "vtk"});
  tool::Run vmz = tool::run({"import", "m.msh", "m"});
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::signal(SIGXFSZ, handler);
  EXPECT_EQ(vtk.status, 1);
  EXPECT_EQ(vtk.err, "vmztool: cannot write m.vtk completely; nothing was replaced\n");
  EXPECT_EQ(vmz.status, 1);
  EXPECT_EQ(vmz.err, "vmztool: cannot write m.vmz completely; nothing was replaced\n");
  EXPECT_EQ(tool::read("m.vtk"), "earlier export");
  EXPECT_EQ(tool::read("m.vmz"), square);
  EXPECT_EQ(tool::files(), (std::vector<std::string>{"m.msh", "m.vmz", "m.vtk"}));
}
