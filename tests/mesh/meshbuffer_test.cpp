#include "mesh/meshbuffer.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {
mesh::MeshBuffer one_element(std::initializer_list<int> nodes) {
  mesh::MeshBuffer b;
  b.nelem = 1;
  b.lnods = console::OneMatrix<int>(1, mesh::mnode);
  b.nnoel = console::OneVector<int>(1);
  b.nnoel[1] = static_cast<int>(nodes.size());
  int k = 1;
  for (int n : nodes) b.lnods(1, k++) = n;
  return b;
}
}  // namespace

TEST(ClosedLists, FirstEntryRepeatedAtTheEnd) {
  EXPECT_TRUE(mesh::is_closed(one_element({1, 2, 4, 3, 1}), 1));
  EXPECT_EQ(mesh::open_count(one_element({1, 2, 4, 3, 1}), 1), 4);
  EXPECT_FALSE(mesh::is_closed(one_element({1, 2, 4, 3}), 1));
  EXPECT_EQ(mesh::open_count(one_element({1, 2, 4, 3}), 1), 4);
  // A degenerate two-entry list of one point counts as closed, like any other.
  EXPECT_EQ(mesh::open_count(one_element({7, 7}), 1), 1);
}

TEST(ClosedLists, ASingleEntryIsOpen) {
  EXPECT_FALSE(mesh::is_closed(one_element({5}), 1));
  EXPECT_EQ(mesh::open_count(one_element({5}), 1), 1);
}
