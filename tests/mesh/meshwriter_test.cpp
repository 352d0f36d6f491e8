#include "mesh/meshwriter.h"

#include <gtest/gtest.h>

#include <functional>

#include "console/report.h"
#include "support/session.h"

using mesh::MeshWriter;

TEST(MeshWriter, StandardLayoutNumbersRecordsInOrder) {
  session::Session s;
  auto out = console::OutputFile::open(s.path("m.vmz"));
  MeshWriter w(*out, mesh::Titles{"Main", "Sub"}, 2, 2, 1, "test");
  int a[2] = {1, 2};
  int b[3] = {2, 1, 123456};
  w.element(2, a);
  w.element(3, b);
  w.point(1.5, -2.25, 0);
  w.point(100000.0, 0, 1e-9);
  w.special(2);
  w.finish();
  ASSERT_TRUE(out->close());
  EXPECT_EQ(s.read("m.vmz"),
            "Main\nSub\n"
            "    2       2       1\n"
            "    1     2        1     2\n"
            "    2     3        2     1 123456\n"
            "    1      1.50000000     -2.25000000      0.00000000\n"
            "    2 100000.00000000      0.00000000      0.00000000\n"
            "    1     2\n");
}

TEST(MeshWriter, WideLayout) {
  session::Session s;
  auto out = console::OutputFile::open(s.path("m.vmz"));
  MeshWriter w(*out, mesh::Titles{"Linear mesh", "Mesh"}, 1, 1, 0, "vmzcsm",
               MeshWriter::Layout::wide);
  w.element_line(" 1     2     1  2");
  w.point(0.9, 0.4, 0);
  w.finish();
  ASSERT_TRUE(out->close());
  EXPECT_EQ(s.read("m.vmz"),
            "Linear mesh\nMesh\n"
            "       1        1        0\n"
            " 1     2     1  2\n"
            "       1    0.9000000000    0.4000000000    0.0000000000\n");
}

TEST(MeshWriter, CountMismatchesAreInternalErrorsOfTheRoutine) {
  session::Session s;
  auto expect_fatal = [](const std::function<void()>& f, const std::string& message) {
    try {
      f();
      ADD_FAILURE() << "no fatal error";
    } catch (const console::FatalError& e) {
      EXPECT_EQ(e.what(), message);
    }
  };
  auto out = console::OutputFile::open(s.path("m.vmz"));
  int n[1] = {1};
  expect_fatal(
      [&] {
        MeshWriter w(*out, mesh::Titles{}, 2, 1, 0, "vmzpaa");
        w.element(1, n);
        w.point(0, 0, 0);  // element 2 was never written
      },
      "vmzpaa: internal error 1");
  expect_fatal(
      [&] {
        MeshWriter w(*out, mesh::Titles{}, 0, 2, 0, "vmzcya");
        w.point(0, 0, 0);
        w.finish();
      },
      "vmzcya: internal error 2");
  expect_fatal(
      [&] {
        MeshWriter w(*out, mesh::Titles{}, 0, 1, 0, "vmzpaa");
        w.point(0, 0, 0);
        w.special(1);  // no special node was announced
      },
      "vmzpaa: internal error 3");
}
