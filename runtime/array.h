// Zero-filled 1-D and 2-D arrays for every fixed-shape table of the game
// (frame table, world grids, noise field, direction tables, settings table).
// Element (i, j) of a 2-D array is element i * Stride(0) + j; like the game's
// tables, access is unchecked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <new>
#include <vector>

#include "runtime/large_block.h"

namespace quorin {

template <class T>
class Array {
 public:
  // Null before creation and after a refused one; a zero-size array still
  // has a first element address.
  T* Data() { return data_.empty() ? nullptr : data_.data(); }
  const T* Data() const { return data_.empty() ? nullptr : data_.data(); }
  std::size_t Size() const { return size_; }
  int Dimensions() const { return static_cast<int>(strides_.size()); }
  // Elements to skip for one step of dimension k (the last dimension's is 1).
  std::int64_t Stride(int k) const { return strides_[k]; }
  int Extent(int k) const { return extents_[k]; }

  T& operator[](std::size_t i) { return data_[i]; }
  const T& operator[](std::size_t i) const { return data_[i]; }
  T& At(int i, int j) { return data_[static_cast<std::size_t>(i * strides_[0] + j)]; }
  const T& At(int i, int j) const { return data_[static_cast<std::size_t>(i * strides_[0] + j)]; }

  // Re-creates the array with new extents: the old contents (and their texts)
  // are released, every new element is zero. Returns the first element, or
  // null when the extents are negative, too large, or the heap refuses; the
  // array is then empty.
  T* Create(std::initializer_list<int> extents) {
    Release();
    // Every stride is a product of nonzero extents, so bounding that product
    // (checked before each multiplication) keeps all of them in range.
    std::int64_t nonzeroProduct = 1;
    bool zero = false;
    for (int e : extents) {
      if (e < 0) return nullptr;
      if (e == 0) {
        zero = true;
        continue;
      }
      if (nonzeroProduct > kMaxElements / e) return nullptr;
      nonzeroProduct *= e;
    }
    const std::int64_t total = zero ? 0 : nonzeroProduct;
    try {
      // One spare element when empty, so a zero-size array has an address.
      data_.resize(static_cast<std::size_t>(total == 0 ? 1 : total));
    } catch (const std::bad_alloc&) {
      Release();
      return nullptr;
    }
    size_ = static_cast<std::size_t>(total);
    extents_.assign(extents.begin(), extents.end());
    strides_.assign(extents_.size(), 1);
    for (int k = static_cast<int>(extents_.size()) - 2; k >= 0; --k) {
      strides_[k] = strides_[k + 1] * extents_[k + 1];
    }
    return Data();
  }

 private:
  static constexpr std::int64_t kMaxElements = std::int64_t{1} << 40;

  void Release() {
    std::vector<T, ArrayAllocator<T>>().swap(data_);
    size_ = 0;
    strides_.clear();
    extents_.clear();
  }

  std::vector<T, ArrayAllocator<T>> data_;
  std::size_t size_ = 0;
  std::vector<std::int64_t> strides_;
  std::vector<int> extents_;
};

// The game's names: a 1-D array of count elements, and an array of the given
// extents (row-major, last index fastest).
template <class T>
T* ArrayCreate(Array<T>& array, int count) { return array.Create({count}); }
template <class T>
T* ArrayCreateMulti(Array<T>& array, std::initializer_list<int> extents) { return array.Create(extents); }

}  // namespace quorin
