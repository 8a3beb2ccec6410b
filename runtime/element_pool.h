// Slot allocator behind every entity list: element memory comes in blocks, so
// the per-frame spawning and removal of shots, particles and texts recycles
// slots instead of touching the heap for each element.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorin {

class ElementPool {
 public:
  // slotSize: bytes of one element; slotAlign: its alignment (power of two).
  ElementPool(std::size_t slotSize, std::size_t slotAlign);
  ~ElementPool();
  ElementPool(const ElementPool&) = delete;
  ElementPool& operator=(const ElementPool&) = delete;

  // An uninitialised slot: the most recently freed one of the first block that
  // has room, else the next untouched slot; a new block when none has room.
  void* Take();
  // Hands a slot from Take back. A block whose slots are all free again goes
  // back to the heap at once.
  void Give(void* slot);

  std::size_t SlotsHeld() const { return slotsHeld_; }  // capacity of all blocks
  std::size_t BlockCount() const { return blockCount_; }
  std::size_t BlocksMade() const { return blocksMade_; }  // heap allocations so far

  // Capacity of the next block for a pool already holding `held` slots: a
  // sixteenth of the pool in multiples of 16, from 16 to 65536.
  static std::size_t NextBlockCapacity(std::size_t held);

 private:
  struct Block;
  Block* NewBlock();
  static void Unlink(Block*& chain, Block* block);
  static void PushFront(Block*& chain, Block* block);

  std::size_t slotStride_;
  std::size_t headerSize_;  // per-slot back-reference, padded to the alignment
  std::size_t slotAlign_;
  Block* available_ = nullptr;  // blocks with a free or untouched slot
  Block* full_ = nullptr;
  std::size_t slotsHeld_ = 0;
  std::size_t blockCount_ = 0;
  std::size_t blocksMade_ = 0;
};

}  // namespace quorin
