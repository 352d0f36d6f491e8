// Writes a large structured mesh file (.vmz layout) for the benchmarks.
//
//   meshgen brick NX NY NZ FILE    NX x NY x NZ block of 8-node bricks, shared points
//   meshgen quad  NX NY FILE       NX x NY patch of closed 4-node quadrilaterals, shared points
//   meshgen line  N FILE           chain of N 2-node bars
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/report.h"
#include "console/textfile.h"
#include "mesh/meshwriter.h"

namespace {

int usage() {
  std::fprintf(stderr, "usage: meshgen brick NX NY NZ FILE | quad NX NY FILE | line N FILE\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) return usage();
  std::string kind = argv[1];
  int n[3] = {1, 1, 1};
  int dims = kind == "brick" ? 3 : kind == "quad" ? 2 : kind == "line" ? 1 : 0;
  if (dims == 0 || argc != dims + 3) return usage();
  for (int d = 0; d < dims; ++d) n[d] = std::atoi(argv[2 + d]);
  std::string file = argv[2 + dims];
  long long px = n[0] + 1, py = dims >= 2 ? n[1] + 1 : 1, pz = dims >= 3 ? n[2] + 1 : 1;
  long long nelem = static_cast<long long>(n[0]) * n[1] * n[2];
  long long npoin = px * py * pz;
  auto id = [&](long long i, long long j, long long k) {
    return static_cast<int>(1 + i + px * (j + py * k));
  };
  try {
    auto out = console::OutputFile::open(file);
    if (!out) return 1;
    mesh::Titles titles{"Benchmark " + kind + " mesh", "Bench"};
    mesh::MeshWriter w(*out, titles, static_cast<int>(nelem), static_cast<int>(npoin), 1,
                       "meshgen");
    for (long long k = 0; k < n[2]; ++k)
      for (long long j = 0; j < n[1]; ++j)
        for (long long i = 0; i < n[0]; ++i) {
          if (dims == 3) {
            int nodes[8] = {
                id(i, j, k),     id(i + 1, j, k),     id(i + 1, j + 1, k),     id(i, j + 1, k),
                id(i, j, k + 1), id(i + 1, j, k + 1), id(i + 1, j + 1, k + 1), id(i, j + 1, k + 1)};
            w.element(8, nodes);
          } else if (dims == 2) {
            int nodes[5] = {id(i, j, 0), id(i + 1, j, 0), id(i + 1, j + 1, 0), id(i, j + 1, 0),
                            id(i, j, 0)};
            w.element(5, nodes);
          } else {
            int nodes[2] = {id(i, 0, 0), id(i + 1, 0, 0)};
            w.element(2, nodes);
          }
        }
    for (long long k = 0; k < pz; ++k)
      for (long long j = 0; j < py; ++j)
        for (long long i = 0; i < px; ++i)
          w.point(0.1 * static_cast<double>(i), 0.1 * static_cast<double>(j),
                  0.1 * static_cast<double>(k));
    w.special(1);
    w.finish();
    return out->close() ? 0 : 1;
  } catch (const console::FatalError& e) {
    std::fprintf(stderr, "meshgen: %s\n", e.what());
    return 1;
  }
}
