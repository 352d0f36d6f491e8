// dxo on random meshes against a model of the drawing rules, read back by dxi; dxi's faults.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>

#include "support/session.h"

using namespace session;

namespace {

// DXF entities as dxo writes them: reals "%15.7lf" (or as given), each ended by "  0".
using Xyz = std::array<std::string, 3>;
Xyz xyz(const Point& p) {
  return {format("%15.7lf", p[0]), format("%15.7lf", p[1]), format("%15.7lf", p[2])};
}
const std::string dxf_head = lines({"  0", "SECTION", "  2", "ENTITIES", "  0"});
const std::string dxf_end = lines({"ENDSEC", "  0", "EOF"});
std::string dxf_at(const std::string& kind, const std::string& layer, const Xyz& p) {
  return lines({kind, "  8", layer, " 10", p[0], " 20", p[1], " 30", p[2]});
}
std::string dxf_line(const std::string& layer, const Xyz& a, const Xyz& b) {
  return dxf_at("LINE", layer, a) + lines({" 11", b[0], " 21", b[1], " 31", b[2], "  0"});
}
std::string dxf_point(const std::string& layer, const Xyz& p) {
  return dxf_at("POINT", layer, p) + "  0\n";
}
std::string dxf_text(const std::string& layer, const Xyz& p, double height,
                     const std::string& text) {
  return dxf_at("TEXT", layer, p) + lines({" 40", format("%15.7lf", height), "  1", text, "  0"});
}
std::string dxf_polyline(const std::string& layer, const std::vector<Xyz>& vertices) {
  std::string all = lines({"POLYLINE", "  8", layer, " 66", "     1", " 10", "0.0", " 20", "0.0",
                           " 30", "0.0", " 70", "     8", "  0"});
  for (const Xyz& v : vertices) all += dxf_at("VERTEX", layer, v) + lines({" 70", "    32", "  0"});
  return all + lines({"SEQEND", "  8", layer, "  0"});
}

struct Row {
  std::vector<int> counts;  // node counts of the elements; negative: closed lists
  int npoin;
  std::string answers;        // frame, conversion, marks and numbers; ' ' takes the default
  std::vector<double> sizes;  // of the special marks and the three numbers; 0: the default
};
const Row rows[] = {
    {{1, 2, 3, 4, -4, 5, 8, -8, 9, -9, 20}, 24, "l yyyyy", {0.5, 0.75, 1.25, 2}},
    {{2, 3, 4, -4, 8, -8, 9, -9, 20, 6}, 24, " yyyyyy", {0, 0, 0, 0}},
    {{}, 1, "pyyyyyy", {0.5, 0.75, 1.25, 2}},  // no element: reference size 1e30
};

// Elements on random points, coordinates in quarters; the last and a random point special.
void random_mesh(unsigned seed, const Row& row, std::vector<std::vector<int>>& elements,
                 std::vector<Point>& points, std::vector<int>& specials) {
  std::mt19937 rng(seed);
  auto quarter = [&](int shift) { return static_cast<int>(rng() % 161u) / 4.0 - shift; };
  for (int p = 0; p < row.npoin; ++p) points.push_back({quarter(20), quarter(20), quarter(0)});
  std::vector<int> order(points.size());
  for (int n : row.counts) {
    std::iota(order.begin(), order.end(), 1);
    std::shuffle(order.begin(), order.end(), rng);
    elements.emplace_back(order.begin(), order.begin() + std::abs(n));
    if (n < 0) elements.back().push_back(order[0]);
  }
  specials = {row.npoin};
  if (row.npoin > 1) specials.push_back(1 + static_cast<int>(rng() % 23u));
}

// The node list as drawn: lists of 4, 8 and 9 nodes that do not end at their start are closed.
std::vector<int> chain(std::vector<int> e) {
  std::size_t n = e.size();
  if ((n == 4 || n == 8 || n == 9) && e.front() != e.back()) e.push_back(e.front());
  return e;
}

// The drawing of the converted points `at`; ref: least over the elements of their box's side.
std::string model(const Row& row, const std::vector<std::vector<int>>& elements,
                  const std::vector<Point>& at, const std::vector<int>& specials, double& ref) {
  ref = 1e30;
  double xmin = 1e30, ymin = 1e30, xmax = -1e30, ymax = -1e30;
  std::vector<std::array<Point, 2>> boxes;
  for (const auto& e : elements) {
    Point lo{1e30, 1e30, 1e30}, hi{-1e30, -1e30, -1e30};
    for (int p : e)
      for (int j = 0; j < 3; ++j)
        lo[j] = std::min(lo[j], at[p - 1][j]), hi[j] = std::max(hi[j], at[p - 1][j]);
    ref = std::min(ref, std::max({0.0, hi[0] - lo[0], hi[1] - lo[1], hi[2] - lo[2]}));
    xmin = std::min(xmin, lo[0]), xmax = std::max(xmax, hi[0]);
    ymin = std::min(ymin, lo[1]), ymax = std::max(ymax, hi[1]);
    boxes.push_back({lo, hi});
  }
  std::string d =
      dxf_head + dxf_text("TITLE",
                          xyz({xmin + 0.05 * (xmax - xmin), ymax + 0.2 * (ymax - ymin), 0}),
                          0.2 * ref, "Plate - P");
  for (const auto& e : elements) {
    std::vector<Xyz> v;
    for (int p : chain(e)) v.push_back(xyz(at[p - 1]));
    for (std::size_t k = 1; row.answers[0] == 'l' && k < v.size(); ++k)
      d += dxf_line("LINES", v[k - 1], v[k]);
    if (row.answers[0] != 'l') d += dxf_polyline("LINES", v);
  }
  double size[4];
  for (int i = 0; i < 4; ++i) size[i] = row.sizes[i] > 0 ? row.sizes[i] : 0.1 * ref;
  for (std::size_t p = 0; row.answers[2] == 'y' && p < at.size(); ++p)
    d += dxf_point("MARNO", xyz(at[p]));
  for (std::size_t k = 0; row.answers[3] == 'y' && k < specials.size(); ++k) {
    auto [x, y, z] = at[specials[k] - 1];
    double h = size[0] / 2;
    Xyz c[] = {xyz({x - h, y - h, z}), xyz({x + h, y - h, z}), xyz({x + h, y + h, z}),
               xyz({x - h, y + h, z})};
    for (auto [i, j] : {std::pair{0, 1}, {1, 2}, {2, 3}, {3, 0}, {0, 2}, {3, 1}})
      d += dxf_line("MARSN", c[i], c[j]);
  }
  for (std::size_t e = 0; row.answers[4] == 'y' && e < boxes.size(); ++e) {
    auto [lo, hi] = boxes[e];
    double s = size[1];
    Point c{(lo[0] + hi[0]) / 2 - s / 2, (lo[1] + hi[1]) / 2 - s / 2, (lo[2] + hi[2]) / 2};
    d += dxf_text("NUMEL", xyz(c), s, std::to_string(e + 1));
  }
  for (std::size_t p = 0; row.answers[5] == 'y' && p < at.size(); ++p)
    d += dxf_text("NUMNO", xyz({at[p][0] + 0.8 * size[2], at[p][1] + 0.8 * size[2], at[p][2]}),
                  size[2], std::to_string(p + 1));
  for (std::size_t k = 0; row.answers[6] == 'y' && k < specials.size(); ++k) {
    auto [x, y, z] = at[specials[k] - 1];
    double s = size[3];
    d += dxf_text("NUMSN", xyz({x + 0.8 * s, y - 1.5 * s, z}), s, std::to_string(k + 1));
  }
  return d + dxf_end;
}

// What dxo prints from its heading to its last question.
std::string dxo_screen(const Row& row, double ref) {
  auto answer = [&](int i) { return row.answers[i] == ' ' ? "" : row.answers.substr(i, 1); };
  std::string s = job_dialogue("Write a .dxf file (AutoCad 10) with buffer a or b", "plate", "") +
                  "\nWire frame output with:\n\nl) lines\np) polylines\n" +
                  ask_char("Your choice", 'l', 'p', 'p', answer(0)) +
                  "\nCoordinate conversion:\n\n" +
                  lines({"   +---------------+", "   | .vmz  |  .dxf |", "   |---------------|",
                         "   |   x   ->   z  |", "   |   y   ->   x  |", "   |   z   ->   y  |",
                         "   +---------------+"});
  // Elements, nodes or special nodes: the i-th question's is where[(i + 2) % 3].
  const std::string where[] = {"     elements", "        nodes", "special nodes"};
  s += ask_char("Perform this conversion", 'y', 'n', 'n', answer(1));
  for (int i = 2; i < 7; ++i)
    s += ask_char((i < 4 ? "Marks   in the " : "Numbers in the ") + where[(i + 2) % 3], 'y', 'n',
                  'n', answer(i));
  s += "\nWriting file: plate.dxf\n";
  for (int i = 0; i < 4; ++i) {
    if (row.answers[i + 3] != 'y') continue;
    const std::string& w = where[(i + 2) % 3];
    s += ask_real(std::string("Size of the ") + (i ? "numbers" : "marks") + " in the " +
                      w.substr(w.find_first_not_of(' ')),
                  format("%.15g", 0.1 * ref), row.sizes[i] > 0 ? format("%g", row.sizes[i]) : "");
  }
  return s;
}

// A polyline of n vertices at (k, 2k, 3k).
std::string polyline_of(int n) {
  std::vector<Xyz> v;
  for (int k = 1; k <= n; ++k) v.push_back(xyz({1.0 * k, 2.0 * k, 3.0 * k}));
  return dxf_polyline("LINES", v);
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

TEST(Dxo, DrawsWhatTheModelDrawsAndDxiReadsItBack) {
  unsigned seed = 7;
  for (const Row& row : rows) {
    std::vector<std::vector<int>> elements, back;
    std::vector<Point> points, at, vertices;
    std::vector<int> specials;
    random_mesh(++seed, row, elements, points, specials);
    for (auto [x, y, z] : points)
      at.push_back(row.answers[1] == 'y' ? Point{y, z, x} : Point{x, y, z});
    double ref;
    std::string drawing = model(row, elements, at, specials, ref);
    Session s;
    const std::string mesh = mesh_file("Plate", "P", elements, points, specials);
    s.write("plate.vmz", mesh);
    std::string answers = "rea\nplate\ndxo\n\n";
    for (char a : row.answers) answers += a == ' ' ? "\n" : std::string(1, a) + "\n";
    for (int i = 0; i < 4; ++i) {
      if (row.answers[i + 3] == 'y')
        answers += (row.sizes[i] > 0 ? format("%g", row.sizes[i]) : "") + "\n";
    }
    Result r = s.run(answers + "wri\nback\nend\n");
    int ne = static_cast<int>(elements.size()), ns = static_cast<int>(specials.size());
    EXPECT_EQ(r.out, startup() + rea_step("new", "plate", "Plate", "P", ne, row.npoin, ns) +
                         step("dxo") + dxo_screen(row, ref) +
                         wri_step("plate", "back", ne, row.npoin, ns) + step("end") + leave());
    EXPECT_EQ(s.read("plate.dxf"), drawing) << seed;
    EXPECT_EQ(s.read("back.vmz"), mesh);  // the buffer is left as it was
    // Back through dxi: every vertex of every polyline a point of its own; lines give nothing.
    for (const auto& e : elements) {
      back.emplace_back();
      for (int p : chain(e))
        vertices.push_back(at[p - 1]), back.back().push_back(static_cast<int>(vertices.size()));
    }
    r = s.run("dxi\nplate\nwri\nback\nend\n");
    if (row.answers[0] == 'l') {
      EXPECT_NE(r.out.find(counts(0, 0, 0)), std::string::npos);
    } else if (!elements.empty()) {
      EXPECT_EQ(s.read("back.vmz"), mesh_file("Main title", "Mesh", back, vertices));
    }
  }
}

TEST(Dxo, RefusesSizesOfZero) {
  Session s;
  s.write("flat.vmz", mesh_file("Flat", "F", {{1, 2}, {3, 3}}, {{0, 0, 0}, {1, 0, 0}, {5, 5, 1}}));
  Result r = s.run("rea\nflat\ndxo\n\nl\n\n\n\ny\n\n\n\n0\n-1\n0.25\nend\n");
  const std::string refused = "\nERROR: positive number expected - repeat answer ...\n";
  const std::string question = "Size of the numbers in the elements";
  EXPECT_NE(r.out.find("\nWriting file: flat.dxf\n" + ask_real(question, "0", "") + refused +
                       ask_real(question, "0", "0") + refused + ask_real(question, "0", "-1") +
                       refused + ask_real(question, "0", "0.25") + step("end")),
            std::string::npos);
}

TEST(Dxi, EveryPolylineIsAnElementOfNewPoints) {
  // Sections before the entities count for nothing, nor do other entities or an empty polyline.
  const std::vector<Xyz> three = {{"1", "12.5", "9.101000005000001"},
                                  {"      4.5000000", "-5", "6.25"},
                                  {"+7", "8.", "0.12345678901234567"}};
  const std::vector<Xyz> four = {{"10", "11", "12"},
                                 {"1.5E+01", "  16  ", "17"},
                                 {"-0.0625", "-0.5", "3.25e-1"},
                                 {"123456.75", "-98765.5", "0"}};
  const std::string drawing =
      lines({"  0", "SECTION", "  2", "HEADER", "  9", "$ACADVER", "  1", "AC1009", "  0", "ENDSEC",
             "  0", "SECTION", "  2", "BLOCKS", "  0"}) +
      dxf_polyline("0", {{"9", "9", "9"}}) + "ENDSEC\n" + dxf_head +
      dxf_line("0", {"0", "0", "0"}, {"1", "1", "1"}) + dxf_polyline("LINES", three) +
      dxf_polyline("LINES", {}) + dxf_text("0", {"0", "0", "0"}, 1, "a note") +
      dxf_polyline("LINES", {{"-1", "0", ".125"}}) + dxf_polyline("LINES", four) +
      dxf_point("0", {"5", "5", "5"}) + dxf_end + lines({"  0", "POLYLINE"});
  const std::vector<Point> points = {
      {1, 12.5, 9.10100001}, {4.5, -5, 6.25}, {7, 8, 0.12345679},     {-1, 0, 0.125},
      {10, 11, 12},          {15, 16, 17},    {-0.0625, -0.5, 0.325}, {123456.75, -98765.5, 0}};
  const std::string back = mesh_file("Main title", "Mesh", {{1, 2, 3}, {4}, {5, 6, 7, 8}}, points);
  for (bool crlf : {false, true}) {
    Session s;
    s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{0, 0, 0}, {1, 0, 0}}, {2}));
    std::string text;
    for (char c : drawing) text += crlf && c == '\n' ? std::string("\r\n") : std::string(1, c);
    s.write("two.dxf", text);
    Result r = s.run("rea\nplate\ndxi\ntwo\nwri\nback\nend\n");
    EXPECT_EQ(r.out,
              startup() + rea_step("new", "plate", "Plate", "P", 1, 2, 1) + step("dxi") +
                  job_dialogue("Read a .dxf file (AutoCad 10) to buffer a or b", "plate", "two") +
                  "\nPolylines are converted to .vmz data\n\nScanning file: two.dxf\n"
                  "\nENTITIES\nPOLYLINE n.        1\nPOLYLINE n.        2\n"
                  "POLYLINE n.        2\nPOLYLINE n.        3\n" +
                  counts(3, 8, 0) + "\nReading file: two.dxf\n" + wri_step("two", "back", 3, 8, 0) +
                  step("end") + leave());
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
      // A group code without its blank: x is sought on in the next vertex, or to the file's end.
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

// Thousands of polylines read with 1, 2, 3 and 7 threads: the same screens, reports and mesh,
// also with a fault planted late in the file (x sought in the next vertex, a bad value, a cut,
// too many vertices) or the section ended early.
TEST(Dxi, ThreadsReadTheSame) {
  std::mt19937 rng(11);
  auto pick = [&](unsigned n) { return static_cast<int>(rng() % n); };
  std::string drawing = dxf_head;
  for (int e = 0; e < 9000; ++e) {
    std::vector<Xyz> v(pick(4));
    for (Xyz& p : v) p = xyz({pick(1000) / 8.0, pick(1000) / 8.0 - 60, pick(8) / 4.0});
    drawing += dxf_polyline("LINES", v);
  }
  drawing += dxf_end;
  std::size_t vertex = drawing.find("VERTEX", drawing.size() * 2 / 3);
  std::size_t value = drawing.find("\n 10\n", vertex) + 5;
  std::string desynced = drawing, bad_value = drawing, overfull = drawing, early_end = drawing;
  desynced.replace(value - 4, 3, "10");
  bad_value.replace(value, drawing.find('\n', value) - value, "4,0");
  overfull.insert(drawing.find("POLYLINE", vertex), polyline_of(21));
  early_end.insert(drawing.find("POLYLINE", drawing.size() / 3), "ENDSEC\n");
  for (const std::string& text :
       {drawing, desynced, bad_value, drawing.substr(0, vertex), overfull, early_end}) {
    std::string first;
    for (const char* threads : {"1", "2", "3", "7"}) {
      setenv("TRELMO_THREADS", threads, 1);
      Session s;
      s.write("d.dxf", text);
      Result r = s.run("dxi\nd\nwri\nback\nend\n");
      std::string all = r.out + "|" + r.err + "|" + (r.status == 0 ? s.read("back.vmz") : "");
      if (first.empty()) first = all;
      EXPECT_TRUE(all == first) << threads << r.err;
    }
  }
  unsetenv("TRELMO_THREADS");
}

TEST(Dxi, LongLinesAndAMissingFile) {
  Session s;  // the 80th character of a long line starts the next line read
  s.write("long.dxf", std::string(79, 'x') + "ENTITIES\n  0\n" + polyline_of(2) + dxf_end);
  Result r = s.run("dxi\nlong\nwri\nback\ndxi\nnone\n\nend\n");
  EXPECT_EQ(s.read("back.vmz"), mesh_file("Main title", "Mesh", {{1, 2}}, {{1, 2, 3}, {2, 4, 6}}));
  const std::string cleared = "\nCurrent buffer cleared - press the Return key ... \n";
  EXPECT_NE(r.out.find("\nScanning file: none.dxf\n" + cleared + counts(0, 0, 0) + step("end")),
            std::string::npos);
  EXPECT_EQ(r.err, warning("File not found - jobname.dxf"));
}

// wrp: one coordinate of every point in a file named after the buffer.
TEST(Wrp, WritesTheChosenCoordinateOfEveryPoint) {
  Session s;
  s.write("plate.vmz", mesh_file("Plate", "P", {{1, 2}}, {{-0.5, 12, 3.125}, {2.25, 0, -1234.5}}));
  const std::string axis = "x,y or z (1,2 or 3)", refused = "\nERROR: repeat answer ...\n";
  const std::string wrp =
      step("wrp") + "\nWrite a .pva file with one of the coordinates of a .vmz file\n";
  Result r = s.run("rea\nplate\nwrp\n0\n4\n\nwrp\n3\nend\n");
  EXPECT_EQ(r.out, startup() + rea_step("new", "plate", "Plate", "P", 1, 2, 0) + wrp +
                       ask_int(axis, 1, "0") + refused + ask_int(axis, 1, "4") + refused +
                       ask_int(axis, 1, "") + "\nWriting file: plate_1.pva\n" + wrp +
                       ask_int(axis, 1, "3") + "\nWriting file: plate_1.pva\n" + step("end") +
                       leave());
  // The second run replaced the first file.
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1      3.12500000", "    2  -1234.50000000"}));
  s.run("rea\nplate\nwrp\n1\nrea\nplate\nwrp\n2\nend\n");
  EXPECT_EQ(s.read("plate_1.pva"), lines({"    1     12.00000000", "    2      0.00000000"}));
  // A buffer not read by rea is named buffa.
  s.write("bar.dxf",
          "  0\nENTITIES\n  0\nPOLYLINE\n  0\nVERTEX\n 10\n1\n 20\n2\n 30\n3\n  0\n"
          "SEQEND\n  0\nENDSEC\n");
  s.run("dxi\nbar\nwrp\n2\nend\n");
  EXPECT_EQ(s.read("buffa_1.pva"), "    1      2.00000000\n");
}
