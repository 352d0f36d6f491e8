#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <numeric>
#include <set>
#include <string_view>
#include <vector>

#include "console/checks.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "console/textfile.h"
#include "console/threads.h"
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

// The tokens of one line of text, in turn.
class LineTokens {
 public:
  LineTokens(const char* begin, const char* end) : p_(begin), end_(end) {}

  // The next token; false at the end of the line. A token longer than the sequential reader
  // takes is refused as no number, as that reader refuses it.
  bool next(std::string_view& token) {
    while (p_ < end_ && is_space(*p_)) ++p_;
    if (p_ == end_) return false;
    const char* start = p_;
    while (p_ < end_ && !is_space(*p_)) ++p_;
    token = std::string_view(start, static_cast<std::size_t>(p_ - start));
    return token.size() <= console::InputFile::max_token;
  }
  // True when only white space is left.
  bool done() {
    while (p_ < end_ && is_space(*p_)) ++p_;
    return p_ == end_;
  }
  bool size(Tag& value) {
    std::string_view t;
    if (!next(t)) return false;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && ptr == t.data() + t.size();
  }
  bool integer(long long& value) {
    std::string_view t;
    if (!next(t)) return false;
    auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
    return ec == std::errc() && ptr == t.data() + t.size();
  }
  bool real(double& value) {
    std::string_view t;
    return next(t) && console::parse_real(t, value);
  }

  static bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

 private:
  const char* p_;
  const char* end_;
};

// The lines of a section's bulk records, shared among threads from the file mapped in memory.
//
// The text from the reading place to the next '$' (which no number holds: it ends the section)
// is cut after line feeds into a few chunks a thread; each chunk's lines are counted and every
// 256th marked, so that any line is found quickly. The reader then takes the block headers in
// turn, which places every record on its line, and each chunk converts the records on its lines.
class LineChunks {
 public:
  // Least text a chunk is given: below it the sequential reader is as fast.
  static constexpr std::size_t chunk_minimum = 64 << 10;
  // Chunks a thread, taken in turn: a thread slowed by other work takes fewer.
  static constexpr int chunks_per_thread = 4;

  struct Chunk {
    std::size_t begin = 0;  // place in the text
    std::size_t end = 0;
    Tag first = 0;                   // number of the chunk's first line
    Tag lines = 0;                   // lines ended by a line feed
    std::vector<const char*> marks;  // where lines k * mark_every of the chunk begin
  };

  LineChunks(std::string_view text, std::size_t at, int threads) : text_(text), threads_(threads) {
    if (at >= text.size()) return;
    const void* dollar = std::memchr(text.data() + at, '$', text.size() - at);
    std::size_t stop =
        dollar == nullptr
            ? text.size()
            : static_cast<std::size_t>(static_cast<const char*>(dollar) - text.data());
    std::size_t size = stop - at;
    std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(threads) * chunks_per_thread,
                                          size / chunk_minimum);
    if (n < 2) return;
    std::size_t begin = at;
    for (std::size_t i = 1; i <= n; ++i) {
      std::size_t end = i == n ? stop : at + size / n * i;
      while (end < stop && text[end - 1] != '\n') ++end;
      chunks_.emplace_back();
      chunks_.back().begin = begin;
      chunks_.back().end = std::max(begin, end);
      begin = chunks_.back().end;
    }
    console::run_tasks(threads_, chunks(), [&](int i) { count(chunks_[i]); });
    for (Chunk& c : chunks_) {
      c.first = lines_;
      lines_ += c.lines;
    }
    cursor_ = text_.data() + chunks_[0].begin;
  }

  int chunks() const { return static_cast<int>(chunks_.size()); }
  Tag lines() const { return lines_; }

  // Where line k (at most lines()) begins: from the place of the line asked before when it lies
  // a little ahead, else from the nearest mark.
  const char* line(Tag k) {
    if (k < cursor_line_ || k - cursor_line_ > mark_every) {
      auto c = std::upper_bound(chunks_.begin(), chunks_.end(), k,
                                [](Tag line, const Chunk& chunk) { return line < chunk.first; }) -
               1;
      Tag local = k - c->first;
      cursor_ = c->marks[static_cast<std::size_t>(local / mark_every)];
      cursor_line_ = k - local % mark_every;
    }
    for (; cursor_line_ < k; ++cursor_line_) cursor_ = line_end(cursor_) + 1;
    return cursor_;
  }
  // The line feed that ends the line beginning at p.
  const char* line_end(const char* p) const {
    return static_cast<const char*>(
        std::memchr(p, '\n', static_cast<std::size_t>(text_.data() + text_.size() - p)));
  }
  std::size_t place(Tag k) { return static_cast<std::size_t>(line(k) - text_.data()); }

  // convert(chunk) for every chunk, on the threads.
  template <class Convert>
  void each(Convert&& convert) {
    console::run_tasks(threads_, chunks(), [&](int i) { convert(i, chunks_[i]); });
  }
  const char* at(std::size_t place) const { return text_.data() + place; }

 private:
  static constexpr Tag mark_every = 256;

  void count(Chunk& chunk) const {
    const char* p = text_.data() + chunk.begin;
    const char* end = text_.data() + chunk.end;
    chunk.marks.push_back(p);
    while (p < end) {
      const void* feed = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
      if (feed == nullptr) break;
      p = static_cast<const char*>(feed) + 1;
      if (++chunk.lines % mark_every == 0) chunk.marks.push_back(p);
    }
  }

  std::string_view text_;
  int threads_;
  std::vector<Chunk> chunks_;
  Tag lines_ = 0;
  const char* cursor_ = nullptr;
  Tag cursor_line_ = 0;
};

// The file mapped in memory, its text from the reading place cut into chunks of lines.
struct SharedText {
  SharedText(console::InputFile& file, int threads)
      : start(static_cast<std::size_t>(file.tell())),
        map(file),
        lines(map.text(), start, threads) {}
  std::size_t start;
  console::MappedFile map;
  LineChunks lines;
};

// The text after the counts of a section shared among threads, when there are several and
// enough text, and the rest of the line of counts is blank; else null.
std::unique_ptr<SharedText> share_text(console::InputFile& file) {
  int threads = console::thread_count();
  if (threads < 2) return nullptr;
  auto shared = std::make_unique<SharedText>(file, threads);
  LineChunks& lines = shared->lines;
  if (lines.chunks() < 2 || lines.lines() == 0) return nullptr;
  if (!LineTokens(lines.line(0), lines.line_end(lines.line(0))).done()) return nullptr;
  return shared;
}

// A run of records on consecutive lines: nodes (a line of tag each, then as many lines of
// coordinates in version 4; a line of both in version 2) or elements of one type (version 4) or
// of the type each line gives (version 2, type 0).
struct Block {
  Tag first = 0;  // the line of the first record
  Tag n = 0;      // records
  Tag dest = 0;   // nodes: place of the first node
  int extra = 0;  // nodes: parametric coordinates a line
  long long type = 0;
  long long entity = 0;
};

// Elements converted by one chunk, joined to the others' in file order.
struct ElementSlice {
  std::vector<Tag> tags;
  std::vector<Kind> kinds;
  std::vector<int> nodes;
  std::vector<PointElement> points;
  std::map<long long, long long> skipped;
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
  int find_point(Tag node_tag) const;
  // The records of $Nodes or $Elements after its counts, on several threads: false when they
  // were not read so (the file is then where it was, for the sequential reader).
  bool nodes_parallel(bool v4, Tag blocks);
  bool elements_parallel(bool v4, Tag blocks, Tag& read);
  bool convert_node(const Block& b, Tag line, const char* begin, const char* end);
  bool convert_element(ElementSlice& slice, const Block& b, const char* begin,
                       const char* end) const;
  template <class Header>
  bool block_list(LineChunks& lines, bool v4, Tag blocks, Tag per_record, Header&& header,
                  std::vector<Block>& list, Tag& next, Tag& total);
  template <class Convert>
  bool convert_blocks(LineChunks& lines, const std::vector<Block>& blocks, bool nodes,
                      Convert&& convert);

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
  if (!nodes_parallel(false, count)) {
    node_tags_.reserve(std::min(count, reserve_limit));
    coord_.reserve(3 * std::min(count, reserve_limit));
    for (Tag i = 0; i < count; ++i) {
      node_tags_.push_back(read_size("node tag"));
      for (int j = 0; j < 3; ++j) coord_.push_back(read_real("coordinate"));
    }
  }
  expect_end();
}

void MshReader::nodes_v4() {
  Tag blocks = read_size("number of node blocks");
  Tag count = read_size("number of nodes");
  read_size("smallest node tag");
  read_size("largest node tag");
  bool parallel = nodes_parallel(true, blocks);
  if (!parallel) {
    node_tags_.reserve(std::min(count, reserve_limit));
    coord_.reserve(3 * std::min(count, reserve_limit));
  }
  std::vector<Tag> tags;
  for (Tag b = 0; b < (parallel ? 0 : blocks); ++b) {
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

int MshReader::find_point(Tag node_tag) const {
  if (use_dense_) return node_tag < dense_.size() ? dense_[node_tag] : 0;
  auto it = std::lower_bound(node_tags_.begin(), node_tags_.end(), node_tag);
  return it != node_tags_.end() && *it == node_tag ? static_cast<int>(it - node_tags_.begin()) + 1
                                                   : 0;
}

int MshReader::point_of(Tag node_tag, Tag element_tag) {
  int point = find_point(node_tag);
  if (point == 0) {
    fail("element " + std::to_string(element_tag) + " refers to node " + std::to_string(node_tag) +
         ", which is not in $Nodes");
  }
  return point;
}

// Every line of the blocks handed to convert(chunk, block, line, begin, end) by the thread of
// its chunk; false when any answered false. A node block spans twice its records in version 4.
template <class Convert>
bool MshReader::convert_blocks(LineChunks& lines, const std::vector<Block>& blocks, bool nodes,
                               Convert&& convert) {
  Tag per_record = nodes && version_ == 4 ? 2 : 1;
  std::vector<char> fault(static_cast<std::size_t>(lines.chunks()), 0);
  lines.each([&](int i, const LineChunks::Chunk& chunk) {
    const char* p = lines.at(chunk.begin);
    // From the last block that begins at or before the chunk.
    auto after = std::upper_bound(blocks.begin(), blocks.end(), chunk.first,
                                  [](Tag line, const Block& block) { return line < block.first; });
    auto b = static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - blocks.begin() - 1, 0));
    for (Tag k = chunk.first; k < chunk.first + chunk.lines; ++k) {
      while (b < blocks.size() && k >= blocks[b].first + per_record * blocks[b].n) ++b;
      if (b == blocks.size()) return;
      const char* end = lines.line_end(p);
      if (k >= blocks[b].first && !convert(i, blocks[b], k, p, end)) {
        fault[static_cast<std::size_t>(i)] = 1;
        return;
      }
      p = end + 1;
    }
  });
  return std::find(fault.begin(), fault.end(), 1) == fault.end();
}

bool MshReader::convert_node(const Block& b, Tag line, const char* begin, const char* end) {
  LineTokens t(begin, end);
  Tag i = line - b.first;
  bool tag = version_ == 2 || i < b.n;
  if (version_ == 4 && !tag) i -= b.n;
  i += b.dest;
  if (tag && !t.size(node_tags_[i])) return false;
  if (version_ == 2 || !tag) {
    double* xyz = coord_.data() + 3 * i;
    for (int j = 0; j < 3; ++j) {
      if (!t.real(xyz[j])) return false;
    }
    double parametric = 0;
    for (int j = 0; j < b.extra; ++j) {
      if (!t.real(parametric)) return false;
    }
  }
  return t.done();
}

// The blocks of a section after its counts: in version 2.2 one block of `blocks` records of a
// line each, in version 4.1 `blocks` headers each followed by its records of `per_record`
// lines. header(a, b, c, n, block) checks a header's three integers and its record count and
// fills the block's own fields. False at any doubt (and when there is nothing to read), which
// leaves the section to the sequential reader; `next` is then the line after the blocks.
template <class Header>
bool MshReader::block_list(LineChunks& lines, bool v4, Tag blocks, Tag per_record, Header&& header,
                           std::vector<Block>& list, Tag& next, Tag& total) {
  next = 1;
  total = 0;
  if (blocks >= lines.lines()) return false;
  if (!v4) {
    list.push_back({1, blocks, 0, 0, 0, 0});
    next += blocks;
    total = blocks;
  }
  for (Tag b = 0; b < (v4 ? blocks : 0); ++b) {
    if (next >= lines.lines()) return false;
    const char* p = lines.line(next);
    LineTokens t(p, lines.line_end(p));
    long long first = 0;
    long long second = 0;
    long long third = 0;
    Block block{next + 1, 0, total, 0, 0, 0};
    if (!t.integer(first) || !t.integer(second) || !t.integer(third) || !t.size(block.n) ||
        !t.done() || block.n > (lines.lines() - next - 1) / per_record ||
        !header(first, second, third, block)) {
      return false;
    }
    list.push_back(block);
    next += 1 + per_record * block.n;
    total += block.n;
  }
  return total > 0;
}

bool MshReader::nodes_parallel(bool v4, Tag blocks) {
  auto shared = share_text(file_);
  if (shared == nullptr) return false;
  LineChunks& lines = shared->lines;
  std::vector<Block> list;
  Tag next = 0;
  Tag total = 0;
  // Header: entity dimension, entity tag, parametric.
  auto header = [](long long dimension, long long, long long parametric, Block& block) {
    if (dimension < 0 || dimension > 3) return false;
    block.extra = parametric != 0 ? static_cast<int>(dimension) : 0;
    return true;
  };
  if (!block_list(lines, v4, blocks, 2, header, list, next, total)) return false;
  node_tags_.resize(total);
  coord_.resize(3 * total);
  bool read = convert_blocks(lines, list, true,
                             [&](int, const Block& b, Tag k, const char* begin, const char* end) {
                               return convert_node(b, k, begin, end);
                             });
  if (!read || !file_.seek(static_cast<long long>(lines.place(next)))) {
    node_tags_.clear();
    coord_.clear();
    return false;
  }
  return true;
}

bool MshReader::convert_element(ElementSlice& slice, const Block& b, const char* begin,
                                const char* end) const {
  LineTokens t(begin, end);
  Tag tag = 0;
  long long type = b.type;
  long long group = b.entity;
  if (!t.size(tag)) return false;
  if (version_ == 2) {
    Tag ntags = 0;
    if (!t.integer(type) || !t.size(ntags)) return false;
    group = 0;
    for (Tag j = 0; j < ntags; ++j) {
      long long value = 0;
      if (!t.integer(value)) return false;
      if (j == 0) group = value;
    }
  }
  const GmshType* g = find_type(type);
  if (g == nullptr) return false;
  Kind kind = kind_of_gmsh_type(g->type);
  int count = kind != Kind::other ? info(kind).nodes : g->nodes;
  std::size_t start = slice.nodes.size();
  if (kind != Kind::other) slice.nodes.resize(start + static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    Tag node = 0;
    if (!t.size(node)) return false;
    if (kind == Kind::other && g->type != gmsh_point) continue;
    int point = find_point(node);
    if (point == 0) return false;
    if (kind == Kind::other) {
      slice.points.push_back({tag, point, group});
    } else {
      slice.nodes[start + static_cast<std::size_t>(
                              info(kind).gmsh_order[static_cast<std::size_t>(i)])] = point;
    }
  }
  if (kind != Kind::other) {
    slice.tags.push_back(tag);
    slice.kinds.push_back(kind);
  } else if (g->type != gmsh_point) {
    ++slice.skipped[g->type];
  }
  return t.done();
}

bool MshReader::elements_parallel(bool v4, Tag blocks, Tag& read) {
  auto shared = share_text(file_);
  if (shared == nullptr) return false;
  LineChunks& lines = shared->lines;
  std::vector<Block> list;
  Tag next = 0;
  Tag total = 0;
  // Header: entity dimension, entity tag, element type.
  auto header = [](long long, long long entity, long long type, Block& block) {
    if (block.n > 0 && find_type(type) == nullptr) return false;
    block.type = type;
    block.entity = entity;
    return true;
  };
  if (!block_list(lines, v4, blocks, 1, header, list, next, total)) return false;
  std::vector<ElementSlice> slices(static_cast<std::size_t>(lines.chunks()));
  bool converted = convert_blocks(
      lines, list, false, [&](int i, const Block& b, Tag, const char* begin, const char* end) {
        return convert_element(slices[static_cast<std::size_t>(i)], b, begin, end);
      });
  if (!converted || !file_.seek(static_cast<long long>(lines.place(next)))) return false;
  read = total;
  // The slices joined in file order, each copied by a thread of its own.
  std::vector<std::size_t> elements = {element_tags_.size()};
  std::vector<std::size_t> nodes = {element_nodes_.size()};
  for (const ElementSlice& slice : slices) {
    elements.push_back(elements.back() + slice.tags.size());
    nodes.push_back(nodes.back() + slice.nodes.size());
    points_.insert(points_.end(), slice.points.begin(), slice.points.end());
    for (const auto& [type, count] : slice.skipped) skipped_[type] += count;
  }
  element_tags_.resize(elements.back());
  kinds_.resize(elements.back());
  element_nodes_.resize(nodes.back());
  console::run_tasks(console::thread_count(), lines.chunks(), [&](int i) {
    auto c = static_cast<std::size_t>(i);
    ElementSlice& slice = slices[c];
    std::copy(slice.tags.begin(), slice.tags.end(), element_tags_.begin() + elements[c]);
    std::copy(slice.kinds.begin(), slice.kinds.end(), kinds_.begin() + elements[c]);
    std::copy(slice.nodes.begin(), slice.nodes.end(), element_nodes_.begin() + nodes[c]);
    slice = ElementSlice{};
  });
  return true;
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
  Tag total = 0;
  bool parallel = elements_parallel(false, count, total);
  if (!parallel) {
    element_tags_.reserve(std::min(count, reserve_limit));
    kinds_.reserve(std::min(count, reserve_limit));
  }
  for (Tag i = 0; i < (parallel ? 0 : count); ++i) {
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
  Tag total = 0;
  bool parallel = elements_parallel(true, blocks, total);
  if (!parallel) {
    element_tags_.reserve(std::min(count, reserve_limit));
    kinds_.reserve(std::min(count, reserve_limit));
  }
  for (Tag b = 0; b < (parallel ? 0 : blocks); ++b) {
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
