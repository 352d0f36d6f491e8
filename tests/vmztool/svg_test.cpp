// vmztool svg: the view chosen, the projection and the scale, what each kind of element draws,
// the numbers, and the titles as XML text.
#include <gtest/gtest.h>

#include "support/session.h"
#include "vmztool/svg.h"
#include "vmztool/tool.h"

using session::format;
using session::mesh_file;
using session::Point;

namespace {

// Draws a mesh; answers the picture, and the view named in the summary line.
std::string draw(const std::string& mesh, std::vector<std::string> options, std::string* view = nullptr) {
  tool::write("m.vmz", mesh);
  options.insert(options.begin(), {"svg", "m"});
  tool::Run r = tool::run(options);
  if (view != nullptr) *view = r.out.substr(r.out.find("(view ") + 6, r.out.find(')') - r.out.find("(view ") - 6);
  return tool::read("m.svg");
}
std::string points(const std::vector<Point>& xyz) { return mesh_file("P", "M", {}, xyz); }
// The dots of the points, in order.
std::string dots(const std::vector<std::pair<double, double>>& at) {
  std::string text = "<g id=\"points\" fill=\"#222222\">\n";
  for (auto [x, y] : at) text += format("<circle cx=\"%.2f\" cy=\"%.2f\" r=\"1.5\"/>\n", x, y);
  return text + "</g>\n";
}

}  // namespace

TEST(VmzSvg, TheViewFollowsTheFlatAxis) {
  const std::pair<std::vector<Point>, const char*> rows[] = {
      {{{10, 20, 5}, {11, 22, 5}}, "z"},  {{{3, 10, 20}, {3, 11, 22}}, "x"},
      {{{10, -1, 20}, {11, -1, 22}}, "y"}, {{{0, 0, 0}, {1, 1, 1}}, "iso"},
      {{{4, 4, 4}}, "z"},                  {{}, "z"},
      // A plane rounded to 8 decimals is still flat; a tilt of 1e-6 over 1 is not.
      {{{0, 0, 0.1}, {1, 1, 0.1}, {1, 0, 0.1}}, "z"}, {{{0, 0, 0}, {1, 1, 0.000001}}, "iso"}};
  inprocess::Directory dir;
  std::string view;
  for (const auto& [xyz, expected] : rows) {
    draw(points(xyz), {}, &view);
    EXPECT_EQ(view, expected) << xyz.size();
  }
  draw(points({{0, 0, 5}, {1, 2, 5}}), {"--view", "iso"}, &view);
  EXPECT_EQ(view, "iso");
}

TEST(VmzSvg, EachViewScalesItsPlaneToAThousandPixels) {
  inprocess::Directory dir;
  // 2 by 1 in the x-y plane away from the origin: 1000 by 500 pixels inside a margin of 20 and
  // a caption line of 24 below.
  std::string svg = draw(points({{3, 7, 1}, {5, 7, 1}, {5, 8, 1}}), {});
  EXPECT_NE(svg.find("width=\"1040.00\" height=\"564.00\" viewBox=\"0 0 1040.00 564.00\""), std::string::npos);
  EXPECT_NE(svg.find(dots({{20, 520}, {1020, 520}, {1020, 20}})), std::string::npos);
  // A narrow drawing is centred in the smallest width, 480.
  svg = draw(points({{0, 0, 0}, {0, 4, 0}}), {});
  EXPECT_NE(svg.find("width=\"480.00\" height=\"1064.00\""), std::string::npos);
  EXPECT_NE(svg.find(dots({{240, 1020}, {240, 20}})), std::string::npos);
  // The origin and a point along x, y and z, seen from each side; isometric: from (1, 1, 1).
  const std::pair<const char*, std::string> views[] = {
      {"x", dots({{20, 1020}, {20, 1020}, {1020, 1020}, {20, 20}})},
      {"y", dots({{20, 1020}, {1020, 1020}, {20, 1020}, {20, 20}})},
      {"z", dots({{20, 1020}, {1020, 1020}, {20, 20}, {20, 1020}})},
      {"iso", dots({{520, 597.35}, {20, 886.03}, {1020, 886.03}, {520, 20}})}};
  for (const auto& [view, expected] : views) {
    svg = draw(points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), {"--view", view});
    EXPECT_NE(svg.find(expected), std::string::npos) << view << svg;
  }
  // Coordinates near the largest real overflow the projection: all drawn at one place.
  for (const char* view : {"iso", "z"}) {
    svg = draw(points({{-1.5e308, -1.5e308, 1.5e308}, {1.5e308, 1.5e308, -1.5e308}}), {"--view", view});
    EXPECT_NE(svg.find("width=\"480.00\" height=\"64.00\""), std::string::npos) << view;
    EXPECT_NE(svg.find(dots({{240, 20}, {240, 20}})), std::string::npos) << view;
  }
}

TEST(VmzSvg, OutlinesOfEachKind) {
  // Point k at x = k - 1 on a line 20 long: k is drawn at (20 + 50 (k - 1), 20).
  std::vector<Point> line;
  for (int k = 0; k <= 20; ++k) line.push_back({1.0 * k, 0, 0});
  std::vector<int> twenty;
  for (int k = 1; k <= 20; ++k) twenty.push_back(k);
  auto run = [](std::vector<int> nodes, bool close) {
    std::string r;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      r += (i == 0 ? "M" : i == 1 ? "L" : " ") + format("%.2f 20.00", 20 + 50.0 * (nodes[i] - 1));
    }
    return close ? r + "Z" : r;
  };
  inprocess::Directory dir;
  std::string svg = draw(mesh_file("K", "M", {{1, 2, 3}, {1, 2, 3, 4, 5, 6, 7, 8, 1}, {1, 2, 3, 4, 5, 6, 7, 8}, twenty, {1, 2, 3, 4, 5, 6}, {7}}, line), {});
  std::string paths;
  for (std::size_t at = svg.find("<path d=\""); at != std::string::npos; at = svg.find("<path d=\"", at + 1)) {
    paths += svg.substr(at + 9, svg.find('"', at + 9) - at - 9) + "\n";
  }
  EXPECT_EQ(paths, session::lines({run({1, 2, 3}, false), run({1, 2, 3, 4, 5, 6, 7, 8}, true),
                                   run({1, 2, 3, 4, 1, 5, 6, 7, 8, 5}, false) + run({2, 6}, false) +
                                       run({3, 7}, false) + run({4, 8}, false),
                                   run({1, 2, 3, 4, 5, 6, 7, 8, 1, 9, 13, 14, 15, 16, 17, 18, 19, 20, 13}, false) +
                                       run({3, 10, 15}, false) + run({5, 11, 17}, false) + run({7, 12, 19}, false),
                                   run({1, 2, 3, 4, 5, 6}, false), "M320.00 20.00h0"}));
}

TEST(VmzSvg, SpecialNodesNumbersAndTitles) {
  inprocess::Directory dir;
  std::string mesh = mesh_file("Tank <A&B>", "M", {{1, 2, 3, 4, 1}}, {{0, 0, 0}, {2, 0, 0}, {2, 2, 0}, {0, 2, 0}}, {3});
  std::string plain = draw(mesh, {});
  EXPECT_NE(plain.find("<circle cx=\"1020.00\" cy=\"20.00\" r=\"4.5\"/>"), std::string::npos);
  EXPECT_EQ(plain.find("<text x=\"520.00\""), std::string::npos);
  EXPECT_NE(plain.find("<title>Tank &lt;A&amp;B&gt;</title>"), std::string::npos);
  // The element's number at the centre of its four nodes, each point's beside it.
  std::string numbered = draw(mesh, {"--numbers"});
  for (const char* text : {"<text x=\"520.00\" y=\"520.00\">1</text>", "<text x=\"23.00\" y=\"1017.00\">1</text>",
                           "<text x=\"23.00\" y=\"17.00\">4</text>",
                           "<text x=\"20.00\" y=\"1056.00\" fill=\"#444444\" font-family=\"sans-serif\" font-size=\"12\">"
                           "Tank &lt;A&amp;B&gt; - 1 element, 4 points, 1 special node - view z</text>"}) {
    EXPECT_NE(numbered.find(text), std::string::npos) << text;
  }
  const std::pair<const char*, const char*> texts[] = {
      {"a<b & \"c\" 'd' >", "a&lt;b &amp; &quot;c&quot; &apos;d&apos; &gt;"},
      {"tab\there\x01\x1f", "tab\there??"},
      {"D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80", "D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80"},
      // Latin-1, a cut sequence, overlong forms, a surrogate, beyond U+10FFFF.
      {"D\xf4me", "D?me"}, {"\xe2\x82", "??"}, {"\xc0\xaf", "??"}, {"\xe0\x80\xaf", "???"},
      {"\xed\xa0\x80", "???"}, {"\xf0\x80\x80\xaf", "????"}, {"\xf4\x90\x80\x80", "????"}};
  for (const auto& [text, xml] : texts) EXPECT_EQ(vmztool::xml_text(text), xml) << text;
}
