// The mesh file and the special-node file: the readers on random meshes in any layout and on
// every fault, and the writers' exact layout.
#include "mesh/vmzfile.h"

#include <gtest/gtest.h>

#include <random>

#include "console/report.h"
#include "mesh/meshwriter.h"
#include "mesh/sndfile.h"
#include "support/inprocess.h"
#include "support/session.h"

using mesh::MeshBuffer;
using mesh::Titles;

namespace {

std::string write(const std::string& name, const std::string& text) {
  inprocess::Console quiet("");  // a path of the working directory, and no dialogue
  auto out = console::OutputFile::open(name);
  out->put(text);
  out->finish();
  return text;
}

// What was printed on both streams and the fatal message of running f.
template <class F>
std::string run(F f, const std::string& answers = "") {
  inprocess::Console c(answers);
  std::string fatal = "-";
  try {
    f();
  } catch (const console::FatalError& e) {
    fatal = e.what();
  }
  return c.out() + "|" + c.err() + "|" + fatal;
}

std::string one_element(const std::string& element) {
  return "T\nM\n1 2 0\n" + element + "\n1 0 0 0\n2 0 0 0\n";
}

}  // namespace

TEST(Vmz, RandomMeshesReadInAnyLayoutAndWriteBack) {
  inprocess::Directory d;
  std::mt19937 random(3);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const char* gaps[] = {" ", "\n", "\t ", "\r\n", "   \n\n "};
  for (int round = 0; round < 40; ++round) {
    int npoin = 1 + pick(9), nelem = pick(6), nspno = pick(4);
    std::vector<std::vector<int>> elements(static_cast<std::size_t>(nelem));
    for (auto& nodes : elements) {
      nodes.resize(1 + pick(20));
      for (int& n : nodes) n = 1 + pick(npoin);
    }
    std::vector<session::Point> points(static_cast<std::size_t>(npoin));
    for (auto& p : points) {
      for (double& x : p) x = (pick(2000001) - 1000000) * std::pow(10.0, pick(14) - 10);
    }
    std::vector<int> specials(static_cast<std::size_t>(nspno));
    for (int& s : specials) s = 1 + pick(npoin);
    std::string main(pick(70), 'm'), mesh(pick(9), 's');
    std::string text = session::mesh_file(main, mesh, elements, points, specials);
    std::string head = "  " + main + " \n " + mesh + "\r\n", layout = head;
    for (char c : text.substr(main.size() + mesh.size() + 2)) {
      layout += c == ' ' ? gaps[pick(5)] : std::string(1, c);
    }
    main.resize(std::min<std::size_t>(main.size(), 60)), mesh.resize(std::min<std::size_t>(mesh.size(), 6));
    write("m.vmz", layout);
    MeshBuffer b;
    Titles t;
    EXPECT_EQ(run([&] { mesh::rdvmz("m", b, t); }),
              session::reading("m.vmz", main, mesh, nelem, npoin, nspno) + "||-");
    EXPECT_EQ(t.main + "|" + t.mesh, main + "|" + mesh);
    EXPECT_EQ(run([&] { EXPECT_EQ(mesh::wrvmz(b, "out", t), 'y'); }),
              session::counts(nelem, npoin, nspno) + "\nWriting file: out.vmz\n||-");
    EXPECT_EQ(d.read("out.vmz"), session::mesh_file(main, mesh, elements, points, specials));
    MeshBuffer q;
    Titles qt;
    EXPECT_EQ(run([&] {
                auto in = console::InputFile::open("m.vmz");
                mesh::read_mesh(*in, q, qt, mesh::Echo::quiet);
              }), "||-");
    EXPECT_EQ(qt.main + qt.mesh + std::to_string(q.nelem + q.npoin + q.nspno),
              main + mesh + std::to_string(nelem + npoin + nspno));
  }
}

// A faulty file: what the console reader prints on the error stream and its fatal message,
// and the one-line message of the quiet reader.
const struct {
  std::string text;
  const char* err;
  const char* fatal;
  const char* quiet;
} faults[] = {
    {"", "", "Unexpected end of file in the titles", "title line 1: Unexpected end of file"},
    {"one\n", "", "Unexpected end of file in the titles", "title line 2: Unexpected end of file"},
    {"A\nB", "", "elimnl: internal error 2 (LF expected)",
     "title line 2: longer than 998 characters or without its line end"},
    {"A\nB\r", "", "elimnl: internal error 1 (CR in the string)",
     "title line 2: carriage return without a line feed"},
    {std::string(999, 'a') + "\nB\n0 0 0\n", "", "elimnl: internal error 2 (LF expected)",
     "title line 1: longer than 998 characters or without its line end"},
    {"T\nM\n1 x 0\n", nullptr, "Invalid integer in the file", "counts: Invalid integer in the file"},
    {"T\nM\n1 2\n", nullptr, "Unexpected end of file", "counts: Unexpected end of file"},
    {"T\nM\n-1 0 0\n", nullptr, "Negative number of elements", "counts: Negative number of elements"},
    {"T\nM\n0 -1 0\n", nullptr, "Negative number of nodes", "counts: Negative number of nodes"},
    {"T\nM\n0 0 -5\n", nullptr, "Negative number of special nodes",
     "counts: Negative number of special nodes"},
    {one_element("2 2 1 2"), "\nReading element n.        1\n", "Wrong element number",
     "element 1: Wrong element number"},
    {one_element("1 0"), "\nReading element n.        1\n", "N. of nodes of an element is less than 1",
     "element 1: N. of nodes of an element is less than 1"},
    {one_element("1 2 1 3"), "\nReading element n.        1\n", "Element node out of range",
     "element 1: Element node out of range"},
    {one_element("1 2 0 1"), "\nReading element n.        1\n", "Element node out of range",
     "element 1: Element node out of range"},
    {one_element("1 21" + std::string(42, ' ').replace(1, 40, "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 ")),
     "\nReading element n.        1\nMaximum n. of nodes per element =       20\n",
     "Too many nodes in the element", "element 1: Too many nodes in the element (more than 20)"},
    {one_element("1 2 1 x"), "\nReading element n.        1\n", "Invalid integer in the file",
     "element 1: Invalid integer in the file"},
    {"T\nM\n0 2 0\n1 0 0 0\n3 0 0 0\n", "\nReading node n.        2\n", "Wrong node number",
     "node 2: Wrong node number"},
    {"T\nM\n0 1 0\n1 0 1.5x 0\n", "\nReading node n.        1\n", "Invalid real number in the file",
     "node 1: Invalid real number in the file"},
    {"T\nM\n0 200000000 0\n1 0 0 0\n2 0 0\n", "\nReading node n.        2\n",
     "Unexpected end of file", "node 2: Unexpected end of file"},
    {"T\nM\n0 1 2\n1 0 0 0\n1 1\n3 1\n", "\nReading special node n.        2\n",
     "Wrong special node number", "special node 2: Wrong special node number"},
    {"T\nM\n0 1 1\n1 0 0 0\n1 2\n", "\nReading special node n.        1\n",
     "Special node number out of range", "special node 1: Special node number out of range"},
    {"T\nM\n0 1 1\n1 0 0 0\n1 0\n", "\nReading special node n.        1\n",
     "Special node number out of range", "special node 1: Special node number out of range"},
    {"T\nM\n2000000000 2000000000 0\n", nullptr, "Memory allocation failed",
     "Memory allocation failed"},
};

TEST(Vmz, EveryFaultIsFatalWithItsContext) {
  inprocess::Directory d;
  for (const auto& f : faults) {
    write("m.vmz", f.text);
    MeshBuffer b;
    b.nelem = 7;
    Titles t{"Kept", "Kept"};
    EXPECT_EQ(run([&] {
                auto in = console::InputFile::open("m.vmz");
                mesh::read_mesh(*in, b, t, mesh::Echo::quiet);
              }),
              std::string("||") + f.quiet)
        << f.text;
    EXPECT_EQ(t.main + std::to_string(b.nelem), "Kept7") << f.text;  // a failed read keeps them
    std::string got = run([&] { mesh::rdvmz("m", b, t); });
    EXPECT_EQ(got.substr(got.rfind('|') + 1), f.fatal) << f.text;
    if (f.err != nullptr) EXPECT_EQ(got.substr(got.find('|')), "|" + std::string(f.err) + "|" + f.fatal);
  }
}

TEST(Vmz, MissingAndUnwritableFilesAreWarnings) {
  inprocess::Directory d;
  MeshBuffer b;
  b.nelem = 3;
  Titles t{"Old", "Old"};
  EXPECT_EQ(run([&] { mesh::rdvmz("none", b, t); }, "\n"),
            "\nReading file: none.vmz\n\nCurrent buffer cleared - press the Return key ... \n" +
                session::counts(0, 0, 0) + "|\nWARNING:\nFile not found - jobname.vmz\n|-");
  EXPECT_EQ(t.main + t.mesh + std::to_string(b.nelem), "Main titleMesh0");
  EXPECT_EQ(run([&] { EXPECT_EQ(mesh::wrvmz(b, "no/such", t), 'n'); }, "\n"),
            session::counts(0, 0, 0) +
                "\nWriting file: no/such.vmz\n\nNothing changed - press the Return key ... \n"
                "|\nWARNING:\nUnable to open output file - jobname.vmz\n|-");
}

TEST(MeshWriter, WideLayoutAndCountChecks) {
  inprocess::Directory d;
  auto out = console::OutputFile::open("w.vmz");
  mesh::MeshWriter w(*out, Titles{"Linear", "Mesh"}, 1, 2, 0, "vmzcsm", mesh::MeshWriter::Layout::wide);
  w.element_line(" 1     2     1  2");
  w.point(0.9, -0.4, 0);
  w.point(123456.5, 0, 1e-11);
  w.finish();
  out->close();
  EXPECT_EQ(d.read("w.vmz"), "Linear\nMesh\n       1        2        0\n 1     2     1  2\n"
                             "       1    0.9000000000   -0.4000000000    0.0000000000\n"
                             "       2 123456.5000000000    0.0000000000    0.0000000000\n");
  int n[1] = {1};
  const auto faulty = [&](int nelem, int npoin, int nspno, int records) {
    return run([&] {
      mesh::MeshWriter w(*out, Titles{}, nelem, npoin, nspno, "r");
      if (records & 1) w.element(1, n);
      if (records & 2) w.point(0, 0, 0);
      if (records & 4) w.special(1);
      w.finish();
    });
  };
  EXPECT_EQ(faulty(2, 1, 0, 3), "||r: internal error 1");
  EXPECT_EQ(faulty(0, 1, 0, 1), "||r: internal error 1");
  EXPECT_EQ(faulty(0, 2, 0, 2), "||r: internal error 2");
  EXPECT_EQ(faulty(0, 1, 0, 6), "||r: internal error 3");
  EXPECT_EQ(faulty(1, 1, 1, 7), "||-");
}

TEST(SndFile, ReadsRecordsAndRefusesFaults) {
  inprocess::Directory d;
  const std::pair<std::string, std::string> files[] = {
      {"3\n1 4 2\n5\n3 10\n", "||-3:4 5 10"},
      {"       0\n", "||-0:"},
      {"2\n1 4\n3 5\n", "|\nReading special node n.        2\n|Wrong special node number"},
      {"1\n1 11\n", "|\nReading special node n.        1\n|Special node number out of range"},
      {"1\n1 0\n", "|\nReading special node n.        1\n|Special node number out of range"},
      {"2\n1 4\n", "|\nReading special node n.        2\n|Unexpected end of file"},
      {"1\n1 y\n", "|\nReading special node n.        1\n|Invalid integer in the file"},
      {"x\n", "||Invalid integer in the file"},
      {"", "||Unexpected end of file"},
      {"-1\n", "||Negative number of special nodes"}};
  for (const auto& [text, outcome] : files) {
    write("tmp.snd", text);
    MeshBuffer b;
    b.npoin = 10;
    std::string got = run([&] { mesh::rdsnd("tmp", b); });
    if (got.back() == '-') got += std::to_string(b.nspno) + ":";
    for (int i = 1; got.back() != '|' && i <= b.nspno; ++i) got += (i > 1 ? " " : "") + std::to_string(b.lspno[i]);
    EXPECT_EQ(got, "\nReading file: tmp.snd\n" + outcome) << text;
  }
  EXPECT_EQ(run([&] { MeshBuffer b; mesh::rdsnd("none", b); }), "\nReading file: none.snd\n||File not found - jobname.snd");
  auto out = console::OutputFile::open("r.snd");
  console::OneVector<int> points(3);
  points[1] = 3, points[2] = 12, points[3] = 99;
  mesh::wrsnd(*out, points, 2);
  out->close();
  EXPECT_EQ(d.read("r.snd"), "       2\n       1          3\n       2         12\n");
}
