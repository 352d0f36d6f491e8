// Long random sessions: hundreds of valid commands in random order on both buffers, with the
// buffer written after every step. Every written mesh must satisfy the invariants the commands
// rely on and must read back to the same file; the session must end normally.
//
// Answers are chosen so that they are valid whatever the buffer holds: points are typed as
// coordinates, ranges are within any non-empty mesh, job names are not command words. A command
// refused by the shell's check leaves its answers to be read as (invalid) commands, and every
// command that may refuse with a pause gets an extra empty line; either way the script stays
// aligned. Sizes are kept small by an upper estimate of the mesh size: past a limit the buffer
// is replaced by a simple mesh. Some answers are full-size counts whose results cannot be stored;
// they must be refused at once, within the session's address-space and time limits.
#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "support/session.h"

using namespace session;

namespace {

struct Estimate {
  double elements = 0;
  double points = 0;
};

class Script {
 public:
  explicit Script(unsigned seed) : random_(seed) {}

  std::string build(int steps) {
    for (int step = 1; step <= steps; ++step) {
      command();
      // Write the current buffer after every step (refused when it has no point).
      std::string name = "s" + std::to_string(step);
      add({"wri", name, ""});
      written_.push_back(name);
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
  std::string real(double lo, double hi) {
    std::ostringstream s;
    s << std::uniform_real_distribution<double>(lo, hi)(random_);
    return s.str();
  }
  std::string yn() { return pick(0, 1) ? "y" : "n"; }
  Estimate& est() { return est_[current_]; }
  // Three points of a plane (or the first two, of a line), typed as coordinates.
  void points(int count) {
    add({"c"});
    const char* const triangle[3][3] = {{"0", "0", "0"}, {"1", "0.5", "0.2"}, {"0.3", "1", "0.7"}};
    for (int p = 0; p < count; ++p) add({triangle[p][0], triangle[p][1], triangle[p][2]});
  }

  void csm() {
    int choice = pick(1, 5);
    add({"csm", std::to_string(choice)});
    static const double sizes[5][2] = {{1, 2}, {1, 4}, {1, 8}, {3, 7}, {3, 16}};
    est() = {sizes[choice - 1][0], sizes[choice - 1][1]};
    switch (choice) {
      case 1:
        add({real(-1, 1), real(-1, 1), real(-1, 1), real(1, 2), real(1, 2), real(1, 2)});
        break;
      case 2:
      case 4:
        add({real(0.5, 3), real(0.5, 3)});
        break;
      case 3:
        add({real(0.5, 3), real(0.5, 3), real(0.5, 3)});
        break;
      default:
        add({real(0.5, 3)});
        break;
    }
  }

  void command() {
    // Past the size limit, and often after an elimination that may have emptied the buffer,
    // start again from a simple mesh.
    if (est().points > 4000 || est().elements > 2000 || est().points == 0 ||
        (maybe_empty_[current_] && pick(0, 1) == 0)) {
      maybe_empty_[current_] = false;
      csm();
      return;
    }
    switch (pick(0, 23)) {
      case 0:
        csm();
        break;
      case 1:
        add({"mov", real(-2, 2), real(-2, 2), real(-2, 2)});
        break;
      case 2:
        add({"rot"});
        points(2);
        add({real(-180, 180)});
        break;
      case 3:
        add({"mir", std::to_string(pick(0, 3))});
        points(3);
        break;
      case 4:
        add({"shr", real(0, 1)});
        est().points = 20 * est().elements;
        break;
      case 5: {
        int nx = pick(1, 2), ny = pick(1, 2), nz = 1;
        add({"paa", std::to_string(nx), std::to_string(ny), std::to_string(nz), "1", "0", "0.5"});
        est().elements *= nx * ny;
        est().points *= nx * ny;
        break;
      }
      case 6: {
        int n = pick(1, 3);
        add({"cya", std::to_string(n)});
        points(2);
        add({real(10, 120)});
        est().elements *= n;
        est().points *= n;
        break;
      }
      case 7:
        add({"ele", "1", "1", "0"});
        maybe_empty_[current_] = true;
        break;
      case 8:
        add({"cue", std::to_string(pick(1, 3)), real(-5, 0), real(0.5, 5)});
        maybe_empty_[current_] = true;
        break;
      case 9:
        add({"elp"});
        break;
      case 10:
        add({"mer"});
        est_[0].elements += est_[1].elements;
        est_[0].points += est_[1].points;
        break;
      case 11:
        add({"ren", "1", "2", "3", yn(), yn(), yn(), pick(0, 1) ? "1e-05" : "0"});
        break;
      case 12: {
        int kind = pick(2, 3);
        add({"snd", std::to_string(kind), "0.01"});
        points(kind);
        add({"0"});
        break;
      }
      case 13: {
        int ngtyp = pick(1, 3);
        static const int counts[3][3] = {{2, 3, 3}, {4, 8, 9}, {8, 20, 20}};
        add({"gen", std::to_string(ngtyp), std::to_string(counts[ngtyp - 1][pick(0, 2)])});
        int grow = 1;
        for (int d = 0; d < ngtyp; ++d) {
          int n = pick(1, 2);
          grow *= n;
          add({std::to_string(n)});
        }
        add({""});
        est().elements *= grow;
        est().points = est().elements * 27;
        break;
      }
      case 14:
        add({"bts", yn(), ""});
        est().elements *= 6;
        break;
      case 15:
        add({"stf", yn(), ""});
        est().elements *= 4;
        break;
      case 16:
        add({"gld", "g" + std::to_string(pick(1, 3)), std::to_string(pick(1, 9)), "1", ""});
        break;
      case 17:
        add({"ccf"});
        current_ = 1 - current_;
        break;
      case 18:
        if (!written_.empty()) {
          add({"rea",
               written_[static_cast<std::size_t>(pick(0, static_cast<int>(written_.size()) - 1))],
               ""});
          est() = {2000, 4000};  // unknown: assume large so that growth stays bounded
        }
        break;
      case 19:
        add({"wrp", std::to_string(pick(1, 3))});
        break;
      case 20:
        add({"dxo", "d" + std::to_string(pick(1, 3)), pick(0, 1) ? "p" : "l", "n", yn(), "n", "n",
             "n", "n", "0.1"});
        break;
      case 21:
        add({"dxi", "d" + std::to_string(pick(1, 3)), ""});
        break;
      case 22:
        full_size();
        break;
      default:
        add({"help", "", ""});
        break;
    }
  }

  // Counts typed at full size, whose results cannot be stored: gen refuses after its pause
  // (2147483647 steps of one line already number one point too many), paa asks again for y.
  void full_size() {
    const std::string big = std::to_string(pick(1073741824, 2147483647));
    if (pick(0, 1)) {
      add({"paa", "2", big, "1", "1", "0", "0", "0"});
      est().elements *= 2;
      est().points *= 2;
      return;
    }
    int ngtyp = pick(1, 3);
    static const char* const counts[3][2] = {{"2", "3"}, {"4", "9"}, {"8", "20"}};
    add({"gen", std::to_string(ngtyp), counts[ngtyp - 1][pick(0, 1)]});
    for (int d = 0; d < ngtyp; ++d) add({ngtyp == 1 ? "2147483647" : big});
    add({""});
  }

  std::mt19937 random_;
  std::ostringstream text_;
  std::vector<std::string> written_;
  Estimate est_[2];
  bool maybe_empty_[2] = {false, false};
  int current_ = 0;
};

// The invariants of a mesh file, checked with a reader of its own: titles within their room,
// records numbered from 1 without gaps, node counts 1 to 20, every node and special node a point.
void check_mesh_file(const std::string& text, const std::string& name) {
  SCOPED_TRACE(name);
  std::istringstream in(text);
  std::string main_title, mesh_title;
  ASSERT_TRUE(std::getline(in, main_title) && std::getline(in, mesh_title));
  EXPECT_LE(main_title.size(), 60u);
  EXPECT_LE(mesh_title.size(), 6u);
  long nelem, npoin, nspno, number, count, node;
  ASSERT_TRUE(in >> nelem >> npoin >> nspno);
  ASSERT_TRUE(nelem >= 0 && npoin >= 1 && nspno >= 0);  // wri refuses an empty buffer
  for (long e = 1; e <= nelem; ++e) {
    ASSERT_TRUE(in >> number >> count && number == e && count >= 1 && count <= 20);
    for (long k = 0; k < count; ++k) ASSERT_TRUE(in >> node && node >= 1 && node <= npoin);
  }
  double x, y, z;
  for (long p = 1; p <= npoin; ++p) ASSERT_TRUE(in >> number >> x >> y >> z && number == p);
  for (long s = 1; s <= nspno; ++s)
    ASSERT_TRUE(in >> number >> node && number == s && node >= 1 && node <= npoin);
  std::string rest;
  EXPECT_FALSE(in >> rest) << "text after the last record";
}

// Under a small address space and a time limit: no answer may need memory or time beyond what
// its result needs, so "Memory allocation failed" or a kill fails the session.
void run_long_session(unsigned seed) {
  Session s;
  s.limit_address_space(1L << 30);
  Script script(seed);
  std::string answers = script.build(300);
  Result r = s.run(answers);
  ASSERT_EQ(r.status, 0) << r.err.substr(r.err.size() > 2000 ? r.err.size() - 2000 : 0);
  ASSERT_EQ(r.err.find("\nERROR:\n"), std::string::npos);
  // Every written mesh satisfies the invariants and reads back to the same file.
  std::string reread;
  std::vector<std::string> names;
  for (const std::string& name : script.written()) {
    if (!s.exists(name + ".vmz")) continue;
    check_mesh_file(s.read(name + ".vmz"), name);
    if (::testing::Test::HasFatalFailure()) return;
    names.push_back(name);
    reread += "rea\n" + name + "\nwri\nr" + name + "\n";
  }
  ASSERT_GT(names.size(), 100u);
  Result back = s.run(reread + "end\n");
  ASSERT_EQ(back.status, 0) << back.err;
  for (const std::string& name : names) {
    EXPECT_EQ(s.read("r" + name + ".vmz"), s.read(name + ".vmz")) << name;
  }
}

}  // namespace

// Six seeds, each a session of 300 random commands on both buffers.
class LongSession : public testing::TestWithParam<unsigned> {};
TEST_P(LongSession, KeepsTheInvariants) {
  run_long_session(GetParam());
}
INSTANTIATE_TEST_SUITE_P(Seed, LongSession, testing::Range(1u, 7u));
