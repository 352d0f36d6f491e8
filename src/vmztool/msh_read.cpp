#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <numeric>
#include <set>

#include "console/checks.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "mesh/meshwriter.h"
#include "vmztool/export.h"
#include "vmztool/files.h"
#include "vmztool/import.h"

namespace vmztool {

namespace {

using Tag = std::uint64_t;

// Node counts of the Gmsh element types, so that elements of any known type can be read past.
struct GmshType {
  int type;
  int nodes;
  const char* name;
};
constexpr GmshType gmsh_types[] = {
    {1, 2, "2-node line"},
    {2, 3, "3-node triangle"},
    {3, 4, "4-node quadrangle"},
    {4, 4, "4-node tetrahedron"},
    {5, 8, "8-node hexahedron"},
    {6, 6, "6-node prism"},
    {7, 5, "5-node pyramid"},
    {8, 3, "3-node line"},
    {9, 6, "6-node triangle"},
    {10, 9, "9-node quadrangle"},
    {11, 10, "10-node tetrahedron"},
    {12, 27, "27-node hexahedron"},
    {13, 18, "18-node prism"},
    {14, 14, "14-node pyramid"},
    {15, 1, "1-node point"},
    {16, 8, "8-node quadrangle"},
    {17, 20, "20-node hexahedron"},
    {18, 15, "15-node prism"},
    {19, 13, "13-node pyramid"},
    {20, 9, "9-node triangle"},
    {21, 10, "10-node triangle"},
    {22, 12, "12-node triangle"},
    {23, 15, "15-node triangle"},
    {24, 15, "15-node triangle"},
    {25, 21, "21-node triangle"},
    {26, 4, "4-node line"},
    {27, 5, "5-node line"},
    {28, 6, "6-node line"},
    {29, 20, "20-node tetrahedron"},
    {30, 35, "35-node tetrahedron"},
    {31, 56, "56-node tetrahedron"},
    {92, 64, "64-node hexahedron"},
    {93, 125, "125-node hexahedron"},
};
constexpr int gmsh_point = 15;

const GmshType* find_type(long long type) {
  for (const GmshType& t : gmsh_types) {
    if (t.type == type) return &t;
  }
  return nullptr;
}

// A 1-node point element: a special node when its group turns out to be the special-node
// group. `group` is the physical tag (version 2) or the point entity (version 4).
struct PointElement {
  Tag tag;
  int point;
  long long group;
};

class MshReader {
 public:
  MshReader(console::InputFile& file, std::string name) : file_(file), name_(std::move(name)) {}

  ImportedMesh read();

 private:
  [[noreturn]] void fail(const std::string& message) const {
    std::string where = section_.empty() ? "" : "$" + section_ + ": ";
    console::fatal(name_ + ": " + where + message);
  }

  std::string_view next() {
    std::string_view token;
    if (!file_.next_token(token)) {
      fail(section_.empty() ? "unexpected end of file"
                            : "unexpected end of file before $End" + section_);
    }
    return token;
  }
  // A count or a tag: an integer of 0 or more.
  Tag read_size(const char* what) {
    std::string_view token = next();
    Tag value = 0;
    auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || ptr != token.data() + token.size()) {
      fail(std::string("invalid ") + what + " '" + std::string(token) + "'");
    }
    return value;
  }
  long long read_integer(const char* what) {
    std::string_view token = next();
    long long value = 0;
    auto [ptr, ec] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (ec != std::errc() || ptr != token.data() + token.size()) {
      fail(std::string("invalid ") + what + " '" + std::string(token) + "'");
    }
    return value;
  }
  double read_real(const char* what) {
    std::string_view token = next();
    double value = 0;
    if (!console::parse_real(token, value)) {
      fail(std::string("invalid ") + what + " '" + std::string(token) + "'");
    }
    return value;
  }
  void expect_end() {
    std::string_view token = next();
    if (token != "$End" + section_) {
      fail("expected $End" + section_ + ", found '" + std::string(token) +
           "' (more entries than announced?)");
    }
  }

  void mesh_format();
  void physical_names();
  void entities();
  void titles();
  void nodes_v2();
  void nodes_v4();
  void finish_nodes();
  void elements_v2();
  void elements_v4();
  void element(Tag tag, long long type, long long group);
  void skip_section();
  void finish_elements(ImportedMesh& mesh);
  int point_of(Tag node_tag, Tag element_tag);

  console::InputFile& file_;
  std::string name_;
  std::string section_;  // the section being read, without its '$'
  int version_ = 0;
  bool have_titles_ = false;
  mesh::Titles titles_;
  bool have_nodes_ = false;
  bool have_elements_ = false;

  // Special-node group: the physical tags of dimension 0 named "special_nodes", and the
  // physical tags of each point entity (version 4).
  std::set<long long> special_physicals_;
  std::map<long long, std::vector<long long>> point_physicals_;

  std::vector<Tag> node_tags_;
  std::vector<double> coord_;
  // Node tag -> point number: a table indexed by tag when the tags are dense enough, else a
  // binary search in the sorted tags.
  std::vector<int> dense_;
  bool use_dense_ = false;

  std::vector<Tag> element_tags_;
  std::vector<Kind> kinds_;
  std::vector<int> element_nodes_;
  std::vector<PointElement> points_;
  std::map<long long, long long> skipped_;  // Gmsh type -> count
};

// Reserve no more than this many entries ahead of what the file actually holds.
constexpr Tag reserve_limit = Tag{1} << 22;

ImportedMesh MshReader::read() {
  std::string_view token;
  if (!file_.next_token(token) || token != "$MeshFormat") {
    fail("not a Gmsh mesh file: it does not begin with $MeshFormat");
  }
  section_ = "MeshFormat";
  mesh_format();
  section_.clear();
  while (file_.next_token(token)) {
    if (token.size() < 2 || token[0] != '$') {
      fail("expected a section header such as $Nodes, found '" + std::string(token) + "'");
    }
    section_ = std::string(token.substr(1));
    if (section_ == "MeshFormat") {
      fail("a second $MeshFormat section");
    } else if (section_ == "PhysicalNames") {
      physical_names();
    } else if (section_ == "Entities" && version_ == 4) {
      entities();
    } else if (section_ == titles_section) {
      titles();
    } else if (section_ == "Nodes") {
      if (have_nodes_) fail("a second $Nodes section");
      if (have_elements_) fail("the nodes must come before the elements");
      if (version_ == 2) {
        nodes_v2();
      } else {
        nodes_v4();
      }
      have_nodes_ = true;
    } else if (section_ == "Elements") {
      if (have_elements_) fail("a second $Elements section");
      if (!have_nodes_) fail("the nodes must come before the elements");
      finish_nodes();
      if (version_ == 2) {
        elements_v2();
      } else {
        elements_v4();
      }
      have_elements_ = true;
    } else {
      skip_section();
    }
    section_.clear();
  }
  if (!have_nodes_) fail("no $Nodes section: there is no mesh to import");
  if (!have_elements_) finish_nodes();

  ImportedMesh mesh;
  if (have_titles_) {
    mesh.titles = titles_;
  } else {
    std::string base = name_.substr(name_.find_last_of('/') + 1);
    std::string title = base;
    console::trimbl(title);
    if (title.size() > static_cast<std::size_t>(mesh::main_title_length)) {
      title.resize(static_cast<std::size_t>(mesh::main_title_length));
    }
    mesh.titles.main = title;
  }
  mesh.coord = std::move(coord_);
  finish_elements(mesh);
  return mesh;
}

void MshReader::mesh_format() {
  std::string version(next());
  if (version == "4.1") {
    version_ = 4;
  } else if (version == "2" || version.rfind("2.", 0) == 0) {
    version_ = 2;
  } else {
    fail("MSH version " + version + " is not read; save the mesh as version 4.1 or 2.2");
  }
  std::string_view type = next();
  if (type == "1") fail("binary MSH files are not read; save the mesh as ASCII");
  if (type != "0") fail("invalid file type '" + std::string(type) + "'");
  read_size("data size");
  expect_end();
}

void MshReader::physical_names() {
  Tag count = read_size("number of names");
  for (Tag i = 0; i < count; ++i) {
    long long dimension = read_integer("dimension");
    long long tag = read_integer("physical tag");
    // The name is the rest of the line, between double quotes.
    std::string rest;
    file_.read_line(rest, 1 << 16);
    std::size_t open = rest.find('"');
    std::size_t close = rest.rfind('"');
    std::string name =
        open != std::string::npos && close > open ? rest.substr(open + 1, close - open - 1) : rest;
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) name.pop_back();
    console::trimbl(name);
    if (dimension == 0 && name == special_group) special_physicals_.insert(tag);
  }
  expect_end();
}

void MshReader::entities() {
  Tag counts[4];
  for (Tag& c : counts) c = read_size("number of entities");
  for (int dimension = 0; dimension < 4; ++dimension) {
    for (Tag i = 0; i < counts[dimension]; ++i) {
      long long tag = read_integer("entity tag");
      // A point has its coordinates, the others their bounding box.
      for (int j = 0; j < (dimension == 0 ? 3 : 6); ++j) read_real("coordinate");
      Tag nphysical = read_size("number of physical tags");
      std::vector<long long> physicals;
      for (Tag j = 0; j < nphysical; ++j) physicals.push_back(read_integer("physical tag"));
      if (dimension == 0) {
        point_physicals_[tag] = std::move(physicals);
      } else {
        Tag nbounding = read_size("number of bounding entities");
        for (Tag j = 0; j < nbounding; ++j) read_integer("bounding entity tag");
      }
    }
  }
  expect_end();
}

void MshReader::titles() {
  // The rest of the header line, then one line each.
  std::string line;
  file_.read_line(line, 1 << 16);
  mesh::Titles read;
  for (int i = 0; i < 2; ++i) {
    std::string title;
    if (!file_.read_line(title, 1 << 16)) fail("unexpected end of file in the titles");
    while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
    console::trimbl(title);
    std::size_t length = i == 0 ? mesh::main_title_length : mesh::mesh_title_length;
    if (title.size() > length) title.resize(length);
    (i == 0 ? read.main : read.mesh) = title;
  }
  expect_end();
  titles_ = read;
  have_titles_ = true;
}

void MshReader::nodes_v2() {
  Tag count = read_size("number of nodes");
  node_tags_.reserve(std::min(count, reserve_limit));
  coord_.reserve(3 * std::min(count, reserve_limit));
  for (Tag i = 0; i < count; ++i) {
    node_tags_.push_back(read_size("node tag"));
    for (int j = 0; j < 3; ++j) coord_.push_back(read_real("coordinate"));
  }
  expect_end();
}

void MshReader::nodes_v4() {
  Tag blocks = read_size("number of node blocks");
  Tag count = read_size("number of nodes");
  read_size("smallest node tag");
  read_size("largest node tag");
  node_tags_.reserve(std::min(count, reserve_limit));
  coord_.reserve(3 * std::min(count, reserve_limit));
  std::vector<Tag> tags;
  for (Tag b = 0; b < blocks; ++b) {
    long long dimension = read_integer("entity dimension");
    read_integer("entity tag");
    long long parametric = read_integer("parametric flag");
    Tag in_block = read_size("number of nodes in the block");
    if (dimension < 0 || dimension > 3) fail("invalid entity dimension");
    // Nodes with parametric coordinates carry one more value per dimension of their entity.
    int extra = parametric != 0 ? static_cast<int>(dimension) : 0;
    tags.clear();
    for (Tag i = 0; i < in_block; ++i) tags.push_back(read_size("node tag"));
    for (Tag tag : tags) {
      node_tags_.push_back(tag);
      for (int j = 0; j < 3; ++j) coord_.push_back(read_real("coordinate"));
      for (int j = 0; j < extra; ++j) read_real("parametric coordinate");
    }
  }
  if (node_tags_.size() != count) {
    fail(console::cformat("announces %llu nodes but its blocks hold %llu",
                          static_cast<unsigned long long>(count),
                          static_cast<unsigned long long>(node_tags_.size())));
  }
  expect_end();
}

void MshReader::finish_nodes() {
  std::size_t n = node_tags_.size();
  if (n > static_cast<std::size_t>(INT_MAX)) fail("too many nodes for a trelmo mesh file");
  if (!std::is_sorted(node_tags_.begin(), node_tags_.end())) {
    // Points are numbered in the order of the node tags.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return node_tags_[a] < node_tags_[b]; });
    std::vector<Tag> tags(n);
    std::vector<double> coord(3 * n);
    for (std::size_t i = 0; i < n; ++i) {
      tags[i] = node_tags_[order[i]];
      std::copy_n(coord_.begin() + static_cast<std::ptrdiff_t>(3 * order[i]), 3,
                  coord.begin() + static_cast<std::ptrdiff_t>(3 * i));
    }
    node_tags_ = std::move(tags);
    coord_ = std::move(coord);
  }
  auto twin = std::adjacent_find(node_tags_.begin(), node_tags_.end());
  if (twin != node_tags_.end()) {
    section_ = "Nodes";
    fail("node " + std::to_string(*twin) + " is given twice");
  }
  Tag largest = n == 0 ? 0 : node_tags_.back();
  use_dense_ = largest <= 2 * static_cast<Tag>(n) + 1024;
  if (use_dense_) {
    dense_.assign(static_cast<std::size_t>(largest) + 1, 0);
    for (std::size_t i = 0; i < n; ++i) dense_[node_tags_[i]] = static_cast<int>(i + 1);
  }
}

int MshReader::point_of(Tag node_tag, Tag element_tag) {
  int point = 0;
  if (use_dense_) {
    if (node_tag < dense_.size()) point = dense_[node_tag];
  } else {
    auto it = std::lower_bound(node_tags_.begin(), node_tags_.end(), node_tag);
    if (it != node_tags_.end() && *it == node_tag) {
      point = static_cast<int>(it - node_tags_.begin()) + 1;
    }
  }
  if (point == 0) {
    fail("element " + std::to_string(element_tag) + " refers to node " + std::to_string(node_tag) +
         ", which is not in $Nodes");
  }
  return point;
}

void MshReader::element(Tag tag, long long type, long long group) {
  const GmshType* t = find_type(type);
  if (t == nullptr) {
    fail("element " + std::to_string(tag) + " has the unknown type " + std::to_string(type));
  }
  Kind kind = kind_of_gmsh_type(t->type);
  if (kind != Kind::other) {
    const KindInfo& k = info(kind);
    std::size_t start = element_nodes_.size();
    element_nodes_.resize(start + static_cast<std::size_t>(k.nodes));
    for (int i = 0; i < k.nodes; ++i) {
      int point = point_of(read_size("node tag"), tag);
      element_nodes_[start + static_cast<std::size_t>(k.gmsh_order[static_cast<std::size_t>(i)])] =
          point;
    }
    element_tags_.push_back(tag);
    kinds_.push_back(kind);
  } else if (t->type == gmsh_point) {
    points_.push_back({tag, point_of(read_size("node tag"), tag), group});
  } else {
    for (int i = 0; i < t->nodes; ++i) read_size("node tag");
    ++skipped_[t->type];
  }
}

void MshReader::elements_v2() {
  Tag count = read_size("number of elements");
  element_tags_.reserve(std::min(count, reserve_limit));
  kinds_.reserve(std::min(count, reserve_limit));
  for (Tag i = 0; i < count; ++i) {
    Tag tag = read_size("element tag");
    long long type = read_integer("element type");
    Tag ntags = read_size("number of element tags");
    long long physical = 0;
    for (Tag j = 0; j < ntags; ++j) {
      long long value = read_integer("element tag");
      if (j == 0) physical = value;
    }
    element(tag, type, physical);
  }
  expect_end();
}

void MshReader::elements_v4() {
  Tag blocks = read_size("number of element blocks");
  Tag count = read_size("number of elements");
  read_size("smallest element tag");
  read_size("largest element tag");
  element_tags_.reserve(std::min(count, reserve_limit));
  kinds_.reserve(std::min(count, reserve_limit));
  Tag total = 0;
  for (Tag b = 0; b < blocks; ++b) {
    read_integer("entity dimension");
    long long entity = read_integer("entity tag");
    long long type = read_integer("element type");
    Tag in_block = read_size("number of elements in the block");
    for (Tag i = 0; i < in_block; ++i) element(read_size("element tag"), type, entity);
    total += in_block;
  }
  if (total != count) {
    fail(console::cformat("announces %llu elements but its blocks hold %llu",
                          static_cast<unsigned long long>(count),
                          static_cast<unsigned long long>(total)));
  }
  expect_end();
}

void MshReader::skip_section() {
  std::string end = "$End" + section_;
  std::string_view token;
  for (;;) {
    if (!file_.next_token(token)) fail("no " + end + " before the end of the file");
    if (token == end) return;
  }
}

void MshReader::finish_elements(ImportedMesh& mesh) {
  if (kinds_.size() > static_cast<std::size_t>(INT_MAX)) {
    fail("too many elements for a trelmo mesh file");
  }
  // Elements are numbered in the order of their tags.
  if (std::is_sorted(element_tags_.begin(), element_tags_.end())) {
    mesh.kind = std::move(kinds_);
    mesh.nodes = std::move(element_nodes_);
  } else {
    std::size_t n = kinds_.size();
    std::vector<std::size_t> start(n + 1, 0);
    for (std::size_t i = 0; i < n; ++i) {
      start[i + 1] = start[i] + static_cast<std::size_t>(info(kinds_[i]).nodes);
    }
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      return element_tags_[a] < element_tags_[b];
    });
    mesh.kind.reserve(n);
    mesh.nodes.reserve(element_nodes_.size());
    for (std::size_t i : order) {
      mesh.kind.push_back(kinds_[i]);
      mesh.nodes.insert(mesh.nodes.end(),
                        element_nodes_.begin() + static_cast<std::ptrdiff_t>(start[i]),
                        element_nodes_.begin() + static_cast<std::ptrdiff_t>(start[i + 1]));
    }
  }

  std::stable_sort(points_.begin(), points_.end(),
                   [](const PointElement& a, const PointElement& b) { return a.tag < b.tag; });
  for (const PointElement& p : points_) {
    bool special = false;
    if (version_ == 2) {
      special = special_physicals_.count(p.group) != 0;
    } else {
      auto entity = point_physicals_.find(p.group);
      if (entity != point_physicals_.end()) {
        for (long long physical : entity->second) {
          if (special_physicals_.count(physical) != 0) special = true;
        }
      }
    }
    if (special) {
      mesh.special.push_back(p.point);
    } else {
      ++skipped_[gmsh_point];
    }
  }
  if (mesh.special.size() > static_cast<std::size_t>(INT_MAX)) {
    fail("too many special nodes for a trelmo mesh file");
  }

  long long total = 0;
  std::string detail;
  for (const auto& [type, count] : skipped_) {
    total += count;
    detail += detail.empty() ? "" : ", ";
    detail += std::to_string(count) + " of Gmsh type " + std::to_string(type) + " (" +
              find_type(type)->name +
              (type == gmsh_point ? std::string(" outside the group ") + special_group : "") + ")";
  }
  if (total > 0) {
    mesh.skipped = std::to_string(total) + (total == 1 ? " element" : " elements") +
                   " of other kinds skipped: " + detail;
  }
}

}  // namespace

ImportedMesh read_msh(const std::string& path) {
  auto file = open_input(path);
  MshReader reader(*file, path);
  return reader.read();
}

void write_imported(console::OutputFile& out, const ImportedMesh& imported) {
  mesh::MeshWriter writer(out, imported.titles, imported.nelem(), imported.npoin(),
                          static_cast<int>(imported.special.size()), "import");
  int list[mesh::mnode];
  const int* nodes = imported.nodes.data();
  for (Kind kind : imported.kind) {
    const KindInfo& k = info(kind);
    std::copy_n(nodes, k.nodes, list);
    int count = k.nodes;
    if (k.closed_in_file) list[count++] = nodes[0];
    writer.element(count, list);
    nodes += k.nodes;
  }
  for (int ipoin = 0; ipoin < imported.npoin(); ++ipoin) {
    writer.point(imported.coord.data() + 3 * static_cast<std::size_t>(ipoin));
  }
  for (int point : imported.special) writer.special(point);
  writer.finish();
}

}  // namespace vmztool
