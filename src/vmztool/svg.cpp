#include "vmztool/svg.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "vmztool/check.h"
#include "vmztool/quality.h"

namespace vmztool {

namespace {

// Largest size of the drawing itself, margin around it, height of the caption line below it,
// and smallest width of the picture (so that the caption fits).
constexpr double drawing_size = 1000;
constexpr double margin = 20;
constexpr double caption_height = 24;
constexpr double smallest_width = 480;
// The quality legend: its height above the caption, the width of a colour swatch, and the
// smallest width of a picture that holds it.
constexpr double legend_height = 32;
constexpr double swatch_width = 34;
constexpr double legend_width = 620;

// Colours of the scaled Jacobian in tenths from 0 to 1, red to green (a diverging scale that
// also reads in grey), and of inverted elements.
const char* const quality_colours[10] = {"#a50026", "#d73027", "#f46d43", "#fdae61", "#fee08b",
                                         "#d9ef8b", "#a6d96a", "#66bd63", "#1a9850", "#006837"};
const char* const inverted_colour = "#5e3c99";

struct Projection {
  double right[3];
  double up[3];
};

Projection projection(View view) {
  const double r2 = 1 / std::sqrt(2.0);
  const double r6 = 1 / std::sqrt(6.0);
  switch (view) {
    case View::x:
      return {{0, 1, 0}, {0, 0, 1}};
    case View::y:
      return {{1, 0, 0}, {0, 0, 1}};
    case View::iso:
      return {{-r2, r2, 0}, {-r6, -r6, 2 * r6}};
    default:
      return {{1, 0, 0}, {0, 1, 0}};
  }
}

// The strokes that draw each kind: runs of positions in the open node list, each a chord
// between consecutive nodes. Quadratic sides pass through their mid-side nodes; a brick is its
// two rings joined by the edges between them.
using Strokes = std::vector<std::vector<int>>;
const Strokes& strokes(Kind kind) {
  static const Strokes table[kind_count] = {
      {{0, 1}},
      {{0, 1, 2}},
      {{0, 1, 2, 3, 0}},
      {{0, 1, 2, 3, 4, 5, 6, 7, 0}},
      {{0, 1, 2, 3, 4, 5, 6, 7, 0}},
      {{0, 1, 2, 3, 0, 4, 5, 6, 7, 4}, {1, 5}, {2, 6}, {3, 7}},
      {{0, 1, 2, 3, 4, 5, 6, 7, 0, 8, 12, 13, 14, 15, 16, 17, 18, 19, 12},
       {2, 9, 14},
       {4, 10, 16},
       {6, 11, 18}},
  };
  return table[static_cast<int>(kind)];
}

class Drawing {
 public:
  Drawing(console::OutputFile& out, const mesh::MeshBuffer& buffer, View view, bool legend)
      : out_(out), buffer_(buffer) {
    Projection p = projection(view);
    std::size_t n = static_cast<std::size_t>(buffer.npoin);
    screen_.resize(2 * n);
    double umin = 0, umax = 0, vmin = 0, vmax = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double* x = buffer.coord.row(static_cast<int>(i + 1));
      double u = p.right[0] * x[0] + p.right[1] * x[1] + p.right[2] * x[2];
      double v = p.up[0] * x[0] + p.up[1] * x[1] + p.up[2] * x[2];
      screen_[2 * i] = u;
      screen_[2 * i + 1] = v;
      if (i == 0 || u < umin) umin = u;
      if (i == 0 || u > umax) umax = u;
      if (i == 0 || v < vmin) vmin = v;
      if (i == 0 || v > vmax) vmax = v;
    }
    double width = umax - umin;
    double height = vmax - vmin;
    double extent = std::max(width, height);
    double scale = extent > 0 ? drawing_size / extent : 1;
    if (!std::isfinite(width) || !std::isfinite(height) || !std::isfinite(scale * extent)) {
      // Coordinates near the largest real overflow the projection: every point is drawn at
      // one place rather than at a place that cannot be written.
      scale = 0;
      width = height = 0;
    }
    width_ = std::max(scale * width + 2 * margin, legend ? legend_width : smallest_width);
    height_ = scale * height + 2 * margin + caption_height + (legend ? legend_height : 0);
    double left = (width_ - scale * width) / 2;
    for (std::size_t i = 0; i < n; ++i) {
      screen_[2 * i] = scale == 0 ? left : left + scale * (screen_[2 * i] - umin);
      screen_[2 * i + 1] = scale == 0 ? margin : margin + scale * (vmax - screen_[2 * i + 1]);
    }
  }

  double width() const { return width_; }
  double height() const { return height_; }
  double sx(int ipoin) const { return screen_[2 * static_cast<std::size_t>(ipoin - 1)]; }
  double sy(int ipoin) const { return screen_[2 * static_cast<std::size_t>(ipoin - 1) + 1]; }

  void number(double value) { out_.put_fixed(value, 0, 2); }
  void pair(int ipoin) {
    number(sx(ipoin));
    out_.put(' ');
    number(sy(ipoin));
  }

  // One path per element: its strokes as subpaths; `style` holds attributes of its own.
  void element(int ielem, Kind kind, std::string_view style = {}) {
    const int* nodes = buffer_.lnods.row(ielem);
    out_.put("<path ");
    out_.put(style);
    out_.put("d=\"");
    if (kind == Kind::other) {
      run(nodes, buffer_.nnoel[ielem]);
    } else {
      for (const std::vector<int>& stroke : strokes(kind)) {
        int list[mesh::mnode];
        for (std::size_t k = 0; k < stroke.size(); ++k) list[k] = nodes[stroke[k]];
        run(list, static_cast<int>(stroke.size()));
      }
    }
    out_.put("\"/>\n");
  }

 private:
  void run(const int* points, int count) {
    out_.put('M');
    pair(points[0]);
    if (count == 1) {
      out_.put("h0");  // a single point: a stroke of no length, shown by its round cap
      return;
    }
    out_.put('L');
    for (int k = 1; k < count; ++k) {
      if (k == count - 1 && count > 2 && points[k] == points[0]) {
        out_.put('Z');
        return;
      }
      if (k > 1) out_.put(' ');
      pair(points[k]);
    }
  }

  console::OutputFile& out_;
  const mesh::MeshBuffer& buffer_;
  std::vector<double> screen_;  // x and y on the picture of every point
  double width_ = 0;
  double height_ = 0;
};

// Length of the UTF-8 sequence that starts text[i], or 0 when it is not a valid one.
std::size_t utf8_length(std::string_view text, std::size_t i) {
  auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char c = byte(i);
  std::size_t n = c < 0x80                 ? 1
                  : c >= 0xC2 && c <= 0xDF ? 2
                  : c >= 0xE0 && c <= 0xEF ? 3
                  : c >= 0xF0 && c <= 0xF4 ? 4
                                           : 0;
  if (n == 0 || i + n > text.size()) return 0;
  for (std::size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
  }
  // Overlong forms, surrogates and values beyond U+10FFFF.
  if (n == 3 && ((c == 0xE0 && byte(i + 1) < 0xA0) || (c == 0xED && byte(i + 1) >= 0xA0))) {
    return 0;
  }
  if (n == 4 && ((c == 0xF0 && byte(i + 1) < 0x90) || (c == 0xF4 && byte(i + 1) >= 0x90))) {
    return 0;
  }
  return n;
}

}  // namespace

const char* view_name(View view) {
  switch (view) {
    case View::x:
      return "x";
    case View::y:
      return "y";
    case View::z:
      return "z";
    case View::iso:
      return "iso";
    default:
      return "automatic";
  }
}

View choose_view(const mesh::MeshBuffer& buffer) {
  double low[3] = {0, 0, 0};
  double high[3] = {0, 0, 0};
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    const double* x = buffer.coord.row(ipoin);
    for (int j = 0; j < 3; ++j) {
      if (ipoin == 1 || x[j] < low[j]) low[j] = x[j];
      if (ipoin == 1 || x[j] > high[j]) high[j] = x[j];
    }
  }
  double extent[3];
  for (int j = 0; j < 3; ++j) extent[j] = high[j] - low[j];
  double largest = std::max({extent[0], extent[1], extent[2]});
  // Flat: no extent beyond what rounding to the file's 8 decimals leaves of a plane.
  double flat = std::max(1e-12 * largest, 0.0);
  if (extent[2] <= flat) return View::z;
  if (extent[0] <= flat) return View::x;
  if (extent[1] <= flat) return View::y;
  return View::iso;
}

std::string xml_text(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    char c = text[i];
    std::size_t n = utf8_length(text, i);
    if (n == 0 || (n == 1 && static_cast<unsigned char>(c) < 0x20 && c != '\t')) {
      result += '?';
      ++i;
      continue;
    }
    switch (c) {
      case '&':
        result += "&amp;";
        break;
      case '<':
        result += "&lt;";
        break;
      case '>':
        result += "&gt;";
        break;
      case '"':
        result += "&quot;";
        break;
      case '\'':
        result += "&apos;";
        break;
      default:
        result.append(text.substr(i, n));
    }
    i += n;
  }
  return result;
}

View write_svg(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const SvgOptions& options) {
  View view = options.view == View::automatic ? choose_view(buffer) : options.view;
  Drawing d(out, buffer, view, options.quality);

  out.put("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
  out.put("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"");
  d.number(d.width());
  out.put("\" height=\"");
  d.number(d.height());
  out.put("\" viewBox=\"0 0 ");
  d.number(d.width());
  out.put(' ');
  d.number(d.height());
  out.put("\">\n<title>");
  out.put(xml_text(titles.main));
  out.put("</title>\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");

  out.put(
      "<g id=\"elements\" fill=\"none\" stroke=\"#1f4e79\" stroke-width=\"1\" "
      "stroke-linejoin=\"round\" stroke-linecap=\"round\">\n");
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    if (!options.quality) {
      d.element(ielem, classify(buffer, ielem, options.eight));
      continue;
    }
    // Surfaces filled with their colour, lines and bricks drawn in it.
    Kind kind = check_kind(buffer, ielem, options.eight);
    std::string style;
    if (kind != Kind::other) {
      ElementQuality q = measure(buffer, ielem, kind, ren_tolerance);
      int tenth = 0;
      while (tenth < 9 && q.scaled_jacobian >= (tenth + 1) / 10.0) ++tenth;
      std::string colour = q.inverted ? inverted_colour : quality_colours[tenth];
      style = info(kind).dimension == 2 ? "fill=\"" + colour + "\" fill-opacity=\"0.8\" "
                                        : "stroke=\"" + colour + "\" stroke-width=\"2.5\" ";
    }
    d.element(ielem, kind, style);
  }
  out.put("</g>\n<g id=\"points\" fill=\"#222222\">\n");
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    out.put("<circle cx=\"");
    d.number(d.sx(ipoin));
    out.put("\" cy=\"");
    d.number(d.sy(ipoin));
    out.put("\" r=\"1.5\"/>\n");
  }
  out.put("</g>\n<g id=\"special-nodes\" fill=\"none\" stroke=\"#d62728\" stroke-width=\"1.5\">\n");
  for (int i = 1; i <= buffer.nspno; ++i) {
    out.put("<circle cx=\"");
    d.number(d.sx(buffer.lspno[i]));
    out.put("\" cy=\"");
    d.number(d.sy(buffer.lspno[i]));
    out.put("\" r=\"4.5\"/>\n");
  }
  out.put("</g>\n");

  if (options.numbers) {
    out.put(
        "<g id=\"element-numbers\" fill=\"#b35900\" font-family=\"sans-serif\" "
        "font-size=\"10\" text-anchor=\"middle\" dominant-baseline=\"middle\">\n");
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      // At the centre of the element's nodes (the closing repeat of a closed list left out).
      int count = mesh::open_count(buffer, ielem);
      if (count < 1) count = buffer.nnoel[ielem];
      const int* nodes = buffer.lnods.row(ielem);
      double x = 0, y = 0;
      for (int k = 0; k < count; ++k) {
        x += d.sx(nodes[k]);
        y += d.sy(nodes[k]);
      }
      out.put("<text x=\"");
      d.number(x / count);
      out.put("\" y=\"");
      d.number(y / count);
      out.put("\">");
      out.put_int(ielem, 0);
      out.put("</text>\n");
    }
    out.put(
        "</g>\n<g id=\"point-numbers\" fill=\"#444444\" font-family=\"sans-serif\" "
        "font-size=\"8\">\n");
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
      out.put("<text x=\"");
      d.number(d.sx(ipoin) + 3);
      out.put("\" y=\"");
      d.number(d.sy(ipoin) - 3);
      out.put("\">");
      out.put_int(ipoin, 0);
      out.put("</text>\n");
    }
    out.put("</g>\n");
  }

  if (options.quality) {
    // A swatch a tenth of the scaled Jacobian, its lower bound below it, and the inverted one.
    double top = d.height() - caption_height - legend_height;
    out.put("<g id=\"legend\" font-family=\"sans-serif\" font-size=\"10\" fill=\"#444444\">\n");
    out.printf("<text x=\"%.2f\" y=\"%.2f\">scaled Jacobian</text>\n", margin, top + 11);
    double left = margin + 96;
    for (int k = 0; k <= 10; ++k) {
      double x = left + k * swatch_width;
      if (k < 10) {
        out.printf("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"12\" fill=\"%s\"/>\n", x,
                   top + 1, swatch_width, quality_colours[k]);
      }
      out.printf("<text x=\"%.2f\" y=\"%.2f\" text-anchor=\"middle\">%.1f</text>\n", x, top + 25,
                 k / 10.0);
    }
    double x = left + 10 * swatch_width + 24;
    out.printf("<rect x=\"%.2f\" y=\"%.2f\" width=\"%.2f\" height=\"12\" fill=\"%s\"/>\n", x,
               top + 1, swatch_width, inverted_colour);
    out.printf("<text x=\"%.2f\" y=\"%.2f\">inverted</text>\n</g>\n", x + swatch_width + 6,
               top + 11);
  }

  out.put("<text x=\"");
  d.number(margin);
  out.put("\" y=\"");
  d.number(d.height() - 8);
  out.put("\" fill=\"#444444\" font-family=\"sans-serif\" font-size=\"12\">");
  out.put(xml_text(titles.main));
  out.put(" - ");
  out.put_int(buffer.nelem, 0);
  out.put(buffer.nelem == 1 ? " element, " : " elements, ");
  out.put_int(buffer.npoin, 0);
  out.put(buffer.npoin == 1 ? " point, " : " points, ");
  out.put_int(buffer.nspno, 0);
  out.put(buffer.nspno == 1 ? " special node" : " special nodes");
  out.put(" - view ");
  out.put(view_name(view));
  out.put("</text>\n</svg>\n");
  return view;
}

}  // namespace vmztool
