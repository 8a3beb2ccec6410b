#include "runtime/element_pool.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace quorin {

struct ElementPool::Block {
  Block* next;
  Block* prev;
  std::size_t capacity;
  std::size_t untouched;  // index of the first slot never handed out
  std::size_t inUse;
  void* freeChain;        // most recently freed first
  bool full;
  unsigned char* slots;
};

namespace {
constexpr std::size_t kMinBlockSlots = 16;
constexpr std::size_t kMaxBlockSlots = 65536;

std::size_t RoundUp(std::size_t n, std::size_t align) { return (n + align - 1) / align * align; }
}  // namespace

ElementPool::ElementPool(std::size_t slotSize, std::size_t slotAlign)
    : slotAlign_(std::max(slotAlign, alignof(void*))) {
  headerSize_ = RoundUp(sizeof(Block*), slotAlign_);
  slotStride_ = RoundUp(headerSize_ + std::max(slotSize, sizeof(void*)), slotAlign_);
}

ElementPool::~ElementPool() {
  for (Block* chain : {available_, full_}) {
    while (chain) {
      Block* next = chain->next;
      std::free(chain);
      chain = next;
    }
  }
}

std::size_t ElementPool::NextBlockCapacity(std::size_t held) {
  std::size_t n = held / 16 / 16 * 16;
  return std::clamp(n, kMinBlockSlots, kMaxBlockSlots);
}

void ElementPool::Unlink(Block*& chain, Block* block) {
  if (block->prev) block->prev->next = block->next;
  else chain = block->next;
  if (block->next) block->next->prev = block->prev;
  block->next = block->prev = nullptr;
}

void ElementPool::PushFront(Block*& chain, Block* block) {
  block->prev = nullptr;
  block->next = chain;
  if (chain) chain->prev = block;
  chain = block;
}

ElementPool::Block* ElementPool::NewBlock() {
  std::size_t capacity = NextBlockCapacity(slotsHeld_);
  const std::size_t blockHeader = RoundUp(sizeof(Block), slotAlign_);
  void* memory = std::malloc(blockHeader + capacity * slotStride_ + slotAlign_);
  if (!memory) {
    // The heap refused a whole block: fall back to a block of one slot.
    capacity = 1;
    memory = std::malloc(blockHeader + slotStride_ + slotAlign_);
    if (!memory) throw std::bad_alloc();
  }
  Block* block = static_cast<Block*>(memory);
  auto base = reinterpret_cast<std::uintptr_t>(memory) + blockHeader;
  base = RoundUp(base, slotAlign_);
  *block = Block{nullptr, nullptr, capacity, 0, 0, nullptr, false, reinterpret_cast<unsigned char*>(base)};
  slotsHeld_ += capacity;
  ++blockCount_;
  ++blocksMade_;
  PushFront(available_, block);
  return block;
}

void* ElementPool::Take() {
  Block* block = available_ ? available_ : NewBlock();
  unsigned char* raw;
  if (block->freeChain) {
    raw = static_cast<unsigned char*>(block->freeChain) - headerSize_;
    block->freeChain = *static_cast<void**>(block->freeChain);
  } else {
    raw = block->slots + block->untouched * slotStride_;
    ++block->untouched;
    *reinterpret_cast<Block**>(raw) = block;
  }
  ++block->inUse;
  if (!block->freeChain && block->untouched == block->capacity) {
    Unlink(available_, block);
    PushFront(full_, block);
    block->full = true;
  }
  return raw + headerSize_;
}

void ElementPool::Give(void* slot) {
  if (!slot) return;
  unsigned char* raw = static_cast<unsigned char*>(slot) - headerSize_;
  Block* block = *reinterpret_cast<Block**>(raw);
  *static_cast<void**>(slot) = block->freeChain;
  block->freeChain = slot;
  --block->inUse;
  if (block->full) {
    Unlink(full_, block);
    PushFront(available_, block);
    block->full = false;
  }
  if (block->inUse == 0) {
    Unlink(available_, block);
    slotsHeld_ -= block->capacity;
    --blockCount_;
    std::free(block);
  }
}

}  // namespace quorin
