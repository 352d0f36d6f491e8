#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <climits>
#include <cstring>
#include <map>
#include <numeric>

#include "console/checks.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "vmztool/export.h"
#include "vmztool/files.h"
#include "vmztool/import.h"

namespace vmztool {

namespace {

// Element types with a trelmo kind, by name without the suffix of reduced integration (R),
// incompatible modes (I) or hybrid formulation (H).
struct InpType {
  const char* name;
  Kind kind;
};
constexpr InpType inp_types[] = {
    {"T3D2", Kind::line2}, {"T2D2", Kind::line2},  {"B31", Kind::line2},  {"B21", Kind::line2},
    {"T3D3", Kind::line3}, {"T2D3", Kind::line3},  {"B32", Kind::line3},  {"B22", Kind::line3},
    {"CPS4", Kind::quad4}, {"CPE4", Kind::quad4},  {"CAX4", Kind::quad4}, {"S4", Kind::quad4},
    {"CPS8", Kind::quad8}, {"CPE8", Kind::quad8},  {"CAX8", Kind::quad8}, {"S8", Kind::quad8},
    {"C3D8", Kind::hex8},  {"C3D20", Kind::hex20},
};

Kind kind_of_inp_type(std::string type) {
  for (int cut = 0; cut < 3; ++cut) {
    for (const InpType& t : inp_types) {
      if (type == t.name) return t.kind;
    }
    if (type.empty() || std::string_view("RIH").find(type.back()) == std::string_view::npos) break;
    type.pop_back();
  }
  return Kind::other;
}

// Abaqus reads at most 16 entries on a data line.
constexpr std::size_t entries_per_line = 16;

// The values of a data line: the text between its commas, blanks and tabs trimmed off.
void values(std::string_view line, std::vector<std::string_view>& out) {
  out.clear();
  for (;;) {
    std::size_t comma = line.find(',');
    std::string_view value = line.substr(0, comma);
    std::size_t first = value.find_first_not_of(" \t\r\n");
    value = first == std::string_view::npos
                ? value.substr(0, 0)
                : value.substr(first, value.find_last_not_of(" \t\r\n") + 1 - first);
    out.push_back(value);
    if (comma == std::string_view::npos) return;
    line.remove_prefix(comma + 1);
  }
}

// The words of a keyword line split at its commas, in upper case, every blank and tab removed.
std::vector<std::string> keyword_words(std::string_view line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == ',') {
      out.emplace_back();
    } else if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
      out.back() += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return out;
}

class InpReader {
 public:
  InpReader(console::InputFile& file, std::string name) : file_(file), name_(std::move(name)) {}

  ImportedMesh read();

 private:
  enum class Block { none, heading, node, element, skipped_element, special, other };

  [[noreturn]] void fail(const std::string& message) const {
    console::fatal(name_ + ": line " + std::to_string(line_number_) + ": " + message);
  }
  long long integer(std::string_view word, const char* what) {
    long long value = 0;
    auto [ptr, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || ptr != word.data() + word.size() || value < 1) {
      fail(std::string("invalid ") + what + " '" + std::string(word) + "'");
    }
    return value;
  }

  void keyword(std::string_view line);
  void node(const std::vector<std::string_view>& words);
  void element(const std::vector<std::string_view>& words, bool continued);
  void special(const std::vector<std::string_view>& words);
  void end_block();
  int point_of(long long tag, long long element) const;
  ImportedMesh finish();

  console::InputFile& file_;
  std::string name_;
  long long line_number_ = 0;
  Block block_ = Block::none;
  int heading_lines_ = 0;
  mesh::Titles titles_;
  bool have_titles_ = false;
  bool generate_ = false;  // the special-node set is given as ranges
  bool have_nodes_ = false;

  std::vector<long long> node_tags_;
  std::vector<double> coord_;
  std::vector<int> dense_;  // point of each node number, when the numbers are dense

  // The element being read: its kind (or its type, when skipped), number and node numbers.
  Kind kind_ = Kind::other;
  std::string type_;
  std::vector<long long> pending_;
  std::vector<long long> element_tags_;
  std::vector<Kind> kinds_;
  std::vector<long long> element_nodes_;  // node numbers, in trelmo order
  std::map<std::string, long long> skipped_;
  // The special nodes as ranges (first, last, step), expanded only against the nodes read: a
  // range of absent nodes ends at its first one.
  std::vector<std::array<long long, 3>> special_;
};

ImportedMesh InpReader::read() {
  constexpr int room = 1 << 16;
  std::string_view line;
  std::vector<std::string_view> words;
  while (file_.next_line(line, room)) {
    ++line_number_;
    // A line cut by the room is too long; one holding a NUL ends there, and may be empty.
    if (line.size() == room - 1 && line.back() != '\n') fail("line too long");
    if (block_ == Block::heading && heading_lines_ < 2 && (line.empty() || line[0] != '*')) {
      // The two titles are the first two lines of the heading, taken as they stand.
      std::string title(line);
      while (!title.empty() && (title.back() == '\n' || title.back() == '\r')) title.pop_back();
      console::trimbl(title);
      std::size_t length = heading_lines_ == 0 ? mesh::main_title_length : mesh::mesh_title_length;
      if (title.size() > length) title.resize(length);
      (heading_lines_++ == 0 ? titles_.main : titles_.mesh) = title;
      continue;
    }
    std::size_t start = line.find_first_not_of(" \t\r\n");
    if (start == std::string_view::npos) continue;
    line.remove_prefix(start);
    if (line.substr(0, 2) == "**") continue;
    if (line[0] == '*') {
      end_block();
      keyword(line);
      continue;
    }
    // An element's list goes on in the next line after a full line or a final comma.
    values(line, words);
    bool continued = words.size() >= entries_per_line || (words.size() > 1 && words.back().empty());
    if (words.size() > 1 && words.back().empty()) words.pop_back();
    switch (block_) {
      case Block::none:
        fail("data before the first keyword");
      case Block::node:
        node(words);
        break;
      case Block::element:
        element(words, continued);
        break;
      case Block::skipped_element:
        if (!continued) ++skipped_[type_];
        break;
      case Block::special:
        special(words);
        break;
      default:
        break;
    }
  }
  end_block();
  if (!have_nodes_) console::fatal(name_ + ": no *NODE: there is no mesh to import");
  return finish();
}

void InpReader::keyword(std::string_view line) {
  std::vector<std::string> words = keyword_words(line.substr(1));
  const std::string& name = words[0];
  auto parameter = [&](const char* key) -> const std::string* {
    std::string prefix = std::string(key) + "=";
    for (std::size_t i = 1; i < words.size(); ++i) {
      if (words[i].rfind(prefix, 0) == 0) return &words[i];
    }
    return nullptr;
  };
  block_ = Block::other;
  if (name == "HEADING") {
    block_ = Block::heading;
    heading_lines_ = 0;
    have_titles_ = true;
  } else if (name == "NODE") {
    block_ = Block::node;
    have_nodes_ = true;
  } else if (name == "ELEMENT") {
    const std::string* type = parameter("TYPE");
    if (type == nullptr) fail("*ELEMENT without TYPE");
    type_ = type->substr(5);
    kind_ = kind_of_inp_type(type_);
    block_ = kind_ == Kind::other ? Block::skipped_element : Block::element;
  } else if (name == "NSET") {
    const std::string* set = parameter("NSET");
    if (set != nullptr && set->substr(5) == special_nset) {
      block_ = Block::special;
      generate_ = std::find(words.begin(), words.end(), "GENERATE") != words.end();
    }
  } else if (name == "INCLUDE") {
    fail("*INCLUDE is not read: put the file's text in its place");
  }
}

void InpReader::node(const std::vector<std::string_view>& words) {
  if (words.size() < 2 || words.size() > 4) fail("a node needs its number and 1 to 3 coordinates");
  node_tags_.push_back(integer(words[0], "node number"));
  for (std::size_t j = 1; j < 4; ++j) {
    double value = 0;
    if (j < words.size() && !console::parse_real(words[j], value)) {
      fail("invalid coordinate '" + std::string(words[j]) + "'");
    }
    coord_.push_back(value);
  }
}

void InpReader::element(const std::vector<std::string_view>& words, bool continued) {
  const int nodes = info(kind_).nodes;
  for (std::string_view word : words) {
    if (pending_.size() == static_cast<std::size_t>(nodes) + 1) {
      fail("element " + std::to_string(pending_[0]) + " has more than " + std::to_string(nodes) +
           " nodes, as its type " + type_ + " has");
    }
    pending_.push_back(integer(word, pending_.empty() ? "element number" : "node number"));
  }
  if (pending_.size() == static_cast<std::size_t>(nodes) + 1) {
    element_tags_.push_back(pending_[0]);
    kinds_.push_back(kind_);
    std::size_t start = element_nodes_.size();
    element_nodes_.resize(start + static_cast<std::size_t>(nodes));
    const KindInfo& k = info(kind_);
    for (int i = 0; i < nodes; ++i) {
      element_nodes_[start +
                     static_cast<std::size_t>(k.abaqus_order[static_cast<std::size_t>(i)])] =
          pending_[static_cast<std::size_t>(i) + 1];
    }
    pending_.clear();
  } else if (!continued) {
    fail("element " + std::to_string(pending_[0]) + " has " + std::to_string(pending_.size() - 1) +
         " nodes; its type " + type_ + " has " + std::to_string(nodes));
  }
}

void InpReader::end_block() {
  if (block_ == Block::element && !pending_.empty()) {
    fail("element " + std::to_string(pending_[0]) + " has " + std::to_string(pending_.size() - 1) +
         " nodes; its type " + type_ + " has " + std::to_string(info(kind_).nodes));
  }
}

void InpReader::special(const std::vector<std::string_view>& words) {
  if (!generate_) {
    for (std::string_view word : words) {
      long long tag = integer(word, "node number");
      special_.push_back({tag, tag, 1});
    }
    return;
  }
  if (words.size() < 2 || words.size() > 3) fail("a range needs its first and last node");
  long long first = integer(words[0], "node number");
  long long last = integer(words[1], "node number");
  long long step = words.size() == 3 ? integer(words[2], "increment") : 1;
  if (last < first) fail("a range of nodes that runs down from " + std::to_string(first));
  special_.push_back({first, last, step});
}

int InpReader::point_of(long long tag, long long element) const {
  if (!dense_.empty()) {
    int point =
        tag < static_cast<long long>(dense_.size()) ? dense_[static_cast<std::size_t>(tag)] : 0;
    if (point != 0) return point;
  }
  auto it = std::lower_bound(node_tags_.begin(), node_tags_.end(), tag);
  if (it == node_tags_.end() || *it != tag) {
    std::string where = element > 0 ? "element " + std::to_string(element) : "the set SPECIAL";
    console::fatal(name_ + ": " + where + " refers to node " + std::to_string(tag) +
                   ", which is not in *NODE");
  }
  return static_cast<int>(it - node_tags_.begin()) + 1;
}

ImportedMesh InpReader::finish() {
  std::size_t n = node_tags_.size();
  if (n > static_cast<std::size_t>(INT_MAX) || kinds_.size() > static_cast<std::size_t>(INT_MAX)) {
    console::fatal(name_ + ": too many nodes or elements for a trelmo mesh file");
  }
  ImportedMesh mesh;
  if (have_titles_) {
    mesh.titles = titles_;
  } else {
    std::string title = name_.substr(name_.find_last_of('/') + 1);
    console::trimbl(title);
    if (title.size() > static_cast<std::size_t>(mesh::main_title_length)) {
      title.resize(static_cast<std::size_t>(mesh::main_title_length));
    }
    mesh.titles.main = title;
  }

  // Points in the order of the node numbers.
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return node_tags_[a] < node_tags_[b]; });
  std::vector<long long> tags(n);
  mesh.coord.resize(3 * n);
  for (std::size_t i = 0; i < n; ++i) {
    tags[i] = node_tags_[order[i]];
    std::copy_n(coord_.begin() + static_cast<std::ptrdiff_t>(3 * order[i]), 3,
                mesh.coord.begin() + static_cast<std::ptrdiff_t>(3 * i));
  }
  node_tags_ = std::move(tags);
  // Node number -> point: a table indexed by number when the numbers are dense enough.
  if (n > 0 && node_tags_.back() <= 2 * static_cast<long long>(n) + 1024) {
    dense_.assign(static_cast<std::size_t>(node_tags_.back()) + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
      dense_[static_cast<std::size_t>(node_tags_[i])] = static_cast<int>(i + 1);
  }
  auto twin = std::adjacent_find(node_tags_.begin(), node_tags_.end());
  if (twin != node_tags_.end()) {
    console::fatal(name_ + ": node " + std::to_string(*twin) + " is given twice");
  }

  // Elements in the order of their numbers.
  std::size_t m = kinds_.size();
  std::vector<std::size_t> start(m + 1, 0);
  for (std::size_t i = 0; i < m; ++i) {
    start[i + 1] = start[i] + static_cast<std::size_t>(info(kinds_[i]).nodes);
  }
  order.resize(m);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return element_tags_[a] < element_tags_[b];
  });
  for (std::size_t i = 1; i < m; ++i) {
    if (element_tags_[order[i]] == element_tags_[order[i - 1]]) {
      console::fatal(name_ + ": element " + std::to_string(element_tags_[order[i]]) +
                     " is given twice");
    }
  }
  mesh.kind.reserve(m);
  mesh.nodes.reserve(element_nodes_.size());
  for (std::size_t i : order) {
    mesh.kind.push_back(kinds_[i]);
    for (std::size_t j = start[i]; j < start[i + 1]; ++j) {
      mesh.nodes.push_back(point_of(element_nodes_[j], element_tags_[i]));
    }
  }
  for (const auto& [first, last, step] : special_) {
    for (long long tag = first;; tag += step) {
      mesh.special.push_back(point_of(tag, 0));
      if (mesh.special.size() > static_cast<std::size_t>(INT_MAX)) {
        console::fatal(name_ + ": too many special nodes for a trelmo mesh file");
      }
      if (last - tag < step) break;
    }
  }

  long long total = 0;
  std::string detail;
  for (const auto& [type, count] : skipped_) {
    total += count;
    detail += (detail.empty() ? "" : ", ") + std::to_string(count) + " of type " + type;
  }
  if (total > 0) {
    mesh.skipped = std::to_string(total) + (total == 1 ? " element" : " elements") +
                   " of other kinds skipped: " + detail;
  }
  return mesh;
}

}  // namespace

ImportedMesh read_inp(const std::string& path) {
  auto file = open_input(path);
  InpReader reader(*file, path);
  return reader.read();
}

}  // namespace vmztool
