// Full-size counts under a 1 GB address space: a refinement whose result cannot be stored is
// refused before anything is sized by its divisions, and one whose result fits needs memory in
// proportion to the result (here written until a small disk is full), not to the divisions.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

namespace {

const std::string asked = warning("File jobname_dw.dat not found - running interactively");
const std::string nodes_beyond = warning("N. of generated nodes greater than 2147483647");
const std::string elements_beyond = warning("N. of generated elements greater than 2147483647");
const std::string line = "csm\n1\n\n\n\n\n\n\n";

const struct {
  const char* dw_file;  // buffa_dw.dat, or none
  std::string answers;
  std::string err;  // the warnings, in order
  const char* refusal = "No mesh generation (previous data unchanged) - press the Return key";
} requests[] = {
    {nullptr, line + "gen\n1\n2\n2147483647\n", asked + nodes_beyond},
    {nullptr, "csm\n2\n\n\ngen\n2\n9\n65536\n65536\n", asked + elements_beyond + nodes_beyond},
    {"B\n3\n20\n1 2000 2000 2000\nEND_OF_FILE\n", "csm\n3\n\n\n\ngen\n",
     elements_beyond + nodes_beyond},
    {"L\n1\n3\n1 2147483647\n1\n1 -1\nEND_OF_FILE\n", line + "gen\n", nodes_beyond},
    {nullptr, line + "gen\n1\n3\n200000000\n",
     asked + warning("Unable to write output file - tmp.vmz"),
     "Nothing changed - press the Return key"},
};

TEST(Limits, FullSizeCountsAreRefusedWithoutTheirMemory) {
  for (const auto& q : requests) {
    Session s;
    s.limit_address_space(1L << 30);
    s.limit_file_size(1 << 20);
    if (q.dw_file != nullptr) s.write("buffa_dw.dat", q.dw_file);
    Result r = s.run(q.answers + "\nend\ny\n", {}, 20);
    EXPECT_EQ(r.status, 0) << q.answers << r.err;
    EXPECT_EQ(r.err, q.err + warning("No write of a .vmz file since last change")) << q.answers;
    EXPECT_NE(r.out.find(q.refusal), std::string::npos) << q.answers;
  }
}

}  // namespace
