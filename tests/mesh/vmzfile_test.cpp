// The mesh and special-node files: readers on random meshes and on every fault, writers' layout.
#include "mesh/vmzfile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <random>

#include "console/report.h"
#include "mesh/meshwriter.h"
#include "mesh/sndfile.h"
#include "support/inprocess.h"
#include "support/session.h"

using mesh::MeshBuffer;
using mesh::Titles;

namespace {

// Writes `text` to m.vmz, tmp.snd or w.vmz; ";" stands for a line end.
void write(const std::string& name, std::string text) {
  for (char& c : text) c = c == ';' ? '\n' : c;
  std::ofstream(name, std::ios::binary) << text;
}

// Both streams and the fatal message ("-" when none) of running f.
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

std::string read_quietly(MeshBuffer& b, Titles& t) {
  return run([&] { mesh::read_mesh(*console::InputFile::open("m.vmz"), b, t, mesh::Echo::quiet); });
}

}  // namespace

TEST(Vmz, RandomMeshesReadInAnyLayoutAndWriteBack) {
  inprocess::Directory d;
  std::mt19937 random(3);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const char* gaps[] = {" ", "\n", "\t ", "\r\n", "   \n\n "};
  for (int round = 0; round < 40; ++round) {
    int npoin = 1 + pick(9), nelem = pick(6), nspno = pick(4);
    std::vector<std::vector<int>> elements(nelem);
    std::vector<session::Point> points(npoin);
    std::vector<int> specials(nspno);
    for (auto& nodes : elements)
      for (nodes.resize(1 + pick(20)); int& n : nodes) n = 1 + pick(npoin);
    for (auto& p : points)
      for (double& x : p) x = (pick(2000001) - 1000000) * std::pow(10.0, pick(14) - 10);
    for (int& s : specials) s = 1 + pick(npoin);
    std::string main(pick(70), 'm'), mesh(pick(9), 's'), lay = "  " + main + " \n " + mesh + "\r";
    std::string text = session::mesh_file(main, mesh, elements, points, specials);
    for (char c : text.substr(main.size() + mesh.size() + 1))  // "\n" and the records
      lay += c == ' ' ? gaps[pick(5)] : std::string(1, c);
    main.resize(std::min(main.size(), 60ul)), mesh.resize(std::min(mesh.size(), 6ul));
    write("m.vmz", lay);
    MeshBuffer b;
    Titles t;
    EXPECT_EQ(run([&] { mesh::rdvmz("m", b, t); }),
              session::reading("m.vmz", main, mesh, nelem, npoin, nspno) + "||-");
    EXPECT_EQ(run([&] { EXPECT_EQ(mesh::wrvmz(b, "out", t), 'y'); }),
              session::counts(nelem, npoin, nspno) + "\nWriting file: out.vmz\n||-");
    EXPECT_EQ(d.read("out.vmz"), session::mesh_file(main, mesh, elements, points, specials));
    EXPECT_EQ(read_quietly(b, t), "||-");
  }
}

const struct {
  int section, field;
  const char* by;
} plants[] = {{0, 0, "0"}, {0, 1, "0"}, {0, 1, "21"}, {0, 2, "N"}, {0, 3, "x"}, {0, -1, ""},
              {1, 0, "0"}, {1, 2, "1e999"}, {1, -1, ""}, {2, 0, "9"}, {2, 1, "N"}, {2, -1, ""}};

// Meshes large enough to be shared among threads, with records split over lines, read and
// written back with 1, 2, 3 and 7 threads: the same buffer and the same bytes; a planted fault
// gives the same report with every count.
TEST(Vmz, ThreadsReadAndWriteTheSame) {
  inprocess::Directory d;
  std::mt19937 random(7);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int round = 0; round < 2; ++round) {
    int npoin = round == 0 ? 3000 + pick(3000) : 12000;  // then fewer elements than threads
    std::vector<std::vector<int>> elements(round == 0 ? 18000 + pick(4000) : 2);
    std::vector<session::Point> points(npoin);
    std::vector<int> specials(pick(300));
    for (auto& nodes : elements)
      for (nodes.resize(1 + pick(20)); int& n : nodes) n = 1 + pick(npoin);
    for (auto& p : points)
      for (double& x : p) x = (pick(2000001) - 1000000) * std::pow(10.0, pick(14) - 10);
    for (int& s : specials) s = 1 + pick(npoin);
    std::string text = session::mesh_file("A", "B", elements, points, specials), lay = "A\nB\n";
    for (char c : text.substr(4)) lay += c == ' ' && pick(50) == 0 ? "\n" : std::string(1, c);
    std::string reference, faulty[std::size(plants)];
    std::vector<std::size_t> lines = {0};  // where each line of the text begins
    for (std::size_t i = 0; i < text.size(); ++i)
      if (text[i] == '\n') lines.push_back(i + 1);
    for (const char* threads : {"1", "2", "3", "7"}) {
      setenv("TRELMO_THREADS", threads, 1);
      write("m.vmz", lay);
      MeshBuffer b;
      Titles t;
      EXPECT_EQ(read_quietly(b, t), "||-") << threads;
      run([&] { EXPECT_EQ(mesh::wrvmz(b, "out", t), 'y'); });
      std::string read(reinterpret_cast<const char*>(b.coord.row(1)), 24 * b.npoin);
      for (int i = 1; i <= b.nelem; ++i)
        read += std::to_string(b.nnoel[i]) + std::string(reinterpret_cast<const char*>(
                                                 b.lnods.row(i)), 4 * b.nnoel[i]);
      for (int i = 1; i <= b.nspno; ++i) read += "," + std::to_string(b.lspno[i]);
      if (reference.empty()) reference = read;
      EXPECT_TRUE(read == reference) << threads;
      EXPECT_TRUE(d.read("out.vmz") == text) << threads;
      std::mt19937 plant(round);
      for (int f = 0; std::string& report : faulty) {
        // Field `field` of a random record of `section` replaced (N: the number past the
        // nodes), or the file cut in the record (field -1).
        auto [section, field, by] = plants[f++];
        std::size_t counts[] = {elements.size(), points.size(), specials.size()};
        if (counts[section] == 0) continue;
        std::size_t at = lines[3 + (section > 0) * counts[0] + (section > 1) * counts[1] +
                               plant() % counts[section]];
        std::string bad = text.substr(0, at + plant() % 8);
        for (int k = 0; k <= field; ++k) at = text.find_first_not_of(' ', k ? text.find(' ', at) : at);
        if (field >= 0)
          bad = text.substr(0, at) + (by == std::string("N") ? std::to_string(npoin + 1) : by) +
                text.substr(text.find_first_of(" \n", at));
        write("m.vmz", bad);
        std::string got = run([&] { mesh::rdvmz("m", b, t); });
        if (report.empty()) report = got;
        EXPECT_EQ(got, report) << threads << " " << at;
      }
    }
  }
  unsetenv("TRELMO_THREADS");
}

// clang-format off
// Records after "T;M;"|fault's place (c: counts, e1: element 1, n2, s1)|fatal message. A fault
// in the titles gives the whole file, "t", the message, and the quiet reader's message.
const std::string faults[] = {
    "|t|Unexpected end of file in the titles|title line 1: Unexpected end of file",
    std::string(999, 'a') + ";B;0 0 0;|t|elimnl: internal error 2 (LF expected)|title line 1: "
        "longer than 998 characters or without its line end",
    "2000000000 2000000000 0|c|Memory allocation failed|Memory allocation failed",
    "one;|t|Unexpected end of file in the titles|title line 2: Unexpected end of file",
    "A;B|t|elimnl: internal error 2 (LF expected)|title line 2: longer than 998 characters or "
        "without its line end",
    "A;B\r|t|elimnl: internal error 1 (CR in the string)|title line 2: carriage return without a "
        "line feed",
    "1 x 0|c|Invalid integer in the file", "0 200000000 0;1 0 0 0;2 0 0|n2|Unexpected end of file",
    "-1 0 0|c|Negative number of elements", "1 2 0;1 0|e1|N. of nodes of an element is less than 1",
    "0 -1 0|c|Negative number of nodes", "0 1 1;1 0 0 0;1 2|s1|Special node number out of range",
    "1 2|c|Unexpected end of file", "0 1 1;1 0 0 0;1 0|s1|Special node number out of range",
    "1 99999999999 0|c|Invalid integer in the file", "1 2 0;1 2 1 x|e1|Invalid integer in the file",
    "0 0 -5|c|Negative number of special nodes", "0 2 0;1 0 0 0;3 0 0 0|n2|Wrong node number",
    "1 2 0;2 2 1 2|e1|Wrong element number", "0 1 0;1 0 1.5x 0|n1|Invalid real number in the file",
    "1 2 0;1 2 1 3|e1|Element node out of range", "1 2 0;1 2 0 1|e1|Element node out of range",
    "0 1 0;1 inf 0 0|n1|Invalid real number in the file",
    "0 1 2;1 0 0 0;1 1;3 1|s2|Wrong special node number",
    "1 1 0;1 21 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1;1 0 0 0|e1|Too many nodes in the element"
        "|element 1: Too many nodes in the element (more than 20)|Maximum n. of nodes per element "
        "=       20"};
// clang-format on

TEST(Vmz, EveryFaultIsFatalWithItsContext) {
  inprocess::Directory d;
  const std::string names[] = {"counts", "element", "node", "special node"};
  for (const std::string& row : faults) {
    std::vector<std::string> f(1);
    for (char c : row) c == '|' ? (void)f.emplace_back() : f.back().push_back(c);
    std::string name = names[std::string("cens").find(f[1][0]) % 4], number = f[1].substr(1);
    write("m.vmz", f[1] == "t" ? f[0] : "T;M;" + f[0] + ";");
    MeshBuffer b{.nelem = 7};
    Titles t{"Kept", "Kept"};
    std::string where = name + (number.empty() ? "" : " " + number);
    EXPECT_EQ(read_quietly(b, t), "||" + (f.size() > 3 ? f[3] : where + ": " + f[2])) << row;
    EXPECT_EQ(t.main + std::to_string(b.nelem), "Kept7") << row;  // a failed read keeps them
    std::string got = run([&] { mesh::rdvmz("m", b, t); }), context;
    got = got.substr(got.find('|'));
    if (f[1] == "c") got = "||" + got.substr(got.rfind('|') + 1);  // a context line of its own
    if (!number.empty()) context = "\nReading " + name + " n.        " + number + "\n";
    context += f.size() > 4 ? f[4] + "\n" : "";  // the limit broken
    EXPECT_EQ(got, "|" + context + "|" + f[2]) << row;
  }
  MeshBuffer b;
  Titles t{"Old", "Old"};
  EXPECT_EQ(run([&] { mesh::rdvmz("none", b, t); }, "\n"),  // no fault: an empty buffer
            "\nReading file: none.vmz\n\nCurrent buffer cleared - press the Return key ... \n" +
                session::counts(0, 0, 0) + "|\nWARNING:\nFile not found - jobname.vmz\n|-");
  EXPECT_EQ(t.main + t.mesh, "Main titleMesh");
}

TEST(MeshFiles, SndFilesAndTheWideLayout) {
  inprocess::Directory d;
  // The file|the record in the context line|the fatal message, or the count and the list read.
  // clang-format off
  for (const char* row : {"3;1 4 2;5;3 10;||3: 4 5 10", "       0;||0:",
      "2;1 4;3 5;|2|Wrong special node number", "1;1 11;|1|Special node number out of range",
      "1;1 0;|1|Special node number out of range", "2;1 4;|2|Unexpected end of file",
      "1;1 y;|1|Invalid integer in the file", "x;||Invalid integer in the file",
      "||Unexpected end of file", "-1;||Negative number of special nodes"}) {
    // clang-format on
    std::string text(row), record = text.substr(text.find('|') + 1), list;
    write("tmp.snd", text.substr(0, text.find('|')));
    record.resize(record.find('|'));
    MeshBuffer b{.npoin = 10};
    std::string got = run([&] { mesh::rdsnd("tmp", b); });
    if (got.back() == '-') got.pop_back(), list = std::to_string(b.nspno) + ":";
    for (int i = 1; !list.empty() && i <= b.nspno; ++i) list += " " + std::to_string(b.lspno[i]);
    if (!record.empty()) record = "\nReading special node n.        " + record + "\n";
    EXPECT_EQ(got + list, "\nReading file: tmp.snd\n|" + record + text.substr(text.rfind('|')));
  }
  MeshBuffer b;
  EXPECT_EQ(run([&] { mesh::rdsnd("none", b); }),
            "\nReading file: none.snd\n||File not found - jobname.snd");
  // The wide layout of the mesh writer and the special-node file written.
  auto out = console::OutputFile::open("w.vmz");
  mesh::MeshWriter w(*out, Titles{"L", "M"}, 1, 1, 0, "r", mesh::MeshWriter::Layout::wide);
  w.element_line(" 1     2     1  2"), w.point(0.9, -0.4, 123456.5), w.finish();
  out->close();
  EXPECT_EQ(d.read("w.vmz"),
            "L\nM\n       1        1        0\n 1     2     1  2\n       1    "
            "0.9000000000   -0.4000000000 123456.5000000000\n");
  EXPECT_EQ(run([&] { mesh::MeshWriter(*out, Titles{}, 1, 1, 0, "r").point(0, 0, 0); }),
            "||r: internal error 1");  // a point before the element
  out = console::OutputFile::open("r.snd");
  console::OneVector<int> points(3);
  points[1] = 3, points[2] = 12, points[3] = 99;
  mesh::wrsnd(*out, points, 2);
  out->close();
  EXPECT_EQ(d.read("r.snd"), "       2\n       1          3\n       2         12\n");
}
