// Work shared among the processor's cores for the bulk readers and writers.
#pragma once

#include <atomic>
#include <exception>
#include <thread>
#include <vector>

namespace console {

// The number of threads for bulk work: TRELMO_THREADS when it holds a positive number, else the
// number of hardware threads; at least 1 and at most 256.
int thread_count();

// Runs work(0) .. work(n - 1), each on its own thread (work(0) on the calling one), and returns
// when all have ended. An exception thrown by any of them is thrown again here, the one of the
// lowest index first. The calls must write only what their own index owns. When no more threads
// can be started, the calling thread runs the rest itself.
template <class Work>
void run_parallel(int n, Work&& work) {
  std::vector<std::exception_ptr> faults(n > 0 ? n : 0);
  auto guarded = [&](int i) {
    try {
      work(i);
    } catch (...) {
      faults[i] = std::current_exception();
    }
  };
  std::vector<std::thread> threads;
  int started = 1;
  try {
    threads.reserve(n > 1 ? n - 1 : 0);
    for (; started < n; ++started) threads.emplace_back(guarded, started);
  } catch (...) {
  }
  if (n > 0) guarded(0);
  for (int i = started; i < n; ++i) guarded(i);
  for (auto& t : threads) t.join();
  for (auto& f : faults)
    if (f) std::rethrow_exception(f);
}

// Runs work(0) .. work(tasks - 1) on at most `threads` threads, each taking the next task not
// yet taken, so that a thread slowed by other work on the machine takes fewer.
template <class Work>
void run_tasks(int threads, int tasks, Work&& work) {
  std::atomic<int> next{0};
  run_parallel(threads < tasks ? threads : tasks, [&](int) {
    for (int i = next++; i < tasks; i = next++) work(i);
  });
}

}  // namespace console
