// dxi: meshes from the 3-D polylines of a DXF drawing, checked through the mesh written back.
#include <gtest/gtest.h>

#include "support/drawings.h"
#include "support/session.h"

using namespace session;

namespace {

const std::string import_heading = "Read a .dxf file (AutoCad 10) to buffer a or b";

// Sections before the entities hold nothing that counts, not even a polyline.
std::string preamble() {
  return lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  0",
                "ENDSEC", "  0", "SECTION", "  2", "BLOCKS", "  0"}) +
         dxf_polyline("0", {{"9", "9", "9"}}) + lines({"ENDSEC"});
}

// Two polylines of 3 and 4 vertices among other entities; values in several spellings.
std::string two_polylines() {
  return preamble() + dxf_head() + dxf_line("0", {"0", "0", "0"}, {"1", "1", "1"}) +
         dxf_polyline("LINES",
                      {{"1", "2", "3"}, {"      4.5000000", "-5", "6.25"}, {"+7", "8.", "9"}}) +
         dxf_text("0", {"0", "0", "0"}, "1", "a note") +
         dxf_polyline("LINES", {{"-1", "0", ".125"},
                                {"10", "11", "12"},
                                {"1.5E+01", "  16  ", "17"},
                                {"0.0625", "-0.5", "3.25e-1"}}) +
         dxf_point("0", {"5", "5", "5"}) + dxf_end();
}

const std::string two_polylines_back = lines({
    "Main title",
    "Mesh",
    "    2       7       0",
    "    1     3        1     2     3",
    "    2     4        4     5     6     7",
    "    1      1.00000000      2.00000000      3.00000000",
    "    2      4.50000000     -5.00000000      6.25000000",
    "    3      7.00000000      8.00000000      9.00000000",
    "    4     -1.00000000      0.00000000      0.12500000",
    "    5     10.00000000     11.00000000     12.00000000",
    "    6     15.00000000     16.00000000     17.00000000",
    "    7      0.06250000     -0.50000000      0.32500000",
});

std::string with_crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

std::string scanning(const std::string& file) {
  return "\nPolylines are converted to .vmz data\n\nScanning file: " + file + "\n";
}

// A polyline of n vertices at (k, 2k, 3k).
std::string polyline_of(int n) {
  std::vector<DxfPoint> v;
  for (int k = 1; k <= n; ++k) v.push_back({1.0 * k, 2.0 * k, 3.0 * k});
  return dxf_polyline("LINES", v);
}

// Replaces the first line `from` after the n-th line `after`.
std::string replace_line_after(std::string text, const std::string& after, int n,
                               const std::string& from, const std::string& to) {
  std::size_t at = 0;
  for (int i = 0; i < n; ++i) at = text.find("\n" + after + "\n", at) + 1;
  at = text.find("\n" + from + "\n", at);
  return text.replace(at + 1, from.size(), to);
}

}  // namespace

TEST(Dxi, TwoPolylinesBecomeTwoElementsWithTheirOwnPointsAndDefaultTitles) {
  Session s;
  s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{0, 0, 0}, {1, 0, 0}}, {2}));
  s.write("two.dxf", two_polylines());
  Result r = s.run("rea\nplate\ndxi\ntwo\nwri\nback\nend\n");
  EXPECT_EQ(r.out, startup() + step("rea") +
                       job_dialogue("Read a .vmz file to buffer a or b", "new", "plate") +
                       reading("plate.vmz", "Plate", "P", 1, 2, 1) + step("dxi") +
                       job_dialogue(import_heading, "plate", "two") + scanning("two.dxf") +
                       "\nENTITIES\nPOLYLINE n.        1\nPOLYLINE n.        2\n" +
                       counts(2, 7, 0) + "\nReading file: two.dxf\n" + step("wri") +
                       job_dialogue("Write a .vmz file with buffer a or b", "two", "back") +
                       counts(2, 7, 0) + "\nWriting file: back.vmz\n" + step("end") + leave());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.read("back.vmz"), two_polylines_back);
}

TEST(Dxi, CarriageReturnsBeforeLineEndsReadTheSame) {
  Session s;
  s.write("two.dxf", with_crlf(two_polylines()));
  Result r = s.run("dxi\ntwo\nwri\nback\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(scanning("two.dxf") + "\nENTITIES\nPOLYLINE n."), std::string::npos);
  EXPECT_EQ(s.read("back.vmz"), two_polylines_back);
}

TEST(Dxi, TwentyVerticesAreTheMostAnElementTakes) {
  {
    Session s;
    s.write("big.dxf", dxf_head() + polyline_of(20) + dxf_end());
    Result r = s.run("dxi\nbig\nwri\nback\nend\n");
    EXPECT_EQ(r.status, 0);
    std::string back = s.read("back.vmz");
    EXPECT_NE(back.find("    1    20        1     2     3"), std::string::npos);
    EXPECT_NE(back.find("   20     20.00000000     40.00000000     60.00000000\n"),
              std::string::npos);
  }
  {
    Session s;
    s.write("big.dxf", dxf_head() + polyline_of(2) + polyline_of(21) + dxf_end());
    Result r = s.run("dxi\nbig\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, startup() + step("dxi") + job_dialogue(import_heading, "new", "big") +
                         scanning("big.dxf") +
                         "\nENTITIES\nPOLYLINE n.        1\nPOLYLINE n.        2\n");
    EXPECT_EQ(r.err, "\nReading element n.        2\nMaximum n. of nodes per element =       20\n" +
                         fatal("Too many nodes in the element"));
  }
}

TEST(Dxi, GroupCodeWithoutItsBlankSendsTheSearchIntoTheNextVertex) {
  const std::string drawing = dxf_head() + polyline_of(3) + dxf_end();
  {
    // The second vertex takes the third vertex's values; the third vertex line is passed over,
    // so the reading pass finds one point fewer than the counting pass.
    Session s;
    s.write("bad.dxf", replace_line_after(drawing, "VERTEX", 2, " 10", "10"));
    Result r = s.run("dxi\nbad\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, startup() + step("dxi") + job_dialogue(import_heading, "new", "bad") +
                         scanning("bad.dxf") + "\nENTITIES\nPOLYLINE n.        1\n" +
                         counts(1, 3, 0) + "\nReading file: bad.dxf\n");
    EXPECT_EQ(r.err, fatal("vmzdxi: internal error 5"));
  }
  {
    // In the last vertex the search runs on to the end of the file.
    Session s;
    s.write("bad.dxf", replace_line_after(drawing, "VERTEX", 3, " 10", "10"));
    Result r = s.run("dxi\nbad\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fatal("End of file !"));
  }
}

TEST(Dxi, FileEndingEarlyIsFatal) {
  struct Case {
    const char* what;
    std::string text;
  };
  const std::string drawing = dxf_head() + polyline_of(2) + dxf_end();
  const Case cases[] = {
      {"inside a vertex", drawing.substr(0, drawing.find(" 20\n", drawing.find("VERTEX")))},
      {"inside a polyline", drawing.substr(0, drawing.find("SEQEND"))},
      {"before ENDSEC", drawing.substr(0, drawing.find("ENDSEC"))},
      {"before ENTITIES", lines({"  0", "SECTION", "  2", "HEADER", "  0", "ENDSEC"})},
      {"empty", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Session s;
    s.write("cut.dxf", c.text);
    Result r = s.run("dxi\ncut\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fatal("End of file !"));
    EXPECT_EQ(r.out.find("Number of"), std::string::npos);  // nothing counted
  }
}

TEST(Dxi, MissingFileEmptiesTheBufferAndResetsTheTitles) {
  Session s;
  s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{0, 0, 0}, {1, 0, 0}}, {}));
  Result r = s.run("rea\nplate\nccf\nrea\nplate\ndxi\nnothing\n\nwri\nccf\nwri\nback\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find(step("dxi", 'b') + job_dialogue(import_heading, "plate", "nothing") +
                       scanning("nothing.dxf") +
                       "\nCurrent buffer cleared - press the Return key ... \n" + counts(0, 0, 0) +
                       step("wri", 'b') + "\nERROR: need at least one point\n"),
            std::string::npos);
  EXPECT_EQ(r.err, warning("File not found - jobname.dxf"));
  // The titles are shared: buffer a is written with the titles the import set.
  EXPECT_EQ(s.read("back.vmz"),
            mesh_file("Main title", "Mesh", {{1, 2}}, {{0, 0, 0}, {1, 0, 0}}, {}));
}

TEST(Dxi, DrawingWithoutPolylinesGivesAnEmptyMesh) {
  Session s;
  s.write("flat.dxf", dxf_head() + dxf_line("LINES", {"0", "0", "0"}, {"1", "1", "1"}) +
                          dxf_point("MARNO", {"0", "0", "0"}) +
                          dxf_text("NUMNO", {"0", "0", "0"}, "1", "1") + dxf_end());
  Result r = s.run("dxi\nflat\nwri\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(
      r.out.find(scanning("flat.dxf") + "\nENTITIES\n" + counts(0, 0, 0) +
                 "\nReading file: flat.dxf\n" + step("wri") + "\nERROR: need at least one point\n"),
      std::string::npos);
}

TEST(Dxi, PolylineWithoutVerticesMakesNoElement) {
  Session s;
  s.write("holes.dxf", dxf_head() + dxf_polyline("LINES", {}) + polyline_of(2) +
                           dxf_polyline("LINES", {}) + dxf_end());
  Result r = s.run("dxi\nholes\nwri\nback\nend\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("\nENTITIES\nPOLYLINE n.        1\nPOLYLINE n.        1\n"
                       "POLYLINE n.        2\n" +
                       counts(1, 2, 0)),
            std::string::npos);
  EXPECT_EQ(s.read("back.vmz"),
            mesh_file("Main title", "Mesh", {{1, 2}}, {{1, 2, 3}, {2, 4, 6}}, {}));
}

TEST(Dxi, CoordinateThatIsNotARealNumberIsFatal) {
  const std::string drawing = dxf_head() + polyline_of(2) + dxf_end();
  const std::string y_value = "      4.0000000";  // y of the second vertex
  const std::string bad_values[] = {"4,0", "", "4.0.0", "1e999", "nan"};
  for (const std::string& bad : bad_values) {
    SCOPED_TRACE(bad);
    Session s;
    std::string text = drawing;
    text.replace(text.find(y_value), y_value.size(), bad);
    s.write("bad.dxf", text);
    Result r = s.run("dxi\nbad\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fatal("Real number expected"));
  }
}

TEST(Dxi, LinesAreReadSeventyNineCharactersAtATime) {
  const std::string rest = polyline_of(1) + dxf_end();
  {
    // The 80th character of a long line starts the next line read.
    Session s;
    s.write("long.dxf", std::string(79, 'x') + "ENTITIES\n  0\n" + rest);
    Result r = s.run("dxi\nlong\nwri\nback\nend\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("\nENTITIES\nPOLYLINE n.        1\n" + counts(1, 1, 0)),
              std::string::npos);
  }
  {
    Session s;
    s.write("long.dxf", std::string(78, 'x') + "ENTITIES\n  0\n" + rest);
    Result r = s.run("dxi\nlong\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fatal("End of file !"));
  }
  {
    // A value line longer than 79 characters arrives without its line end.
    Session s;
    std::string text = dxf_head() + polyline_of(1) + dxf_end();
    text.replace(text.find("      2.0000000"), 15, "      2.0000000" + std::string(70, ' '));
    s.write("long.dxf", text);
    Result r = s.run("dxi\nlong\nend\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fatal("elimnl: internal error 2 (LF expected)"));
  }
}
