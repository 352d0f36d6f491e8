// The divisions-and-weights readers on arbitrary files, as the refinement calls them for a mesh
// of three elements: parameters, divisions, weights.
#include <cmath>
#include <cstdint>

#include "console/report.h"
#include "generate/dwfile.h"
#include "harness.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::write_file("f_dw.dat", data, size);
  fuzz::QuietConsole console("");
  constexpr int nelem = 3;
  try {
    auto file = console::InputFile::open("f_dw.dat");
    if (!file) return 0;
    char mode = 'y';
    int ngtyp = 0, nnodg = 0;
    std::string title;
    generate::rdwdat(mode, file.get(), ngtyp, nnodg, title);
    if (title.size() > 72) __builtin_trap();
    if (ngtyp < 1 || ngtyp > 3) return 0;  // the refinement refuses such a file here
    console::OneMatrix<int> divisions(nelem, ngtyp);
    int most = generate::rnelsi(nelem, ngtyp, mode, divisions, file.get());
    for (int i = 1; i <= nelem; ++i)
      for (int j = 1; j <= ngtyp; ++j)
        if (divisions(i, j) < 1 || divisions(i, j) > most) __builtin_trap();
    // Held as the refinement holds them: equal steps cost nothing, however many divisions.
    generate::StepWeights weights(divisions);
    generate::rweisi(nelem, ngtyp, mode, divisions, weights, file.get());
    // Weights are non-negative and sum to 1 in every direction (checked where the sum is quick).
    for (int i = 1; i <= nelem; ++i)
      for (int j = 1; j <= ngtyp; ++j) {
        if (divisions(i, j) > 100000) continue;
        double sum = 0;
        for (int k = 1; k <= divisions(i, j); ++k) {
          if (!(weights(i, j, k) >= 0)) __builtin_trap();
          sum += weights(i, j, k);
        }
        if (std::fabs(sum - 1) > 1e-9) __builtin_trap();
      }
  } catch (const console::FatalError&) {
  }
  return 0;
}
