// Every command that writes a file, on a disk that fills up: the failure is reported, the buffer
// keeps what it held, no temporary file is left behind and no user file is half-written.
#include <gtest/gtest.h>

#include <sstream>

#include "support/session.h"

using namespace session;

namespace {

// A block of n x n x n 8-node bricks with one special node.
std::string brick_block(int n) {
  std::ostringstream text;
  int p = n + 1;
  auto id = [&](int i, int j, int k) { return 1 + i + p * (j + p * k); };
  text << "Block\nBlock\n" << n * n * n << " " << p * p * p << " 1\n";
  int e = 0;
  for (int k = 0; k < n; ++k)
    for (int j = 0; j < n; ++j)
      for (int i = 0; i < n; ++i) {
        text << ++e << " 8 " << id(i, j, k) << " " << id(i + 1, j, k) << " " << id(i + 1, j + 1, k)
             << " " << id(i, j + 1, k) << " " << id(i, j, k + 1) << " " << id(i + 1, j, k + 1)
             << " " << id(i + 1, j + 1, k + 1) << " " << id(i, j + 1, k + 1) << "\n";
      }
  for (int k = 0; k < p; ++k)
    for (int j = 0; j < p; ++j)
      for (int i = 0; i < p; ++i) text << id(i, j, k) << " " << i << " " << j << " " << k << "\n";
  text << "1 1\n";
  return text.str();
}

}  // namespace

TEST(FullDisk, EveryWriterRefusesAndTheBufferStays) {
  Session s;
  s.write("big.vmz", brick_block(10));
  s.write("keep.vmz", "kept mesh\n");
  s.write("keep.dxf", "kept drawing\n");
  s.write("keep_gl.dat", "kept solver file\n");
  s.write("big_1.pva", "kept values\n");
  s.limit_file_size(16 * 1024);
  const std::string script =
      "rea\nbig\n"
      "paa\n2\n1\n1\n1\n0\n0\n\n"
      "cya\n2\nc\n0\n0\n0\n0\n0\n1\n90\n\n"
      "shr\n0.8\n\n"
      "ren\n\n\n\n\n\n\n\n\n"
      "gen\n3\n8\n2\n2\n2\n\n"
      "bts\ny\n\n"
      "elp\n\n"
      "ele\n1\n1\n0\n\n"
      "cue\n1\n-10\n10\n\n"
      "dxo\nkeep\nl\nn\nn\nn\nn\nn\nn\n\n"
      "gld\nkeep\n4\n\n"
      "wrp\n1\n\n"
      "wri\nkeep\n\n"
      "end\n";
  Result r = s.run(script);
  EXPECT_EQ(r.status, 0) << r.err;
  std::vector<std::string> expected_warnings = {
      "Unable to write output file - tmp.vmz",  // paa
      "Unable to write output file - tmp.vmz",  // cya
      "Unable to write output file - tmp.vmz",  // shr
      "Unable to write output file - tmp.vmz",  // ren
      "File jobname_dw.dat not found - running interactively",
      "Unable to write output file - tmp.vmz",         // gen
      "Unable to write output file - tmp.vmz",         // bts
      "Unable to write output file - tmp.vmz",         // elp
      "Unable to write output file - tmp.vmz",         // ele
      "Unable to write output file - tmp.vmz",         // cue
      "Unable to write output file - jobname.dxf",     // dxo
      "Unable to write output file - jobname_gl.dat",  // gld
      "Unable to write output file - jobname_1.pva",   // wrp
      "Unable to write output file - jobname.vmz",     // wri
  };
  std::string expected_err;
  for (const std::string& w : expected_warnings) expected_err += warning(w);
  EXPECT_EQ(r.err, expected_err);
  // The buffer still held the block when it was written last.
  EXPECT_NE(r.out.find(counts(1000, 1331, 1) + "\nWriting file: keep.vmz\n"), std::string::npos)
      << r.out.substr(r.out.size() > 3000 ? r.out.size() - 3000 : 0);
  EXPECT_EQ(s.read("keep.vmz"), "kept mesh\n");
  EXPECT_EQ(s.read("keep.dxf"), "kept drawing\n");
  EXPECT_EQ(s.read("keep_gl.dat"), "kept solver file\n");
  EXPECT_EQ(s.read("big_1.pva"), "kept values\n");
  EXPECT_EQ(s.files(), (std::vector<std::string>{"big.vmz", "big_1.pva", "keep.dxf", "keep.vmz",
                                                 "keep_gl.dat"}));
}
