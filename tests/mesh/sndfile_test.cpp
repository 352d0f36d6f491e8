#include "mesh/sndfile.h"

#include <gtest/gtest.h>

#include "console/report.h"
#include "support/capture.h"
#include "support/session.h"

namespace {
struct SndOutcome {
  std::string fatal;
  std::string err;
  mesh::MeshBuffer buffer;
};

SndOutcome read_snd(const std::string& text, int npoin = 10) {
  session::Session s;
  s.write("tmp.snd", text);
  SndOutcome r;
  r.buffer.npoin = npoin;
  r.buffer.nspno = 1;
  r.buffer.lspno = console::OneVector<int>(1);
  r.buffer.lspno[1] = 9;
  session::ConsoleCapture c("");
  try {
    mesh::rdsnd(s.path("tmp"), r.buffer);
  } catch (const console::FatalError& e) {
    r.fatal = e.what();
  }
  r.err = c.err();
  return r;
}
}  // namespace

TEST(Rdsnd, ReadsRecordsWhateverTheLineBreaks) {
  SndOutcome r = read_snd("3\n1 4 2\n5\n3 7\n");
  ASSERT_EQ(r.fatal, "");
  ASSERT_EQ(r.buffer.nspno, 3);
  EXPECT_EQ(r.buffer.lspno[1], 4);
  EXPECT_EQ(r.buffer.lspno[2], 5);
  EXPECT_EQ(r.buffer.lspno[3], 7);
}

TEST(Rdsnd, ZeroCountEmptiesTheList) {
  SndOutcome r = read_snd("       0\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.buffer.nspno, 0);
  EXPECT_EQ(r.buffer.npoin, 10);
}

TEST(Rdsnd, FaultsAreFatal) {
  SndOutcome order = read_snd("2\n1 4\n3 5\n");
  EXPECT_EQ(order.fatal, "Wrong special node number");
  EXPECT_EQ(order.err, "\nReading special node n.        2\n");
  EXPECT_EQ(read_snd("1\n1 11\n").fatal, "Special node number out of range");
  EXPECT_EQ(read_snd("2\n1 4\n").fatal, "Unexpected end of file");
  EXPECT_EQ(read_snd("x\n").fatal, "Invalid integer in the file");
  EXPECT_EQ(read_snd("-1\n").fatal, "Negative number of special nodes");
  // A failed read leaves the buffer's list alone (the program ends anyway).
  EXPECT_EQ(order.buffer.lspno[1], 9);
}

TEST(Rdsnd, MissingFileIsFatal) {
  session::Session s;
  mesh::MeshBuffer buffer;
  session::ConsoleCapture c("");
  try {
    mesh::rdsnd(s.path("tmp"), buffer);
    FAIL();
  } catch (const console::FatalError& e) {
    EXPECT_STREQ(e.what(), "File not found - jobname.snd");
  }
}

TEST(Wrsnd, ResultLayout) {
  session::Session s;
  auto out = console::OutputFile::open(s.path("r.snd"));
  console::OneVector<int> points(2);
  points[1] = 3;
  points[2] = 12;
  mesh::wrsnd(*out, points, 2);
  ASSERT_TRUE(out->close());
  EXPECT_EQ(s.read("r.snd"), "       2\n       1          3\n       2         12\n");
}
