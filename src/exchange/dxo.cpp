#include "exchange/dxo.h"

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "exchange/dxfwriter.h"

namespace exchange {

namespace {

using console::outf;
using mesh::MeshBuffer;

// Starting values of minima and maxima, and of the reference size.
constexpr double huge = 1.0e30;

// A point as drawn: with the change of axes, the drawing's x, y and z are the mesh's x2, x3 and
// x1. Reading the coordinates in that order gives exactly the permuted values, so the buffer
// never has to be changed and put back.
struct Axes {
  const MeshBuffer& buffer;
  bool convert;
  void point(int ipoin, double& x, double& y, double& z) const {
    const double* c = buffer.coord.row(ipoin);
    if (convert) {
      x = c[1];
      y = c[2];
      z = c[0];
    } else {
      x = c[0];
      y = c[1];
      z = c[2];
    }
  }
};

struct Box {
  double xmin = huge, ymin = huge, zmin = huge;
  double xmax = -huge, ymax = -huge, zmax = -huge;
  void add(double x, double y, double z) {
    if (x < xmin) xmin = x;
    if (x > xmax) xmax = x;
    if (y < ymin) ymin = y;
    if (y > ymax) ymax = y;
    if (z < zmin) zmin = z;
    if (z > zmax) zmax = z;
  }
};

// Bounding box of the nodes of one element.
Box element_box(const Axes& axes, int ielem) {
  Box box;
  const int* nodes = axes.buffer.lnods.row(ielem);
  int n = axes.buffer.nnoel[ielem];
  for (int k = 0; k < n; ++k) {
    double x, y, z;
    axes.point(nodes[k], x, y, z);
    box.add(x, y, z);
  }
  return box;
}

// A surface element of 4, 8 or 9 nodes whose list does not already end at its first point gets
// a closing segment back to node 1.
bool needs_closing(const MeshBuffer& buffer, int ielem) {
  int n = buffer.nnoel[ielem];
  return (n == 4 || n == 8 || n == 9) && buffer.lnods(ielem, 1) != buffer.lnods(ielem, n);
}

// A size question whose answer must be positive; the default is offered again after a refusal.
double ask_size(const char* question, double default_size) {
  double size = console::askrea(question, default_size);
  while (!(size > 0)) {
    outf("\nERROR: positive number expected - repeat answer ...\n");
    size = console::askrea(question, default_size);
  }
  return size;
}

void refuse() {
  outf("\n");
  console::pause("Nothing changed - press the Return key ...");
}

}  // namespace

void vmzdxo(const MeshBuffer& buffer, const std::string& jobname, const mesh::Titles& titles) {
  // Work vectors of one polyline: its vertices never exceed mnode.
  console::OneVector<double> vx(mesh::mnode), vy(mesh::mnode), vz(mesh::mnode);
  vx.zero();
  vy.zero();
  vz.zero();

  if (buffer.npoin < 1) {
    console::warning("There is nothing to write in the .dxf file");
    refuse();
    return;
  }

  outf("\nWire frame output with:\n\nl) lines\np) polylines\n");
  char frame = console::askcha("Your choice", 'l', 'p', 'p');

  outf("\nCoordinate conversion:\n\n");
  outf("   +---------------+\n");
  outf("   | .vmz  |  .dxf |\n");
  outf("   |---------------|\n");
  outf("   |   x   ->   z  |\n");
  outf("   |   y   ->   x  |\n");
  outf("   |   z   ->   y  |\n");
  outf("   +---------------+\n");
  char conversion = console::askcha("Perform this conversion", 'y', 'n', 'n');
  char node_marks = console::askcha("Marks   in the         nodes", 'y', 'n', 'n');
  char special_marks = console::askcha("Marks   in the special nodes", 'y', 'n', 'n');
  char element_numbers = console::askcha("Numbers in the      elements", 'y', 'n', 'n');
  char node_numbers = console::askcha("Numbers in the         nodes", 'y', 'n', 'n');
  char special_numbers = console::askcha("Numbers in the special nodes", 'y', 'n', 'n');

  const Axes axes{buffer, conversion == 'y'};

  // Reference size: the smallest, over the elements, of the largest side of the element's
  // bounding box. Drawing extents: x and y over every node of every element.
  double reference = huge;
  double xmin = huge, ymin = huge, xmax = -huge, ymax = -huge;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    Box box = element_box(axes, ielem);
    double extent = 0;
    if (box.xmax - box.xmin > extent) extent = box.xmax - box.xmin;
    if (box.ymax - box.ymin > extent) extent = box.ymax - box.ymin;
    if (box.zmax - box.zmin > extent) extent = box.zmax - box.zmin;
    if (extent < reference) reference = extent;
    if (box.xmin < xmin) xmin = box.xmin;
    if (box.xmax > xmax) xmax = box.xmax;
    if (box.ymin < ymin) ymin = box.ymin;
    if (box.ymax > ymax) ymax = box.ymax;
  }

  std::string name = jobname + ".dxf";
  outf("\nWriting file: %s\n", name.c_str());
  std::unique_ptr<DxfDrawing> dxf = dxfopn(jobname);
  if (!dxf) {
    console::warning("Unable to open output file - jobname.dxf");
    refuse();
    return;
  }

  dxf->dxflay("TITLE");
  dxf->dxftxt(xmin + 0.05 * (xmax - xmin), ymax + 0.2 * (ymax - ymin), 0.0, 0.2 * reference,
              console::cformat("%s - %s", titles.main.c_str(), titles.mesh.c_str()));

  dxf->dxflay("LINES");
  if (frame != 'l' && frame != 'p') console::fatal("vmzdxo: internal error 1");
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    const int* nodes = buffer.lnods.row(ielem);
    int n = buffer.nnoel[ielem];
    bool closing = needs_closing(buffer, ielem);
    if (frame == 'l') {
      double x0 = 0, y0 = 0, z0 = 0, x1, y1, z1;
      if (n >= 1) axes.point(nodes[0], x0, y0, z0);
      double xs = x0, ys = y0, zs = z0;  // node 1, for the closing segment
      for (int k = 1; k < n; ++k) {
        axes.point(nodes[k], x1, y1, z1);
        dxf->dxflin(x0, y0, z0, x1, y1, z1);
        x0 = x1;
        y0 = y1;
        z0 = z1;
      }
      if (closing) dxf->dxflin(x0, y0, z0, xs, ys, zs);
    } else {
      for (int k = 1; k <= n; ++k) axes.point(nodes[k - 1], vx[k], vy[k], vz[k]);
      int count = n;
      if (closing) {
        ++count;
        axes.point(nodes[0], vx[count], vy[count], vz[count]);
      }
      dxf->dxfpol(count, vx, vy, vz);
    }
  }

  // Sizes of marks and numbers are offered as a tenth of the reference size.
  const double default_size = 0.1 * reference;

  if (node_marks == 'y') {
    dxf->dxflay("MARNO");
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
      double x, y, z;
      axes.point(ipoin, x, y, z);
      dxf->dxfpnt(x, y, z);
    }
  }

  if (special_marks == 'y') {
    dxf->dxflay("MARSN");
    double size = ask_size("Size of the marks in the special nodes", default_size);
    double h = 0.5 * size;
    for (int k = 1; k <= buffer.nspno; ++k) {
      double x, y, z;
      axes.point(buffer.lspno[k], x, y, z);
      // A square of side `size` centred on the node, and both its diagonals.
      dxf->dxflin(x - h, y - h, z, x + h, y - h, z);
      dxf->dxflin(x + h, y - h, z, x + h, y + h, z);
      dxf->dxflin(x + h, y + h, z, x - h, y + h, z);
      dxf->dxflin(x - h, y + h, z, x - h, y - h, z);
      dxf->dxflin(x - h, y - h, z, x + h, y + h, z);
      dxf->dxflin(x - h, y + h, z, x + h, y - h, z);
    }
  }

  std::string number;
  if (element_numbers == 'y') {
    dxf->dxflay("NUMEL");
    double size = ask_size("Size of the numbers in the elements", default_size);
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      Box box = element_box(axes, ielem);
      number.clear();
      console::append_int(number, ielem, 0);
      dxf->dxftxt((box.xmin + box.xmax) / 2 - 0.5 * size, (box.ymin + box.ymax) / 2 - 0.5 * size,
                  (box.zmin + box.zmax) / 2, size, number);
    }
  }

  if (node_numbers == 'y') {
    dxf->dxflay("NUMNO");
    double size = ask_size("Size of the numbers in the nodes", default_size);
    for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
      double x, y, z;
      axes.point(ipoin, x, y, z);
      number.clear();
      console::append_int(number, ipoin, 0);
      dxf->dxftxt(x + 0.8 * size, y + 0.8 * size, z, size, number);
    }
  }

  if (special_numbers == 'y') {
    dxf->dxflay("NUMSN");
    double size = ask_size("Size of the numbers in the special nodes", default_size);
    for (int k = 1; k <= buffer.nspno; ++k) {
      double x, y, z;
      axes.point(buffer.lspno[k], x, y, z);
      number.clear();
      console::append_int(number, k, 0);  // the position in the list, not the point number
      dxf->dxftxt(x + 0.8 * size, y - 1.5 * size, z, size, number);
    }
  }

  dxf->dxfcls();
}

}  // namespace exchange
