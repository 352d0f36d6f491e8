// Full-size numbers under a small address space: a request whose result cannot be stored is
// refused before anything is sized by it, and one whose result fits needs memory in proportion
// to the result, not to the largest count asked for.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

namespace {

const std::string gen_refused = "No mesh generation (previous data unchanged) - press the Return key";
const std::string nodes_beyond = warning("N. of generated nodes greater than 2147483647");
const std::string elements_beyond = warning("N. of generated elements greater than 2147483647");

struct Request {
  const char* what;
  const char* dw_file;  // buffa_dw.dat, or none
  const char* answers;
  std::string err;      // the warnings, in order
  std::string refusal;  // the pause that must follow
};

const Request requests[] = {
    {"one line, 2147483647 divisions", nullptr, "csm\n1\n\n\n\n\n\n\ngen\n1\n2\n2147483647\n\n",
     warning("File jobname_dw.dat not found - running interactively") + nodes_beyond, gen_refused},
    {"one quadrilateral, 65536 x 65536", nullptr, "csm\n2\n\n\ngen\n2\n9\n65536\n65536\n\n",
     warning("File jobname_dw.dat not found - running interactively") + elements_beyond +
         nodes_beyond,
     gen_refused},
    {"a brick, 2000 x 2000 x 2000 from the file", "B\n3\n20\n1 2000 2000 2000\nEND_OF_FILE\n",
     "csm\n3\n\n\n\ngen\n\n", elements_beyond + nodes_beyond, gen_refused},
    {"one line, equal weights listed in the file", "L\n1\n3\n1 2147483647\n1\n1 -1\nEND_OF_FILE\n",
     "csm\n1\n\n\n\n\n\n\ngen\n\n", nodes_beyond, gen_refused},
    // Fits: two hundred million steps are written until the disk is full; the weights of equal
    // steps take no room.
    {"one line, 200000000 divisions written to a full disk", nullptr,
     "csm\n1\n\n\n\n\n\n\ngen\n1\n3\n200000000\n\n",
     warning("File jobname_dw.dat not found - running interactively") +
         warning("Unable to write output file - tmp.vmz"),
     "Nothing changed - press the Return key"},
    {"paa asks again for 2 x 2000000000 copies", nullptr,
     "csm\n1\n\n\n\n\n\n\npaa\n2\n2000000000\n1\n1\n\n\n\n",
     "", "ERROR: n. of repetitions too large for this mesh - repeat answer"},
};

TEST(Limits, FullSizeCountsAreRefusedWithoutTheirMemory) {
  for (const Request& q : requests) {
    Session s;
    s.limit_address_space(1L << 30);
    s.limit_file_size(1 << 20);
    if (q.dw_file != nullptr) s.write("buffa_dw.dat", q.dw_file);
    Result r = s.run(std::string(q.answers) + "end\ny\n", {}, 20);
    EXPECT_EQ(r.status, 0) << q.what << "\n" << r.err;
    EXPECT_EQ(r.err, q.err + warning("No write of a .vmz file since last change")) << q.what;
    EXPECT_NE(r.out.find(q.refusal), std::string::npos) << q.what;
  }
}

}  // namespace
