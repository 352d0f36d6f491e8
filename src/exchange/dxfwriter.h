// The entity writers of an ASCII DXF drawing for AutoCAD Release 10: one ENTITIES section and
// nothing else. Every group code is a line of its own, right-aligned in three characters; every
// real value is written "%15.7lf", one to a line; every entity ends with the line "  0", which
// also opens the next entity or the end of the section.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "console/arrays.h"
#include "console/textfile.h"

namespace exchange {

// An open drawing and its current layer ("0" until the first layer is set).
class DxfDrawing {
 public:
  explicit DxfDrawing(std::unique_ptr<console::OutputFile> out) : out_(std::move(out)) {}

  // Sets the current layer: the name without leading and trailing blanks, cut to 8 characters.
  void dxflay(std::string_view name);
  const std::string& layer() const { return layer_; }

  // One LINE from (x1, y1, z1) to (x2, y2, z2).
  void dxflin(double x1, double y1, double z1, double x2, double y2, double z2);
  // One POINT.
  void dxfpnt(double x, double y, double z);
  // One TEXT with its insertion point, height and string.
  void dxftxt(double x, double y, double z, double height, std::string_view text);
  // One 3-D POLYLINE whose vertices are (x[i], y[i], z[i]), i = 1 .. n.
  void dxfpol(int n, const console::OneVector<double>& x, const console::OneVector<double>& y,
              const console::OneVector<double>& z);
  // Ends the section and the file and closes it; a WriteFailure with `failure_message` when
  // anything could not be written (the file it would have replaced is then left as it was).
  void dxfcls();

 private:
  void code(const char* group) { out_->put(group); }
  void real(double value) {
    out_->put_fixed(value, 15, 7);
    out_->put('\n');
  }
  // The groups x, y, z of a point: codes 10, 20, 30 (first = '0') or 11, 21, 31 (first = '1').
  void xyz(double x, double y, double z, char first) {
    const char codes[] = {' ', '1', first, '\n', ' ', '2', first, '\n', ' ', '3', first, '\n'};
    out_->put(std::string_view(codes, 4));
    real(x);
    out_->put(std::string_view(codes + 4, 4));
    real(y);
    out_->put(std::string_view(codes + 8, 4));
    real(z);
  }
  void layer_line() {
    out_->put(layer_);
    out_->put('\n');
  }

  std::unique_ptr<console::OutputFile> out_;
  std::string layer_ = "0";
};

// Longest layer name.
constexpr std::size_t max_layer_length = 8;

// Opens jobname.dxf, replacing any file of that name once the drawing is complete, and writes
// the section head. Null when the file cannot be opened.
std::unique_ptr<DxfDrawing> dxfopn(const std::string& jobname);

}  // namespace exchange
