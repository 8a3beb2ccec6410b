#include "runtime/large_block.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace quorin {

void* LargeBlockAllocate(std::size_t bytes) {
#if defined(__linux__)
  void* block = nullptr;
  if (posix_memalign(&block, kLargeBlockBytes, bytes) != 0) throw std::bad_alloc();
  // Only a hint: without large pages the block is an ordinary one.
  madvise(block, bytes - bytes % kLargeBlockBytes, MADV_HUGEPAGE);
  return block;
#else
  return ::operator new(bytes);
#endif
}

void LargeBlockFree(void* block) {
#if defined(__linux__)
  std::free(block);
#else
  ::operator delete(block);
#endif
}

}  // namespace quorin
