// Long random sessions on both buffers, written after every step: each mesh reads back the same.
// Answers are valid whatever the buffer holds (points as coordinates, ranges within any mesh, an
// empty line after a possible pause); full-size counts must be refused at once.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "support/session.h"

using namespace session;

namespace {

class Script {
 public:
  explicit Script(unsigned seed) : random_(seed) {}

  // `steps` random commands, each followed by a wri of the current buffer (refused when it has
  // no point), then end.
  std::string build(int steps) {
    for (int step = 1; step <= steps; ++step) {
      command();
      written_.push_back("s" + std::to_string(step));
      add({"wri", written_.back(), ""});
    }
    add({"", "end", "y"});
    return text_.str();
  }
  const std::vector<std::string>& written() const { return written_; }

 private:
  void add(std::initializer_list<std::string> lines) {
    for (const std::string& line : lines) text_ << line << "\n";
  }
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }
  std::string n(int lo, int hi) { return std::to_string(pick(lo, hi)); }
  std::string real(double lo, double hi) {
    std::ostringstream s;
    s << std::uniform_real_distribution<double>(lo, hi)(random_);
    return s.str();
  }
  std::string yn() { return pick(0, 1) ? "y" : "n"; }
  // An upper estimate of the size of the current buffer, multiplied by `factor`.
  void grow(double factor) {
    elements_[current_] *= factor;
    points_[current_] *= factor;
  }
  // The first two or three points of a plane, typed as coordinates.
  void points(int count) {
    add({"c", "0", "0", "0", "1", "0.5", "0.2"});
    if (count == 3) add({"0.3", "1", "0.7"});
  }
  void csm() {
    int choice = pick(1, 5);
    const int sizes[5][3] = {{1, 2, 6}, {1, 4, 2}, {1, 8, 3}, {3, 7, 2}, {3, 16, 1}};
    elements_[current_] = sizes[choice - 1][0];
    points_[current_] = sizes[choice - 1][1];
    add({"csm", std::to_string(choice)});
    for (int i = 0; i < sizes[choice - 1][2]; ++i) add({real(0.5, 3)});
  }

  void command() {
    // Past the size limit, and often after an elimination that may have emptied the buffer,
    // start again from a simple mesh.
    if (points_[current_] > 4000 || elements_[current_] > 2000 || points_[current_] == 0 ||
        (maybe_empty_[current_] && pick(0, 1) == 0)) {
      maybe_empty_[current_] = false;
      return csm();
    }
    const std::string big = n(1073741824, 2147483647);  // a count whose result cannot be stored
    int k = 0;
    switch (pick(0, 23)) {
      case 0:
        return csm();
      case 1:
        return add({"mov", real(-2, 2), real(-2, 2), real(-2, 2)});
      case 2:
        add({"rot"}), points(2);
        return add({real(-180, 180)});
      case 3:
        add({"mir", n(0, 3)});
        return points(3);
      case 4:
        add({"shr", real(0, 1)});
        points_[current_] = 20 * elements_[current_];
        return;
      case 5:
        k = pick(1, 2);
        add({"paa", std::to_string(k), "2", "1", "1", "0", "0.5"});
        return grow(2 * k);
      case 6:
        k = pick(1, 3);
        add({"cya", std::to_string(k)}), points(2), add({real(10, 120)});
        return grow(k);
      case 7:
        maybe_empty_[current_] = true;
        return add({"ele", "1", "1", "0"});
      case 8:
        maybe_empty_[current_] = true;
        return add({"cue", n(1, 3), real(-5, 0), real(0.5, 5)});
      case 9:
        return add({"elp"});
      case 10:
        elements_[0] += elements_[1], points_[0] += points_[1];
        return add({"mer"});
      case 11:
        return add({"ren", "1", "2", "3", yn(), yn(), yn(), pick(0, 1) ? "1e-05" : "0"});
      case 12:
        k = pick(2, 3);
        add({"snd", std::to_string(k), "0.01"}), points(k);
        return add({"0"});
      case 13:
      case 22: {
        // A refinement, or one asking full-size counts, which is refused after its pause
        // (2147483647 steps of one line already number one point too many).
        bool full = pick(0, 1) == 1;
        int ngtyp = pick(1, 3);
        const int counts[3][3] = {{2, 3, 3}, {4, 8, 9}, {8, 20, 20}};
        add({"gen", std::to_string(ngtyp), std::to_string(counts[ngtyp - 1][pick(0, 2)])});
        for (int d = 0; d < ngtyp; ++d) {
          k = pick(1, 2);
          add({!full ? std::to_string(k) : ngtyp == 1 ? "2147483647" : big});
          if (!full) grow(k);
        }
        add({""});
        if (!full) points_[current_] = elements_[current_] * 27;
        return;
      }
      case 14:
        add({"bts", yn(), ""});
        return grow(6);
      case 15:
        add({"stf", yn(), ""});
        return grow(4);
      case 16:
        return add({"gld", "g" + n(1, 3), n(1, 9), "1", ""});
      case 17:
        current_ = 1 - current_;
        return add({"ccf"});
      case 18:
        elements_[current_] = 2000, points_[current_] = 4000;  // unknown: assume large
        return add(
            {"rea", written_.empty() ? "s0" : written_[pick(0, int(written_.size()) - 1)], ""});
      case 19:
        return add({"wrp", n(1, 3)});
      case 20:
        return add(
            {"dxo", "d" + n(1, 3), pick(0, 1) ? "p" : "l", "n", yn(), "n", "n", "n", "n", "0.1"});
      case 21:
        return add({"dxi", "d" + n(1, 3), ""});
      case 23:
        add({"paa", "2", big, "1", "1", "0", "0", "0"});  // y asked again
        return grow(2);
    }
  }

  std::mt19937 random_;
  std::ostringstream text_;
  std::vector<std::string> written_;
  double elements_[2] = {0, 0}, points_[2] = {0, 0};
  bool maybe_empty_[2] = {false, false};
  int current_ = 0;
};

// Under a small address space and a time limit: no answer may need memory or time beyond what
// its result needs, so "Memory allocation failed" or a kill fails the session.
void run_long_session(unsigned seed) {
  Session s;
  s.limit_address_space(1L << 30);
  Script script(seed);
  Result r = s.run(script.build(300));
  ASSERT_EQ(r.status, 0) << r.err.substr(r.err.size() > 2000 ? r.err.size() - 2000 : 0);
  ASSERT_EQ(r.err.find("\nERROR:\n"), std::string::npos);
  // Every written mesh passes every check of the reader (numbering, counts, nodes within the
  // points) and is written back the same.
  std::string reread;
  std::vector<std::string> names;
  for (const std::string& name : script.written()) {
    if (!s.exists(name + ".vmz")) continue;
    names.push_back(name);
    reread += "rea\n" + name + "\nwri\nr" + name + "\n";
  }
  ASSERT_GT(names.size(), 100u);
  Result back = s.run(reread + "end\n");
  ASSERT_EQ(back.status, 0) << back.err;
  for (const std::string& name : names)
    EXPECT_EQ(s.read("r" + name + ".vmz"), s.read(name + ".vmz")) << name;
}

}  // namespace

class LongSession : public testing::TestWithParam<unsigned> {};
TEST_P(LongSession, KeepsTheInvariants) {
  run_long_session(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Seed, LongSession, testing::Range(1u, 7u));
