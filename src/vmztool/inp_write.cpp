#include "console/numfmt.h"
#include "vmztool/export.h"
#include "vmztool/files.h"

namespace vmztool {

namespace {

// Kinds in the order of Kind: 2- and 3-node lines, 4-, 8- and 9-node quadrilaterals, 8- and
// 20-node bricks. CalculiX has no 9-node quadrilateral. Its plain 8-node brick C3D8 locks in
// bending; the incompatible-mode C3D8I does not, which makes it the brick of general use.
// clang-format off
const InpFamily families[] = {
    {0, "", {"B31", "B32", "S4", "S8", nullptr, "C3D8I", "C3D20"}},
    {1, "plane stress", {nullptr, nullptr, "CPS4", "CPS8", nullptr, nullptr, nullptr}},
    {2, "plane strain", {nullptr, nullptr, "CPE4", "CPE8", nullptr, nullptr, nullptr}},
    {3, "axisymmetry", {nullptr, nullptr, "CAX4", "CAX8", nullptr, nullptr, nullptr}},
    {4, "solid", {nullptr, nullptr, nullptr, nullptr, nullptr, "C3D8I", "C3D20"}},
    {6, "shell", {nullptr, nullptr, "S4", "S8", nullptr, nullptr, nullptr}},
    {7, "frame", {"B31", "B32", nullptr, nullptr, nullptr, nullptr, nullptr}},
    {8, "truss", {"T3D2", "T3D3", nullptr, nullptr, nullptr, nullptr, nullptr}},
    {9, "plane shell", {nullptr, nullptr, "S4", "S8", nullptr, nullptr, nullptr}},
};
// clang-format on

// The element set of each kind.
const char* const set_names[kind_count] = {"LINE2", "LINE3",  "QUAD4",  "QUAD8",
                                           "QUAD9", "BRICK8", "BRICK20"};

// Abaqus reads at most 16 entries on a data line. An element's longer list goes on in
// continuation lines, each line but the last ending in a comma; a node set's list is simply
// given in more lines.
constexpr int entries_per_line = 16;

}  // namespace

const InpFamily* inp_family(int type) {
  for (const InpFamily& family : families) {
    if (family.type == type) return &family;
  }
  return nullptr;
}

std::string select_inp_cells(const mesh::MeshBuffer& buffer, const InpFamily& family,
                             Cells& cells) {
  int left = 0;
  int first = 0;
  Kind first_kind = Kind::other;
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    Kind& kind = cells.kind[static_cast<std::size_t>(ielem - 1)];
    if (kind != Kind::other && family.element[static_cast<std::size_t>(kind)] != nullptr) continue;
    if (left++ == 0) first = ielem, first_kind = kind;
    if (kind != Kind::other) {
      --cells.count;
      cells.entries -= info(kind).nodes;
      ++cells.skipped;
      kind = Kind::other;
    }
  }
  if (left == 0) return "";
  cells.first_skipped = first;
  std::string which = family.type == 0
                          ? std::string("no CalculiX element")
                          : console::cformat("no CalculiX element of problem type %d (%s)",
                                             family.type, family.name);
  std::string what = first_kind == Kind::other
                         ? console::cformat("with %d entries", buffer.nnoel[first])
                         : std::string("a ") + info(first_kind).name;
  return console::cformat(
      "%d element%s not written: %s for %s node list (the first is element "
      "%d, %s)",
      left, left == 1 ? "" : "s", which.c_str(), left == 1 ? "its" : "their", first, what.c_str());
}

void write_inp(console::OutputFile& out, const mesh::MeshBuffer& buffer, const mesh::Titles& titles,
               const InpFamily& family, const Cells& cells) {
  // A heading line that began with '*' would read as a keyword: a blank before it keeps it text.
  out.put("*HEADING\n");
  for (const std::string* title : {&titles.main, &titles.mesh}) {
    if (!title->empty() && (*title)[0] == '*') out.put(' ');
    out.put(*title);
    out.put('\n');
  }

  out.put("*NODE\n");
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    const double* x = buffer.coord.row(ipoin);
    out.put_int(ipoin, 0);
    for (int j = 0; j < mesh::ndime; ++j) {
      out.put(", ");
      put_real(out, x[j]);
    }
    out.put('\n');
  }

  int count[kind_count] = {};
  for (Kind kind : cells.kind) {
    if (kind != Kind::other) ++count[static_cast<int>(kind)];
  }
  for (int k = 0; k < kind_count; ++k) {
    if (count[k] == 0) continue;
    const Kind kind = static_cast<Kind>(k);
    const KindInfo& shape = info(kind);
    out.put("*ELEMENT, TYPE=");
    out.put(family.element[static_cast<std::size_t>(k)]);
    out.put(", ELSET=");
    out.put(set_names[k]);
    out.put('\n');
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      if (cells.kind[static_cast<std::size_t>(ielem - 1)] != kind) continue;
      const int* nodes = buffer.lnods.row(ielem);
      out.put_int(ielem, 0);
      for (int i = 0; i < shape.nodes; ++i) {
        out.put((i + 1) % entries_per_line == 0 ? ",\n" : ", ");
        out.put_int(nodes[shape.abaqus_order[static_cast<std::size_t>(i)]], 0);
      }
      out.put('\n');
    }
  }

  if (buffer.nspno > 0) {
    out.put("*NSET, NSET=");
    out.put(special_nset);
    for (int i = 1; i <= buffer.nspno; ++i) {
      out.put((i - 1) % entries_per_line == 0 ? "\n" : ", ");
      out.put_int(buffer.lspno[i], 0);
    }
    out.put('\n');
  }
}

}  // namespace vmztool
