#include "console/threads.h"

#include <cstdlib>

#include "console/checks.h"

namespace console {

namespace {
// More threads than this only add their start-up cost.
constexpr int most_threads = 256;
}  // namespace

int thread_count() {
  int n = 0;
  const char* text = std::getenv("TRELMO_THREADS");
  if (text == nullptr || !parse_int(text, n) || n < 1) {
    n = static_cast<int>(std::thread::hardware_concurrency());
  }
  return n < 1 ? 1 : n > most_threads ? most_threads : n;
}

}  // namespace console
