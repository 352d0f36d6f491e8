// Start-up, the menu, invalid commands, the checks before a call, help, ccf, sys and end.
#include <gtest/gtest.h>

#include "support/session.h"

using namespace session;

TEST(Startup, EndRightAfterStartLeavesWithoutAsking) {
  Session s;
  Result r = s.run("end\n");
  EXPECT_EQ(r.out, empty_session());
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.status, 0);
}

TEST(Startup, DeletesLeftoverTemporaryFiles) {
  Session s;
  s.write("tmp.vmz", "old\n");
  s.write("tmp.snd", "old\n");
  s.write("keep.vmz", "mine\n");
  Result r = s.run("end\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(s.files(), std::vector<std::string>{"keep.vmz"});
}

TEST(Startup, AnyArgumentIsRefusedBeforeTheMenu) {
  Session s;
  Result r = s.run("end\n", {"x"});
  EXPECT_EQ(r.out, startup());
  EXPECT_EQ(r.err, fatal("Usage: trelmo"));
  EXPECT_EQ(r.status, 1);
}
