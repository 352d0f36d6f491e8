// A picture of a mesh as an SVG drawing: the element outlines, the points, the special nodes
// marked, and on request the element and point numbers or the elements coloured by their
// quality, projected on a plane and scaled to fit.
#pragma once

#include "console/textfile.h"
#include "mesh/meshbuffer.h"
#include "vmztool/kinds.h"

namespace vmztool {

// The direction the mesh is seen from.
//   x: the y-z plane, y to the right, z up (seen from +x);
//   y: the x-z plane, x to the right, z up (seen from -y);
//   z: the x-y plane, x to the right, y up (seen from +z);
//   iso: isometric, seen from (1, 1, 1) with z up;
//   automatic: along the axis in which the mesh is flat (z first, then x, then y), isometric
//   when it is flat in none.
enum class View { automatic, x, y, z, iso };
const char* view_name(View view);

// The view `automatic` stands for with this mesh.
View choose_view(const mesh::MeshBuffer& buffer);

struct SvgOptions {
  View view = View::automatic;
  bool numbers = false;  // element and point numbers
  bool quality = false;  // elements coloured by their scaled Jacobian, with a legend
  EightNodes eight = EightNodes::by_closure;
};

// Writes the drawing; answers the view used.
View write_svg(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const SvgOptions& options);

// Text for an XML document: the markup characters escaped, control characters and bytes that
// are not UTF-8 replaced by '?'.
std::string xml_text(std::string_view text);

}  // namespace vmztool
