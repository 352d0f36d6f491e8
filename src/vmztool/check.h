// Whether a mesh is fit for analysis: its elements by kind, their quality measures, the
// inverted and degenerate ones, coincident points that were never joined, unused points and
// elements on the same points; as a text for a person or a JSON document for a script.
#pragma once

#include <string>
#include <vector>

#include "mesh/meshbuffer.h"
#include "vmztool/kinds.h"

namespace vmztool {

// The tolerance of `ren`'s question "Tolerance to compare nodal coordinates".
inline constexpr double ren_tolerance = 1e-05;

struct CheckOptions {
  int worst = 10;  // the longest list of each finding, and the worst elements shown
  bool json = false;
  double tolerance = ren_tolerance;
  EightNodes eight = EightNodes::by_closure;
};

// For every point (entry ipoin - 1) the smallest point number of its group of coincident
// points: the points joined by chains of pairs that lie within `tolerance` of each other in
// every coordinate. The points are sorted into cells of the tolerance's size, which gathers
// points within the tolerance of each other in one cell or in neighbouring ones.
std::vector<int> coincident_points(const mesh::MeshBuffer& buffer, double tolerance);

// Prints the report on the mesh of `file` on standard output; answers false when an element
// is inverted or degenerate.
bool check_mesh(const std::string& file, const mesh::MeshBuffer& buffer,
                const CheckOptions& options);

}  // namespace vmztool
