// The DXF entity writers: every group-code line of every entity, the layer name and the file.
#include "exchange/dxfwriter.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "support/session.h"

using namespace session;

namespace {

class DxfWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/trelmo-dxf-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    ::unlink((dir_ + "/d.dxf").c_str());
    ::rmdir(dir_.c_str());
  }
  std::string job() const { return dir_ + "/d"; }
  std::string drawing() const {
    std::ifstream in(job() + ".dxf", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::string dir_;
};

console::OneVector<double> vector_of(std::initializer_list<double> values) {
  console::OneVector<double> v(static_cast<int>(values.size()));
  int i = 0;
  for (double x : values) v[++i] = x;
  return v;
}

}  // namespace

TEST_F(DxfWriter, EveryEntityWritesItsGroupCodesAndValues) {
  auto dxf = exchange::dxfopn(job());
  ASSERT_NE(dxf, nullptr);
  EXPECT_EQ(dxf->layer(), "0");
  dxf->dxfpnt(1, -2, 0.125);
  dxf->dxflay("LINES");
  dxf->dxflin(0, 0, 0, 1234567.25, -0.0, 1e10);
  dxf->dxftxt(0.5, 0.25, 0, 0.1, "Main title - Mesh");
  dxf->dxfpol(2, vector_of({1, 2}), vector_of({3, 4}), vector_of({5, 6}));
  dxf->dxfpol(0, vector_of({}), vector_of({}), vector_of({}));
  dxf->dxfcls();
  EXPECT_EQ(
      drawing(),
      lines({"  0", "SECTION", "  2", "ENTITIES", "  0",
             // POINT on the starting layer
             "POINT", "  8", "0", " 10", "      1.0000000", " 20", "     -2.0000000", " 30",
             "      0.1250000", "  0",
             // LINE: wide values widen their field; negative zero keeps its sign
             "LINE", "  8", "LINES", " 10", "      0.0000000", " 20", "      0.0000000", " 30",
             "      0.0000000", " 11", "1234567.2500000", " 21", "     -0.0000000", " 31",
             "10000000000.0000000", "  0",
             // TEXT
             "TEXT", "  8", "LINES", " 10", "      0.5000000", " 20", "      0.2500000", " 30",
             "      0.0000000", " 40", "      0.1000000", "  1", "Main title - Mesh", "  0",
             // POLYLINE of two vertices
             "POLYLINE", "  8", "LINES", " 66", "     1", " 10", "0.0", " 20", "0.0", " 30", "0.0",
             " 70", "     8", "  0", "VERTEX", "  8", "LINES", " 10", "      1.0000000", " 20",
             "      3.0000000", " 30", "      5.0000000", " 70", "    32", "  0", "VERTEX", "  8",
             "LINES", " 10", "      2.0000000", " 20", "      4.0000000", " 30", "      6.0000000",
             " 70", "    32", "  0", "SEQEND", "  8", "LINES", "  0",
             // POLYLINE without vertices: the head, then SEQEND at once
             "POLYLINE", "  8", "LINES", " 66", "     1", " 10", "0.0", " 20", "0.0", " 30", "0.0",
             " 70", "     8", "  0", "SEQEND", "  8", "LINES", "  0",
             // end of the section and of the file
             "ENDSEC", "  0", "EOF"}));
}

TEST_F(DxfWriter, LayerNamesLoseTheirBlanksAndAreCutToEightCharacters) {
  auto dxf = exchange::dxfopn(job());
  ASSERT_NE(dxf, nullptr);
  dxf->dxflay("  NUMSN ");
  EXPECT_EQ(dxf->layer(), "NUMSN");
  dxf->dxflay(" A LONG LAYER NAME");
  EXPECT_EQ(dxf->layer(), "A LONG L");
  dxf->dxfpnt(0, 0, 0);
  dxf->dxfcls();
  EXPECT_NE(drawing().find("POINT\n  8\nA LONG L\n 10\n"), std::string::npos);
}
