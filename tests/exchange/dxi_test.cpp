// dxi: meshes from the 3-D polylines of a drawing, checked through the mesh written back; the
// faults of a drawing.
#include <gtest/gtest.h>

#include "support/drawings.h"

using namespace session;

namespace {

const std::string heading = "Read a .dxf file (AutoCad 10) to buffer a or b";

// A polyline of n vertices at (k, 2k, 3k).
std::string polyline_of(int n) {
  std::vector<Xyz> v;
  for (int k = 1; k <= n; ++k) v.push_back(xyz({1.0 * k, 2.0 * k, 3.0 * k}));
  return dxf_polyline("LINES", v);
}

std::string with_crlf(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

// The n-th line `from` after the line `after` becomes `to`.
std::string replace_after(std::string text, const std::string& after, int n,
                          const std::string& from, const std::string& to) {
  std::size_t at = 0;
  for (int i = 0; i < n; ++i) at = text.find("\n" + after + "\n", at) + 1;
  at = text.find("\n" + from + "\n", at);
  return text.replace(at + 1, from.size(), to);
}

}  // namespace

TEST(Dxi, EveryPolylineIsAnElementOfNewPoints) {
  // Sections before the entities count for nothing, nor do other entities or an empty polyline.
  const std::string drawing =
      lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  0", "ENDSEC",
             "  0", "SECTION", "  2", "BLOCKS", "  0"}) +
      dxf_polyline("0", {{"9", "9", "9"}}) + "ENDSEC\n" + dxf_head +
      dxf_line("0", {"0", "0", "0"}, {"1", "1", "1"}) +
      dxf_polyline("LINES", {{"1", "12.5", "3"},
                             {"      4.5000000", "-5", "6.25"},
                             {"+7", "8.", "0.12345678901234567"}}) +
      dxf_polyline("LINES", {}) + dxf_text("0", {"0", "0", "0"}, 1, "a note") +
      dxf_polyline("LINES", {{"-1", "0", ".125"}}) +
      dxf_polyline("LINES", {{"10", "11", "12"},
                             {"1.5E+01", "  16  ", "17"},
                             {"-0.0625", "-0.5", "3.25e-1"},
                             {"123456.75", "-98765.5", "0"}}) +
      dxf_point("0", {"5", "5", "5"}) + dxf_end + lines({"  0", "POLYLINE"});
  const std::string back = mesh_file("Main title", "Mesh", {{1, 2, 3}, {4}, {5, 6, 7, 8}},
                                     {{1, 12.5, 3},
                                      {4.5, -5, 6.25},
                                      {7, 8, 0.12345679},
                                      {-1, 0, 0.125},
                                      {10, 11, 12},
                                      {15, 16, 17},
                                      {-0.0625, -0.5, 0.325},
                                      {123456.75, -98765.5, 0}});
  for (bool crlf : {false, true}) {
    Session s;
    s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{0, 0, 0}, {1, 0, 0}}, {2}));
    s.write("two.dxf", crlf ? with_crlf(drawing) : drawing);
    Result r = s.run("rea\nplate\ndxi\ntwo\nwri\nback\nend\n");
    EXPECT_EQ(r.out, startup() + rea_step("new", "plate", "Plate", "P", 1, 2, 1) + step("dxi") +
                         job_dialogue(heading, "plate", "two") +
                         "\nPolylines are converted to .vmz data\n\nScanning file: two.dxf\n"
                         "\nENTITIES\nPOLYLINE n.        1\nPOLYLINE n.        2\n"
                         "POLYLINE n.        2\nPOLYLINE n.        3\n" +
                         counts(3, 8, 0) + "\nReading file: two.dxf\n" +
                         wri_step("two", "back", 3, 8, 0) + step("end") + leave());
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(s.read("back.vmz"), back) << crlf;
  }
}

TEST(Dxi, FaultsOfTheDrawingEndTheProgram) {
  const std::string two = dxf_head + polyline_of(2) + dxf_end;
  const std::string three = dxf_head + polyline_of(3) + dxf_end;
  std::string long_value = two;
  long_value.replace(long_value.find("      2.0000000"), 15, std::string(80, ' ') + "2");
  const std::pair<std::string, std::string> cases[] = {
      {two.substr(0, two.find(" 20\n", two.find("VERTEX"))), fatal("End of file !")},
      {two.substr(0, two.find("SEQEND")), fatal("End of file !")},
      {two.substr(0, two.find("ENDSEC")), fatal("End of file !")},
      {lines({"  0", "SECTION", "  2", "HEADER", "  0", "ENDSEC"}), fatal("End of file !")},
      {"", fatal("End of file !")},
      {std::string(78, 'x') + "ENTITIES\n  0\n" + polyline_of(1) + dxf_end, fatal("End of file !")},
      {long_value, fatal("elimnl: internal error 2 (LF expected)")},
      // A group code without its blank: the search for x runs on into the next vertex, or to
      // the end of the file.
      {replace_after(three, "VERTEX", 2, " 10", "10"), fatal("vmzdxi: internal error 5")},
      {replace_after(three, "VERTEX", 3, " 10", "10"), fatal("End of file !")},
      {dxf_head + polyline_of(2) + polyline_of(21) + dxf_end,
       "\nReading element n.        2\nMaximum n. of nodes per element =       20\n" +
           fatal("Too many nodes in the element")},
  };
  for (const auto& [text, err] : cases) {
    Session s;
    s.write("bad.dxf", text);
    Result r = s.run("dxi\nbad\nend\n");
    EXPECT_EQ(r.status, 1) << text;
    EXPECT_EQ(r.err, err) << text;
  }
  for (const char* bad : {"4,0", "", "4.0.0", "1e999", "nan"}) {  // y of the second vertex
    Session s;
    s.write("bad.dxf", replace_after(two, "VERTEX", 2, "      4.0000000", bad));
    EXPECT_EQ(s.run("dxi\nbad\nend\n").err, fatal("Real number expected")) << bad;
  }
}

TEST(Dxi, ReadsLongLinesInPiecesAndAMissingFileAsNoMesh) {
  Session s;  // the 80th character of a long line starts the next line read
  s.write("long.dxf", std::string(79, 'x') + "ENTITIES\n  0\n" + polyline_of(2) + dxf_end);
  Result r = s.run("dxi\nlong\nwri\nback\ndxi\nnone\n\nend\n");
  EXPECT_EQ(s.read("back.vmz"), mesh_file("Main title", "Mesh", {{1, 2}}, {{1, 2, 3}, {2, 4, 6}}));
  EXPECT_NE(r.out.find("\nScanning file: none.dxf\n\nCurrent buffer cleared - press the Return "
                       "key ... \n" +
                       counts(0, 0, 0) + step("end")),
            std::string::npos);
  EXPECT_EQ(r.err, warning("File not found - jobname.dxf"));
}
