#include "edit/refusal.h"

#include <climits>
#include <cmath>

#include "console/dialogue.h"

namespace edit {

void require_finite(const double* values, int count) {
  for (int i = 0; i < count; ++i) {
    if (!std::isfinite(values[i])) throw CoordinatesOutOfRange();
  }
}

int ask_repetitions(std::string_view question, long long product, int largest) {
  for (;;) {
    int n = console::askint(question, 1);
    if (n < 1) {
      console::outf("\nERROR: n. of repetitions must be > 0 - repeat answer ...\n");
      continue;
    }
    // Both factors are at most INT_MAX, so the product cannot overflow a long long.
    if (product * n > INT_MAX / (largest > 0 ? largest : 1)) {
      console::outf("\nERROR: n. of repetitions too large for this mesh - repeat answer ...\n");
      continue;
    }
    return n;
  }
}

}  // namespace edit
