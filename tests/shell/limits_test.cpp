// Under a 1 GB address space, a refinement whose result fits needs memory in proportion to the
// result (written until a small disk is full), not to its divisions.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

TEST(Limits, MemoryFollowsTheResultNotTheDivisions) {
  Session s;
  s.limit_address_space(1L << 30);
  s.limit_file_size(1 << 20);
  Result r = s.run("csm\n1\n\n\n\n\n\n\ngen\n1\n3\n200000000\n\nend\ny\n", {}, 20);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, warning("File jobname_dw.dat not found - running interactively") +
                       warning("Unable to write output file - tmp.vmz") +
                       warning("No write of a .vmz file since last change"));
  EXPECT_NE(r.out.find("Nothing changed - press the Return key"), std::string::npos);
}
