#include "exchange/dxfwriter.h"

#include "console/checks.h"

namespace exchange {

std::unique_ptr<DxfDrawing> dxfopn(const std::string& jobname) {
  auto out = console::OutputFile::open(jobname + ".dxf", console::OutputFile::Mode::replace,
                                       "Unable to write output file - jobname.dxf");
  if (!out) return nullptr;
  out->put("  0\nSECTION\n  2\nENTITIES\n  0\n");
  return std::make_unique<DxfDrawing>(std::move(out));
}

void DxfDrawing::dxflay(std::string_view name) {
  layer_.assign(name);
  console::trimbl(layer_);
  if (layer_.size() > max_layer_length) layer_.resize(max_layer_length);
}

void DxfDrawing::dxflin(double x1, double y1, double z1, double x2, double y2, double z2) {
  code("LINE\n  8\n");
  layer_line();
  xyz(x1, y1, z1, '0');
  xyz(x2, y2, z2, '1');
  code("  0\n");
}

void DxfDrawing::dxfpnt(double x, double y, double z) {
  code("POINT\n  8\n");
  layer_line();
  xyz(x, y, z, '0');
  code("  0\n");
}

void DxfDrawing::dxftxt(double x, double y, double z, double height, std::string_view text) {
  code("TEXT\n  8\n");
  layer_line();
  xyz(x, y, z, '0');
  code(" 40\n");
  real(height);
  code("  1\n");
  out_->put(text);
  out_->put('\n');
  code("  0\n");
}

void DxfDrawing::dxfpol(int n, const console::OneVector<double>& x,
                        const console::OneVector<double>& y, const console::OneVector<double>& z) {
  // The polyline's own point is the literal 0.0; flag 8 marks a 3-D polyline, 66/1 announces
  // the vertices that follow, and flag 32 marks each vertex as a 3-D polyline vertex.
  code("POLYLINE\n  8\n");
  layer_line();
  code(" 66\n     1\n 10\n0.0\n 20\n0.0\n 30\n0.0\n 70\n     8\n  0\n");
  for (int i = 1; i <= n; ++i) {
    code("VERTEX\n  8\n");
    layer_line();
    xyz(x[i], y[i], z[i], '0');
    code(" 70\n    32\n  0\n");
  }
  code("SEQEND\n  8\n");
  layer_line();
  code("  0\n");
}

void DxfDrawing::dxfcls() {
  code("ENDSEC\n  0\nEOF\n");
  out_->finish();
}

}  // namespace exchange
