#include "transform/bts.h"

#include <climits>
#include <string>

#include "console/arrays.h"
#include "console/dialogue.h"
#include "console/report.h"
#include "mesh/meshwriter.h"
#include "transform/common_items.h"
#include "transform/node_count.h"

namespace transform {

namespace {

constexpr int nface = 6;

// Local node numbers of the six faces of a brick, each listed so that it is a valid shell:
// corners counter-clockwise (4 nodes), or corners and mid-side nodes alternating (8 nodes).
// 8-node bricks: faces u = -1, u = +1, s = -1, s = +1, t = -1, t = +1.
constexpr int faces8[nface][4] = {
    {1, 2, 3, 4}, {5, 6, 7, 8}, {1, 4, 8, 5}, {2, 3, 7, 6}, {1, 2, 6, 5}, {4, 3, 7, 8},
};
// 20-node bricks: faces s = -1, s = +1, t = -1, t = +1, u = -1, u = +1.
constexpr int faces20[nface][8] = {
    {1, 8, 7, 12, 19, 20, 13, 9},  {3, 4, 5, 11, 17, 16, 15, 10}, {1, 2, 3, 10, 15, 14, 13, 9},
    {7, 6, 5, 11, 17, 18, 19, 12}, {1, 2, 3, 4, 5, 6, 7, 8},      {13, 14, 15, 16, 17, 18, 19, 20},
};

// Local node k (1-based) of face iface (1-based) for bricks of nnode nodes.
int face_node(int nnode, int iface, int k) {
  return nnode == 8 ? faces8[iface - 1][k - 1] : faces20[iface - 1][k - 1];
}

// Nodes of a shell made from a face of `nnode`-node bricks.
int shell_nodes(int nnode, const char* routine) {
  if (nnode == 8) return 4;
  if (nnode == 20) return 8;
  console::fatal(std::string(routine) + ": internal error 1");
}

// 6 x nelem, the number of faces; a count the mesh file cannot hold is an impossible state.
int face_count(const mesh::MeshBuffer& buffer, const char* routine) {
  if (buffer.nelem > INT_MAX / nface) console::fatal(std::string(routine) + ": internal error 3");
  return nface * buffer.nelem;
}

// Writes tmp.vmz: `nshell` shells, which `each_shell(write)` hands over in order as
// write(face), face pointing to the shell's nodes; then the points and special nodes of the
// buffer. Each shell's list is written closed: its first node again after the last.
template <class EachShell>
void write_shells(const mesh::MeshBuffer& buffer, const mesh::Titles& titles, int nshell,
                  int nodes_per_shell, const char* routine, EachShell each_shell) {
  console::outf("\nWriting file: %s\n", mesh::handback_file);
  auto out = mesh::open_handback("Unable to open output file - jobname.vmz");
  mesh::MeshWriter writer(*out, titles, nshell, buffer.npoin, buffer.nspno, routine);
  int nodes[mesh::mnode + 1];
  each_shell([&](const int* face) {
    for (int k = 0; k < nodes_per_shell; ++k) nodes[k] = face[k];
    nodes[nodes_per_shell] = face[0];
    writer.element(nodes_per_shell + 1, nodes);
  });
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) writer.point(buffer.coord.row(ipoin));
  for (int ispno = 1; ispno <= buffer.nspno; ++ispno) writer.special(buffer.lspno[ispno]);
  writer.finish();
  mesh::close_handback(*out);
}

}  // namespace

char vmzbts(const mesh::MeshBuffer& buffer, const mesh::Titles& titles) {
  console::outf("\nTransform each brick element in six shell elements\n");
  const char eliminate = console::askcha("Eliminate common faces", 'y', 'n', 'y');

  int nnode = 0;
  if (!constant_node_count(buffer, nnode)) return refuse_transformation();
  if (nnode != 8 && nnode != 20) {
    wrong_node_count(nnode, "N. of nodes per element must be 8 or 20");
    return refuse_transformation();
  }
  if (eliminate == 'y') {
    wsevmz(buffer, nnode, titles);
  } else if (eliminate == 'n') {
    wshvmz(buffer, nnode, titles);
  } else {
    console::fatal("vmzbts: internal error 1");
  }
  return 'y';
}

void wshvmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles) {
  const int width = shell_nodes(nnode, "wshvmz");
  const int nshell = face_count(buffer, "wshvmz");
  write_shells(buffer, titles, nshell, width, "wshvmz", [&](auto&& shell) {
    int face[mesh::mnode];
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      for (int iface = 1; iface <= nface; ++iface) {
        for (int k = 1; k <= width; ++k) {
          face[k - 1] = buffer.lnods(ielem, face_node(nnode, iface, k));
        }
        shell(face);
      }
    }
  });
}

void wsevmz(const mesh::MeshBuffer& buffer, int nnode, const mesh::Titles& titles) {
  const int width = shell_nodes(nnode, "wsevmz");
  const int nfaces = face_count(buffer, "wsevmz");

  // Face iface of brick ielem is row 6 (ielem - 1) + iface.
  console::OneMatrix<int> faces(nfaces, width);
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    for (int iface = 1; iface <= nface; ++iface) {
      const int row = nface * (ielem - 1) + iface;
      for (int k = 1; k <= width; ++k) {
        faces(row, k) = buffer.lnods(ielem, face_node(nnode, iface, k));
      }
    }
  }
  console::OneVector<double> keys(nfaces);
  item_keys(faces, buffer.coord, keys);
  console::OneVector<char> flags(nfaces);
  flag_common_items(faces, keys, CommonRule::drop_both, flags);

  int nkept = 0;
  for (char flag : flags) nkept += flag == 'y' ? 1 : 0;
  write_shells(buffer, titles, nkept, width, "wsevmz", [&](auto&& shell) {
    for (int row = 1; row <= nfaces; ++row) {
      if (flags[row] == 'y') shell(faces.row(row));
    }
  });
}

}  // namespace transform
