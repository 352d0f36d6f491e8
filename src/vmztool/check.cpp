#include "vmztool/check.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <numeric>
#include <queue>

#include "console/arrays.h"
#include "console/numfmt.h"
#include "console/report.h"
#include "console/threads.h"
#include "vmztool/quality.h"

namespace vmztool {

namespace {

constexpr int bins = 10;  // of the scaled Jacobian's histogram, from -1 to 1

// Groups of points, joined as they are found; the root of a group is its smallest point.
class Groups {
 public:
  explicit Groups(int n) : parent_(static_cast<std::size_t>(n)) {
    std::iota(parent_.begin(), parent_.end(), 0);
  }
  int find(int i) {
    while (parent_[i] != i) i = parent_[i] = parent_[parent_[i]];
    return i;
  }
  void join(int a, int b) {
    a = find(a);
    b = find(b);
    if (a != b) parent_[std::max(a, b)] = std::min(a, b);
  }
  std::vector<int> roots() {
    for (std::size_t i = 0; i < parent_.size(); ++i) parent_[i] = find(static_cast<int>(i));
    return std::move(parent_);
  }

 private:
  std::vector<int> parent_;
};

// A cell of the tolerance's size: its index along each axis and its run of sorted points.
struct Cell {
  std::array<double, 3> key;
  int begin, end;
};

// Sorts cells of one point each (the point in `begin`, in the order of the points) by their
// keys (whole numbers: cell indices), the first key first, and the points of one cell by
// number, when the keys are from 0 and fit together in 64 bits: a radix sort of the three packed
// into one number, which keeps the points of a cell in order. Answers false, the cells untouched,
// when they do not fit.
bool radix_sort(std::vector<Cell>& cells) {
  std::array<int, 3> width{};  // bits of each key
  double high[3] = {0, 0, 0};
  for (const Cell& cell : cells) {
    for (int j = 0; j < 3; ++j) {
      if (!(cell.key[j] >= 0 && cell.key[j] < 0x1p53)) return false;
      high[j] = std::max(high[j], cell.key[j]);
    }
  }
  for (int j = 0; j < 3; ++j) {
    while (std::ldexp(1.0, width[j]) <= high[j]) ++width[j];
  }
  int total = width[0] + width[1] + width[2];
  if (total > 64) return false;
  struct Item {
    std::uint64_t key;
    int point;
  };
  std::size_t n = cells.size();
  std::vector<Item> items(n), spare(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint64_t key = 0;
    for (int j = 0; j < 3; ++j) {
      if (width[j] > 0) key = key << width[j] | static_cast<std::uint64_t>(cells[i].key[j]);
    }
    items[i] = {key, cells[i].begin};
  }
  constexpr int digit = 11;  // bits sorted in one pass
  for (int shift = 0; shift < total; shift += digit) {
    std::array<std::size_t, (1 << digit) + 1> start{};
    for (const Item& item : items) ++start[(item.key >> shift & ((1 << digit) - 1)) + 1];
    if (std::find(start.begin(), start.end(), n) != start.end()) continue;  // one digit for all
    std::partial_sum(start.begin(), start.end(), start.begin());
    for (const Item& item : items) spare[start[item.key >> shift & ((1 << digit) - 1)]++] = item;
    items.swap(spare);
  }
  for (std::size_t i = 0; i < n; ++i) {
    std::uint64_t key = items[i].key;
    for (int j = 2; j >= 0; --j) {
      if (width[j] == 0) {
        cells[i].key[j] = 0;
        continue;
      }
      cells[i].key[j] = static_cast<double>(key & ((std::uint64_t{1} << width[j]) - 1));
      key = width[j] < 64 ? key >> width[j] : 0;
    }
    cells[i].begin = items[i].point;
  }
  return true;
}

// std::floor(v), by a conversion to a whole number where that gives the same.
double whole_below(double v) {
  return v > 0 && v < 0x1p52 ? static_cast<double>(static_cast<std::int64_t>(v)) : std::floor(v);
}

// Whether key a comes before key b (or is equal to it, with `or_equal`) in the order of
// std::array's comparison: the first coordinates that are not equal decide, and are unordered
// when one is no number.
bool key_before(const std::array<double, 3>& a, const std::array<double, 3>& b, bool or_equal) {
  for (int j = 0; j < 3; ++j) {
    if (a[j] != b[j]) return a[j] < b[j];
  }
  return or_equal;
}

// Some pair of points, a in cell `a` and b in cell `b` (offset along each axis by -1, 0 or 1
// cells), within the tolerance of each other; {-1, -1} when there is none. Along an axis on
// which the cells differ, the points of b lie all on one side of those of a, so the test is
// b_j <= a_j + tolerance on the offset axis, and the question whether some a dominates some
// b in up to three such keys: a sweep along the first key with a staircase of the others.
std::pair<int, int> near_pair(const mesh::MeshBuffer& buffer, const std::vector<int>& order,
                              const Cell& a, const Cell& b, const int* offset, double tolerance) {
  auto x = [&](int point, int j) { return buffer.coord(point + 1, j + 1); };
  if (a.end - a.begin == 1 && b.end - b.begin == 1) {
    int p = order[a.begin], q = order[b.begin];
    for (int j = 0; j < 3; ++j) {
      if (!(std::fabs(x(p, j) - x(q, j)) <= tolerance)) return {-1, -1};
    }
    return {p, q};
  }
  struct Item {
    std::array<double, 3> key;
    int point;
    bool from_a;
  };
  std::vector<Item> items;
  for (const Cell* cell : {&a, &b}) {
    for (int k = cell->begin; k < cell->end; ++k) {
      Item item{{0, 0, 0}, order[k], cell == &a};
      for (int j = 0; j < 3; ++j) {
        if (offset[j] != 0) {
          item.key[j] = offset[j] * x(item.point, j) + (item.from_a ? tolerance : 0);
        }
      }
      items.push_back(item);
    }
  }
  std::sort(items.begin(), items.end(), [](const Item& p, const Item& q) {
    return p.key[0] != q.key[0] ? p.key[0] > q.key[0] : p.from_a && !q.from_a;
  });
  // The points of a seen so far that no other one dominates in the second and third keys:
  // the third key falls as the second rises.
  std::map<double, std::pair<double, int>> stairs;
  for (const Item& item : items) {
    auto at = stairs.lower_bound(item.key[1]);
    bool dominated = at != stairs.end() && at->second.first >= item.key[2];
    if (!item.from_a) {
      if (dominated) return {at->second.second, item.point};
      continue;
    }
    if (dominated) continue;
    while (at != stairs.begin() && std::prev(at)->second.first <= item.key[2]) {
      stairs.erase(std::prev(at));
    }
    if (at != stairs.end() && at->first == item.key[1]) stairs.erase(at);
    stairs.emplace(item.key[1], std::make_pair(item.key[2], item.point));
  }
  return {-1, -1};
}

// At most `limit` items of a finding, and how many there are in all.
struct Found {
  long long count = 0;
  std::vector<std::vector<int>> shown;  // one entry an item (a group for groups)
  void add(std::vector<int> item, int limit) {
    if (count++ < limit) shown.push_back(std::move(item));
  }
};

struct Summary {
  double min = 0, median = 0, max = 0;
};

// The value at the middle of `values` (the lower one of an even count), as the values of an
// array in this order give it; reorders the values.
double median(double* values, std::size_t count) {
  double* middle = values + (count - 1) / 2;
  std::nth_element(values, middle, values + count);
  return *middle;
}

struct KindReport {
  Kind kind;
  int count = 0;
  Summary scaled_jacobian, edge_ratio, warpage;
  std::array<int, bins> histogram{};
};

struct Worst {
  int ielem;
  Kind kind;
  ElementQuality q;
};

struct Report {
  std::vector<KindReport> kinds;
  Found other, degenerate, inverted, coincident, unused, same;
  long long coincident_points = 0, same_elements = 0;
  std::vector<Worst> worst;
};

// The lower bound of histogram bin k.
double bin_start(int k) {
  return (k - bins / 2) / (bins / 2.0);
}

// The histogram bin of a scaled Jacobian: the last whose lower bound it reaches (the first for
// one below -1 or for no number).
int bin_of(double v) {
  static const std::array<double, bins> starts = [] {
    std::array<double, bins> s{};
    for (int b = 0; b < bins; ++b) s[b] = bin_start(b);
    return s;
  }();
  if (!(v >= starts[1])) return 0;
  if (v >= starts[bins - 1]) return bins - 1;
  // The bin its value points to, moved to the one whose bounds hold it.
  int bin = std::clamp(static_cast<int>((v + 1) * (bins / 2)), 1, bins - 2);
  while (v < starts[bin]) --bin;
  while (v >= starts[bin + 1]) ++bin;
  return bin;
}

// The points that no element uses, and the elements on the same set of points (closing
// repeats and repeated points counted once) in groups ordered by their first element. Such
// elements share their smallest point: the elements are bucketed by it (a counting sort), and
// only the sets within a bucket compared.
void point_uses(const mesh::MeshBuffer& buffer, int limit, Report& report) {
  auto set_of = [&](int ielem) {
    const int* nodes = buffer.lnods.row(ielem);
    std::vector<int> set(nodes, nodes + buffer.nnoel[ielem]);
    std::sort(set.begin(), set.end());
    set.erase(std::unique(set.begin(), set.end()), set.end());
    return set;
  };
  std::vector<int> smallest(static_cast<std::size_t>(buffer.nelem) + 1);
  std::vector<int> start(static_cast<std::size_t>(buffer.npoin) + 2, 0);
  std::vector<char> used(static_cast<std::size_t>(buffer.npoin) + 1, 0);
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
    const int* nodes = buffer.lnods.row(ielem);
    int low = nodes[0], count = buffer.nnoel[ielem];
    for (int k = 0; k < count; ++k) {
      low = std::min(low, nodes[k]);
      used[nodes[k]] = 1;
    }
    smallest[ielem] = low;
    ++start[low + 1];
  }
  for (int ipoin = 1; ipoin <= buffer.npoin; ++ipoin) {
    if (!used[ipoin]) report.unused.add({ipoin}, limit);
  }
  std::partial_sum(start.begin(), start.end(), start.begin());
  std::vector<int> bucket(static_cast<std::size_t>(buffer.nelem));
  for (int ielem = 1; ielem <= buffer.nelem; ++ielem) bucket[start[smallest[ielem]]++] = ielem;
  std::vector<std::vector<int>> groups;
  for (int ipoin = 1, begin = 0; ipoin <= buffer.npoin; begin = start[ipoin++]) {
    if (start[ipoin] - begin < 2) continue;
    std::vector<std::pair<std::vector<int>, int>> run;
    for (int k = begin; k < start[ipoin]; ++k) run.emplace_back(set_of(bucket[k]), bucket[k]);
    std::sort(run.begin(), run.end());
    for (std::size_t a = 0, b; a < run.size(); a = b) {
      std::vector<int> group = {run[a].second};
      for (b = a + 1; b < run.size() && run[b].first == run[a].first; ++b) {
        group.push_back(run[b].second);
      }
      if (group.size() > 1) groups.push_back(std::move(group));
    }
  }
  std::sort(groups.begin(), groups.end());
  for (std::vector<int>& group : groups) {
    report.same_elements += static_cast<long long>(group.size());
    if (static_cast<int>(group.size()) > std::max(limit, 2)) group.resize(std::max(limit, 2));
    report.same.add(std::move(group), limit);
  }
}

// The measures of every element by element number, for the medians: its kind (`other` when
// it has none) and its values (the warpage of surface kinds only).
struct Values {
  explicit Values(int nelem) : kind(nelem), sj(nelem), ratio(nelem), warp(nelem) {}
  console::OneVector<Kind> kind;
  console::OneVector<double> sj, ratio, warp;
};

// The smallest value that comes first and the largest that comes last, as
// std::minmax_element finds them among values in the order of the elements.
void extend(Summary& s, double v, bool first) {
  if (first || v < s.min) s.min = v;
  if (first || !(v < s.max)) s.max = v;
}

// What the elements first .. last add to the report: each kind's count, histogram and
// smallest and largest values, the findings in the order of the elements, and the worst
// elements (the best of them on top). Their values go to `values`.
struct Measured {
  std::array<KindReport, kind_count> kinds{};
  Found other, degenerate, inverted;
  std::priority_queue<std::pair<double, int>> worst;
};

Measured measure_elements(const mesh::MeshBuffer& buffer, const CheckOptions& options, int first,
                          int last, Values& values) {
  Measured m;
  int limit = options.worst;
  for (int ielem = first; ielem <= last; ++ielem) {
    Kind kind = check_kind(buffer, ielem, options.eight);
    values.kind[ielem] = kind;
    if (kind == Kind::other) {
      m.other.add({ielem}, limit);
      continue;
    }
    ElementQuality q = measure(buffer, ielem, kind, options.tolerance);
    KindReport& r = m.kinds[static_cast<int>(kind)];
    bool first_of_kind = r.count++ == 0;
    ++r.histogram[bin_of(q.scaled_jacobian)];
    extend(r.scaled_jacobian, q.scaled_jacobian, first_of_kind);
    extend(r.edge_ratio, q.edge_ratio, first_of_kind);
    values.sj[ielem] = q.scaled_jacobian;
    values.ratio[ielem] = q.edge_ratio;
    if (info(kind).dimension == 2) {
      extend(r.warpage, q.warpage, first_of_kind);
      values.warp[ielem] = q.warpage;
    }
    std::pair<double, int> rank(q.scaled_jacobian, ielem);
    if (static_cast<int>(m.worst.size()) < limit) {
      m.worst.push(rank);
    } else if (limit > 0 && rank < m.worst.top()) {
      m.worst.pop();
      m.worst.push(rank);
    }
    if (q.degenerate) m.degenerate.add({ielem}, limit);
    if (q.inverted) m.inverted.add({ielem}, limit);
  }
  return m;
}

// The findings of later elements after those of earlier ones.
void append(Found& earlier, Found& later, int limit) {
  for (std::vector<int>& item : later.shown) {
    if (static_cast<int>(earlier.shown.size()) < limit) earlier.shown.push_back(std::move(item));
  }
  earlier.count += later.count;
}

// A kind's figures of later elements after those of earlier ones.
void append(KindReport& earlier, const KindReport& later) {
  if (later.count == 0) return;
  bool first = earlier.count == 0;
  for (auto [to, from] : {std::pair(&earlier.scaled_jacobian, &later.scaled_jacobian),
                          std::pair(&earlier.edge_ratio, &later.edge_ratio),
                          std::pair(&earlier.warpage, &later.warpage)}) {
    extend(*to, from->min, first);
    extend(*to, from->max, false);
  }
  earlier.count += later.count;
  for (int b = 0; b < bins; ++b) earlier.histogram[b] += later.histogram[b];
}

// Elements a task measures: enough that a task's own findings cost little beside its work.
constexpr int elements_per_task = 16384;

Report make_report(const mesh::MeshBuffer& buffer, const CheckOptions& options) {
  Report report;
  int limit = options.worst;
  int threads = console::thread_count();
  // Tasks 0 and 1 search among the points, the others measure runs of elements; each task
  // fills its own members of the report or its own part. The searches are the longest tasks
  // and the first taken.
  Values values(buffer.nelem);
  int runs = std::max(1, (buffer.nelem + elements_per_task - 1) / elements_per_task);
  std::vector<Measured> parts(static_cast<std::size_t>(runs));
  std::vector<int> roots;
  console::run_tasks(threads, runs + 2, [&](int task) {
    if (task == 0) {
      roots = coincident_points(buffer, options.tolerance);
      return;
    }
    if (task == 1) {
      point_uses(buffer, limit, report);
      return;
    }
    long long run = task - 2;
    int first = static_cast<int>(buffer.nelem * run / runs) + 1;
    int last = static_cast<int>(buffer.nelem * (run + 1) / runs);
    parts[run] = measure_elements(buffer, options, first, last, values);
  });
  Measured& m = parts[0];
  for (std::size_t run = 1; run < parts.size(); ++run) {
    Measured& rest = parts[run];
    for (int k = 0; k < kind_count; ++k) append(m.kinds[k], rest.kinds[k]);
    append(m.other, rest.other, limit);
    append(m.degenerate, rest.degenerate, limit);
    append(m.inverted, rest.inverted, limit);
    for (; !rest.worst.empty(); rest.worst.pop()) {
      m.worst.push(rest.worst.top());
      if (static_cast<int>(m.worst.size()) > limit) m.worst.pop();
    }
  }
  report.other = std::move(m.other);
  report.degenerate = std::move(m.degenerate);
  report.inverted = std::move(m.inverted);

  // The medians, each a task: of a kind's values in the order of the elements, in place when
  // every element is of that kind.
  struct Median {
    Kind kind;
    console::OneVector<double>* all;
    Summary* summary;
  };
  std::vector<Median> medians;
  for (int k = 0; k < kind_count; ++k) {
    KindReport& r = m.kinds[k];
    if (r.count == 0) continue;
    r.kind = static_cast<Kind>(k);
    medians.push_back({r.kind, &values.sj, &r.scaled_jacobian});
    medians.push_back({r.kind, &values.ratio, &r.edge_ratio});
    if (info(r.kind).dimension == 2) medians.push_back({r.kind, &values.warp, &r.warpage});
  }
  console::run_tasks(threads, static_cast<int>(medians.size()), [&](int task) {
    const Median& at = medians[task];
    int count = m.kinds[static_cast<int>(at.kind)].count;
    if (count == buffer.nelem) {
      at.summary->median = median(at.all->begin(), static_cast<std::size_t>(count));
      return;
    }
    std::vector<double> own;
    own.reserve(static_cast<std::size_t>(count));
    for (int ielem = 1; ielem <= buffer.nelem; ++ielem) {
      if (values.kind[ielem] == at.kind) own.push_back((*at.all)[ielem]);
    }
    at.summary->median = median(own.data(), own.size());
  });
  for (const KindReport& r : m.kinds) {
    if (r.count > 0) report.kinds.push_back(r);
  }

  for (; !m.worst.empty(); m.worst.pop()) {
    int ielem = m.worst.top().second;
    Kind kind = check_kind(buffer, ielem, options.eight);
    report.worst.push_back({ielem, kind, measure(buffer, ielem, kind, options.tolerance)});
  }
  std::reverse(report.worst.begin(), report.worst.end());

  std::vector<int> members(roots.size(), 0);
  for (int root : roots) ++members[root];
  std::map<int, std::size_t> listed;  // root -> entry of report.coincident.shown
  for (std::size_t i = 0; i < roots.size(); ++i) {
    if (roots[i] != static_cast<int>(i) || members[i] < 2) continue;
    report.coincident_points += members[i];
    if (report.coincident.count < limit)
      listed[static_cast<int>(i)] = report.coincident.shown.size();
    report.coincident.add({}, limit);
  }
  for (std::size_t i = 0; i < roots.size() && !listed.empty(); ++i) {
    auto at = listed.find(roots[i]);
    if (at == listed.end()) continue;
    std::vector<int>& group = report.coincident.shown[at->second];
    if (static_cast<int>(group.size()) < std::max(limit, 2))
      group.push_back(static_cast<int>(i) + 1);
  }

  return report;
}

// Short names of the kinds for scripts.
const char* const kind_keys[kind_count] = {"line2", "line3", "quad4", "quad8",
                                           "quad9", "hex8",  "hex20"};

std::string real(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string fixed(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  return text;
}

std::string json_string(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

// "[1, 2, 3]" of a list, "[[1, 5], [2, 6]]" of groups.
std::string json_list(const std::vector<int>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) out += ", ";
    out += std::to_string(items[i]);
  }
  return out + "]";
}

std::string json_found(const char* name, const Found& found, bool groups = false,
                       const char* members = nullptr, long long in_groups = 0) {
  std::string out = std::string("  \"") + name + "\": {\"count\": " + std::to_string(found.count);
  if (members != nullptr) out += std::string(", \"") + members + "\": " + std::to_string(in_groups);
  out += std::string(", \"") + (groups ? "groups" : "list") + "\": [";
  for (std::size_t i = 0; i < found.shown.size(); ++i) {
    out +=
        (i ? ", " : "") + (groups ? json_list(found.shown[i]) : std::to_string(found.shown[i][0]));
  }
  return out + "]}";
}

void print_json(const std::string& file, const mesh::MeshBuffer& buffer,
                const CheckOptions& options, const Report& r) {
  std::string out = "{\n  \"file\": " + json_string(file) +
                    ",\n  \"elements\": " + std::to_string(buffer.nelem) +
                    ",\n  \"points\": " + std::to_string(buffer.npoin) +
                    ",\n  \"special_nodes\": " + std::to_string(buffer.nspno) +
                    ",\n  \"tolerance\": " + real(options.tolerance) + ",\n  \"kinds\": [";
  auto summary_text = [](const Summary& s) {
    return "{\"min\": " + real(s.min) + ", \"median\": " + real(s.median) +
           ", \"max\": " + real(s.max) + "}";
  };
  for (std::size_t i = 0; i < r.kinds.size(); ++i) {
    const KindReport& k = r.kinds[i];
    std::vector<int> histogram(k.histogram.begin(), k.histogram.end());
    out += std::string(i ? "," : "") + "\n    {\"kind\": \"" + kind_keys[static_cast<int>(k.kind)] +
           "\", \"count\": " + std::to_string(k.count) +
           ", \"scaled_jacobian\": " + summary_text(k.scaled_jacobian) +
           ", \"histogram\": " + json_list(histogram) +
           ", \"edge_ratio\": " + summary_text(k.edge_ratio);
    if (info(k.kind).dimension == 2) out += ", \"warpage\": " + summary_text(k.warpage);
    out += "}";
  }
  out += "\n  ],\n" + json_found("other", r.other) + ",\n" +
         json_found("degenerate", r.degenerate) + ",\n" + json_found("inverted", r.inverted) +
         ",\n" +
         json_found("coincident_points", r.coincident, true, "points", r.coincident_points) +
         ",\n" + json_found("unused_points", r.unused) + ",\n" +
         json_found("same_points", r.same, true, "elements", r.same_elements) + ",\n  \"worst\": [";
  for (std::size_t i = 0; i < r.worst.size(); ++i) {
    const Worst& w = r.worst[i];
    out += std::string(i ? "," : "") + "\n    {\"element\": " + std::to_string(w.ielem) +
           ", \"kind\": \"" + kind_keys[static_cast<int>(w.kind)] +
           "\", \"scaled_jacobian\": " + real(w.q.scaled_jacobian) +
           ", \"edge_ratio\": " + real(w.q.edge_ratio);
    if (info(w.kind).dimension == 2) out += ", \"warpage\": " + real(w.q.warpage);
    out += std::string(", \"inverted\": ") + (w.q.inverted ? "true" : "false") +
           ", \"degenerate\": " + (w.q.degenerate ? "true" : "false") + "}";
  }
  bool fit = r.inverted.count == 0 && r.degenerate.count == 0;
  out += std::string("\n  ],\n  \"fit\": ") + (fit ? "true" : "false") + "\n}\n";
  console::outs(out);
}

// "<count><what>" and, when there are any, the items shown in brackets, "..." for the rest.
std::string found_text(const Found& found, const std::string& what, const char* separator) {
  std::string out = std::to_string(found.count) + what;
  for (std::size_t i = 0; i < found.shown.size(); ++i) {
    out += i ? separator : " (";
    for (std::size_t k = 0; k < found.shown[i].size(); ++k) {
      if (k > 0) out += ' ';
      out += std::to_string(found.shown[i][k]);
    }
  }
  if (found.count > static_cast<long long>(found.shown.size())) out += " ...";
  return out + (found.shown.empty() ? "\n" : ")\n");
}

void print_text(const std::string& file, const mesh::MeshBuffer& buffer,
                const CheckOptions& options, const Report& r) {
  std::string out = "Check of " + file + ": " + std::to_string(buffer.nelem) + " elements, " +
                    std::to_string(buffer.npoin) + " points, " + std::to_string(buffer.nspno) +
                    " special nodes\n\nElements by kind:\n";
  for (const KindReport& k : r.kinds) {
    out += console::cformat("%10d  %s\n", k.count, info(k.kind).name);
  }
  if (r.other.count > 0) out += found_text(r.other, " of other node counts", " ");
  for (const KindReport& k : r.kinds) {
    out += std::string("\n") + info(k.kind).name + ":            min    median       max\n";
    auto row = [&](const char* name, const Summary& s) {
      out += console::cformat("  %-16s %9s %9s %9s\n", name, fixed(s.min).c_str(),
                              fixed(s.median).c_str(), fixed(s.max).c_str());
    };
    row("scaled Jacobian", k.scaled_jacobian);
    row("edge ratio", k.edge_ratio);
    if (info(k.kind).dimension == 2) row("warpage", k.warpage);
    out += "  scaled Jacobian from .. to: elements\n";
    for (int b = 0; b < bins; ++b) {
      out += console::cformat("    %4.1f .. %4.1f: %d\n", bin_start(b), bin_start(b + 1),
                              k.histogram[b]);
    }
  }
  out += "\nInverted elements: " + found_text(r.inverted, "", " ");
  out += "Degenerate elements: " + found_text(r.degenerate, "", " ");
  out += console::cformat("Coincident points not joined (within %g): %lld points in ",
                          options.tolerance, r.coincident_points) +
         found_text(r.coincident, r.coincident.count == 1 ? " group" : " groups", "; ");
  out += "Unused points: " + found_text(r.unused, "", " ");
  out += console::cformat("Elements on the same points: %lld elements in ", r.same_elements) +
         found_text(r.same, r.same.count == 1 ? " group" : " groups", "; ");
  if (!r.worst.empty()) {
    out +=
        "\nWorst elements by the scaled Jacobian:\n"
        "   element  kind                    scaled Jacobian  edge ratio   warpage\n";
    for (const Worst& w : r.worst) {
      bool surface = info(w.kind).dimension == 2;
      out +=
          console::cformat("%10d  %-22s %16s %11s %9s%s%s\n", w.ielem, info(w.kind).name,
                           fixed(w.q.scaled_jacobian).c_str(), fixed(w.q.edge_ratio).c_str(),
                           surface ? fixed(w.q.warpage).c_str() : "-",
                           w.q.inverted ? "  inverted" : "", w.q.degenerate ? "  degenerate" : "");
    }
  }
  if (r.inverted.count == 0 && r.degenerate.count == 0) {
    out += "\nFit for analysis: no element is inverted or degenerate.\n";
  } else {
    out += console::cformat("\nNot fit for analysis: %lld inverted and %lld degenerate elements.\n",
                            r.inverted.count, r.degenerate.count);
  }
  console::outs(out);
}

}  // namespace

std::vector<int> coincident_points(const mesh::MeshBuffer& buffer, double tolerance) {
  int n = buffer.npoin;
  Groups groups(n);
  if (n < 2 || !(tolerance >= 0)) return groups.roots();
  double low[3] = {buffer.coord(1, 1), buffer.coord(1, 2), buffer.coord(1, 3)};
  for (int ipoin = 2; ipoin <= n; ++ipoin) {
    for (int j = 0; j < 3; ++j) low[j] = std::min(low[j], buffer.coord(ipoin, j + 1));
  }
  // The cell of every point: its index along each axis counted from the lowest coordinate
  // (the coordinates themselves for a tolerance of 0); the points sorted by cell. The axes
  // may be taken in any order: meshes are often written in the order of one already (ren's
  // and the generators'), which then needs no sorting.
  // Entries hold the point in `begin` until they become the cells, in the same array.
  std::vector<Cell> cells;
  cells.reserve(static_cast<std::size_t>(n));  // written once, not cleared first
  for (int i = 0; i < n; ++i) {
    const double* x = buffer.coord.row(i + 1);
    Cell& cell = cells.emplace_back();
    for (int j = 0; j < 3; ++j) {
      cell.key[j] = tolerance > 0 ? whole_below((x[j] - low[j]) / tolerance) : x[j];
    }
    cell.begin = i;
  }
  static const int orders[6][3] = {{0, 1, 2}, {2, 1, 0}, {0, 2, 1},
                                   {1, 0, 2}, {1, 2, 0}, {2, 0, 1}};
  const int* axis = orders[0];
  auto before = [&](const Cell& a, const Cell& b) {
    for (int j = 0; j < 3; ++j) {
      if (a.key[axis[j]] != b.key[axis[j]]) return a.key[axis[j]] < b.key[axis[j]];
    }
    return a.begin < b.begin;
  };
  bool in_order = false;
  for (const int* candidate : orders) {
    axis = candidate;
    if ((in_order = std::is_sorted(cells.begin(), cells.end(), before))) break;
  }
  if (!in_order) {
    axis = orders[0];
    if (tolerance == 0 || !radix_sort(cells)) std::sort(cells.begin(), cells.end(), before);
  }
  // The keys taken in the order of the axes; the runs of equal keys become the cells, in the
  // same array (a cell is written only where its entries have been read).
  std::vector<int> order;
  order.reserve(static_cast<std::size_t>(n));
  std::size_t count = 0;
  for (int k = 0; k < n; ++k) {
    const Cell& entry = cells[k];
    std::array<double, 3> key = {entry.key[axis[0]], entry.key[axis[1]], entry.key[axis[2]]};
    order.push_back(entry.begin);
    if (k == 0 || key != cells[count - 1].key) {
      cells[count++] = {key, k, k + 1};
    } else {
      cells[count - 1].end = k + 1;
    }
  }
  cells.resize(count);
  // The points of one cell lie within the tolerance of each other; only a cell so far from
  // the origin that its index has lost its units is checked point by point against its first.
  for (const Cell& cell : cells) {
    int first = order[cell.begin];
    for (int k = cell.begin + 1; k < cell.end; ++k) {
      bool near = true;
      for (int j = 0; j < 3; ++j) {
        near = near && std::fabs(buffer.coord(order[k] + 1, j + 1) -
                                 buffer.coord(first + 1, j + 1)) <= tolerance;
      }
      if (near) groups.join(first, order[k]);
    }
  }
  if (tolerance == 0) return groups.roots();
  // Each pair of neighbouring cells once: the next cell along z, and the rows (x, y + 1),
  // (x + 1, y - 1), (x + 1, y), (x + 1, y + 1) within one cell along z, found by one pointer a
  // row that only moves forward.
  const int rows[4][2] = {{0, 1}, {1, -1}, {1, 0}, {1, 1}};
  std::size_t next[4] = {0, 0, 0, 0};
  for (std::size_t c = 0; c < cells.size(); ++c) {
    const std::array<double, 3>& at = cells[c].key;
    auto visit = [&](std::size_t d) {
      int offset[3];  // along the coordinate axes
      for (int j = 0; j < 3; ++j) {
        offset[axis[j]] = cells[d].key[j] > at[j] ? 1 : cells[d].key[j] < at[j] ? -1 : 0;
      }
      if (groups.find(order[cells[c].begin]) == groups.find(order[cells[d].begin])) return;
      auto [p, q] = near_pair(buffer, order, cells[c], cells[d], offset, tolerance);
      if (p >= 0) groups.join(p, q);
    };
    if (c + 1 < cells.size() && cells[c + 1].key[0] == at[0] && cells[c + 1].key[1] == at[1] &&
        cells[c + 1].key[2] == at[2] + 1) {
      visit(c + 1);
    }
    for (int r = 0; r < 4; ++r) {
      std::array<double, 3> from = {at[0] + rows[r][0], at[1] + rows[r][1], at[2] - 1};
      std::array<double, 3> to = {from[0], from[1], at[2] + 1};
      while (next[r] < cells.size() && key_before(cells[next[r]].key, from, false)) ++next[r];
      for (std::size_t d = next[r]; d < cells.size() && key_before(cells[d].key, to, true); ++d) {
        if (d != c) visit(d);
      }
    }
  }
  return groups.roots();
}

bool check_mesh(const std::string& file, const mesh::MeshBuffer& buffer,
                const CheckOptions& options) {
  Report report = make_report(buffer, options);
  if (options.json) {
    print_json(file, buffer, options, report);
  } else {
    print_text(file, buffer, options, report);
  }
  return report.inverted.count == 0 && report.degenerate.count == 0;
}

}  // namespace vmztool
