// The writer of the refined mesh: every element of the buffer replaced by the structured grid of
// sub-elements that its divisions and weights describe.
//
// Each element generates its own points, so points on a former element boundary appear once for
// every element that shares it. Points are written element by element in the scan order of the
// element's parametric grid (s1 index fastest, then s2, then s3); element lines element by
// element, their sub-elements in the same order. Both run through the elements in buffer order,
// which is what makes the node numbers of the element lines match the point lines.
//
// Two grids serve the generated kinds. The corner grid has the positions c0 = -1,
// ck = c(k-1) + 2 wk (k = 1 .. D) along a direction with D divisions and weights w1 .. wD; the
// fine grid adds the middle of every step: f0 = -1, fm = f(m-1) + w(ceil(m/2)) (m = 1 .. 2D).
// Linear kinds (2-node lines, 4-node quadrilaterals, 8-node bricks) use the corner grid, the
// quadratic ones the fine grid; 8-node quadrilaterals and 20-node bricks leave out the grid
// points with more than one odd index (the centres of sub-elements and of their faces).
#pragma once

#include "console/arrays.h"
#include "generate/dwfile.h"
#include "mesh/meshbuffer.h"
#include "mesh/meshwriter.h"

namespace generate {

// What the refinement of one element produces.
struct GeneratedCounts {
  long long elements;
  long long points;
};

// Counts of the sub-elements and points that element ielem generates for the kind (ngtyp,
// nnodg). Counts beyond the range of int are given as int range + 1: the caller only needs to
// know that they are too large.
GeneratedCounts element_counts(int ngtyp, int nnodg, const console::OneMatrix<int>& divisions,
                               int ielem);
// The same summed over all elements, with the same cut at int range + 1.
GeneratedCounts total_counts(int nelem, int ngtyp, int nnodg,
                             const console::OneMatrix<int>& divisions);

// Writes tmp.vmz: the titles, the totals and no special nodes, the element lines, the point
// lines. nnode is the (open) node count of every element of the buffer.
void wgevmz(const mesh::MeshBuffer& buffer, int ngtyp, int nnode, int nnodg,
            const mesh::Titles& titles, const console::OneMatrix<int>& divisions,
            const StepWeights& weights);

// Element lines of generated lines, quadrilaterals (closed lists) and bricks.
void wlnod1(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out);
void wlnod2(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out);
void wlnod3(int nelem, int nnodg, const console::OneMatrix<int>& divisions, mesh::MeshWriter& out);

// Point lines: every grid point placed by the shape functions of the buffer element (nnode
// nodes, family code `family`) applied to its nodal coordinates.
void wcoor1(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out);
void wcoor2(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out);
void wcoor3(const mesh::MeshBuffer& buffer, int nnode, int nnodg, int family,
            const console::OneMatrix<int>& divisions, const StepWeights& weights,
            mesh::MeshWriter& out);

}  // namespace generate
