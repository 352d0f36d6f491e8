// One-based containers: vectors, matrices and three-index arrays indexed from 1, like the
// numbers in the mesh files (element 1, point 1, coordinate 1).
//
// Storage is one contiguous block owned by the object. A fresh container's values are
// undefined (the memory is not touched until it is written, so a large declared size costs
// nothing until used); `zero()` clears it. A size of 0 gives an empty index range. An
// allocation that fails is the fatal report "Memory allocation failed".
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <memory>
#include <type_traits>
#include <utility>

#include "console/report.h"

namespace console {

namespace detail {
struct FreeDeleter {
  void operator()(void* p) const { std::free(p); }
};
template <class T>
using Block = std::unique_ptr<T[], FreeDeleter>;

// The elements are plain numbers or characters, so raw memory is all they need; a failed
// request is reported, never returned.
template <class T>
Block<T> allocate(std::size_t n) {
  static_assert(std::is_trivially_default_constructible_v<T> &&
                std::is_trivially_destructible_v<T>);
  if (n == 0) n = 1;
  if (n > std::numeric_limits<std::size_t>::max() / sizeof(T)) fatal("Memory allocation failed");
  void* p = std::malloc(n * sizeof(T));
  if (p == nullptr) fatal("Memory allocation failed");
  return Block<T>(static_cast<T*>(p));
}
inline std::size_t extent(int n) {
  return n > 0 ? static_cast<std::size_t>(n) : 0;
}
}  // namespace detail

// v[1] .. v[n]
template <class T>
class OneVector {
 public:
  OneVector() = default;
  explicit OneVector(int n) : n_(n > 0 ? n : 0), data_(detail::allocate<T>(detail::extent(n))) {}

  T& operator[](int i) {
    assert(i >= 1 && i <= n_);
    return data_[static_cast<std::size_t>(i - 1)];
  }
  const T& operator[](int i) const {
    assert(i >= 1 && i <= n_);
    return data_[static_cast<std::size_t>(i - 1)];
  }
  int size() const { return n_; }
  void zero() {
    for (int i = 0; i < n_; ++i) data_[static_cast<std::size_t>(i)] = T{};
  }
  // Entries 1 .. n in order.
  T* begin() { return data_.get(); }
  T* end() { return data_.get() + n_; }
  const T* begin() const { return data_.get(); }
  const T* end() const { return data_.get() + n_; }

 private:
  int n_ = 0;
  detail::Block<T> data_ = detail::allocate<T>(0);
};

// m(i, j), i = 1 .. rows, j = 1 .. cols; rows are consecutive blocks of cols entries.
template <class T>
class OneMatrix {
 public:
  OneMatrix() = default;
  OneMatrix(int rows, int cols)
      : rows_(rows > 0 ? rows : 0),
        cols_(cols > 0 ? cols : 0),
        data_(detail::allocate<T>(detail::extent(rows) * detail::extent(cols))) {}

  T& operator()(int i, int j) {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[index(i, j)];
  }
  const T& operator()(int i, int j) const {
    assert(i >= 1 && i <= rows_ && j >= 1 && j <= cols_);
    return data_[index(i, j)];
  }
  // Row i as a pointer to its first entry (entry j of the row is row(i)[j - 1]).
  T* row(int i) {
    assert(i >= 1 && i <= rows_);
    return data_.get() + index(i, 1);
  }
  const T* row(int i) const {
    assert(i >= 1 && i <= rows_);
    return data_.get() + index(i, 1);
  }
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void zero() {
    std::size_t n = static_cast<std::size_t>(rows_) * static_cast<std::size_t>(cols_);
    for (std::size_t k = 0; k < n; ++k) data_[k] = T{};
  }

 private:
  std::size_t index(int i, int j) const {
    return static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(j - 1);
  }
  int rows_ = 0;
  int cols_ = 0;
  detail::Block<T> data_ = detail::allocate<T>(0);
};

// a(i, j, k), i = 1 .. planes, j = 1 .. rows, k = 1 .. cols, in row-major order.
template <class T>
class OneArray3 {
 public:
  OneArray3() = default;
  OneArray3(int planes, int rows, int cols)
      : planes_(planes > 0 ? planes : 0),
        rows_(rows > 0 ? rows : 0),
        cols_(cols > 0 ? cols : 0),
        data_(detail::allocate<T>(detail::extent(planes) * detail::extent(rows) *
                                  detail::extent(cols))) {}

  T& operator()(int i, int j, int k) {
    assert(i >= 1 && i <= planes_ && j >= 1 && j <= rows_ && k >= 1 && k <= cols_);
    return data_[index(i, j, k)];
  }
  const T& operator()(int i, int j, int k) const {
    assert(i >= 1 && i <= planes_ && j >= 1 && j <= rows_ && k >= 1 && k <= cols_);
    return data_[index(i, j, k)];
  }
  int planes() const { return planes_; }
  int rows() const { return rows_; }
  int cols() const { return cols_; }
  void zero() {
    std::size_t n = static_cast<std::size_t>(planes_) * static_cast<std::size_t>(rows_) *
                    static_cast<std::size_t>(cols_);
    for (std::size_t m = 0; m < n; ++m) data_[m] = T{};
  }

 private:
  std::size_t index(int i, int j, int k) const {
    return (static_cast<std::size_t>(i - 1) * static_cast<std::size_t>(rows_) +
            static_cast<std::size_t>(j - 1)) *
               static_cast<std::size_t>(cols_) +
           static_cast<std::size_t>(k - 1);
  }
  int planes_ = 0;
  int rows_ = 0;
  int cols_ = 0;
  detail::Block<T> data_ = detail::allocate<T>(0);
};

}  // namespace console
