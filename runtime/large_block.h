// Storage for the few tables of several megabytes (the noise field). Where the
// system offers large pages they back such a block: its first touch then costs
// a couple of page faults instead of one per 4 KB page, which is most of what
// creating and filling the table costs. Contents are as from operator new.
#pragma once

#include <cstddef>
#include <memory>
#include <new>

namespace quorin {

// Blocks of at least this many bytes are large blocks.
inline constexpr std::size_t kLargeBlockBytes = std::size_t{2} << 20;

// Throws std::bad_alloc when the system refuses.
void* LargeBlockAllocate(std::size_t bytes);
void LargeBlockFree(void* block);

// The allocator of the game's arrays: small ones as usual, large ones as
// large blocks.
template <class T>
struct ArrayAllocator {
  using value_type = T;
  ArrayAllocator() = default;
  template <class U>
  ArrayAllocator(const ArrayAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
    const std::size_t bytes = n * sizeof(T);
    if (bytes >= kLargeBlockBytes) return static_cast<T*>(LargeBlockAllocate(bytes));
    return std::allocator<T>().allocate(n);
  }
  void deallocate(T* p, std::size_t n) {
    if (n * sizeof(T) >= kLargeBlockBytes) {
      LargeBlockFree(p);
    } else {
      std::allocator<T>().deallocate(p, n);
    }
  }
  template <class U>
  bool operator==(const ArrayAllocator<U>&) const {
    return true;
  }
};

}  // namespace quorin
