// The mesh-file reader's checks and messages, and the writer's layout.
#include "mesh/vmzfile.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "support/capture.h"
#include "support/session.h"

using mesh::MeshBuffer;
using mesh::Titles;
using session::ConsoleCapture;

namespace {

const char* const rectangle =
    "Rectangular mesh\n"
    "Mesh\n"
    "    1       4       1\n"
    "    1     5        1     2     3     4     1\n"
    "    1      0.00000000      0.00000000      0.00000000\n"
    "    2      2.00000000      0.00000000      0.00000000\n"
    "    3      2.00000000      1.00000000      0.00000000\n"
    "    4      0.00000000      1.00000000      0.00000000\n"
    "    1     3\n";

struct ReadOutcome {
  std::string out;
  std::string err;
  std::string fatal;  // empty when the read succeeded
  MeshBuffer buffer;
  Titles titles;
};

ReadOutcome read_text(const std::string& text, const std::string& answers = "") {
  session::Session s;
  s.write("m.vmz", text);
  ReadOutcome r;
  ConsoleCapture c(answers);
  try {
    mesh::rdvmz(s.path("m"), r.buffer, r.titles);
  } catch (const console::FatalError& e) {
    r.fatal = e.what();
  }
  r.out = c.out();
  r.err = c.err();
  return r;
}

// A file with one element of the given record text after valid titles and counts.
std::string one_element(const std::string& element, int npoin = 2) {
  std::string text = "T\nM\n1 " + std::to_string(npoin) + " 0\n" + element + "\n";
  for (int p = 1; p <= npoin; ++p) text += std::to_string(p) + " 0 0 0\n";
  return text;
}

}  // namespace

TEST(Rdvmz, ReadsTheExampleFile) {
  ReadOutcome r = read_text(rectangle);
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.titles.main, "Rectangular mesh");
  EXPECT_EQ(r.titles.mesh, "Mesh");
  EXPECT_EQ(r.buffer.nelem, 1);
  EXPECT_EQ(r.buffer.npoin, 4);
  EXPECT_EQ(r.buffer.nspno, 1);
  EXPECT_EQ(r.buffer.nnoel[1], 5);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(r.buffer.lnods(1, k), k == 5 ? 1 : k);
  EXPECT_EQ(r.buffer.coord(3, 1), 2.0);
  EXPECT_EQ(r.buffer.coord(3, 2), 1.0);
  EXPECT_EQ(r.buffer.lspno[1], 3);
  EXPECT_NE(r.out.find("Rectangular mesh\nMesh\n"), std::string::npos);
  EXPECT_NE(r.out.find("\nNumber of      elements =        1\nNumber of         nodes =        4\n"
                       "Number of special nodes =        1\n"),
            std::string::npos);
}

TEST(Rdvmz, EmptyMeshAndRecordsSplitOverLines) {
  ReadOutcome empty = read_text("A\nB\n0 0 0\n");
  ASSERT_EQ(empty.fatal, "");
  EXPECT_EQ(empty.buffer.nelem + empty.buffer.npoin + empty.buffer.nspno, 0);
  ReadOutcome split = read_text("A\nB\n1\n3 0\n1\n2\n1\n3\n1 0 0 0 2 1 1 1\n3 2 2\n2\n");
  ASSERT_EQ(split.fatal, "");
  EXPECT_EQ(split.buffer.nnoel[1], 2);
  EXPECT_EQ(split.buffer.lnods(1, 2), 3);
  EXPECT_EQ(split.buffer.coord(3, 3), 2.0);
}

TEST(Rdvmz, TitlesAreTrimmedAndCut) {
  std::string main_title(70, 'x');
  main_title[0] = 'A';
  ReadOutcome r = read_text("   " + main_title + "  \r\n  12345678 \n0 0 0\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.titles.main, main_title.substr(0, 60));
  EXPECT_EQ(r.titles.mesh, "123456");
}

TEST(Rdvmz, TitleLinesNeedTheirLineFeed) {
  EXPECT_EQ(read_text("A\nB").fatal, "elimnl: internal error 2 (LF expected)");
  EXPECT_EQ(read_text("A\nB\r").fatal, "elimnl: internal error 1 (CR in the string)");
  // A title line longer than its room is cut before its line feed.
  EXPECT_EQ(read_text(std::string(999, 'a') + "\nB\n0 0 0\n").fatal,
            "elimnl: internal error 2 (LF expected)");
  EXPECT_EQ(read_text(std::string(998, 'a') + "\nB\n0 0 0\n").fatal, "");
  EXPECT_EQ(read_text("").fatal, "Unexpected end of file in the titles");
  EXPECT_EQ(read_text("only one\n").fatal, "Unexpected end of file in the titles");
}

TEST(Rdvmz, ElementChecks) {
  ReadOutcome wrong = read_text(one_element("2 2 1 2"));
  EXPECT_EQ(wrong.fatal, "Wrong element number");
  EXPECT_EQ(wrong.err, "\nReading element n.        1\n");

  EXPECT_EQ(read_text(one_element("1 0")).fatal, "N. of nodes of an element is less than 1");
  EXPECT_EQ(read_text(one_element("1 2 1 3")).fatal, "Element node out of range");
  EXPECT_EQ(read_text(one_element("1 2 0 1")).fatal, "Element node out of range");

  std::string many = "1 21";
  for (int k = 0; k < 21; ++k) many += " 1";
  ReadOutcome too_many = read_text(one_element(many));
  EXPECT_EQ(too_many.fatal, "Too many nodes in the element");
  EXPECT_EQ(too_many.err,
            "\nReading element n.        1\nMaximum n. of nodes per element =       20\n");
  std::string twenty = "1 20";
  for (int k = 0; k < 20; ++k) twenty += " 2";
  EXPECT_EQ(read_text(one_element(twenty)).fatal, "");
}

TEST(Rdvmz, PointAndSpecialNodeChecks) {
  ReadOutcome wrong = read_text("T\nM\n0 2 0\n1 0 0 0\n3 0 0 0\n");
  EXPECT_EQ(wrong.fatal, "Wrong node number");
  EXPECT_EQ(wrong.err, "\nReading node n.        2\n");

  ReadOutcome sn = read_text("T\nM\n0 1 2\n1 0 0 0\n1 1\n3 1\n");
  EXPECT_EQ(sn.fatal, "Wrong special node number");
  EXPECT_EQ(sn.err, "\nReading special node n.        2\n");

  ReadOutcome range = read_text("T\nM\n0 1 1\n1 0 0 0\n1 2\n");
  EXPECT_EQ(range.fatal, "Special node number out of range");
  EXPECT_EQ(range.err, "\nReading special node n.        1\n");
}

TEST(Rdvmz, UnreadableNumbersAndShortFilesAreFatal) {
  ReadOutcome word = read_text("T\nM\n1 2 0\n1 2 1 x\n1 0 0 0\n2 0 0 0\n");
  EXPECT_EQ(word.fatal, "Invalid integer in the file");
  EXPECT_EQ(word.err, "\nReading element n.        1\n");
  ReadOutcome real = read_text("T\nM\n0 1 0\n1 0 abc 0\n");
  EXPECT_EQ(real.fatal, "Invalid real number in the file");
  EXPECT_EQ(real.err, "\nReading node n.        1\n");
  ReadOutcome partial = read_text("T\nM\n0 1 0\n1 0 1.5x 0\n");
  EXPECT_EQ(partial.fatal, "Invalid real number in the file");
  ReadOutcome shortfile = read_text("T\nM\n0 3 0\n1 0 0 0\n2 0 0\n");
  EXPECT_EQ(shortfile.fatal, "Unexpected end of file");
  EXPECT_EQ(shortfile.err, "\nReading node n.        2\n");
  EXPECT_EQ(read_text("T\nM\n1 2\n").fatal, "Unexpected end of file");
  EXPECT_EQ(read_text("T\nM\n1 99999999999 0\n").fatal, "Invalid integer in the file");
}

TEST(Rdvmz, NegativeCountsAreFatal) {
  EXPECT_EQ(read_text("T\nM\n-1 0 0\n").fatal, "Negative number of elements");
  EXPECT_EQ(read_text("T\nM\n0 -1 0\n").fatal, "Negative number of nodes");
  EXPECT_EQ(read_text("T\nM\n0 0 -5\n").fatal, "Negative number of special nodes");
}

TEST(Rdvmz, AFileDeclaringFarMoreRecordsThanItHoldsEndsCleanly) {
  // The arrays are sized from the counts without being filled, so the short file is detected
  // when its records run out.
  ReadOutcome r = read_text("T\nM\n0 200000000 0\n1 0 0 0\n");
  EXPECT_EQ(r.fatal, "Unexpected end of file");
  ReadOutcome absurd = read_text("T\nM\n2000000000 2000000000 0\n");
  EXPECT_EQ(absurd.fatal, "Memory allocation failed");
}

TEST(Rdvmz, MissingFileClearsTheBufferAfterAWait) {
  session::Session s;
  MeshBuffer buffer;
  buffer.nelem = 3;
  Titles titles{"Old", "Old"};
  ConsoleCapture c("\n");
  mesh::rdvmz(s.path("none"), buffer, titles);
  EXPECT_EQ(buffer.nelem, 0);
  EXPECT_EQ(titles.main, "Main title");
  EXPECT_EQ(titles.mesh, "Mesh");
  EXPECT_EQ(c.out(), "\nReading file: " + s.path("none") +
                         ".vmz\n\nCurrent buffer cleared - press the Return key ... \n" +
                         session::counts(0, 0, 0));
  EXPECT_EQ(c.err(), "\nWARNING:\nFile not found - jobname.vmz\n");
}

TEST(Wrvmz, WritesTheCanonicalLayoutAndRoundsCoordinates) {
  ReadOutcome r = read_text(
      "Rectangular mesh\nMesh\n1 4 1\n1 5 1 2 3 4 1\n1 0 0 0\n2 2 0 0\n3 2 1 1.234567891\n"
      "4 0 1 -0.000000001\n1 3\n");
  ASSERT_EQ(r.fatal, "");
  session::Session s;
  ConsoleCapture c("");
  EXPECT_EQ(mesh::wrvmz(r.buffer, s.path("out"), r.titles), 'y');
  EXPECT_EQ(s.read("out.vmz"),
            "Rectangular mesh\n"
            "Mesh\n"
            "    1       4       1\n"
            "    1     5        1     2     3     4     1\n"
            "    1      0.00000000      0.00000000      0.00000000\n"
            "    2      2.00000000      0.00000000      0.00000000\n"
            "    3      2.00000000      1.00000000      1.23456789\n"
            "    4      0.00000000      1.00000000     -0.00000000\n"
            "    1     3\n");
  EXPECT_EQ(c.out(), session::counts(1, 4, 1) + "\nWriting file: " + s.path("out") + ".vmz\n");
}

TEST(Wrvmz, EmptyMeshWritesTitlesAndZeroCounts) {
  session::Session s;
  ConsoleCapture c("");
  EXPECT_EQ(mesh::wrvmz(MeshBuffer{}, s.path("e"), Titles{}), 'y');
  EXPECT_EQ(s.read("e.vmz"), "Main title\nMesh\n    0       0       0\n");
}

TEST(Wrvmz, UnopenableFileIsRefusedAfterAWait) {
  session::Session s;
  ConsoleCapture c("\n");
  EXPECT_EQ(mesh::wrvmz(MeshBuffer{}, s.path("no/such"), Titles{}), 'n');
  EXPECT_EQ(c.err(), "\nWARNING:\nUnable to open output file - jobname.vmz\n");
  EXPECT_NE(c.out().find("\n\nNothing changed - press the Return key ... \n"), std::string::npos);
}

namespace {

// read_mesh without the console: the fatal message ("" when none), and what was printed.
ReadOutcome read_quietly(const std::string& text) {
  session::Session s;
  s.write("m.vmz", text);
  ReadOutcome r;
  r.titles = Titles{"Kept", "Kept"};
  ConsoleCapture c("");
  try {
    auto file = console::InputFile::open(s.path("m.vmz"));
    mesh::read_mesh(*file, r.buffer, r.titles, mesh::Echo::quiet);
  } catch (const console::FatalError& e) {
    r.fatal = e.what();
  }
  r.out = c.out();
  r.err = c.err();
  return r;
}

}  // namespace

TEST(ReadMeshQuietly, ReadsLikeTheConsoleAndPrintsNothing) {
  ReadOutcome r = read_quietly(rectangle);
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.titles.main, "Rectangular mesh");
  EXPECT_EQ(r.buffer.nnoel[1], 5);
  EXPECT_EQ(r.buffer.lspno[1], 3);
}

TEST(ReadMeshQuietly, EachFaultIsOneLineNamingItsRecord) {
  std::string many = "1 21";
  for (int k = 0; k < 21; ++k) many += " 1";
  const std::pair<std::string, std::string> cases[] = {
      {"", "title line 1: Unexpected end of file"},
      {"A\nB", "title line 2: longer than 998 characters or without its line end"},
      {"A\nB\r", "title line 2: carriage return without a line feed"},
      {std::string(999, 'a') + "\nB\n0 0 0\n",
       "title line 1: longer than 998 characters or without its line end"},
      {"T\nM\n1 x 0\n", "counts: Invalid integer in the file"},
      {"T\nM\n0 -1 0\n", "counts: Negative number of nodes"},
      {one_element("2 2 1 2"), "element 1: Wrong element number"},
      {one_element(many), "element 1: Too many nodes in the element (more than 20)"},
      {one_element("1 2 0 1"), "element 1: Element node out of range"},
      {"T\nM\n0 2 0\n1 0 0 0\n3 0 0 0\n", "node 2: Wrong node number"},
      {"T\nM\n0 1 0\n1 0 abc 0\n", "node 1: Invalid real number in the file"},
      {"T\nM\n0 3 0\n1 0 0 0\n2 0 0\n", "node 2: Unexpected end of file"},
      {"T\nM\n0 1 1\n1 0 0 0\n1 2\n", "special node 1: Special node number out of range"},
  };
  for (const auto& [text, message] : cases) {
    ReadOutcome r = read_quietly(text);
    EXPECT_EQ(r.fatal, message) << text;
    EXPECT_EQ(r.out + r.err, "") << text;
    // A file that fails leaves the titles as they were.
    EXPECT_EQ(r.titles.main, "Kept") << text;
  }
}
