// The SVG picture: the view chosen, the projection and the scale, what each kind of element
// draws, the numbers, and the text of the titles.
#include "vmztool/svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <regex>

#include "support/session.h"
#include "vmztool/files.h"

using session::Session;
using vmztool::View;

namespace {

struct Picture {
  std::string text;
  View view;
};

Picture draw(const std::string& mesh_text, View view = View::automatic, bool numbers = false) {
  Session s;
  s.write("m.vmz", mesh_text);
  mesh::MeshBuffer buffer;
  mesh::Titles titles;
  vmztool::read_job(s.path("m"), buffer, titles);
  vmztool::SvgOptions options;
  options.view = view;
  options.numbers = numbers;
  Picture p;
  vmztool::write_file(s.path("m.svg"), [&](console::OutputFile& out) {
    p.view = vmztool::write_svg(out, buffer, titles, options);
  });
  p.text = s.read("m.svg");
  return p;
}

// A mesh of points only.
std::string points(const std::vector<std::array<double, 3>>& xyz) {
  std::string text = "P\nM\n0 " + std::to_string(xyz.size()) + " 0\n";
  int i = 0;
  for (const auto& p : xyz) {
    text += session::format("%d %.8f %.8f %.8f\n", ++i, p[0], p[1], p[2]);
  }
  return text;
}

// The centres of the point dots, in order.
std::vector<std::pair<double, double>> dots(const std::string& svg) {
  std::vector<std::pair<double, double>> result;
  std::size_t group = svg.find("<g id=\"points\"");
  std::size_t end = svg.find("</g>", group);
  static const std::regex circle("<circle cx=\"([-0-9.]+)\" cy=\"([-0-9.]+)\" r=\"1.5\"/>");
  std::string part = svg.substr(group, end - group);
  for (std::sregex_iterator it(part.begin(), part.end(), circle), last; it != last; ++it) {
    result.emplace_back(std::stod((*it)[1]), std::stod((*it)[2]));
  }
  return result;
}

// The d attribute of every element path.
std::vector<std::string> paths(const std::string& svg) {
  std::vector<std::string> result;
  static const std::regex path("<path d=\"([^\"]*)\"/>");
  for (std::sregex_iterator it(svg.begin(), svg.end(), path), last; it != last; ++it) {
    result.push_back((*it)[1]);
  }
  return result;
}

}  // namespace

TEST(Svg, TheViewFollowsTheFlatAxis) {
  EXPECT_EQ(draw(points({{0, 0, 5}, {1, 2, 5}})).view, View::z);
  EXPECT_EQ(draw(points({{3, 0, 0}, {3, 1, 2}})).view, View::x);
  EXPECT_EQ(draw(points({{0, -1, 0}, {1, -1, 2}})).view, View::y);
  EXPECT_EQ(draw(points({{0, 0, 0}, {1, 1, 1}})).view, View::iso);
  EXPECT_EQ(draw(points({{4, 4, 4}})).view, View::z);
  EXPECT_EQ(draw(points({})).view, View::z);
  // A plane rounded to 8 decimals is still flat; a tilt of 1e-6 over 1 is not.
  EXPECT_EQ(draw(points({{0, 0, 0.1}, {1, 1, 0.1}, {1, 0, 0.1}})).view, View::z);
  EXPECT_EQ(draw(points({{0, 0, 0}, {1, 1, 0.000001}})).view, View::iso);
  // Asked for, a view is kept.
  EXPECT_EQ(draw(points({{0, 0, 5}, {1, 2, 5}}), View::iso).view, View::iso);
}

TEST(Svg, ScaledToFitWithTheLongerSideAThousandPixels) {
  // 2 by 1 in the x-y plane: 1000 by 500 pixels inside a margin of 20, and the caption below.
  Picture p = draw(points({{0, 0, 0}, {2, 0, 0}, {2, 1, 0}}));
  EXPECT_NE(p.text.find("width=\"1040.00\" height=\"564.00\" viewBox=\"0 0 1040.00 564.00\""),
            std::string::npos);
  std::vector<std::pair<double, double>> d = dots(p.text);
  ASSERT_EQ(d.size(), 3u);
  EXPECT_EQ(d[0], std::make_pair(20.0, 520.0));
  EXPECT_EQ(d[1], std::make_pair(1020.0, 520.0));
  EXPECT_EQ(d[2], std::make_pair(1020.0, 20.0));
  // A narrow drawing is centred in the smallest width, 480.
  Picture narrow = draw(points({{0, 0, 0}, {0, 4, 0}}));
  EXPECT_NE(narrow.text.find("width=\"480.00\" height=\"1064.00\""), std::string::npos);
  EXPECT_EQ(dots(narrow.text)[0], std::make_pair(240.0, 1020.0));
}

TEST(Svg, EachViewPutsItsAxesToTheRightAndUp) {
  // Origin, and a point along x, y and z: which dot moves right and which moves up.
  std::string mesh = points({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}});
  struct Expected {
    View view;
    int right;  // the point that lies to the right of the origin
    int up;     // the point that lies above it
  };
  for (Expected e : {Expected{View::x, 2, 3}, Expected{View::y, 1, 3}, Expected{View::z, 1, 2}}) {
    std::vector<std::pair<double, double>> d = dots(draw(mesh, e.view).text);
    ASSERT_EQ(d.size(), 4u);
    for (int i = 1; i <= 3; ++i) {
      std::size_t k = static_cast<std::size_t>(i);
      EXPECT_EQ(d[k].first > d[0].first + 1, i == e.right) << vmztool::view_name(e.view) << i;
      EXPECT_EQ(d[k].second < d[0].second - 1, i == e.up) << vmztool::view_name(e.view) << i;
    }
  }
  // Isometric: z straight up, x down to the left, y down to the right, at equal lengths.
  std::vector<std::pair<double, double>> d = dots(draw(mesh, View::iso).text);
  EXPECT_NEAR(d[3].first, d[0].first, 0.01);
  EXPECT_LT(d[3].second, d[0].second);
  EXPECT_LT(d[1].first, d[0].first);
  EXPECT_GT(d[1].second, d[0].second);
  EXPECT_GT(d[2].first, d[0].first);
  EXPECT_NEAR(d[2].second, d[1].second, 0.01);
  auto length = [&](int i) {
    std::size_t k = static_cast<std::size_t>(i);
    return std::hypot(d[k].first - d[0].first, d[k].second - d[0].second);
  };
  EXPECT_NEAR(length(1), length(2), 0.01);
  EXPECT_NEAR(length(1), length(3), 0.01);
}

TEST(Svg, OutlinesOfEachKind) {
  // A 3-node line, a closed 8-node quadrilateral, an 8-node brick, a 20-node brick and a
  // 6-node element; every node on its own point so that the order of the chords shows.
  std::string text =
      "K\nM\n5 20 0\n1 3 1 2 3\n2 9 1 2 3 4 5 6 7 8 1\n3 8 1 2 3 4 5 6 7 8\n"
      "4 20";
  for (int k = 1; k <= 20; ++k) text += " " + std::to_string(k);
  text += "\n5 6 1 2 3 4 5 6\n";
  // Point k at x = k - 1, y = (k - 1)^2 / 20 (all apart), z = 0.
  for (int k = 1; k <= 20; ++k)
    text += session::format("%d %d %.8f 0\n", k, k - 1, (k - 1.0) * (k - 1) / 20);
  Picture p = draw(text, View::z);
  std::vector<std::pair<double, double>> d = dots(p.text);
  ASSERT_EQ(d.size(), 20u);
  auto at = [&](int k) {
    return session::format("%.2f %.2f", d[static_cast<std::size_t>(k - 1)].first,
                           d[static_cast<std::size_t>(k - 1)].second);
  };
  auto run = [&](std::vector<int> nodes, bool close) {
    std::string r = "M" + at(nodes[0]) + "L";
    for (std::size_t i = 1; i < nodes.size(); ++i) r += (i > 1 ? " " : "") + at(nodes[i]);
    return close ? r + "Z" : r;
  };
  std::vector<std::string> ps = paths(p.text);
  ASSERT_EQ(ps.size(), 5u);
  EXPECT_EQ(ps[0], run({1, 2, 3}, false));
  EXPECT_EQ(ps[1], run({1, 2, 3, 4, 5, 6, 7, 8}, true));
  EXPECT_EQ(ps[2], run({1, 2, 3, 4, 1, 5, 6, 7, 8, 5}, false) + run({2, 6}, false) +
                       run({3, 7}, false) + run({4, 8}, false));
  EXPECT_EQ(ps[3], run({1, 2, 3, 4, 5, 6, 7, 8, 1, 9, 13, 14, 15, 16, 17, 18, 19, 20, 13}, false) +
                       run({3, 10, 15}, false) + run({5, 11, 17}, false) + run({7, 12, 19}, false));
  EXPECT_EQ(ps[4], run({1, 2, 3, 4, 5, 6}, false));
}

TEST(Svg, SpecialNodesAndNumbers) {
  std::string text =
      "Numbers\nM\n1 4 1\n1 5 1 2 3 4 1\n"
      "1 0 0 0\n2 2 0 0\n3 2 2 0\n4 0 2 0\n1 3\n";
  Picture plain = draw(text);
  EXPECT_NE(plain.text.find("<circle cx=\"1020.00\" cy=\"20.00\" r=\"4.5\"/>"), std::string::npos);
  EXPECT_EQ(plain.text.find("<text x=\"520.00\""), std::string::npos);
  Picture numbered = draw(text, View::automatic, true);
  // The element's number at the centre of its four nodes, each point's beside it.
  EXPECT_NE(numbered.text.find("<text x=\"520.00\" y=\"520.00\">1</text>"), std::string::npos);
  EXPECT_NE(numbered.text.find("<text x=\"23.00\" y=\"1017.00\">1</text>"), std::string::npos);
  EXPECT_NE(numbered.text.find("<text x=\"23.00\" y=\"17.00\">4</text>"), std::string::npos);
  EXPECT_NE(numbered.text.find(">Numbers - 1 element, 4 points, 1 special node - view z</text>"),
            std::string::npos);
}

TEST(Svg, TitlesBecomeValidXmlText) {
  EXPECT_EQ(vmztool::xml_text("a<b & \"c\" 'd' >"),
            "a&lt;b &amp; &quot;c&quot; &apos;d&apos; &gt;");
  EXPECT_EQ(vmztool::xml_text("tab\there\x01\x1f"), "tab\there??");
  EXPECT_EQ(vmztool::xml_text("D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80"),
            "D\xc3\xb4me \xe2\x82\xac \xf0\x9f\x98\x80");
  // Latin-1, a cut sequence, an overlong form, a surrogate, beyond U+10FFFF.
  EXPECT_EQ(vmztool::xml_text("D\xf4me"), "D?me");
  EXPECT_EQ(vmztool::xml_text("\xe2\x82"), "??");
  EXPECT_EQ(vmztool::xml_text("\xc0\xaf"), "??");
  EXPECT_EQ(vmztool::xml_text("\xed\xa0\x80"), "???");
  EXPECT_EQ(vmztool::xml_text("\xf4\x90\x80\x80"), "????");
  Picture p = draw("Tank <A&B>\nM\n0 0 0\n");
  EXPECT_NE(p.text.find("<title>Tank &lt;A&amp;B&gt;</title>"), std::string::npos);
}

TEST(Svg, CoordinatesNearTheLargestRealStillDrawAPicture) {
  // Both views overflow: the height seen from (1, 1, 1), the width seen from z.
  for (View view : {View::iso, View::z}) {
    std::string text =
        draw(points({{-1.5e308, -1.5e308, 1.5e308}, {1.5e308, 1.5e308, -1.5e308}}), view).text;
    EXPECT_EQ(text.find("nan"), std::string::npos) << vmztool::view_name(view);
    EXPECT_EQ(text.find("inf"), std::string::npos) << vmztool::view_name(view);
    EXPECT_NE(text.find("width=\"480.00\" height=\"64.00\""), std::string::npos)
        << vmztool::view_name(view);
  }
}
